#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

class FirebirdConnection;

// Runs one statement of the server's own on a connection, parameters bound by name, and
// hands back the query positioned before its first row. Throws DatabaseError with the
// engine's message and the statement.
class ConsultaServidor
{
public:
    static QSqlQuery executa(FirebirdConnection &conexao, const QString &sql, const QVariantMap &parametros = {});
    // The first column of the first row; an invalid QVariant when there is no row.
    static QVariant valor(FirebirdConnection &conexao, const QString &sql, const QVariantMap &parametros = {});
    // A code column as integer text ("12"); empty for NULL.
    static QString codigo(const QVariant &valor);
};
