#pragma once

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

class BulkLoader;

// Inserts rows into one table through a prepared statement with positional values, inside the
// loader's current transaction.
class RowWriter
{
public:
    RowWriter(BulkLoader &loader, const QString &table, const QStringList &columns);

    // Values in the order of the columns; a null QVariant writes NULL.
    void add(const QVariantList &values);
    int rows() const { return m_rows; }

private:
    void prepare();

    BulkLoader &m_loader;
    QString m_table;
    QString m_sql;
    int m_columnCount;
    QSqlQuery m_query;
    int m_generation = -1;
    int m_rows = 0;
};
