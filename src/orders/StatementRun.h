#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

class FirebirdConnection;

// Runs one statement of the order rules with its parameters bound as text (names with or
// without the colon) and hands back the positioned-before-first query. Throws DatabaseError
// with the engine's message.
namespace StatementRun {

QSqlQuery run(FirebirdConnection &connection, const QString &sql, const QVariantMap &parameters = {});

} // namespace StatementRun
