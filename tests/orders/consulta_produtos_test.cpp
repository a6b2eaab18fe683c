#include "ConsultaProdutos.h"
#include "FirebirdConnection.h"
#include "Formatos.h"
#include "PrecosRecalculo.h"
#include "SqlText.h"
#include "StatementRun.h"
#include "TestDatabase.h"
#include "ValoresPedido.h"

#include <QSqlRecord>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct ListedRow
{
    QString VERFAM;
    qint64 CODPRO = 0;
    QString DESPRO;
    Decimal PRCTAB, PRCVEN, MAXDCT;
    QString VLRPRM;
    qint64 CODORD = 0;
};

ConsultaProdutos::Termos terms(const char *pordes, qint64 table)
{
    ConsultaProdutos::Termos t;
    t.CODEMP = 1;
    t.CODTAB = table;
    t.PORDES = d(pordes);
    t.DESRET = d("3.00");
    t.ACRTAB = d("10.00");
    t.hoje = QDate::currentDate();
    return t;
}

// One group (10) with two families: 5 takes the pick-up discount, 6 does not. Products:
// 1234567 (family 5, table price 10.000, commission scale 1 with largest step 7.00, promotion
// 8.000 for 28 days), 12 "SUCO D'UVA" and 1200001 (family 6, table price 20.000 and 30.000, scale
// 2 whose steps are all 0, so the row's MAXDCT 4.00 holds), and 1300000 whose scale has no steps.
class ProductList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDatabase>();
        cnx = std::make_unique<FirebirdConnection>(QStringLiteral("products"));
        db->open(*cnx);
        const QString yesterday = SqlText::dateLiteral(QDate::currentDate().addDays(-1));
        const QString tomorrow = SqlText::dateLiteral(QDate::currentDate().addDays(1));
        const QStringList rows = {
            "INSERT INTO F511GFA (CODGFA, CODCCU, CODEMP, DESGFA) VALUES (10, 1, 1, 'BEBIDAS')",
            "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 5, 'REFRIGERANTES', 'S')",
            "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 6, 'SUCOS', 'N')",
            "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 10, 5)",
            "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 10, 6)",
            "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, FATPRO) VALUES (1, 1, 1234567, 5, 'GUARANA 2L', 'UN', 12)",
            "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, FATPRO) VALUES (1, 1, 12, 6, 'SUCO D''UVA', 'UN', 1)",
            "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, FATPRO) VALUES (1, 1, 1200001, 6, 'SUCO LARANJA', 'UN', 1)",
            "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, FATPRO) VALUES (1, 1, 1300000, 6, 'SUCO SEM ESCALA', 'UN', 1)",
            "INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 0)",
            "INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 3.00)",
            "INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 7.00)",
            "INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 2, 0)",
        };
        for (const QString &sql : rows)
            cnx->execute(sql);
        for (int table : {1, 2}) {
            addPrice(table, 1234567, "10.000", 1, "5.00");
            addPrice(table, 12, "20.000", 2, "4.00");
            addPrice(table, 1200001, "30.000", 2, "4.00");
            addPrice(table, 1300000, "40.000", 3, "4.00");
        }
        cnx->execute(QStringLiteral("INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) "
                                    "VALUES (1, 1, 1234567, %1, %2, 28, 8.000)").arg(yesterday, tomorrow));
    }

    void addPrice(int table, qint64 product, const char *price, int scale, const char *maxdct)
    {
        cnx->execute(QStringLiteral("INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, CODCOS, "
                                    "MAXDCT, RJTTAB) VALUES (1, 1, %1, %2, 'TABELA %2', %3, %4, %5, 0)")
                         .arg(product).arg(table).arg(QLatin1String(price)).arg(scale).arg(QLatin1String(maxdct)));
    }

    QVector<ListedRow> list(const QString &sql)
    {
        QVector<ListedRow> rows;
        QSqlQuery q = StatementRun::run(*cnx, sql);
        while (q.next()) {
            const QSqlRecord r = q.record();
            ListedRow row;
            row.VERFAM = r.value(QStringLiteral("VERFAM")).toString();
            row.CODPRO = static_cast<qint64>(r.value(QStringLiteral("CODPRO")).toString().toDouble());
            row.DESPRO = r.value(QStringLiteral("DESPRO")).toString();
            row.PRCTAB = Decimal::fromText(r.value(QStringLiteral("PRCTAB")).toString(), 3);
            row.PRCVEN = Decimal::fromText(r.value(QStringLiteral("PRCVEN")).toString(), 3);
            row.MAXDCT = Decimal::fromText(r.value(QStringLiteral("MAXDCT")).toString(), 2);
            row.VLRPRM = r.value(QStringLiteral("VLRPRM")).isNull()
                ? QString() : Decimal::fromText(r.value(QStringLiteral("VLRPRM")).toString(), 3).toString();
            row.CODORD = static_cast<qint64>(r.value(QStringLiteral("CODORD")).toString().toDouble());
            rows.append(row);
        }
        return rows;
    }

    static const ListedRow *product(const QVector<ListedRow> &rows, qint64 code)
    {
        for (const ListedRow &row : rows)
            if (row.VERFAM == QLatin1String("N") && row.CODPRO == code)
                return &row;
        return nullptr;
    }

    static QList<qint64> products(const QVector<ListedRow> &rows)
    {
        QList<qint64> codes;
        for (const ListedRow &row : rows)
            if (row.VERFAM == QLatin1String("N"))
                codes.append(row.CODPRO);
        return codes;
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<FirebirdConnection> cnx;
};

} // namespace

// Guards the factors' form: two decimals, '.' whatever the process separators are.
TEST(ProductFactors, TwoDecimalsWithAPoint)
{
    EXPECT_EQ(ConsultaProdutos::fator(d("5")).toString(), "0.95");
    EXPECT_EQ(ConsultaProdutos::fator(d("0")).toString(), "1.00");
    EXPECT_EQ(ConsultaProdutos::fator(d("12.345")).toString(), "0.88");
    EXPECT_EQ(ConsultaProdutos::fator(d("3.5")).toString(), "0.97"); // 0.965 goes away from zero

    Formatos::setStatementForm(false);
    ConsultaProdutos::Termos t = terms("5.00", 1);
    t.retirada = true;
    const ConsultaProdutos query(t);
    const ConsultaProdutos::Fatores f = query.fatores();
    EXPECT_EQ(f.A.toString(), "0.95");
    EXPECT_EQ(f.B.toString(), "0.97");
    EXPECT_EQ(f.C.toString(), "0.90");
    const QString sql = query.instrucaoPesquisa({});
    EXPECT_TRUE(sql.contains(QStringLiteral("T.PRCVEN * 0.95) * 0.97")));
    EXPECT_FALSE(sql.contains(QStringLiteral("0,95")));

    t.CODTAB = 2;
    t.retirada = false;
    EXPECT_EQ(ConsultaProdutos(t).fatores().B.toString(), "1.00");
    EXPECT_EQ(ConsultaProdutos(t).fatores().C.toString(), "1.00");
}

// Guards the 5 % operation-and-condition discount on a table other than 1: PRCVEN = PRCTAB / 1.00.
TEST_F(ProductList, ConditionDiscountOnAnOrdinaryTable)
{
    const QVector<ListedRow> rows = list(ConsultaProdutos(terms("5.00", 2)).instrucaoPesquisa({}));
    const ListedRow *guarana = product(rows, 1234567);
    ASSERT_NE(guarana, nullptr);
    EXPECT_EQ(guarana->PRCTAB, d("9.500"));
    EXPECT_EQ(guarana->PRCVEN, d("9.500"));
    EXPECT_EQ(guarana->MAXDCT, d("7.00"));   // the scale's largest step
    EXPECT_EQ(guarana->VLRPRM, QStringLiteral("8.000"));
    const ListedRow *juice = product(rows, 12);
    ASSERT_NE(juice, nullptr);
    EXPECT_EQ(juice->PRCTAB, d("19.000"));
    EXPECT_EQ(juice->MAXDCT, d("4.00"));     // a scale of zeros leaves the row's own maximum
    EXPECT_TRUE(juice->VLRPRM.isEmpty());
    EXPECT_EQ(product(rows, 1300000), nullptr); // its scale has no steps
}

// Guards the seller's surcharge on table 1: PRCVEN = PRCTAB / 0.90.
TEST_F(ProductList, SurchargeOnTableOne)
{
    const QVector<ListedRow> rows = list(ConsultaProdutos(terms("5.00", 1)).instrucaoPesquisa({}));
    const ListedRow *guarana = product(rows, 1234567);
    ASSERT_NE(guarana, nullptr);
    EXPECT_EQ(guarana->PRCTAB, d("9.500"));
    EXPECT_EQ(guarana->PRCVEN, d("10.556")); // 9.5 / 0.9 = 10.5555...
}

// Guards the pick-up discount: 3 % only on families that grant it, only for a pick-up order.
TEST_F(ProductList, PickUpDiscountPerFamily)
{
    ConsultaProdutos::Termos t = terms("5.00", 2);
    t.retirada = true;
    const QVector<ListedRow> rows = list(ConsultaProdutos(t).instrucaoPesquisa({}));
    EXPECT_EQ(product(rows, 1234567)->PRCTAB, d("9.215")); // 10 × 0.95 × 0.97
    EXPECT_EQ(product(rows, 12)->PRCTAB, d("19.000"));     // family 6 does not grant it
}

// Guards the header rows and their order: group, family, its products by description.
TEST_F(ProductList, GroupAndFamilyHeadersPrecedeTheirProducts)
{
    const QVector<ListedRow> rows = list(ConsultaProdutos(terms("0", 2)).instrucaoPesquisa({}));
    QStringList shape;
    for (const ListedRow &row : rows)
        shape.append(row.VERFAM + u':' + row.DESPRO);
    EXPECT_EQ(shape, QStringList({"G:BEBIDAS", "S:REFRIGERANTES", "N:GUARANA 2L", "S:SUCOS", "N:SUCO D'UVA",
                                  "N:SUCO LARANJA"}));
}

// Guards the code filter: a prefix of the seven-digit code ("12" is not product 12, "0000012" is).
TEST_F(ProductList, CodeFilterMatchesTheSevenDigitPrefix)
{
    const ConsultaProdutos query(terms("0", 2));
    ConsultaProdutos::Filtros filters;
    filters.codigo = QStringLiteral("12");
    EXPECT_EQ(products(list(query.instrucaoPesquisa(filters))), QList<qint64>({1234567, 1200001}));
    filters.codigo = QStringLiteral("0000012");
    EXPECT_EQ(products(list(query.instrucaoPesquisa(filters))), QList<qint64>({12}));
}

// Guards typed text reaching SQL: a quote is searched for, not executed; an injection finds nothing.
TEST_F(ProductList, QuoteInATypedFilterIsSearchedNotExecuted)
{
    const ConsultaProdutos query(terms("0", 2));
    ConsultaProdutos::Filtros filters;
    filters.descricao = QStringLiteral("D'UVA");
    EXPECT_EQ(products(list(query.instrucaoPesquisa(filters))), QList<qint64>({12}));
    filters.descricao = QStringLiteral("x') OR 1=1 OR ('x'='x");
    EXPECT_TRUE(products(list(query.instrucaoPesquisa(filters))).isEmpty());
    filters.descricao.clear();
    filters.codigo = QStringLiteral("1' OR '1'='1");
    EXPECT_TRUE(list(query.instrucaoPesquisa(filters)).isEmpty()); // no product, so no header either
}

// Guards the family, group and last-purchase filters.
TEST_F(ProductList, FamilyGroupAndLastPurchaseFilters)
{
    const ConsultaProdutos query(terms("0", 2));
    ConsultaProdutos::Filtros filters;
    filters.familia = 6;
    filters.grupoFamilia = 10;
    EXPECT_EQ(products(list(query.instrucaoPesquisa(filters))), QList<qint64>({12, 1200001}));

    filters = {};
    filters.grupo = 11;
    EXPECT_TRUE(list(query.instrucaoPesquisa(filters)).isEmpty());
    filters.grupo = 10;
    EXPECT_EQ(products(list(query.instrucaoPesquisa(filters))).size(), 3);

    // Customer 50 bought 12 and 1200001 under a sales transaction, 1234567 only as a bonus.
    const QStringList purchases = {
        "INSERT INTO F513TRA (CODEMP, CODTRA, DESTRA, GERBON, GERTIT) VALUES (1, 1, 'VENDA', 'N', 'S')",
        "INSERT INTO F513TRA (CODEMP, CODTRA, DESTRA, GERBON, GERTIT) VALUES (1, 2, 'BONIFICACAO', 'S', 'N')",
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODCLI, CODTRA) VALUES (1, 1, 0, 50, 1)",
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODCLI, CODTRA) VALUES (1, 2, 0, 50, 2)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT) VALUES (1, 1, 1, 12, 0)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT) VALUES (1, 1, 1, 1200001, 0)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT) VALUES (1, 1, 2, 1234567, 0)",
    };
    for (const QString &sql : purchases)
        cnx->execute(sql);
    filters = {};
    filters.ultimasComprasDe = 50;
    EXPECT_EQ(products(list(query.instrucaoPesquisa(filters))), QList<qint64>({12, 1200001}));
}

// Guards the re-pricing variant: products only, same prices, no header rows.
TEST_F(ProductList, RepricingVariantListsProductsOnly)
{
    const QVector<ListedRow> rows = list(ConsultaProdutos(terms("5.00", 1)).instrucaoRecalculo());
    ASSERT_EQ(rows.size(), 3);
    for (const ListedRow &row : rows)
        EXPECT_EQ(row.VERFAM, QStringLiteral("N"));
    EXPECT_EQ(product(rows, 1234567)->PRCVEN, d("10.556"));
    EXPECT_EQ(product(rows, 1234567)->CODORD, 5 * 1000 + 1);

    const PrecosRecalculo prices = PrecosRecalculo::carrega(*cnx, ConsultaProdutos(terms("5.00", 1)));
    EXPECT_EQ(prices.tamanho(), 3);
    const std::optional<BasePreco> guarana = prices.procura(1, 1234567);
    ASSERT_TRUE(guarana.has_value());
    EXPECT_EQ(guarana->PRCTAB, d("9.500"));
    EXPECT_EQ(guarana->PRCVEN, d("10.556"));
    EXPECT_EQ(guarana->MAXDCT, d("7.00"));
    EXPECT_EQ(guarana->VLRPRM.value_or(d("0")), d("8.000"));
    EXPECT_EQ(guarana->PRZMAX, 28);
    EXPECT_FALSE(prices.procura(1, 12)->VLRPRM.has_value());
    EXPECT_FALSE(prices.procura(2, 1234567).has_value());

    ConsultaProdutos::Termos noTable = terms("5.00", 1);
    noTable.CODTAB.reset();
    EXPECT_TRUE(list(ConsultaProdutos(noTable).instrucaoRecalculo()).isEmpty());
}

// Guards the operation-and-condition discount: the value, 0 without a row or with a null one.
TEST_F(ProductList, DiscountOfTheOperationAndCondition)
{
    cnx->execute(QStringLiteral("INSERT INTO F513DES (CODEMP, CODOPE, CODCON, PORDES) VALUES (1, 2, 3, 5.00)"));
    cnx->execute(QStringLiteral("INSERT INTO F513DES (CODEMP, CODOPE, CODCON, PORDES) VALUES (1, 2, 4, NULL)"));
    EXPECT_EQ(ConsultaProdutos::leDesconto(*cnx, "1", "2", "3"), d("5.00"));
    EXPECT_EQ(ConsultaProdutos::leDesconto(*cnx, "1", "2", "4"), d("0"));
    EXPECT_EQ(ConsultaProdutos::leDesconto(*cnx, "1", QString(), QString()), d("0"));
}
