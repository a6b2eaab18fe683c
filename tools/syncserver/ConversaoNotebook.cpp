#include "ConversaoNotebook.h"

#include "ConsultaServidor.h"
#include "EsquemaCentral.h"
#include "FirebirdConnection.h"

#include <QSqlQuery>

ConversaoNotebook::ConversaoNotebook(FirebirdConnection &conexao)
    : m_conexao(conexao)
{
}

void ConversaoNotebook::converte()
{
    // The message numbers come from the companies' sequences; sequences made inside the
    // transaction could not be used before it commits.
    {
        QSqlQuery consulta = ConsultaServidor::executa(
            m_conexao, QStringLiteral("SELECT DISTINCT CODEMP FROM F599MSG WHERE CODEMP IS NOT NULL AND "
                                      "((ENVMSG = 'R' AND CODINT IS NULL) OR ENVMSG = 'E')"));
        while (consulta.next())
            m_empresasMensagens << ConsultaServidor::codigo(consulta.value(0));
    }
    EsquemaCentral esquema(m_conexao);
    for (const QString &empresa : std::as_const(m_empresasMensagens))
        esquema.criaSequencias(empresa);

    TransactionGuard transacao(m_conexao);
    convertePedidos();
    converteClientes();
    converteMensagens();
    converteBonificacoes();
    converteMovimentos();
    registraSubstitutos();
    transacao.commit();
}

void ConversaoNotebook::convertePedidos()
{
    // Server number 0: typed on the notebook (budgets included) and never sent.
    m_conexao.execute(QStringLiteral("DELETE FROM F530IPF WHERE CODINT = 0"));
    m_conexao.execute(QStringLiteral("DELETE FROM F530PDF WHERE CODINT = 0 OR PDFORC = 'S'"));
    m_conexao.execute(QStringLiteral("UPDATE F530PDF SET PDFORC = 'N' WHERE PDFORC IS NULL OR PDFORC <> 'N'"));
}

void ConversaoNotebook::converteClientes()
{
    m_conexao.execute(QStringLiteral("DELETE FROM F510CLI WHERE STUCLI = 'N'"));
    m_conexao.execute(QStringLiteral("UPDATE F510CLI SET STUCLI = 'E' WHERE STUCLI = 'A'"));
}

void ConversaoNotebook::converteMensagens()
{
    const QString usuario = ConsultaServidor::codigo(
        ConsultaServidor::valor(m_conexao, QStringLiteral("SELECT FIRST 1 CODUSU FROM F599USU ORDER BY CODEMP, CODUSU")));
    // Received here: addressed to the notebook's user. A read mark the notebook has not
    // reported yet is still unread for the server.
    m_conexao.execute(QStringLiteral("UPDATE F599MSG SET USUDES = :USU, SITMSG = IIF(SITMSG = 'A', 'N', SITMSG) "
                                     "WHERE ENVMSG = 'R'"),
                      {{QStringLiteral("USU"), usuario.isEmpty() ? QVariant() : QVariant(usuario)}});

    for (const QString &empresa : std::as_const(m_empresasMensagens)) {
        const QString sequencia = EsquemaCentral::sequenciaMensagens(empresa);
        const QVariantMap parametros{{QStringLiteral("EMP"), empresa}};
        m_conexao.execute(QStringLiteral("UPDATE F599MSG SET CODINT = NEXT VALUE FOR %1 "
                                         "WHERE ENVMSG = 'R' AND CODINT IS NULL AND CODEMP = :EMP").arg(sequencia),
                          parametros);
        // Sent from here: one server row per recipient, numbered by the server.
        m_conexao.execute(QStringLiteral("INSERT INTO F599MSG (CODEMP, CODINT, USUREM, USUDES, TITMSG, DESMSG, DATMSG, "
                                         "SITMSG, ENVMSG) "
                                         "SELECT M.CODEMP, NEXT VALUE FOR %1, M.USUREM, D.CODUSU, M.TITMSG, M.DESMSG, "
                                         "M.DATMSG, 'N', 'E' "
                                         "FROM F599MSG M JOIN F599MDT D ON D.CODEMP = M.CODEMP AND D.CODMSG = M.CODMSG "
                                         "WHERE M.ENVMSG = 'E' AND M.USUDES IS NULL AND M.CODEMP = :EMP")
                              .arg(sequencia),
                          parametros);
    }
    m_conexao.execute(QStringLiteral("DELETE FROM F599MSG WHERE ENVMSG IN ('E', 'N') AND USUDES IS NULL"));
    m_conexao.execute(QStringLiteral("DELETE FROM F599MDT"));
}

void ConversaoNotebook::converteBonificacoes()
{
    // The notebook's decisions not yet sent: the server still awaits them.
    m_conexao.execute(QStringLiteral("INSERT INTO F030PDV (CODEMP, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, "
                                     "AUTBON, CODVEN, CODTRA, CODOPE, CODCON) "
                                     "SELECT CODEMP, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, 'P', CODVEN, "
                                     "CODTRA, CODOPE, CODCON FROM F530BON"));
    m_conexao.execute(QStringLiteral("DELETE FROM F530BON"));
}

void ConversaoNotebook::converteMovimentos()
{
    m_conexao.execute(QStringLiteral("DELETE FROM F512MTF WHERE SITMOV = 'D'"));
}

void ConversaoNotebook::registraSubstitutos()
{
    m_conexao.execute(QStringLiteral("INSERT INTO F030SUB (CODEMP, CODVEN, VENSUB) "
                                     "SELECT DISTINCT C.CODEMP, C.CODVEN, U.CODVEN FROM F510CLI C, F599USU U "
                                     "WHERE C.CODEMP = U.CODEMP AND C.CODVEN IS NOT NULL AND U.CODVEN IS NOT NULL "
                                     "AND C.CODVEN <> U.CODVEN AND NOT EXISTS (SELECT 1 FROM F030SUB S "
                                     "WHERE S.CODEMP = C.CODEMP AND S.CODVEN = C.CODVEN AND S.VENSUB = U.CODVEN)"));
}
