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
    integraMensagens();
}

void IntegracaoScript::integraPedidos()
{
    // An item of this package and its order: same company, order number, seller and moment.
    const QString doPedido = QStringLiteral("P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODNOW = I.CODNOW "
                                            "AND P.CODVEN IS NOT DISTINCT FROM I.CODVEN AND ")
                             + pendente.arg(QStringLiteral("P"));
    // The copy of the same order (the sender's number) received from an earlier package.
    const QString anterior = QStringLiteral("A.SITSRV = 'I' AND A.CODEMP = P.CODEMP AND A.CODPDF = P.CODPDF "
                                            "AND A.USUENV = P.USUENV");
    // Until the back office takes an order (invoices, cancels) the notebook's copy is the latest.
    const QString aberto = QStringLiteral("A.SITPDF IN ('D', 'L')");
    const QString itemPendente = pendente.arg(QStringLiteral("I")) + QStringLiteral(" AND I.CODINT = 0");
    const QString pedidoPendente = QStringLiteral("P.CODNOW IS NOT NULL AND P.SITSRV IS NULL");

    // Sent again after the back office took it: its copy stays as it is.
    const QString tomado = QStringLiteral("EXISTS (SELECT 1 FROM F530PDF A WHERE ") + anterior
                           + QStringLiteral(" AND NOT ") + aberto + u')';
    m_conexao.execute(QStringLiteral("DELETE FROM F530IPF I WHERE ") + itemPendente
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F530PDF P WHERE ") + doPedido + QStringLiteral(" AND ")
                      + tomado + u')');
    m_conexao.execute(QStringLiteral("DELETE FROM F530PDF P WHERE ") + pedidoPendente + QStringLiteral(" AND ") + tomado);

    // Otherwise the new copy replaces the earlier one under the earlier server number.
    const QString substituido = QStringLiteral("EXISTS (SELECT 1 FROM F530PDF P WHERE ") + pedidoPendente
                                + QStringLiteral(" AND ") + anterior + u')';
    // Driven by the package's few orders, not by every item of the company.
    m_conexao.execute(QStringLiteral("EXECUTE BLOCK AS DECLARE E NUMERIC(15,0); DECLARE N NUMERIC(15,0); "
                                     "DECLARE I NUMERIC(15,0); BEGIN FOR SELECT A.CODEMP, A.CODPDF, A.CODINT "
                                     "FROM F530PDF P JOIN F530PDF A ON ")
                      + anterior + QStringLiteral(" WHERE ") + pedidoPendente + QStringLiteral(" AND ") + aberto
                      + QStringLiteral(" INTO :E, :N, :I DO DELETE FROM F530IPF X WHERE X.CODEMP = :E AND X.CODPDF = :N "
                                       "AND X.CODINT = :I; END"));
    m_conexao.execute(QStringLiteral("UPDATE F530PDF P SET P.CODINT = (SELECT FIRST 1 A.CODINT FROM F530PDF A WHERE ")
                      + anterior + QStringLiteral(") WHERE ") + pedidoPendente
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F530PDF A WHERE ") + anterior + u')');
    m_conexao.execute(QStringLiteral("DELETE FROM F530PDF A WHERE A.SITSRV = 'I' AND ") + aberto + QStringLiteral(" AND ")
                      + substituido);

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
    const QString anterior = QStringLiteral("A.SITSRV = 'I' AND A.CODEMP = N.CODEMP AND A.CODSUP = N.CODSUP "
                                            "AND A.CODMOV = N.CODMOV AND A.USUENV = N.USUENV");
    const QString novo = pendente.arg(QStringLiteral("N"));
    // Sent again after the back office settled it ('R', 'N'): the settled copy stays.
    m_conexao.execute(QStringLiteral("DELETE FROM F512MTF N WHERE ") + novo
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F512MTF A WHERE ") + anterior
                      + QStringLiteral(" AND A.SITMOV IS DISTINCT FROM 'E')"));
    m_conexao.execute(QStringLiteral("DELETE FROM F512MTF A WHERE A.SITSRV = 'I' AND A.SITMOV = 'E' "
                                     "AND EXISTS (SELECT 1 FROM F512MTF N WHERE ")
                      + novo + QStringLiteral(" AND ") + anterior + u')');
    m_conexao.execute(QStringLiteral("UPDATE F512MTF M SET M.SITSRV = 'I' WHERE ") + pendente.arg(QStringLiteral("M")));
}

void IntegracaoScript::integraMensagens()
{
    // One copy per notebook user, local number and recipient.
    const QString anterior = QStringLiteral("A.SITSRV = 'I' AND A.CODEMP = N.CODEMP AND A.USUENV = N.USUENV "
                                            "AND A.CODMSG = N.CODMSG AND A.USUDES = N.USUDES");
    const QString nova = QStringLiteral("N.USUENV IS NOT NULL AND N.SITSRV IS NULL");
    // Not read yet: the earlier copy takes the latest text.
    const QString ultima = QStringLiteral("(SELECT FIRST 1 N.%1 FROM F599MSG N WHERE ") + nova + QStringLiteral(" AND ")
                           + anterior + u')';
    m_conexao.execute(QStringLiteral("UPDATE F599MSG A SET A.TITMSG = ") + ultima.arg(QStringLiteral("TITMSG"))
                      + QStringLiteral(", A.DESMSG = ") + ultima.arg(QStringLiteral("DESMSG"))
                      + QStringLiteral(" WHERE A.SITSRV = 'I' AND A.SITMSG = 'N' AND EXISTS (SELECT 1 FROM F599MSG N WHERE ")
                      + nova + QStringLiteral(" AND ") + anterior + u')');
    // A read one sent again unchanged is a repeat; with another text it is a new message that
    // happens to reuse the number.
    m_conexao.execute(QStringLiteral("DELETE FROM F599MSG N WHERE ") + nova
                      + QStringLiteral(" AND EXISTS (SELECT 1 FROM F599MSG A WHERE ") + anterior
                      + QStringLiteral(" AND (A.SITMSG = 'N' OR (A.TITMSG IS NOT DISTINCT FROM N.TITMSG "
                                       "AND A.DESMSG IS NOT DISTINCT FROM N.DESMSG)))"));
    m_conexao.execute(QStringLiteral("UPDATE F599MSG N SET N.SITSRV = 'I' WHERE ") + nova);
}
