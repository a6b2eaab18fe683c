#include "BaseLocalSincronizacao.h"

#include "DatabaseError.h"
#include "FirebirdConnection.h"

#include <QSqlError>
#include <QSqlQuery>

const QString BaseLocalSincronizacao::kSelectTabelas =
    QStringLiteral(" SELECT RDB$RELATION_NAME \"TABELAS\" FROM RDB$RELATIONS ")
    + QStringLiteral(" WHERE RDB$VIEW_BLR IS NULL AND (RDB$SYSTEM_FLAG = 0 OR RDB$SYSTEM_FLAG IS NULL) ")
    + QStringLiteral(" AND RDB$VIEW_BLR IS NULL");

const QString BaseLocalSincronizacao::kUpdatePedidosEnviados =
    QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE SITPDF = 'D' AND PDFORC = 'N' ");

const QString BaseLocalSincronizacao::kUpdateMensagensEnviadas =
    QStringLiteral("UPDATE F599MSG SET ENVMSG = 'E' WHERE ENVMSG = 'N' ");

const QString BaseLocalSincronizacao::kUpdatePedidosComItensEnviados = QStringLiteral(
    "UPDATE F530PDF P SET SITPDF = 'L' WHERE SITPDF = 'D' AND PDFORC = 'N' AND EXISTS (SELECT 1 FROM F530IPF I "
    "WHERE I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT) ");

BaseLocalSincronizacao::BaseLocalSincronizacao(FirebirdConnection &conexao)
    : m_conexao(conexao)
{
}

QStringList BaseLocalSincronizacao::tabelas() const
{
    QSqlQuery consulta = m_conexao.query();
    if (!consulta.exec(kSelectTabelas))
        throw DatabaseError(consulta.lastError().text());
    QStringList nomes;
    while (consulta.next())
        nomes << consulta.value(0).toString();
    return nomes;
}

void BaseLocalSincronizacao::esvaziaTabelas()
{
    const QStringList nomes = tabelas();
    // One transaction: a notebook left with some tables emptied and others not would look
    // configured while holding half of its data.
    TransactionGuard transacao(m_conexao);
    for (const QString &nome : nomes)
        m_conexao.execute(QStringLiteral("DELETE FROM ") + nome);
    transacao.commit();
}

void BaseLocalSincronizacao::marcaEnviados()
{
    TransactionGuard transacao(m_conexao);
    m_conexao.execute(kUpdatePedidosEnviados);
    m_conexao.execute(kUpdateMensagensEnviadas);
    transacao.commit();
}

void BaseLocalSincronizacao::marcaEnviados(bool pedidos, bool mensagens)
{
    TransactionGuard transacao(m_conexao);
    if (pedidos)
        m_conexao.execute(kUpdatePedidosComItensEnviados);
    if (mensagens)
        m_conexao.execute(kUpdateMensagensEnviadas);
    transacao.commit();
}
