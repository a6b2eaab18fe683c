#include "CatalogoRelatorios.h"

#include "Sessao.h"
#include "SqlText.h"

const QString CatalogoRelatorios::kSelectMeses =
    QStringLiteral("SELECT DISTINCT MESMET, DESDIF FROM F500RSV ORDER BY MESMET DESC");

const QString CatalogoRelatorios::resumoVendas = QStringLiteral("R511RSV");
const QString CatalogoRelatorios::pendencias = QStringLiteral("R511PEN");
const QString CatalogoRelatorios::impressaoPedido = QStringLiteral("R530PDF");
const QString CatalogoRelatorios::sinteticoVendas = QStringLiteral("R516SIN");

namespace {

using SqlText::quoted;

QString filtroMes(const QString &mes)
{
    return mes.isEmpty() ? QString() : QStringLiteral(" AND MESMET = ") + quoted(mes);
}

} // namespace

QStringList CatalogoRelatorios::permitidos(const Sessao &sessao)
{
    QStringList lista;
    if (!sessao.CODVEN.isEmpty())
        lista << resumoVendas << pendencias << impressaoPedido;
    if (sessao.usuarioSupervisor)
        lista << sinteticoVendas;
    return lista;
}

D500REL::Relatorio CatalogoRelatorios::R511RSV(const Sessao &sessao, const QString &mes, const QString &desdif)
{
    struct Linha
    {
        QString referencia, objetivo, realizado, saldo, acumulado;
    };
    const QList<Linha> linhas = {
        {quoted(QStringLiteral("VENDAS GERAL")), QStringLiteral("METVEN"), QStringLiteral("GERVEN"),
         QStringLiteral("FLXDSP"), QStringLiteral("FLXGER")},
        {quoted(mes.isEmpty() ? QStringLiteral("DIFERENCIADOS") : desdif), QStringLiteral("METDIF"),
         QStringLiteral("GERDIF"), QStringLiteral("0"), QStringLiteral("0")},
        {quoted(QStringLiteral("CLIENTES GERAL")), QStringLiteral("METCLI"), QStringLiteral("GERCLI"),
         QStringLiteral("0"), QStringLiteral("0")},
        {quoted(QStringLiteral("CLIENTES NOVOS")), QStringLiteral("0"), QStringLiteral("GERNOV"), QStringLiteral("0"),
         QStringLiteral("0")},
        {quoted(QStringLiteral("VENDAS SUB.")), QStringLiteral("0"), QStringLiteral("SUBVEN"), QStringLiteral("0"),
         QStringLiteral("0")},
        {quoted(QStringLiteral("CLIENTES SUB.")), QStringLiteral("0"), QStringLiteral("SUBCLI"), QStringLiteral("0"),
         QStringLiteral("0")},
        {quoted(QStringLiteral("MIX PRODUTOS(%)")), QStringLiteral("METPRO"), QStringLiteral("GERPRO"),
         QStringLiteral("0"), QStringLiteral("0")},
    };
    const QString filtro = QStringLiteral(" WHERE CODVEN = ") + quoted(sessao.CODVEN)
                           + QStringLiteral(" AND   CODEMP = ") + quoted(sessao.CODEMP) + filtroMes(mes);
    QStringList selects;
    for (int i = 0; i < linhas.size(); ++i) {
        const Linha &l = linhas.at(i);
        // The reference texts differ in length: as VARCHAR they come without padding blanks.
        selects << QStringLiteral("SELECT CAST(%1 AS VARCHAR(30)) REFERENCIA, %2 \"OBJETIVO#(2)#\", %3 \"REALIZADO#(2)#\", "
                                  "%4 \"SALDO FLEX#(2)#\", %5 \"ACUM. FLEX#(2)#\", NOMVEN||' - '||MESMET \"VENDEDOR_OCULT\", "
                                  "%6 \"ORDEM_OCULT\" FROM F500RSV")
                           .arg(l.referencia, l.objetivo, l.realizado, l.saldo, l.acumulado, QString::number(i + 1))
                       + filtro;
    }
    D500REL::Relatorio r;
    r.sql = selects.join(QStringLiteral(" UNION ")) + QStringLiteral(" ORDER BY 6, 7 ");
    r.titulo = QStringLiteral("Relatório de Resumo de Vendas");
    r.quebras = {QStringLiteral("VENDEDOR_OCULT")};
    r.parciais = true;
    return r;
}

D500REL::Relatorio CatalogoRelatorios::R511PEN(const QDate &de, const QDate &ate, bool somenteEstoque)
{
    D500REL::Relatorio r;
    // Customers are matched within the pending row's company, so a code used by two companies
    // does not list (and total) a pending row twice.
    r.sql = QStringLiteral("SELECT P.CODCLI \"Cliente\", C.RAZCLI \"Razão Social\", P.CODPRO \"Produto\", "
                           "R.DESPRO \"Descrição\", R.UNDPRO \"Und.\", R.DISPRO \"Estoque#(2)#\", "
                           "P.QTDPEN \"Qtde.#(2)#\", P.VLRPEN \"Vl. Unit.#(3)#\", P.DATPEN \"DATA_OCULT\", "
                           "(P.QTDPEN*P.VLRPEN) \"Pendência_OCULT\""
                           " FROM F500RPE P, F510CLI C, F511PRO R "
                           " WHERE P.CODEMP = R.CODEMP AND P.CODCLI = C.CODCLI AND P.CODEMP = C.CODEMP"
                           " AND P.CODCCU = R.CODCCU AND P.CODPRO = R.CODPRO"
                           " AND   P.DATPEN BETWEEN ")
            + SqlText::dateLiteral(de) + QStringLiteral(" AND ") + SqlText::dateLiteral(ate)
            + (somenteEstoque ? QStringLiteral(" AND R.DISPRO > 0 ") : QString())
            + QStringLiteral(" ORDER BY P.DATPEN DESC, P.CODCLI, P.CODPRO ");
    r.titulo = QStringLiteral("Relatório de Pendências");
    r.quebras = {QStringLiteral("DATA_OCULT")};
    r.totalizadores = {QStringLiteral("Pendência_OCULT")};
    return r;
}

D500REL::Relatorio CatalogoRelatorios::R530PDF(const Sessao &sessao, const QString &pedido)
{
    D500REL::Relatorio r;
    // Items belong to one order: company, number and the central system's number together.
    r.sql = QStringLiteral(
                "SELECT P.CODPDF||'          DATA : '||EXTRACT(DAY FROM P.DATPDF)||'/'||EXTRACT(MONTH FROM P.DATPDF)"
                "||'/'||EXTRACT(YEAR FROM P.DATPDF)||IIF(P.PDFORC = 'S','    -    O R Ç A M E N T O ',' ') \"PEDIDO_OCULT\", "
                "C.CODCLI||' - '||C.RAZCLI \"CLIENTE_OCULT\", "
                "trim(D.NOMCID)||'-'||D.ESTCID \"CIDADE_OCULT\", "
                "trim(N.DESCON)||' - '||trim(O.NOMOPE)||' - '||T.DESTRA \"COND. PAGTO._OCULT\", "
                "LPAD(CAST(I.CODPRO AS VARCHAR(15)), 7, '0') \"Produto\", "
                "I.DESPRO \"Descrição\", I.UNDPRO \"Und.\", I.QTDPRO \"Quant.#(2)#\", I.VLRUNT \"Vl. Unitário#(3)#\", "
                "I.VLRTOT \"Tot. Item#(3)#\", IIF(I.VLRSTB IS NULL,0,I.VLRSTB) \"Subs. Trib.#(2)#\""
                " FROM F530PDF P, F530IPF I, F510CLI C, F513TRA T, F513CON N, F513OPE O, F501CID D "
                " WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT"
                " AND P.CODCLI = C.CODCLI AND P.CODNOV = C.CODNOV AND P.CODEMP = C.CODEMP"
                " AND P.CODEMP = T.CODEMP AND P.CODTRA = T.CODTRA"
                " AND P.CODEMP = N.CODEMP AND P.CODCON = N.CODCON"
                " AND P.CODEMP = O.CODEMP AND P.CODOPE = O.CODOPE"
                " AND C.CODCID = D.CODCID AND P.CODEMP = D.CODEMP"
                " AND   P.CODEMP = ")
            + quoted(sessao.CODEMP)
            + (pedido.trimmed().isEmpty() ? QStringLiteral(" AND P.CODPDF = -1 ")
                                          : QStringLiteral(" AND P.CODPDF = ") + quoted(pedido.trimmed()))
            + QStringLiteral(" ORDER BY I.CODPRO");
    r.titulo = QStringLiteral("Impressão de Pedido");
    r.quebras = {QStringLiteral("PEDIDO_OCULT"), QStringLiteral("CLIENTE_OCULT"), QStringLiteral("CIDADE_OCULT"),
                 QStringLiteral("COND. PAGTO._OCULT")};
    r.totalizadores = {QStringLiteral("Tot. Item#(3)#"), QStringLiteral("Subs. Trib.#(2)#")};
    return r;
}

D500REL::Relatorio CatalogoRelatorios::R516SIN(const Sessao &sessao, const QString &mes)
{
    D500REL::Relatorio r;
    // Months are kept together (one group each) before the best sales come first.
    r.sql = QStringLiteral("SELECT CODVEN||'-'||NOMVEN \"VENDEDOR\", METVEN \"META VENDAS#(2)#\", "
                           "GERVEN \"VENDAS REAL.#(2)#\", METCLI \"META CLIENTES#(2)#\", GERCLI \"CLIENTES REAL.#(2)#\", "
                           "GERNOV \"CLIENTES NOVOS#(2)#\", METPRO \"META MIX#(2)#\", GERPRO \"MIX REALI.#(2)#\", "
                           "NOMSUP||'-'||MESMET \"SUPERVISOR_OCULT\" FROM F500RSV")
            + QStringLiteral(" WHERE CODSUP = ") + quoted(sessao.CODSUP) + QStringLiteral(" AND   CODEMP = ")
            + quoted(sessao.CODEMP) + filtroMes(mes) + QStringLiteral(" ORDER BY 9, 3 desc, 1 ");
    r.titulo = QStringLiteral("Relatório Sintético de Vendas");
    r.quebras = {QStringLiteral("SUPERVISOR_OCULT")};
    r.totalizadores = {QStringLiteral("VENDAS REAL.#(2)#"), QStringLiteral("CLIENTES NOVOS#(2)#")};
    return r;
}

QString CatalogoRelatorios::mesMaisRecente(const QStringList &meses)
{
    QString melhor;
    int chaveMelhor = -1;
    for (const QString &mes : meses) {
        // "MM/YYYY": compared as year then month.
        const int chave = mes.mid(3).toInt() * 100 + mes.left(2).toInt();
        if (chave > chaveMelhor) {
            chaveMelhor = chave;
            melhor = mes;
        }
    }
    return melhor;
}
