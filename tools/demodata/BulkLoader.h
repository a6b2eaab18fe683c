#pragma once

#include <QString>

class FirebirdConnection;

// Keeps one explicit transaction open while the demo rows are written and commits it every
// batchRows rows (and at the end), so the load neither commits per row nor grows one huge
// transaction. Statements prepared under a committed transaction must be prepared again; the
// generation number tells them so.
class BulkLoader
{
public:
    explicit BulkLoader(FirebirdConnection &connection, int batchRows = 25000);
    ~BulkLoader(); // rolls back what was not finished
    BulkLoader(const BulkLoader &) = delete;
    BulkLoader &operator=(const BulkLoader &) = delete;

    FirebirdConnection &connection() { return m_connection; }

    // Counts one written row; commits and starts a new transaction when the batch is full.
    void rowWritten();
    // Commits what is pending and starts a new transaction.
    void commit();
    // Commits what is pending and leaves no transaction open.
    void finish();

    int generation() const { return m_generation; }
    qint64 totalRows() const { return m_total; }

private:
    FirebirdConnection &m_connection;
    int m_batchRows;
    int m_pending = 0;
    int m_generation = 0;
    qint64 m_total = 0;
    bool m_open = false;
};
