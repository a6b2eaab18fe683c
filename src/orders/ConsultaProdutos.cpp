#include "ConsultaProdutos.h"

#include "FiltrosProdutos.h"
#include "SqlText.h"
#include "StatementRun.h"

namespace {

const Decimal cem = Decimal::fromInteger(100);

QString comZeros(qint64 codigo, int largura)
{
    return QString::number(codigo).rightJustified(largura, u'0');
}

// The products of the customer's last purchases, as a subquery: a list of their codes pasted
// into the statement costs seconds to prepare with a few hundred codes, and Firebird refuses
// more than 1500 of them.
QString compradosPor(qint64 CODCLI)
{
    return QStringLiteral("(SELECT LI.CODPRO FROM F530PDF LP, F530IPF LI, F513TRA LT"
                          " WHERE LP.CODPDF = LI.CODPDF AND LP.CODEMP = LI.CODEMP AND LP.CODINT = LI.CODINT"
                          " AND LT.CODTRA = LP.CODTRA AND LT.CODEMP = LP.CODEMP AND LT.GERBON = 'N'"
                          " AND LP.CODCLI = %1 AND LI.CODPRO IS NOT NULL)")
        .arg(CODCLI);
}

const char *const colunasExternas =
    "CODEMP, CODFAM, DESFAM, CODCCU, CODPRO, DESPRO, UNDPRO, PRCVEN, PRCTAB, NOVPRV, SITALT, DATALT, "
    "VERFAM, CODORD, DISPRO, FATPRO, PESPRO, DESCOS, MAXDCT, RJTTAB, CODCOS, PRZMAX, VLRPRM, CODGFA";

// The same columns with the order's columns first (the list's DISTINCT).
const char *const colunasLista =
    "CODORD, DESPRO, CODEMP, CODFAM, DESFAM, CODCCU, CODPRO, UNDPRO, PRCVEN, PRCTAB, NOVPRV, SITALT, DATALT, "
    "VERFAM, DISPRO, FATPRO, PESPRO, DESCOS, MAXDCT, RJTTAB, CODCOS, PRZMAX, VLRPRM, CODGFA";

const char *const colunasProduto =
    "G.CODGFA, P.CODEMP, P.CODFAM, F.DESFAM, P.CODCCU, P.CODPRO, P.DESPRO, P.UNDPRO, P.DISPRO, P.FATPRO, "
    "P.PESPRO, T.DESCOS, T.NOVPRV, T.SITALT, T.DATALT, T.RJTTAB, CAST('N' AS VARCHAR(1)) VERFAM, ";

const char *const maximosComissao =
    "(SELECT CODEMP, CODCOS, MAX(PCTDCT) MAXDCT FROM F512COS GROUP BY CODEMP, CODCOS) C";

const char *const juncoesProduto =
    "T.CODEMP = P.CODEMP AND T.CODCCU = P.CODCCU AND T.CODPRO = P.CODPRO "
    "AND P.CODFAM = F.CODFAM AND P.CODCCU = F.CODCCU AND P.CODEMP = F.CODEMP "
    "AND F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU AND F.CODEMP = I.CODEMP "
    "AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA "
    "AND T.CODCOS = C.CODCOS AND T.CODEMP = C.CODEMP";

// The product list's joins: "+0" on the family and group side keeps Firebird from looking the
// small family, membership and group tables up by index once per product (tens of thousands of
// look-ups); it joins them through hash tables instead. The rows are the same.
const char *const juncoesLista =
    "T.CODEMP = P.CODEMP AND T.CODCCU = P.CODCCU AND T.CODPRO = P.CODPRO "
    "AND P.CODFAM = F.CODFAM+0 AND P.CODCCU = F.CODCCU+0 AND P.CODEMP = F.CODEMP+0 "
    "AND F.CODFAM = I.CODFAM+0 AND F.CODCCU = I.CODCCU+0 AND F.CODEMP = I.CODEMP+0 "
    "AND I.CODEMP = G.CODEMP+0 AND I.CODCCU = G.CODCCU+0 AND I.CODGFA = G.CODGFA+0 "
    "AND T.CODCOS = C.CODCOS AND T.CODEMP = C.CODEMP";

// The header rows carry no product values.
const char *const colunasProdutoVazias =
    "NULL DISPRO, NULL FATPRO, NULL PESPRO, CAST('' AS VARCHAR(30)) DESCOS, NULL NOVPRV, "
    "CAST('' AS VARCHAR(1)) SITALT, NULL DATALT, NULL RJTTAB, ";

const char *const colunasPrecoVazias =
    "NULL CODCOS, NULL MAXDCT, NULL PRCVEN, NULL PRCTAB, NULL PRZMAX, NULL VLRPRM";

} // namespace

ConsultaProdutos::ConsultaProdutos(const Termos &termos)
    : m_termos(termos)
{
}

Decimal ConsultaProdutos::fator(const Decimal &percentual)
{
    return (cem - percentual).dividedBy(cem, 2);
}

ConsultaProdutos::Fatores ConsultaProdutos::fatores() const
{
    const Decimal none;
    return {fator(m_termos.PORDES), fator(m_termos.retirada ? m_termos.DESRET : none),
            fator(m_termos.CODTAB == 1 ? m_termos.ACRTAB : none)};
}

QString ConsultaProdutos::instrucaoDesconto()
{
    return QStringLiteral("SELECT IIF(PORDES = NULL,0,PORDES) PORDES FROM F513DES "
                          "WHERE CODOPE = :PCODOPE AND CODEMP = :PCODEMP AND CODCON = :PCODCON");
}

Decimal ConsultaProdutos::leDesconto(FirebirdConnection &connection, const QString &CODEMP, const QString &CODOPE,
                                   const QString &CODCON)
{
    auto orZero = [](const QString &valor) {
        return valor.trimmed().isEmpty() ? QStringLiteral("0") : valor.trimmed();
    };
    QSqlQuery linha = StatementRun::run(connection, instrucaoDesconto(),
                                      {{QStringLiteral("PCODOPE"), orZero(CODOPE)},
                                       {QStringLiteral("PCODEMP"), orZero(CODEMP)},
                                       {QStringLiteral("PCODCON"), orZero(CODCON)}});
    if (!linha.next())
        return Decimal::fromUnits(0, 2);
    return Decimal::fromText(linha.value(0).toString(), 2);
}

QString ConsultaProdutos::colunasPreco() const
{
    const Fatores f = fatores();
    const QString a = f.A.toString(2), b = f.B.toString(2), c = f.C.toString(2);
    return QStringLiteral("IIF(C.MAXDCT = 0,T.MAXDCT,C.MAXDCT) MAXDCT, "
                          "IIF(F.RETPDV = 'S',( CAST((T.PRCVEN * %1) * %2 as numeric(15,3)))/%3,"
                          "(CAST(T.PRCVEN * %1 as numeric(15,3)))/%3) PRCVEN, "
                          "IIF(F.RETPDV = 'S',  CAST((T.PRCVEN * %1) * %2  as numeric(15,3)) ,"
                          "CAST(T.PRCVEN * %1 as numeric(15,3))) PRCTAB, "
                          "R.PRZMAX, R.VLRPRM")
        .arg(a, b, c);
}

QString ConsultaProdutos::filtrosProduto(const Filtros &filtros, const QString &produto, const QString &familia) const
{
    QString sql = FiltrosProdutos::codigo(produto + QStringLiteral(".CODPRO"), filtros.codigo);
    if (filtros.familia)
        sql += FiltrosProdutos::familia(familia + QStringLiteral(".CODFAM"), comZeros(*filtros.familia, 4));
    sql += FiltrosProdutos::descricao(produto + QStringLiteral(".DESPRO"), filtros.descricao);
    if (filtros.ultimasComprasDe)
        sql += QStringLiteral(" AND ") + produto + QStringLiteral(".CODPRO IN ") + compradosPor(*filtros.ultimasComprasDe);
    return sql;
}

namespace {

QString filtrosGrupo(const ConsultaProdutos::Filtros &filtros)
{
    QString sql;
    if (filtros.grupo)
        sql += FiltrosProdutos::grupo(QStringLiteral("G.CODGFA"), comZeros(*filtros.grupo, 5));
    else if (filtros.grupoFamilia)
        sql += QStringLiteral(" AND G.CODGFA = ") + QString::number(*filtros.grupoFamilia);
    return sql;
}

QString juncaoPromocao(const QDate &hoje)
{
    const QString day = SqlText::dateLiteral(hoje, SqlText::DateForm::American);
    return QStringLiteral("F511TAB T LEFT JOIN F511PRM R ON R.CODEMP = T.CODEMP AND R.CODCCU = T.CODCCU "
                          "AND R.CODPRO = T.CODPRO AND R.DATINI <= %1 AND R.DATFIM >= %1")
        .arg(day);
}

QString condicaoTabela(const QString &alias, const std::optional<qint64> &CODTAB)
{
    if (!CODTAB)
        return alias + QStringLiteral(".CODTAB IS NULL");
    return alias + QStringLiteral(".CODTAB = ") + QString::number(*CODTAB);
}

} // namespace

QString ConsultaProdutos::ramoProdutos(const Filtros &filtros) const
{
    return QStringLiteral("SELECT ") + QLatin1String(colunasProduto)
        + QStringLiteral("G.CODGFA * 100000 + P.CODFAM * 10 + 1 CODORD, T.CODCOS, ") + colunasPreco()
        + QStringLiteral(" FROM F511PRO P, F511FAM F, ") + juncaoPromocao(m_termos.hoje)
        + QStringLiteral(", F511GFA G, F511IFA I, ") + QLatin1String(maximosComissao)
        + QStringLiteral(" WHERE ") + QLatin1String(juncoesLista)
        + QStringLiteral(" AND P.CODEMP = ") + QString::number(m_termos.CODEMP)
        + QStringLiteral(" AND ") + condicaoTabela(QStringLiteral("T"), m_termos.CODTAB)
        + filtrosProduto(filtros, QStringLiteral("P"), QStringLiteral("F")) + filtrosGrupo(filtros);
}

// A family is listed when one of its products in the table passes the filters: an existence
// test stops at the first product instead of joining every product and removing the repeats.
QString ConsultaProdutos::ramoFamilias(const Filtros &filtros) const
{
    return QStringLiteral("SELECT G.CODGFA, F.CODEMP, F.CODFAM, F.DESFAM, F.CODCCU, F.CODFAM, F.DESFAM, "
                          "CAST('' AS VARCHAR(3)) UNDPRO, ")
        + QLatin1String(colunasProdutoVazias)
        + QStringLiteral("CAST('S' AS VARCHAR(1)) VERFAM, G.CODGFA * 100000 + F.CODFAM * 10 CODORD, ") + QLatin1String(colunasPrecoVazias)
        + QStringLiteral(" FROM F511FAM F, F511GFA G, F511IFA I"
                         " WHERE F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU AND F.CODEMP = I.CODEMP"
                         " AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA"
                         " AND F.CODEMP = ")
        + QString::number(m_termos.CODEMP)
        + QStringLiteral(" AND EXISTS (SELECT 1 FROM F511PRO P, F511TAB T"
                         " WHERE F.CODEMP = P.CODEMP AND F.CODCCU = P.CODCCU AND F.CODFAM = P.CODFAM"
                         " AND P.CODEMP = T.CODEMP AND P.CODCCU = T.CODCCU AND P.CODPRO = T.CODPRO AND ")
        + condicaoTabela(QStringLiteral("T"), m_termos.CODTAB)
        + filtrosProduto(filtros, QStringLiteral("P"), QStringLiteral("F")) + u')' + filtrosGrupo(filtros);
}

QString ConsultaProdutos::ramoGrupos(const Filtros &filtros) const
{
    return QStringLiteral("SELECT G.CODGFA, G.CODEMP, NULL CODFAM, NULL DESFAM, G.CODCCU, G.CODGFA, "
                          "G.DESGFA, CAST('' AS VARCHAR(3)) UNDPRO, ")
        + QLatin1String(colunasProdutoVazias)
        + QStringLiteral("CAST('G' AS VARCHAR(1)) VERFAM, G.CODGFA * 100000 CODORD, ") + QLatin1String(colunasPrecoVazias)
        + QStringLiteral(" FROM F511GFA G, F511IFA I"
                         " WHERE G.CODEMP = I.CODEMP AND G.CODCCU = I.CODCCU AND G.CODGFA = I.CODGFA"
                         " AND EXISTS (SELECT 1 FROM F511FAM AF, F511PRO AP, F511TAB ATB"
                         " WHERE AF.CODEMP = AP.CODEMP AND AF.CODCCU = AP.CODCCU AND AF.CODFAM = AP.CODFAM"
                         " AND AP.CODEMP = ATB.CODEMP AND AP.CODCCU = ATB.CODCCU AND AP.CODPRO = ATB.CODPRO"
                         " AND AF.CODEMP = ")
        + QString::number(m_termos.CODEMP)
        + QStringLiteral(" AND AF.CODCCU = I.CODCCU AND AF.CODEMP = I.CODEMP AND AF.CODFAM = I.CODFAM")
        + filtrosProduto(filtros, QStringLiteral("AP"), QStringLiteral("AF")) + u')' + filtrosGrupo(filtros);
}

// The branches cannot repeat each other's rows (VERFAM differs), so one DISTINCT over their
// plain concatenation removes every repeat. With the order's columns (CODORD, DESPRO) leading
// the list, Firebird removes the repeats and orders the rows in the same sort.
QString ConsultaProdutos::instrucaoPesquisa(const Filtros &filtros) const
{
    return QStringLiteral("SELECT DISTINCT ") + QLatin1String(colunasLista) + QStringLiteral(" FROM (")
        + ramoProdutos(filtros) + QStringLiteral(" UNION ALL ") + ramoFamilias(filtros)
        + QStringLiteral(" UNION ALL ") + ramoGrupos(filtros) + QStringLiteral(") X ORDER BY 1, 2");
}

QString ConsultaProdutos::instrucaoRecalculo() const
{
    return instrucaoRecalculo(QString());
}

QString ConsultaProdutos::instrucaoRecalculoProduto() const
{
    return instrucaoRecalculo(QStringLiteral(" AND T.CODCCU = :PCODCCU AND T.CODPRO = :PCODPRO"));
}

int ConsultaProdutos::colunaRecalculo(const QString &nome)
{
    static const QStringList columns = QString::fromLatin1(colunasExternas).split(QStringLiteral(", "));
    return static_cast<int>(columns.indexOf(nome.toUpper()));
}

QString ConsultaProdutos::instrucaoRecalculo(const QString &condicao) const
{
    return QStringLiteral("SELECT ") + QLatin1String(colunasExternas) + QStringLiteral(" FROM (SELECT ")
        + QLatin1String(colunasProduto) + QStringLiteral("P.CODFAM*1000+1 CODORD, T.CODCOS, ") + colunasPreco()
        + QStringLiteral(" FROM F511PRO P, F511FAM F, ") + juncaoPromocao(m_termos.hoje)
        + QStringLiteral(", F511GFA G, F511IFA I, ") + QLatin1String(maximosComissao)
        + QStringLiteral(" WHERE ") + QLatin1String(juncoesProduto)
        + QStringLiteral(" AND P.CODEMP = ") + QString::number(m_termos.CODEMP)
        + QStringLiteral(" AND ") + condicaoTabela(QStringLiteral("T"), m_termos.CODTAB) + condicao
        + QStringLiteral(") X ORDER BY 1, 14, 6");
}
