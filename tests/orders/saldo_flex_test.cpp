#include "FirebirdConnection.h"
#include "SaldoFlex.h"
#include "TestDatabase.h"
#include "ValoresPedido.h"

#include <gtest/gtest.h>

namespace {

// Seller 7 of company 1 with CNTSAL 100.00 and two unsettled orders using 10.00 and 20.00;
// a settled order (SITFLX 'S') and another seller's order do not count.
void createSellerWithOrders(FirebirdConnection &cnx)
{
    cnx.execute(QStringLiteral("INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL) VALUES (1, 7, 'ANA', 100.00)"));
    cnx.execute(QStringLiteral("INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL) VALUES (1, 8, 'BIA', NULL)"));
    const char *orders[] = {
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODVEN, SITFLX, TOTFLX) VALUES (1, 1, 0, 7, 'N', 10.00)",
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODVEN, SITFLX, TOTFLX) VALUES (1, 2, 0, 7, 'N', 20.00)",
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODVEN, SITFLX, TOTFLX) VALUES (1, 3, 0, 7, 'S', 50.00)",
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODVEN, SITFLX, TOTFLX) VALUES (1, 4, 0, 9, 'N', 40.00)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, USOFLX) VALUES (1, 1, 1, 100, 0, 10.00)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, USOFLX) VALUES (1, 1, 2, 100, 0, 15.00)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, USOFLX) VALUES (1, 1, 2, 101, 0, 5.00)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, USOFLX) VALUES (1, 1, 3, 100, 0, 50.00)",
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, USOFLX) VALUES (1, 1, 4, 100, 0, 40.00)",
    };
    for (const char *sql : orders)
        cnx.execute(QString::fromLatin1(sql));
}

} // namespace

// Guards the usual example: 100.00 − 30.00 available 70.00, an order using 80.00 is refused.
TEST(FlexDisplay, NewOrderOverdrawingTheBalanceIsRefused)
{
    const SaldoFlex::Exibicao display = SaldoFlex::calcula(d("70.00"), d("0"), d("80.00"), d("1.50"));
    EXPECT_EQ(display.disponivel, d("70.00"));
    EXPECT_EQ(display.total, d("-10.00"));
    EXPECT_EQ(display.corTotal, SaldoFlex::Cor::Vermelho);
    EXPECT_FALSE(display.suficiente);
    EXPECT_EQ(display.previsto, d("1.50"));
}

// Guards the opening flex: a stored order using 20.00 gets it back, so using 90.00 is allowed.
TEST(FlexDisplay, OpeningFlexIsAddedBackToTheBalance)
{
    const SaldoFlex::Exibicao display = SaldoFlex::calcula(d("70.00"), d("20.00"), d("90.00"));
    EXPECT_EQ(display.disponivel, d("90.00"));
    EXPECT_EQ(display.total, d("0"));
    EXPECT_EQ(display.corTotal, SaldoFlex::Cor::Verde);
    EXPECT_TRUE(display.suficiente);
}

// Guards the rule that an order using no flex saves even with a negative balance.
TEST(FlexDisplay, OrderWithoutFlexSavesOnNegativeBalance)
{
    const SaldoFlex::Exibicao display = SaldoFlex::calcula(d("-15.00"), d("0"), d("0"));
    EXPECT_EQ(display.corTotal, SaldoFlex::Cor::Vermelho);
    EXPECT_TRUE(display.suficiente);
    EXPECT_FALSE(SaldoFlex::calcula(d("-15.00"), d("0"), d("0.01")).suficiente);
    EXPECT_EQ(SaldoFlex::calcula(std::nullopt, d("5.00"), d("0")).disponivel, d("5.00")); // no row: 0
}

// Guards the balance statement against the database: unsettled orders of this seller only.
TEST(FlexStatement, BalanceSubtractsUnsettledOrdersOfTheSeller)
{
    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("flex1"));
    db.open(cnx);
    createSellerWithOrders(cnx);

    const std::optional<Decimal> balance = SaldoFlex::le(cnx, QStringLiteral("1"), QStringLiteral("7"));
    ASSERT_TRUE(balance.has_value());
    EXPECT_EQ(*balance, d("70.00"));
    // Opening the stored order 2 (20.00): available 90.00 and it may use all of it.
    EXPECT_TRUE(SaldoFlex::calcula(balance, d("20.00"), d("90.00")).suficiente);
    EXPECT_FALSE(SaldoFlex::calcula(balance, d("0"), d("80.00")).suficiente);

    // A seller without orders and without CNTSAL has 0; an unknown seller has no row.
    EXPECT_EQ(SaldoFlex::le(cnx, QStringLiteral("1"), QStringLiteral("8")).value_or(d("-1")), d("0"));
    EXPECT_FALSE(SaldoFlex::le(cnx, QStringLiteral("1"), QStringLiteral("99")).has_value());
}
