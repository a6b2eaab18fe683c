#include "IntegracaoScript.h"

#include "ConsultaServidor.h"
#include "EsquemaCentral.h"
#include "FirebirdConnection.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

namespace {

// A row fresh from a script, and one the server already holds.
const QString pendente = QStringLiteral("%1.CODNOW IS NOT NULL AND %1.SITSRV IS NULL");
const QString integrado = QStringLiteral("(%1.CODNOW IS NULL OR %1.SITSRV IS NOT NULL)");

struct Pedido
{
    QVariant CODEMP, CODPDF, CODINT, CODVEN, CODCLI, CODNOV, DATPDF;
};

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
    QList<Pedido> pedidos;
    {
        QSqlQuery consulta = ConsultaServidor::executa(
            m_conexao, QStringLiteral("SELECT P.CODEMP, P.CODPDF, P.CODINT, P.CODVEN, P.CODCLI, P.CODNOV, P.DATPDF "
                                      "FROM F530PDF P WHERE ")
                           + pendente.arg(QStringLiteral("P")));
        while (consulta.next())
            pedidos.append({consulta.value(0), consulta.value(1), consulta.value(2), consulta.value(3),
                            consulta.value(4), consulta.value(5), consulta.value(6)});
    }
    for (const Pedido &p : std::as_const(pedidos)) {
        const QVariantMap chave{{QStringLiteral("EMP"), p.CODEMP}, {QStringLiteral("INT"), p.CODINT},
                                {QStringLiteral("PDF"), p.CODPDF}, {QStringLiteral("VEN"), p.CODVEN}};
        // Items of this order in this package: same order number and seller, same moment.
        const QString itensDoPedido = QStringLiteral(
            "I.CODEMP = :EMP AND I.CODPDF = :PDF AND I.CODINT = 0 AND I.SITSRV IS NULL "
            "AND I.CODVEN IS NOT DISTINCT FROM :VEN "
            "AND I.CODNOW = (SELECT FIRST 1 O.CODNOW FROM F530PDF O WHERE O.CODEMP = :EMP AND O.CODINT = :INT)");
        const QVariant repetido = ConsultaServidor::valor(
            m_conexao,
            QStringLiteral("SELECT FIRST 1 1 FROM F530PDF A WHERE A.CODEMP = :EMP AND A.CODPDF = :PDF "
                           "AND A.CODINT <> :INT AND A.CODVEN IS NOT DISTINCT FROM :VEN "
                           "AND A.CODCLI IS NOT DISTINCT FROM :CLI AND A.CODNOV IS NOT DISTINCT FROM :NOV "
                           "AND A.DATPDF IS NOT DISTINCT FROM :DAT AND A.CODNOW IS NOT NULL AND A.SITSRV = 'I'"),
            {{QStringLiteral("EMP"), p.CODEMP}, {QStringLiteral("PDF"), p.CODPDF}, {QStringLiteral("INT"), p.CODINT},
             {QStringLiteral("VEN"), p.CODVEN}, {QStringLiteral("CLI"), p.CODCLI}, {QStringLiteral("NOV"), p.CODNOV},
             {QStringLiteral("DAT"), p.DATPDF}});
        if (repetido.isValid()) {
            m_conexao.execute(QStringLiteral("DELETE FROM F530IPF I WHERE ") + itensDoPedido, chave);
            m_conexao.execute(QStringLiteral("DELETE FROM F530PDF WHERE CODEMP = :EMP AND CODINT = :INT"),
                              {{QStringLiteral("EMP"), p.CODEMP}, {QStringLiteral("INT"), p.CODINT}});
            continue;
        }
        m_conexao.execute(QStringLiteral("UPDATE F530IPF I SET I.CODINT = :INT, I.SITSRV = 'I' WHERE ") + itensDoPedido,
                          chave);
        m_conexao.execute(QStringLiteral("UPDATE F530PDF SET SITSRV = 'I', PDFORC = 'N' WHERE CODEMP = :EMP AND CODINT = :INT"),
                          {{QStringLiteral("EMP"), p.CODEMP}, {QStringLiteral("INT"), p.CODINT}});
    }
    // Items whose order did not come: kept as they arrived.
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
