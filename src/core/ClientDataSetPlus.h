#pragma once

#include "FieldDef.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

class FirebirdConnection;
class QSqlField;
class QSqlQuery;
class TClientDataSetPlus;

// Read access to one stored row, for filters, calculated fields and index keys.
class DataRow
{
public:
    DataRow(const TClientDataSetPlus &dataSet, int storageRow) : m_ds(&dataSet), m_row(storageRow) {}
    QVariant value(const QString &field) const;
    QVariant value(int field) const;
    QString asString(const QString &field) const;
    double asFloat(const QString &field) const;
    qint64 asInteger(const QString &field) const;
    QDate asDate(const QString &field) const;
    bool isNull(const QString &field) const;
    int storageRow() const { return m_row; }

private:
    const TClientDataSetPlus *m_ds;
    int m_row;
};

// The in-memory dataset every window works with: the rows of one SELECT, navigation,
// editing with a change log applied all-or-nothing to the SELECT's table, filters, indexes,
// summaries and XML persistence. It is also the item model grids show directly.
class TClientDataSetPlus : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class RowStatus { Unmodified, Inserted, Modified, Deleted };

    explicit TClientDataSetPlus(QObject *parent = nullptr);
    ~TClientDataSetPlus() override;

    // --- connection and statement ---
    void setConnection(FirebirdConnection *connection);
    FirebirdConnection *connection() const { return m_connection; }
    void setCommandText(const QString &sql); // clears the parameters that no longer occur
    QString commandText() const { return m_commandText; }
    // Named parameters (":PCODEMP" or "PCODEMP"), always bound as text.
    void setParam(const QString &name, const QString &value);
    // A value the seller typed, compared with a column (filters): it may be longer than the
    // column and hold any character. Text no column can hold matches no row, without an
    // engine error. setParam on the name binds it plainly again.
    void setTypedParam(const QString &name, const QString &value);
    QString param(const QString &name) const;
    QStringList paramNames() const; // in order of first occurrence in the text
    // Table written by applyUpdates; taken from the first FROM of the statement when not set.
    void setTableName(const QString &table);
    QString tableName() const;
    // The table written for a statement: the first table after the first top-level FROM.
    static QString tableOfStatement(const QString &sql);

    // --- lifecycle ---
    void open();    // runs the SELECT, loads every row; throws DatabaseError. No-op when active.
    void close();   // drops rows and change log; filter, indexes and calculated fields stay defined
    // Close and open keeping the position when possible; refused (DatabaseError) while changes
    // are pending, since reloading would silently drop them.
    void refresh();
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    // An empty dataset with these columns, without a statement (working lists, tests).
    void createDataSet(const QVector<FieldDef> &fields);

    // --- fields ---
    int fieldCount() const;
    const FieldDef &fieldDef(int index) const;
    FieldDef &fieldDef(const QString &name); // throws DatabaseError for an unknown field
    const FieldDef &fieldDef(const QString &name) const;
    const QVector<FieldDef> &fieldDefs() const { return m_fields; }
    // Renames the field's grid column; the grid repaints its header. Throws DatabaseError for an
    // unknown field.
    void setDisplayLabel(const QString &field, const QString &label);
    int fieldIndex(const QString &name) const; // -1 when absent; case-insensitive
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    QStringList fieldNames() const;
    // A calculated field is evaluated from the other values of its row whenever shown or read.
    void addCalculatedField(const FieldDef &def, std::function<QVariant(const DataRow &)> compute);

    // --- navigation over the rows the filter lets through, in index order ---
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const;
    int recNo() const; // 0-based position among visible rows, -1 when empty
    void setRecNo(int position);
    // Moves to the first visible row whose fields equal the values (compared as text).
    bool locate(const QStringList &fields, const QVariantList &values);

    // --- values of the current row ---
    QVariant value(const QString &field) const;
    QVariant value(int field) const;
    QString asString(const QString &field) const; // numbers with "." and their scale; dates dd/mm/yyyy
    QString asString(int field) const;
    double asFloat(const QString &field) const;
    qint64 asInteger(const QString &field) const;
    QDate asDate(const QString &field) const;
    QTime asTime(const QString &field) const;
    QDateTime asDateTime(const QString &field) const;
    bool isNull(const QString &field) const;
    bool isNull(int field) const;
    FieldKind kind(const QString &field) const;
    DataRow currentRow() const; // the edit buffer while editing or inserting
    // Formatted with the field's display mask, as a grid shows it.
    QString displayText(const QString &field) const;
    // Sets a value of the row being edited or inserted (throws outside Edit/Insert).
    // Numbers are rounded to the field's scale; text is converted to the field's kind; a text
    // longer than its column is refused with a message naming the field (its label when set).
    void setValue(const QString &field, const QVariant &value);
    void clearValue(const QString &field);

    // --- editing ---
    // Moving to another row, appending or closing posts a pending edit first, as grids expect.
    void append();
    void edit();
    void post();   // runs beforePost, stores the row, afterPost, then applies when AutoApplyUpdates
    void cancel();
    void deleteRecord(); // logs the deletion, afterDelete, then applies when AutoApplyUpdates
    bool AutoApplyUpdates = true;

    // --- change log ---
    int changeCount() const;
    RowStatus rowStatus() const; // of the current row
    // Writes the logged changes to tableName() in one transaction: INSERT for new rows,
    // UPDATE/DELETE locating rows by their loaded values (IS NULL for nulls), leaving out
    // fields with inUpdate false. All or nothing; throws DatabaseError and keeps the log.
    void applyUpdates();
    // Writes inside a transaction the caller already holds (no commit/rollback here) and keeps
    // the log: the caller merges it (mergeChangeLog) once its transaction has committed, so a
    // later failure and rollback leaves every dataset able to retry.
    void applyUpdatesInTransaction();
    // Applies several datasets in one transaction (order items then header) and merges their
    // logs only after the commit. All the datasets must share one connection.
    static void applyUpdatesTogether(const QList<TClientDataSetPlus *> &dataSets);
    void cancelUpdates();  // undoes every logged change in memory
    // Undoes the logged change of the current row (an inserted row goes away), leaving the
    // other rows' changes in the log.
    void revertRecord();
    void mergeChangeLog(); // accepts the log as the new original state without writing

    // --- handlers (the dataset events) ---
    std::function<void(TClientDataSetPlus &)> beforePost;
    std::function<void(TClientDataSetPlus &)> afterPost;
    std::function<void(TClientDataSetPlus &)> afterDelete;
    std::function<void(TClientDataSetPlus &)> afterScroll;
    std::function<void(TClientDataSetPlus &)> onNewRecord;

    // --- filter ---
    void setFilter(std::function<bool(const DataRow &)> predicate);
    void clearFilter();
    bool filtered() const { return static_cast<bool>(m_filter); }

    // --- indexes ---
    // Ascending on the listed fields (";"-separated); empty text: load order.
    void setIndexFieldNames(const QString &fields);
    QString indexFieldNames() const { return m_indexFieldNames; }
    // A named index (descending on the listed fields when descending is true).
    void addIndex(const QString &name, const QString &fields, bool descending);
    bool hasIndex(const QString &name) const;
    void setIndexName(const QString &name); // selects a named index; clears indexFieldNames
    QString indexName() const { return m_indexName; }
    // The grid title click: ascending by the field, or descending through FIELD_INV.
    void sortByColumnTitle(const QString &field);

    // --- summaries over the rows the filter lets through ---
    double sum(const QString &field) const;
    int count() const { return recordCount(); }

    // --- XML persistence: columns, types, values and pending change log ---
    void saveToFile(const QString &fileName) const; // throws DatabaseError
    void loadFromFile(const QString &fileName);     // throws DatabaseError; leaves dataset active

    // --- raw access by storage row (used by DataRow and tests); -2 is the edit buffer ---
    static constexpr int EditBufferRow = -2;
    QVariant storageValue(int storageRow, int field) const;

    // --- QAbstractItemModel ---
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override; // title-click rule
    // Column of the model for a field (visible fields only), -1 when hidden.
    int columnOfField(const QString &field) const;
    QString fieldOfColumn(int column) const;
    // Maps a grid row to a dataset position and back (the current row follows the grid).
    int rowOfCurrent() const { return recNo(); }

signals:
    void currentChanged(int position);

private:
    struct Row;
    struct Index;
    struct Statement;
    struct ColumnLoad;
    // Implementation details live in the .cpp.
    QVector<int> computeView() const;
    void rebuildView();
    void rebuildView(int currentStorageRow, bool valuesChanged);
    void setView(QVector<int> view, int currentStorageRow, bool valuesChanged);
    void moveTo(int position, bool forceNotify);
    void requireActive() const;
    void requireEditing() const;
    void requireCurrentRow() const;
    void checkBrowseMode();
    void removeInsertedRow(int position);
    void moveToRemovedPlace(int position);
    void resetStorage();
    void setFieldsFrom(QVector<FieldDef> dataFields);
    // Steps of open().
    static ColumnLoad columnLoadOf(const QSqlField &field);
    QSqlQuery executeSelect(const QString &sql, const QVariantList &binds) const;
    void keepOwnerSettings(QVector<ColumnLoad> &columns) const;
    void loadRows(QSqlQuery &q, const QVector<ColumnLoad> &columns, bool procedure);
    int storageRowOfCurrent() const;
    const QVariant &cell(int storageRow, int field) const;
    QString textOf(int storageRow, int field) const;
    QString displayOf(int storageRow, int field) const;
    QVector<int> sortKeys(bool *descending) const;
    void loadTableColumns();
    QVector<Statement> buildStatements() const;
    void writeLog();
    void dropDeletedRows();
    QString statementWithParams(QVariantList &binds) const;

    FirebirdConnection *m_connection = nullptr;
    QString m_commandText;
    QHash<QString, QString> m_params; // upper-case name without ':' -> value
    QSet<QString> m_typedParams;      // names bound by setTypedParam
    QStringList m_paramOrder;         // upper-case names in order of occurrence (repeats kept)
    QString m_tableName;              // set by the owner
    QString m_loadedTableName;        // from a loaded file
    State m_state = State::Inactive;
    QVector<FieldDef> m_fields;       // stored fields first, calculated fields after them
    QHash<QString, int> m_fieldIndex; // upper-case name -> index
    int m_stride = 0;                 // stored fields per row
    QVector<std::function<QVariant(const DataRow &)>> m_calculated; // by field index - m_stride
    QVector<FieldDef> m_previousFields; // stored fields of the last open, for owner settings
    QVector<QVariant> m_cells;        // stored values, row after row, nulls as invalid variants
    std::vector<Row> m_rows;          // status and original values per stored row
    qint64 m_changeSequence = 0;
    QVector<int> m_view;              // storage rows visible, in index order
    int m_position = -1;              // index into m_view
    bool m_bof = true;
    bool m_eof = true;
    QVector<QVariant> m_buffer;       // row being edited or inserted
    int m_bufferRow = -1;             // storage row being edited; -1 while inserting
    QString m_openedCommandText;      // statement of the current field definitions
    QString m_checkedTable;           // table whose columns were read for apply
    QHash<QString, bool> m_tableColumns; // upper-case column names of m_checkedTable
    std::function<bool(const DataRow &)> m_filter;
    QString m_indexFieldNames;
    QString m_indexName;
    QHash<QString, std::shared_ptr<Index>> m_indexes;
};
