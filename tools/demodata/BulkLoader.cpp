#include "BulkLoader.h"

#include "FirebirdConnection.h"

BulkLoader::BulkLoader(FirebirdConnection &connection, int batchRows)
    : m_connection(connection)
    , m_batchRows(batchRows)
{
    m_connection.beginTransaction();
    m_open = true;
}

BulkLoader::~BulkLoader()
{
    if (m_open)
        m_connection.rollback();
}

void BulkLoader::rowWritten()
{
    ++m_total;
    if (++m_pending >= m_batchRows)
        commit();
}

void BulkLoader::commit()
{
    if (m_open) {
        m_open = false;
        m_connection.commit();
    }
    m_pending = 0;
    ++m_generation;
    m_connection.beginTransaction();
    m_open = true;
}

void BulkLoader::finish()
{
    if (m_open) {
        m_open = false;
        m_connection.commit();
    }
    m_pending = 0;
    ++m_generation;
}
