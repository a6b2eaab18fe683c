#include "StatementRun.h"

#include "DatabaseError.h"
#include "FirebirdConnection.h"

#include <QSqlError>

namespace StatementRun {

QSqlQuery run(FirebirdConnection &connection, const QString &sql, const QVariantMap &parameters)
{
    QSqlQuery query = connection.query();
    if (!query.prepare(sql))
        throw DatabaseError(engineMessage(query.lastError()));
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        query.bindValue(it.key().startsWith(u':') ? it.key() : u':' + it.key(), it.value().toString());
    if (!query.exec())
        throw DatabaseError(engineMessage(query.lastError()));
    return query;
}

} // namespace StatementRun
