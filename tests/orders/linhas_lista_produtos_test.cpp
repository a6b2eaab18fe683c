#include "ConsultaProdutos.h"
#include "FirebirdConnection.h"
#include "PrecosRecalculo.h"
#include "SqlText.h"
#include "StatementRun.h"
#include "TestDatabase.h"

#include <QSqlRecord>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Two groups: 10 holds families 5 and 6, 20 holds family 6 too. Family 5 has three products
// in table 2, family 6 two, family 7 only a product of table 1. Product 101 has a promotion.
class ProductListRows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDatabase>();
        cnx = std::make_unique<FirebirdConnection>(QStringLiteral("listrows"));
        db->open(*cnx);
        const QStringList rows = {
            "INSERT INTO F511GFA (CODGFA, CODCCU, CODEMP, DESGFA) VALUES (10, 1, 1, 'BEBIDAS')",
            "INSERT INTO F511GFA (CODGFA, CODCCU, CODEMP, DESGFA) VALUES (20, 1, 1, 'NATURAIS')",
            "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 5, 'REFRIGERANTES', 'N')",
            "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 6, 'SUCOS', 'N')",
            "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 7, 'AGUAS', 'N')",
            "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 10, 5)",
            "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 10, 6)",
            "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 20, 6)",
            "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 10, 7)",
            "INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 5.00)",
        };
        for (const QString &sql : rows)
            cnx->execute(sql);
        addProduct(101, 5, "COLA 2L", 2, "10.000");
        addProduct(102, 5, "COLA LATA", 2, "3.000");
        addProduct(103, 5, "LIMAO 2L", 2, "9.000");
        addProduct(201, 6, "SUCO UVA", 2, "12.000");
        addProduct(202, 6, "SUCO MANGA", 2, "11.000");
        addProduct(301, 7, "AGUA 500ML", 1, "1.500");
        const QString yesterday = SqlText::dateLiteral(QDate::currentDate().addDays(-1));
        const QString tomorrow = SqlText::dateLiteral(QDate::currentDate().addDays(1));
        cnx->execute(QStringLiteral("INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) "
                                    "VALUES (1, 1, 101, %1, %2, 28, 8.000)").arg(yesterday, tomorrow));
    }

    void addProduct(qint64 code, int family, const char *name, int table, const char *price)
    {
        cnx->execute(QStringLiteral("INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, FATPRO) "
                                    "VALUES (1, 1, %1, %2, '%3', 'UN', 1)")
                         .arg(code).arg(family).arg(QLatin1String(name)));
        cnx->execute(QStringLiteral("INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, CODCOS, "
                                    "MAXDCT, RJTTAB) VALUES (1, 1, %1, %2, 'TABELA', %3, 1, 4.00, 0)")
                         .arg(code).arg(table).arg(QLatin1String(price)));
    }

    static ConsultaProdutos query(qint64 table)
    {
        ConsultaProdutos::Termos t;
        t.CODEMP = 1;
        t.CODTAB = table;
        t.hoje = QDate::currentDate();
        return ConsultaProdutos(t);
    }

    // "kind:code:description" per row, in the statement's order.
    QStringList shape(const QString &sql)
    {
        QStringList rows;
        QSqlQuery q = StatementRun::run(*cnx, sql);
        const QSqlRecord r = q.record();
        const int kind = r.indexOf(QStringLiteral("VERFAM"));
        const int code = r.indexOf(QStringLiteral("CODPRO"));
        const int description = r.indexOf(QStringLiteral("DESPRO"));
        while (q.next())
            rows.append(q.value(kind).toString() + u':' + QString::number(q.value(code).toString().toDouble())
                        + u':' + q.value(description).toString());
        return rows;
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<FirebirdConnection> cnx;
};

} // namespace

// Guards the header rows against repeats: a group with several families and a family with
// several products each get one header, a family in two groups one under each group, and a
// family without products in the table none.
TEST_F(ProductListRows, OneHeaderPerGroupAndFamily)
{
    EXPECT_EQ(shape(query(2).instrucaoPesquisa({})),
              QStringList({"G:10:BEBIDAS", "S:5:REFRIGERANTES", "N:101:COLA 2L", "N:102:COLA LATA", "N:103:LIMAO 2L",
                           "S:6:SUCOS", "N:202:SUCO MANGA", "N:201:SUCO UVA", "G:20:NATURAIS", "S:6:SUCOS",
                           "N:202:SUCO MANGA", "N:201:SUCO UVA"}));
}

// Guards the headers following the typed filters: a family (and a group) is shown only when one
// of its products passes them.
TEST_F(ProductListRows, HeadersFollowTheProductFilters)
{
    ConsultaProdutos::Filtros filters;
    filters.descricao = QStringLiteral("manga");
    EXPECT_EQ(shape(query(2).instrucaoPesquisa(filters)),
              QStringList({"G:10:BEBIDAS", "S:6:SUCOS", "N:202:SUCO MANGA", "G:20:NATURAIS", "S:6:SUCOS",
                           "N:202:SUCO MANGA"}));
    filters = {};
    filters.codigo = QStringLiteral("000010");
    EXPECT_EQ(shape(query(2).instrucaoPesquisa(filters)),
              QStringList({"G:10:BEBIDAS", "S:5:REFRIGERANTES", "N:101:COLA 2L", "N:102:COLA LATA", "N:103:LIMAO 2L"}));
    filters.codigo = QStringLiteral("9");
    EXPECT_TRUE(shape(query(2).instrucaoPesquisa(filters)).isEmpty());
}

// Guards against rows repeated by repeated rows of the delivered file: a membership listed
// twice still gives each header and product once.
TEST_F(ProductListRows, RepeatedMembershipListsEveryRowOnce)
{
    cnx->execute(QStringLiteral("INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 10, 5)"));
    const QStringList rows = shape(query(2).instrucaoPesquisa({}));
    EXPECT_EQ(rows.count(QStringLiteral("G:10:BEBIDAS")), 1);
    EXPECT_EQ(rows.count(QStringLiteral("S:5:REFRIGERANTES")), 1);
    EXPECT_EQ(rows.count(QStringLiteral("N:101:COLA 2L")), 1);
}

// Guards the re-pricing of an order's products: each listed product gets the same prices the
// whole table gives it, a product outside the table or the list gets none.
TEST_F(ProductListRows, RepricingOfTheOrderProductsMatchesTheWholeTable)
{
    const ConsultaProdutos terms = query(2);
    const PrecosRecalculo whole = PrecosRecalculo::carrega(*cnx, terms);
    const PrecosRecalculo some = PrecosRecalculo::carrega(*cnx, terms, {{1, 101}, {1, 202}, {1, 101}, {1, 301}, {2, 101}});
    EXPECT_EQ(some.tamanho(), 2);
    for (qint64 code : {101, 202}) {
        const std::optional<BasePreco> expected = whole.procura(1, code);
        const std::optional<BasePreco> found = some.procura(1, code);
        ASSERT_TRUE(expected.has_value());
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->PRCTAB, expected->PRCTAB);
        EXPECT_EQ(found->PRCVEN, expected->PRCVEN);
        EXPECT_EQ(found->MAXDCT, expected->MAXDCT);
        EXPECT_EQ(found->VLRPRM.has_value(), expected->VLRPRM.has_value());
        EXPECT_EQ(found->PRZMAX, expected->PRZMAX);
    }
    EXPECT_EQ(some.procura(1, 101)->VLRPRM.value_or(Decimal()), Decimal::fromText(QStringLiteral("8.000"), 3));
    EXPECT_FALSE(some.procura(1, 102).has_value()); // not asked for
    EXPECT_FALSE(some.procura(1, 301).has_value()); // in table 1 only
    EXPECT_FALSE(some.procura(2, 101).has_value()); // no such cost centre
    EXPECT_EQ(PrecosRecalculo::carrega(*cnx, terms, {}).tamanho(), 0);
}
