#include "ConsultaServidor.h"

#include "DatabaseError.h"
#include "FirebirdConnection.h"

#include <QSqlError>

namespace {

QString mensagem(const QSqlError &erro, const QString &sql)
{
    QString texto = erro.databaseText().trimmed();
    if (texto.isEmpty())
        texto = erro.text().trimmed();
    return texto + QStringLiteral(" [") + sql.simplified().left(300) + u']';
}

} // namespace

QSqlQuery ConsultaServidor::executa(FirebirdConnection &conexao, const QString &sql, const QVariantMap &parametros)
{
    QSqlQuery consulta = conexao.query();
    if (!consulta.prepare(sql))
        throw DatabaseError(mensagem(consulta.lastError(), sql));
    for (auto it = parametros.cbegin(); it != parametros.cend(); ++it)
        consulta.bindValue(u':' + it.key(), it.value());
    if (!consulta.exec())
        throw DatabaseError(mensagem(consulta.lastError(), sql));
    return consulta;
}

QVariant ConsultaServidor::valor(FirebirdConnection &conexao, const QString &sql, const QVariantMap &parametros)
{
    QSqlQuery consulta = executa(conexao, sql, parametros);
    return consulta.next() ? consulta.value(0) : QVariant();
}

QString ConsultaServidor::codigo(const QVariant &valor)
{
    if (valor.isNull() || !valor.isValid())
        return QString();
    bool inteiro = false;
    const qlonglong numero = valor.toLongLong(&inteiro);
    if (inteiro)
        return QString::number(numero);
    // A scaled numeric read as text ("12.0"): its integer part.
    return QString::number(static_cast<qlonglong>(valor.toString().toDouble()));
}
