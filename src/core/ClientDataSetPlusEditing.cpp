#include "ClientDataSetPlus.h"
#include "ClientDataSetPlusInternals.h"

#include "DataSetStatement.h"
#include "DatabaseError.h"
#include "FieldValues.h"
#include "FirebirdConnection.h"
#include "Formatos.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <map>

using namespace FieldValues;

namespace {

const QString kRowNotFound = QStringLiteral("Registro não encontrado ou alterado por outro usuário.");

QString quotedName(const QString &name)
{
    QString n = name;
    n.replace(u'"', QLatin1String("\"\""));
    return u'"' + n + u'"';
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Editing and change log

void TClientDataSetPlus::append()
{
    requireActive();
    checkBrowseMode();
    m_buffer = QVector<QVariant>(m_stride);
    m_bufferRow = -1;
    m_state = State::Insert;
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            cancel();
            throw;
        }
    }
}

void TClientDataSetPlus::edit()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    requireCurrentRow();
    m_bufferRow = m_view.at(m_position);
    m_buffer = m_cells.mid(m_bufferRow * m_stride, m_stride);
    m_state = State::Edit;
}

void TClientDataSetPlus::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (beforePost)
        beforePost(*this); // a refusal leaves the row in edition
    int storageRow = m_bufferRow;
    bool changed = true;
    if (m_state == State::Insert) {
        storageRow = static_cast<int>(m_rows.size());
        m_cells += m_buffer;
        Row row;
        row.status = RowStatus::Inserted;
        row.changeOrder = ++m_changeSequence;
        m_rows.push_back(std::move(row));
    } else {
        Row &row = m_rows[storageRow];
        const int start = storageRow * m_stride;
        changed = false;
        for (int f = 0; f < m_stride && !changed; ++f)
            changed = m_cells.at(start + f) != m_buffer.at(f);
        if (changed) {
            if (row.status == RowStatus::Unmodified) {
                row.original = m_cells.mid(start, m_stride);
                row.status = RowStatus::Modified;
                row.changeOrder = ++m_changeSequence;
            }
            std::copy(m_buffer.cbegin(), m_buffer.cend(), m_cells.begin() + start);
        }
    }
    m_buffer.clear();
    m_bufferRow = -1;
    m_state = State::Browse;
    // The row may now fall out of the filter or move in the index order.
    if (changed)
        rebuildView(storageRow, true);
    if (afterPost)
        afterPost(*this);
    if (AutoApplyUpdates && changeCount() > 0)
        applyUpdates();
}

void TClientDataSetPlus::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer.clear();
    m_bufferRow = -1;
    m_state = State::Browse;
}

void TClientDataSetPlus::deleteRecord()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireCurrentRow();
    const int position = m_position;
    const int storageRow = m_view.at(position);
    Row &row = m_rows[storageRow];
    if (row.status == RowStatus::Inserted) {
        removeInsertedRow(position); // never written: it simply goes away
    } else {
        if (row.status == RowStatus::Unmodified) {
            row.original = m_cells.mid(storageRow * m_stride, m_stride);
            row.changeOrder = ++m_changeSequence;
        }
        row.status = RowStatus::Deleted;
        beginRemoveRows({}, position, position);
        m_view.remove(position);
        endRemoveRows();
    }
    moveToRemovedPlace(position);
    if (afterDelete)
        afterDelete(*this);
    if (AutoApplyUpdates && changeCount() > 0)
        applyUpdates();
}

void TClientDataSetPlus::removeInsertedRow(int position)
{
    const int storageRow = m_view.at(position);
    beginRemoveRows({}, position, position);
    m_view.remove(position);
    for (int &r : m_view)
        if (r > storageRow)
            --r;
    m_cells.remove(storageRow * m_stride, m_stride);
    m_rows.erase(m_rows.begin() + storageRow);
    endRemoveRows();
}

void TClientDataSetPlus::moveToRemovedPlace(int position)
{
    // The next row takes the removed one's place; the previous one when it was the last.
    if (m_view.isEmpty()) {
        m_bof = m_eof = true;
        moveTo(-1, true);
    } else {
        m_bof = m_eof = false;
        moveTo(std::min(position, static_cast<int>(m_view.size()) - 1), true);
    }
}

void TClientDataSetPlus::revertRecord()
{
    requireActive();
    cancel();
    requireCurrentRow();
    const int position = m_position;
    const int storageRow = m_view.at(position);
    Row &row = m_rows[storageRow];
    if (row.status == RowStatus::Inserted) {
        removeInsertedRow(position);
        moveToRemovedPlace(position);
    } else if (row.status == RowStatus::Modified) {
        std::copy(row.original.cbegin(), row.original.cend(), m_cells.begin() + storageRow * m_stride);
        row = Row();
        rebuildView(storageRow, true);
    }
}

int TClientDataSetPlus::changeCount() const
{
    int count = 0;
    for (const Row &row : m_rows)
        if (row.status != RowStatus::Unmodified)
            ++count;
    return count;
}

TClientDataSetPlus::RowStatus TClientDataSetPlus::rowStatus() const
{
    if (m_state == State::Insert)
        return RowStatus::Inserted;
    const int row = m_state == State::Edit ? m_bufferRow : storageRowOfCurrent();
    if (row < 0)
        return RowStatus::Unmodified;
    return m_rows[row].status;
}

void TClientDataSetPlus::dropDeletedRows()
{
    QVector<int> newIndex(static_cast<int>(m_rows.size()), -1);
    QVector<QVariant> cells;
    std::vector<Row> rows;
    cells.reserve(m_cells.size());
    rows.reserve(m_rows.size());
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        if (m_rows[r].status == RowStatus::Deleted)
            continue;
        newIndex[r] = static_cast<int>(rows.size());
        rows.push_back(std::move(m_rows[r]));
        cells.append(m_cells.mid(r * m_stride, m_stride));
    }
    m_rows = std::move(rows);
    m_cells = std::move(cells);
    // Deleted rows are never visible, so the view keeps its rows and order.
    for (int &r : m_view)
        r = newIndex.at(r);
    if (m_bufferRow >= 0)
        m_bufferRow = newIndex.at(m_bufferRow);
}

void TClientDataSetPlus::mergeChangeLog()
{
    bool anyDeleted = false;
    for (Row &row : m_rows) {
        if (row.status == RowStatus::Deleted) {
            anyDeleted = true;
            continue;
        }
        row.status = RowStatus::Unmodified;
        row.original.clear();
        row.changeOrder = 0;
    }
    if (anyDeleted)
        dropDeletedRows();
}

void TClientDataSetPlus::cancelUpdates()
{
    if (!active())
        return;
    cancel();
    const int current = storageRowOfCurrent();
    QVector<int> newIndex(static_cast<int>(m_rows.size()), -1);
    QVector<QVariant> cells;
    std::vector<Row> rows;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const Row &row = m_rows[r];
        if (row.status == RowStatus::Inserted)
            continue;
        newIndex[r] = static_cast<int>(rows.size());
        if (row.status == RowStatus::Unmodified)
            cells.append(m_cells.mid(r * m_stride, m_stride));
        else
            cells.append(row.original);
        rows.emplace_back();
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_cells = std::move(cells);
    m_changeSequence = 0;
    m_view = computeView();
    endResetModel();
    const int keep = current >= 0 ? newIndex.at(current) : -1;
    int position = keep >= 0 ? static_cast<int>(m_view.indexOf(keep)) : -1;
    if (position < 0)
        position = m_view.isEmpty() ? -1 : 0;
    m_bof = m_eof = m_view.isEmpty();
    moveTo(position, true);
}

// ---------------------------------------------------------------------------------------------
// Apply

void TClientDataSetPlus::loadTableColumns()
{
    const QString table = tableName();
    if (table.isEmpty())
        throw DatabaseError(QStringLiteral("Não foi possível determinar a tabela a gravar."));
    if (m_checkedTable == table)
        return;
    QSqlQuery q = m_connection->query();
    // Computed columns are listed too, but cannot be written.
    if (!q.prepare(QStringLiteral(
            "SELECT TRIM(RF.RDB$FIELD_NAME), CASE WHEN F.RDB$COMPUTED_BLR IS NULL THEN 1 ELSE 0 END "
            "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
            "WHERE RF.RDB$RELATION_NAME = ?")))
        throw DatabaseError(engineMessage(q.lastError()));
    q.bindValue(0, table);
    if (!q.exec())
        throw DatabaseError(engineMessage(q.lastError()));
    QHash<QString, bool> columns;
    while (q.next())
        columns.insert(q.value(0).toString().trimmed().toUpper(), q.value(1).toInt() == 1);
    if (columns.isEmpty())
        throw DatabaseError(QStringLiteral("Tabela %1 não encontrada no banco de dados.").arg(table));
    m_tableColumns = columns;
    m_checkedTable = table;
}

QVector<TClientDataSetPlus::Statement> TClientDataSetPlus::buildStatements() const
{
    const QString table = tableName();
    const QString target = quotedName(table);

    // A column is written when the table has it (and it is not computed there) and the
    // owner left it in updates. When the engine told where columns come from, joined and
    // expression columns stay out even if their names exist in the table.
    bool originKnown = false;
    for (int f = 0; f < m_stride && !originKnown; ++f)
        originKnown = m_fields.at(f).originTable.compare(table, Qt::CaseInsensitive) == 0;
    QVector<int> written;
    for (int f = 0; f < m_stride; ++f) {
        const FieldDef &def = m_fields.at(f);
        if (!def.inUpdate || def.calculated || !m_tableColumns.value(def.name.toUpper(), false))
            continue;
        if (originKnown && def.originTable.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        written << f;
    }
    if (written.isEmpty())
        throw DatabaseError(QStringLiteral("Nenhum campo do conjunto de dados pode ser gravado na tabela %1.").arg(table));

    QVector<int> order;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        if (m_rows[r].status != RowStatus::Unmodified)
            order << r;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return m_rows[a].changeOrder < m_rows[b].changeOrder; });

    auto whereAll = [&](const QVector<QVariant> &original, Statement &st) {
        QStringList conditions;
        for (int f : written) {
            const FieldDef &def = m_fields.at(f);
            if (def.kind == FieldKind::Blob)
                continue; // blobs cannot be compared
            if (isNullValue(original.at(f))) {
                conditions << quotedName(def.name) + QStringLiteral(" IS NULL");
            } else {
                conditions << quotedName(def.name) + QStringLiteral(" = ?");
                st.binds << bindValueOf(def, original.at(f));
            }
        }
        if (conditions.isEmpty())
            throw DatabaseError(QStringLiteral("Não há campos para localizar o registro na tabela %1.").arg(table));
        st.sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    };

    QVector<Statement> statements;
    for (int r : std::as_const(order)) {
        const Row &row = m_rows[r];
        const int start = r * m_stride;
        Statement st;
        switch (row.status) {
        case RowStatus::Inserted: {
            // Null columns are left out so the table's defaults apply.
            QStringList names;
            QStringList marks;
            for (int f : written) {
                const QVariant &v = m_cells.at(start + f);
                if (isNullValue(v))
                    continue;
                names << quotedName(m_fields.at(f).name);
                marks << QStringLiteral("?");
                st.binds << bindValueOf(m_fields.at(f), v);
            }
            st.sql = names.isEmpty()
                         ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(target)
                         : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(target, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            break;
        }
        case RowStatus::Modified: {
            QStringList sets;
            for (int f : written) {
                const QVariant &now = m_cells.at(start + f);
                const QVariant &before = row.original.at(f);
                const bool same = isNullValue(now) ? isNullValue(before) : (!isNullValue(before) && now == before);
                if (same)
                    continue;
                sets << quotedName(m_fields.at(f).name) + QStringLiteral(" = ?");
                st.binds << bindValueOf(m_fields.at(f), now);
            }
            if (sets.isEmpty())
                continue; // only columns that are not written changed
            st.sql = QStringLiteral("UPDATE %1 SET %2").arg(target, sets.join(QStringLiteral(", ")));
            whereAll(row.original, st);
            st.locatesRow = true;
            break;
        }
        case RowStatus::Deleted:
            st.sql = QStringLiteral("DELETE FROM %1").arg(target);
            whereAll(row.original, st);
            st.locatesRow = true;
            break;
        case RowStatus::Unmodified:
            continue;
        }
        statements << st;
    }
    return statements;
}

void TClientDataSetPlus::writeLog()
{
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    loadTableColumns();
    const QVector<Statement> statements = buildStatements();
    std::map<QString, QSqlQuery> prepared; // rows of one shape share a prepared statement
    for (const Statement &st : statements) {
        auto it = prepared.find(st.sql);
        if (it == prepared.end()) {
            QSqlQuery q = m_connection->query();
            if (!q.prepare(st.sql))
                throw DatabaseError(engineMessage(q.lastError()));
            it = prepared.emplace(st.sql, std::move(q)).first;
        }
        QSqlQuery &q = it->second;
        for (int i = 0; i < st.binds.size(); ++i)
            q.bindValue(i, st.binds.at(i));
        if (!q.exec())
            throw DatabaseError(engineMessage(q.lastError()));
        if (st.locatesRow) {
            const int affected = q.numRowsAffected();
            if (affected == 0)
                throw DatabaseError(kRowNotFound);
            if (affected > 1)
                throw DatabaseError(QStringLiteral(
                    "Mais de um registro corresponde ao registro alterado; nada foi gravado."));
        }
    }
}

void TClientDataSetPlus::applyUpdates()
{
    requireActive();
    checkBrowseMode();
    if (changeCount() == 0)
        return;
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    {
        TransactionGuard transaction(*m_connection);
        writeLog();
        transaction.commit();
    }
    mergeChangeLog();
}

void TClientDataSetPlus::applyUpdatesInTransaction()
{
    requireActive();
    checkBrowseMode();
    if (changeCount() == 0)
        return;
    if (!m_connection || !m_connection->inTransaction())
        throw DatabaseError(QStringLiteral("Não há transação aberta para gravar o conjunto de dados."));
    writeLog();
}

void TClientDataSetPlus::applyUpdatesTogether(const QList<TClientDataSetPlus *> &dataSets)
{
    FirebirdConnection *connection = nullptr;
    for (TClientDataSetPlus *ds : dataSets) {
        ds->requireActive();
        ds->checkBrowseMode();
        if (!connection)
            connection = ds->m_connection;
        else if (ds->m_connection != connection)
            throw DatabaseError(QStringLiteral("Os conjuntos de dados gravados juntos precisam da mesma conexão."));
    }
    if (!connection || !connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    {
        TransactionGuard transaction(*connection);
        for (TClientDataSetPlus *ds : dataSets)
            if (ds->changeCount() > 0)
                ds->writeLog();
        transaction.commit();
    }
    for (TClientDataSetPlus *ds : dataSets)
        ds->mergeChangeLog();
}

