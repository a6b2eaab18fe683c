#include "RowWriter.h"

#include "BulkLoader.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"

#include <QSqlError>

RowWriter::RowWriter(BulkLoader &loader, const QString &table, const QStringList &columns)
    : m_loader(loader)
    , m_table(table)
    , m_columnCount(int(columns.size()))
{
    QStringList marks;
    for (int i = 0; i < m_columnCount; ++i)
        marks << QStringLiteral("?");
    m_sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

void RowWriter::prepare()
{
    m_query = m_loader.connection().query();
    if (!m_query.prepare(m_sql))
        throw DatabaseError(m_table + QStringLiteral(": ") + m_query.lastError().text());
    m_generation = m_loader.generation();
}

void RowWriter::add(const QVariantList &values)
{
    if (values.size() != m_columnCount)
        throw DatabaseError(QStringLiteral("%1: %2 valores para %3 colunas")
                                .arg(m_table)
                                .arg(values.size())
                                .arg(m_columnCount));
    if (m_generation != m_loader.generation())
        prepare();
    for (int i = 0; i < m_columnCount; ++i)
        m_query.bindValue(i, values.at(i));
    if (!m_query.exec())
        throw DatabaseError(m_table + QStringLiteral(": ") + m_query.lastError().text());
    ++m_rows;
    m_loader.rowWritten();
}
