#include "FirebirdConnection.h"

#include "DatabaseError.h"

#include <QSqlError>
#include <QSqlQuery>

FirebirdConnection::FirebirdConnection(const QString &connectionName)
    : m_connectionName(connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_connectionName);
    db.setUserName(QStringLiteral("SYSDBA"));
    db.setPassword(QStringLiteral("masterkey"));
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
}

FirebirdConnection::~FirebirdConnection()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void FirebirdConnection::setDatabaseName(const QString &fileName)
{
    QSqlDatabase db = database();
    db.setDatabaseName(fileName);
    // A database on a Firebird server ("host:/path") checks the password, so the account
    // comes from the client library's usual variables; a file opened embedded needs none.
    const bool remota = !fileName.startsWith(u'/') && fileName.indexOf(u':') > 0;
    const QString usuario = qEnvironmentVariable("ISC_USER");
    db.setUserName(remota && !usuario.isEmpty() ? usuario : QStringLiteral("SYSDBA"));
    db.setPassword(remota && !usuario.isEmpty() ? qEnvironmentVariable("ISC_PASSWORD") : QStringLiteral("masterkey"));
}

QString FirebirdConnection::databaseName() const
{
    return database().databaseName();
}

void FirebirdConnection::open()
{
    QSqlDatabase db = database();
    if (!db.isValid())
        throw DatabaseError(QStringLiteral("O driver do banco de dados (QIBASE) não está disponível."));
    if (db.isOpen())
        return;
    if (!db.open())
        throw DatabaseError(engineMessage(db.lastError()));
}

void FirebirdConnection::close()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen()) {
        if (m_inTransaction)
            db.rollback();
        db.close();
    }
    m_inTransaction = false;
}

bool FirebirdConnection::isOpen() const
{
    return QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase FirebirdConnection::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery FirebirdConnection::query() const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    return q;
}

int FirebirdConnection::execute(const QString &sql, const QVariantMap &params)
{
    if (!isOpen())
        throw DatabaseError(QStringLiteral("O banco de dados não está aberto."));
    if (sql.trimmed().compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
        if (m_inTransaction)
            commit();
        return 0;
    }
    QSqlQuery q = query();
    if (!q.prepare(sql))
        throw DatabaseError(engineMessage(q.lastError()));
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key().startsWith(u':') ? it.key() : u':' + it.key(), it.value());
    if (!q.exec())
        throw DatabaseError(engineMessage(q.lastError()));
    return q.numRowsAffected();
}

void FirebirdConnection::beginTransaction()
{
    if (m_inTransaction)
        throw DatabaseError(QStringLiteral("Já existe uma transação em andamento."));
    QSqlDatabase db = database();
    if (!db.transaction())
        throw DatabaseError(engineMessage(db.lastError()));
    m_inTransaction = true;
}

void FirebirdConnection::commit()
{
    QSqlDatabase db = database();
    m_inTransaction = false;
    if (!db.commit())
        throw DatabaseError(engineMessage(db.lastError()));
}

void FirebirdConnection::rollback()
{
    QSqlDatabase db = database();
    m_inTransaction = false;
    db.rollback();
}

TransactionGuard::TransactionGuard(FirebirdConnection &connection)
    : m_connection(connection)
{
    m_connection.beginTransaction();
}

TransactionGuard::~TransactionGuard()
{
    if (!m_done)
        m_connection.rollback();
}

void TransactionGuard::commit()
{
    m_connection.commit();
    m_done = true;
}
