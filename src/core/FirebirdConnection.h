#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

class QSqlQuery;

// The one connection to the local database file (cnxFirebird): embedded Firebird,
// dialect 3, UTF-8 on the wire, read committed; every statement commits when it completes
// unless the caller holds an explicit transaction (dataset applies do).
class FirebirdConnection
{
public:
    explicit FirebirdConnection(const QString &connectionName = QStringLiteral("cnxFirebird"));
    ~FirebirdConnection();
    FirebirdConnection(const FirebirdConnection &) = delete;
    FirebirdConnection &operator=(const FirebirdConnection &) = delete;

    void setDatabaseName(const QString &fileName);
    QString databaseName() const;

    // Throws DatabaseError with the engine's message.
    void open();
    void close();
    bool isOpen() const;

    QSqlDatabase database() const;
    QString connectionName() const { return m_connectionName; }

    // Runs an INSERT/UPDATE/DELETE (or any statement) with parameters bound by name.
    // The text "COMMIT" is accepted: it commits a pending explicit transaction, if any,
    // and otherwise has nothing to do. Returns the number of rows affected.
    int execute(const QString &sql, const QVariantMap &params = {});

    // A prepared query on this connection with the numeric policy the program relies on.
    QSqlQuery query() const;

    // Explicit transaction for all-or-nothing work (dataset applies, order copies).
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

private:
    QString m_connectionName;
    bool m_inTransaction = false;
};

// Holds a transaction for a scope: rolls back unless commit() was called.
class TransactionGuard
{
public:
    explicit TransactionGuard(FirebirdConnection &connection);
    ~TransactionGuard();
    void commit();

private:
    FirebirdConnection &m_connection;
    bool m_done = false;
};
