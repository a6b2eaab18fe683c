#include "IntegracaoScript.h"

#include "ConsultaServidor.h"
#include "EsquemaCentral.h"
#include "FirebirdConnection.h"

#include <QStringList>

namespace {

// A row fresh from a script, and one the server already holds.
const QString pendente = QStringLiteral("%1.CODNOW IS NOT NULL AND %1.SITSRV IS NULL");
const QString integrado = QStringLiteral("(%1.CODNOW IS NULL OR %1.SITSRV IS NOT NULL)");

} // namespace

IntegracaoScript::IntegracaoScript(FirebirdConnection &conexao)
    : m_conexao(conexao)
{
}

void IntegracaoScript::integra()
{
    integraPedidos();
    integraClientes();
    integraMovimentos();
}

void IntegracaoScript::integraPedidos()
{
    // An item of this package and its order: same company, order number, seller and moment.
    const QString doPedido = QStringLiteral("P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODNOW = I.CODNOW "
                                            "AND P.CODVEN IS NOT DISTINCT FROM I.CODVEN AND ")
                             + pendente.arg(QStringLiteral("P"));
    // The same order received from an earlier package.
    const QString repetido = QStringLiteral(
        "EXISTS (SELECT 1 FROM F530PDF A WHERE A.CODEMP = P.CODEMP AND A.CODPDF = P.CODPDF AND A.CODINT <> P.CODINT "
        "AND A.CODVEN IS NOT DISTINCT FROM P.CODVEN AND A.CODCLI IS NOT DISTINCT FROM P.CODCLI "
        "AND A.CODNOV IS NOT DISTINCT FROM P.CODNOV AND A.DATPDF IS NOT DISTINCT FROM P.DATPDF "
        "AND A.CODNOW IS NOT NULL AND A.SITSRV = 'I')");
    const QString itemPendente = pendente.arg(QStringLiteral("I")) + QStringLiteral(" AND I.CODINT = 0");

    m_conexao.execute(QStringLiteral("DELETE FROM F530IPF I WHERE ") + itemPendente
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F530PDF P WHERE ") + doPedido + QStringLiteral(" AND ")
                      + repetido + u')');
    m_conexao.execute(QStringLiteral("DELETE FROM F530PDF P WHERE ") + pendente.arg(QStringLiteral("P"))
                      + QStringLiteral(" AND ") + repetido);
    m_conexao.execute(QStringLiteral("UPDATE F530IPF I SET I.CODINT = (SELECT FIRST 1 P.CODINT FROM F530PDF P WHERE ")
                      + doPedido + QStringLiteral(") WHERE ") + itemPendente
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F530PDF P WHERE ") + doPedido + u')');
    m_conexao.execute(QStringLiteral("UPDATE F530PDF P SET P.SITSRV = 'I', P.PDFORC = 'N' WHERE ")
                      + pendente.arg(QStringLiteral("P")));
    // Items whose order did not come stay as they arrived.
    m_conexao.execute(QStringLiteral("UPDATE F530IPF I SET I.SITSRV = 'I' WHERE ") + pendente.arg(QStringLiteral("I")));
}

void IntegracaoScript::integraClientes()
{
    // The columns the notebook sends, but its seller code (see the class comment).
    static const QStringList enviadas = {
        QStringLiteral("RAZCLI"), QStringLiteral("FANCLI"), QStringLiteral("ENDEND"), QStringLiteral("NUMEND"),
        QStringLiteral("BAIEND"), QStringLiteral("CEPEND"), QStringLiteral("DDAEND"), QStringLiteral("TEAEND"),
        QStringLiteral("FONEMB"), QStringLiteral("CNTEMB"), QStringLiteral("EMLEMB"), QStringLiteral("FONLIM"),
        QStringLiteral("CNTLIM"), QStringLiteral("EMLLIM"), QStringLiteral("CPFCGC"), QStringLiteral("NUMIES"),
        QStringLiteral("CODTIP"), QStringLiteral("DESCHK"), QStringLiteral("STUCLI"), QStringLiteral("OBSCLI"),
        QStringLiteral("CODCID"), QStringLiteral("CODNOW")};
    // The same customer: company and codes; a customer registered on a notebook (code 0) is
    // also told apart by its seller, since every notebook numbers its own from 9900001.
    const QString mesmo = QStringLiteral("N.CODEMP = E.CODEMP AND N.CODCLI = E.CODCLI AND N.CODNOV = E.CODNOV "
                                         "AND (E.CODCLI <> 0 OR N.CODVEN IS NOT DISTINCT FROM E.CODVEN)");
    const QString novo = QStringLiteral("(SELECT FIRST 1 N.%1 FROM F510CLI N WHERE ") + pendente.arg(QStringLiteral("N"))
                         + QStringLiteral(" AND ") + mesmo + u')';
    const QStringList existentes = EsquemaCentral(m_conexao).colunas(QStringLiteral("F510CLI"));
    QStringList atribuicoes;
    for (const QString &coluna : enviadas) {
        if (existentes.contains(coluna))
            atribuicoes << coluna + QStringLiteral(" = ") + novo.arg(coluna);
    }
    atribuicoes << QStringLiteral("SITSRV = 'I'");
    m_conexao.execute(QStringLiteral("UPDATE F510CLI E SET ") + atribuicoes.join(QStringLiteral(", "))
                      + QStringLiteral(" WHERE ") + integrado.arg(QStringLiteral("E"))
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F510CLI N WHERE ") + pendente.arg(QStringLiteral("N"))
                      + QStringLiteral(" AND ") + mesmo + u')');
    m_conexao.execute(QStringLiteral("DELETE FROM F510CLI N WHERE ") + pendente.arg(QStringLiteral("N"))
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F510CLI E WHERE ") + integrado.arg(QStringLiteral("E"))
                      + QStringLiteral(" AND ") + mesmo + u')');
    // Defaults of a customer registered on the notebook, which it keeps but does not send.
    static const QList<std::pair<QString, QString>> padroes = {
        {QStringLiteral("SITCLI"), QStringLiteral("'A'")}, {QStringLiteral("CODTAB"), QStringLiteral("1")},
        {QStringLiteral("LIMCRE"), QStringLiteral("0")},   {QStringLiteral("ABTCLI"), QStringLiteral("0")},
        {QStringLiteral("ATRCLI"), QStringLiteral("0")},   {QStringLiteral("EMIAVS"), QStringLiteral("'N'")},
        {QStringLiteral("REDE"), QStringLiteral("'N'")}};
    QStringList preenchimentos;
    for (const auto &[coluna, valor] : padroes) {
        if (existentes.contains(coluna))
            preenchimentos << QStringLiteral("C.%1 = COALESCE(C.%1, %2)").arg(coluna, valor);
    }
    preenchimentos << QStringLiteral("C.SITSRV = 'I'");
    m_conexao.execute(QStringLiteral("UPDATE F510CLI C SET ") + preenchimentos.join(QStringLiteral(", "))
                      + QStringLiteral(" WHERE ") + pendente.arg(QStringLiteral("C")));
}

void IntegracaoScript::integraMovimentos()
{
    m_conexao.execute(QStringLiteral("DELETE FROM F512MTF N WHERE ") + pendente.arg(QStringLiteral("N"))
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F512MTF E WHERE E.CODNOW IS NOT NULL AND E.SITSRV = 'I' "
                                       "AND E.CODEMP = N.CODEMP AND E.CODSUP = N.CODSUP AND E.CODMOV = N.CODMOV "
                                       "AND E.DATMOV = N.DATMOV AND E.VENORI IS NOT DISTINCT FROM N.VENORI "
                                       "AND E.VENDES IS NOT DISTINCT FROM N.VENDES "
                                       "AND E.VLRMOV IS NOT DISTINCT FROM N.VLRMOV)"));
    m_conexao.execute(QStringLiteral("UPDATE F512MTF M SET M.SITSRV = 'I' WHERE ") + pendente.arg(QStringLiteral("M")));
}
