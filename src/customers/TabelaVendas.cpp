#include "TabelaVendas.h"

#include "ClientDataSetPlus.h"
#include "DatabaseError.h"
#include "FiltrosProdutos.h"
#include "Formatos.h"
#include "SqlText.h"

const QString TabelaVendas::kSelectTabelas =
    QStringLiteral("SELECT CODTAB, DESTAB FROM F511TAB GROUP BY CODTAB, DESTAB ORDER BY CODTAB");

const QString TabelaVendas::kSelectGFA = QStringLiteral("SELECT * FROM F511GFA ORDER BY DESGFA");

const QString TabelaVendas::kSelectFamilias = QStringLiteral(
    "SELECT F.CODFAM, F.DESFAM, G.CODGFA "
    "FROM F511FAM  F, F511IFA G "
    "WHERE F.CODEMP = G.CODEMP AND F.CODCCU = G.CODCCU "
    "AND F.CODFAM = G.CODFAM "
    "AND EXISTS (SELECT CODGFA FROM f511IFA I WHERE I.CODFAM = F.CODFAM AND I.CODCCU = F.CODCCU "
    "AND I.CODEMP = F.CODEMP "
    "AND ") + SqlText::zeroPaddedColumn(QStringLiteral("I.CODGFA"), 5) + QStringLiteral(" LIKE :CODGFA ||'%') "
    "ORDER BY F.DESFAM");

const QString TabelaVendas::kSelectPromocao = QStringLiteral(
    "SELECT P.CODEMP, P.CODCCU, P.CODPRO, P.DESPRO, R.DATINI, "
    "             R.DATFIM, R.PRZMAX, R.VLRPRM "
    "FROM F511PRO P, F511PRM R "
    "WHERE P.CODEMP = R.CODEMP "
    "AND P.CODCCU = R.CODCCU "
    "AND P.CODPRO = R.CODPRO "
    "AND P.CODEMP = :PCODEMP "
    "AND R.DATINI >= :PDATINI AND R.DATINI <= :PDATFIM "
    "ORDER BY R.DATINI, P.DESPRO");

TabelaVendas::TabelaVendas(FirebirdConnection &connection)
    : m_tabelas(std::make_unique<TClientDataSetPlus>())
    , m_grupos(std::make_unique<TClientDataSetPlus>())
    , m_familias(std::make_unique<TClientDataSetPlus>())
    , m_produtos(std::make_unique<TClientDataSetPlus>())
    , m_promocao(std::make_unique<TClientDataSetPlus>())
{
    m_tabelas->setCommandText(kSelectTabelas);
    m_grupos->setCommandText(kSelectGFA);
    m_familias->setCommandText(kSelectFamilias);
    m_promocao->setCommandText(kSelectPromocao);
    for (TClientDataSetPlus *ds : {m_tabelas.get(), m_grupos.get(), m_familias.get(), m_produtos.get(), m_promocao.get()})
        ds->setConnection(&connection);
}

TabelaVendas::~TabelaVendas() = default;

void TabelaVendas::abreListas()
{
    m_tabelas->close();
    m_tabelas->open();
    abreFamilias(QString());
    m_grupos->close();
    m_grupos->open();
}

void TabelaVendas::abreFamilias(const QString &codGfa)
{
    m_familias->close();
    m_familias->setParam(QStringLiteral("CODGFA"), codGfa);
    m_familias->open();
}

QString TabelaVendas::divisor(const QString &codTab, double acrTab)
{
    const double acrescimo = codTab.trimmed() == QLatin1String("1") ? acrTab : 0;
    const double d = Formatos::round(1.0 - acrescimo / 100.0, 2);
    // A surcharge of 100% or more has no price to divide into; the table price stands.
    if (d <= 0)
        return QStringLiteral("1.00");
    return QString::number(d, 'f', 2);
}

namespace {

struct Aliases
{
    QString produto;  // P / AP
    QString familia;  // F / AF
    QString tabela;   // T / ATB
};

QString filtrosProduto(const TabelaVendas::Filtro &f, const Aliases &a)
{
    QString sql = FiltrosProdutos::codigo(a.produto + QStringLiteral(".CODPRO"), f.codigo.trimmed())
        + FiltrosProdutos::familia(a.produto + QStringLiteral(".CODFAM"), f.codFam)
        + FiltrosProdutos::descricao(a.produto + QStringLiteral(".DESPRO"), f.descricao);
    if (f.alteracoes)
        sql += QStringLiteral(" AND %1.DATALT >= ").arg(a.tabela)
            + SqlText::dateLiteral(f.hoje.addDays(-5), SqlText::DateForm::AmericanDash) + QLatin1Char(' ');
    return sql;
}

QString filtroGrupo(const TabelaVendas::Filtro &f)
{
    return FiltrosProdutos::grupo(QStringLiteral("G.CODGFA"), f.codGfa);
}

QString junta(const QString &p, const QString &f, const QString &t)
{
    return QStringLiteral(" AND %1.CODEMP = %3.CODEMP AND %1.CODCCU = %3.CODCCU AND %1.CODPRO = %3.CODPRO"
                          " AND %1.CODFAM = %2.CODFAM AND %1.CODCCU = %2.CODCCU AND %1.CODEMP = %2.CODEMP ")
        .arg(p, f, t);
}

} // namespace

QString TabelaVendas::comandoProdutos(const Filtro &f)
{
    const QString empresa = SqlText::quoted(f.codEmp);
    const QString tabela = SqlText::quoted(f.codTab);
    const Aliases principal{QStringLiteral("P"), QStringLiteral("F"), QStringLiteral("T")};
    const Aliases interno{QStringLiteral("AP"), QStringLiteral("AF"), QStringLiteral("ATB")};
    const QString ligacaoGrupo = QStringLiteral(
        " AND I.CODFAM = F.CODFAM AND I.CODCCU = F.CODCCU AND I.CODEMP = F.CODEMP"
        " AND G.CODEMP = I.CODEMP AND G.CODCCU = I.CODCCU AND G.CODGFA = I.CODGFA ");

    const QString produtos =
        QStringLiteral("SELECT DISTINCT G.CODGFA,P.CODEMP AS CODEMP, P.CODFAM,"
                       "F.DESFAM,P.CODCCU,P.CODPRO, P.DESPRO AS DESPRO, P.UNDPRO, "
                       "(CAST(T.PRCVEN * 1.00 as numeric(15,3)))/")
        + divisor(f.codTab, f.acrTab)
        + QStringLiteral(" PRCVEN, CAST(T.PRCVEN * 1.00 as numeric(15,3)) PRCTAB,  "
                         "T.NOVPRV, T.SITALT, T.DATALT, 'N' AS VERFAM,    "
                         "((G.CODGFA * 100000) + (F.CODFAM  *10) + 1) CODORD,P.DISPRO,P.FATPRO,P.PESPRO,"
                         "T.DESCOS, T.MAXDCT, T.RJTTAB,1 ORD                "
                         "FROM F511PRO P,F511FAM F, F511TAB T,f511GFA G, F511IFA I "
                         "WHERE 1 = 1")
        + junta(QStringLiteral("P"), QStringLiteral("F"), QStringLiteral("T")) + ligacaoGrupo
        + QStringLiteral(" AND   P.CODEMP = ") + empresa + QStringLiteral(" AND   T.CODTAB = ") + tabela
        + filtrosProduto(f, principal) + filtroGrupo(f);

    const QString familias =
        QStringLiteral("SELECT DISTINCT G.CODGFA,F.CODEMP,F.CODFAM,F.DESFAM,        "
                       "F.CODCCU,F.CODFAM,F.DESFAM, '' UND, NULL AS PRCVEN,"
                       "NULL AS PRCTAB, NULL AS NOV, '' AS ATL,NULL AS DAT,"
                       "'S' AS VERFAM,((G.CODGFA * 100000) + (F.CODFAM  *10)) CODORD, NULL DISPRO,  "
                       "NULL FATPRO, NULL PESPRO, '' DESCOS, NULL MAXDCT,  "
                       "NULL RJTTAB,1 ORD "
                       "FROM F511FAM F, F511PRO P, F511TAB T, f511gfa G, f511ifa I "
                       "WHERE 1 = 1")
        + junta(QStringLiteral("P"), QStringLiteral("F"), QStringLiteral("T")) + ligacaoGrupo
        + QStringLiteral(" AND   F.CODEMP = ") + empresa + QStringLiteral(" AND   T.CODTAB = ") + tabela
        + filtrosProduto(f, principal) + filtroGrupo(f);

    const QString grupos =
        QStringLiteral("SELECT DISTINCT G.CODGFA,G.CODEMP,NULL,NULL,G.CODCCU,G.CODGFA,    "
                       "G.DESGFA,'' UND,NULL AS PRCVEN,NULL AS PRCTAB,NULL AS NOV, "
                       "'' AS ATL,NULL AS DAT,'G' AS VERFAM,G.CODGFA * 100000 CODORD,NULL DISPRO,"
                       "NULL FATPRO,NULL PESPRO ,'' DESCOS,NULL MAXDCT,NULL RJTTAB,0 ORD "
                       "FROM f511gfa G, f511ifa I  "
                       "WHERE G.CODEMP = I.CODEMP AND G.CODCCU = I.CODCCU AND G.CODGFA = I.CODGFA "
                       "AND   EXISTS (SELECT AF.CODEMP "
                       "FROM F511FAM AF, F511PRO AP, F511TAB ATB  "
                       "WHERE 1 = 1")
        + junta(QStringLiteral("AP"), QStringLiteral("AF"), QStringLiteral("ATB"))
        + QStringLiteral(" AND AF.CODEMP = ") + empresa + QStringLiteral(" AND ATB.CODTAB = ") + tabela
        + QStringLiteral(" AND AF.CODCCU = I.CODCCU AND AF.CODEMP = I.CODEMP AND AF.CODFAM = I.CODFAM ")
        + filtrosProduto(f, interno) + QStringLiteral(")") + filtroGrupo(f);

    return QStringLiteral(" SELECT DISTINCT CODEMP, CODFAM, DESFAM, CODCCU, CODPRO,      "
                          "DESPRO, UNDPRO, PRCVEN, NOVPRV, SITALT, DATALT, VERFAM, CODORD, DISPRO, FATPRO, "
                          "PESPRO, DESCOS, PRCTAB, MAXDCT, RJTTAB FROM (")
        + produtos + QStringLiteral(" UNION ") + familias + QStringLiteral(" UNION ") + grupos
        + QStringLiteral(") ORDER BY 13,6");
}

void TabelaVendas::pesquisa(const Filtro &filtro)
{
    m_produtos->close();
    m_produtos->setCommandText(comandoProdutos(filtro));
    m_produtos->open();
}

bool TabelaVendas::abrePromocoes(const QString &codEmp, const QDate &hoje)
{
    const QString americana = QStringLiteral("yyyy-mm-dd");
    m_promocao->close();
    m_promocao->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_promocao->setParam(QStringLiteral("PDATINI"), Formatos::formatDate(hoje, americana));
    m_promocao->setParam(QStringLiteral("PDATFIM"), Formatos::formatDate(hoje.addYears(100), americana));
    m_promocao->open();
    return !m_promocao->isEmpty();
}
