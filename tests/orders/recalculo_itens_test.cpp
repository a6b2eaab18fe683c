#include "RecalculoItens.h"
#include "ValoresPedido.h"

#include <gtest/gtest.h>

namespace {

ValoresItem item(const char *price, const char *quantity)
{
    return {.QTDPRO = d(quantity), .VLRUNT = d(price), .VLRTOT = (d(price) * d(quantity)).rounded(3),
            .USOFLX = d("0"), .GERFLX = d("0"), .PRCTAB = d("9.000"), .PRCVEN = d("9.000"), .MAXDCT = d("5.00"),
            .FATPRO = {}, .VLRSTB = d("1.23"), .TABCOS = d("0"), .QTDFAT = {}, .VLRFAT = {}, .VLRPRM = {}};
}

BasePreco row(const char *prctab, const char *maxdct)
{
    return basePreco(prctab, prctab, maxdct, nullptr, "0");
}

} // namespace

// Guards the raise to the new minimum: price, total, flex recomputed and the item marked.
TEST(Repricing, ItemBelowTheNewMinimumIsRaisedAndMarked)
{
    const RecalculoItens::Resultado outcome = RecalculoItens::recalcula(item("9.000", "10"), row("10.000", "5.00"), 30);
    EXPECT_TRUE(outcome.corrigido);
    EXPECT_EQ(outcome.item.VLDITM, QStringLiteral("S"));
    EXPECT_EQ(outcome.item.VLRUNT, d("9.500"));
    EXPECT_EQ(outcome.item.VLRTOT, d("95.000"));
    EXPECT_EQ(outcome.item.USOFLX, d("5.00"));
    EXPECT_EQ(outcome.item.GERFLX, d("0"));
    EXPECT_EQ(outcome.item.PRCTAB, d("10.000"));
    EXPECT_EQ(outcome.item.VLRSTB, d("1.23")); // the re-pricing leaves the tax alone
}

// Guards an item above the minimum: kept, unmarked, its flex recomputed against the new PRCTAB.
TEST(Repricing, ItemAboveTheMinimumKeepsItsPrice)
{
    const RecalculoItens::Resultado outcome = RecalculoItens::recalcula(item("9.800", "10"), row("9.500", "5.00"), 30);
    EXPECT_FALSE(outcome.corrigido);
    EXPECT_EQ(outcome.item.VLDITM, QStringLiteral("N"));
    EXPECT_EQ(outcome.item.VLRUNT, d("9.800"));
    EXPECT_EQ(outcome.item.GERFLX, d("3.00"));
    EXPECT_EQ(outcome.item.PRCTAB, d("9.500"));
}

// Guards the comparison at three decimals with ties to even: differences beyond it do not count.
TEST(Repricing, ComparisonAtThreeDecimalsHalfToEven)
{
    EXPECT_FALSE(RecalculoItens::abaixoDoMinimo(d("9.4995"), d("9.4996"))); // both 9.500
    EXPECT_TRUE(RecalculoItens::abaixoDoMinimo(d("9.4985"), d("9.4986")));  // 9.498 against 9.499
    EXPECT_FALSE(RecalculoItens::abaixoDoMinimo(d("9.500"), d("9.5004")));
    // 10.526 × 0.95 = 9.9997, a price of 10.000 is not corrected.
    EXPECT_FALSE(RecalculoItens::recalcula(item("10.000", "1"), row("10.526", "5.00"), 30).corrigido);
    EXPECT_TRUE(RecalculoItens::recalcula(item("9.999", "1"), row("10.526", "5.00"), 30).corrigido);
}

// Guards the promotion case: the promotion price survives while the condition's days fit it.
TEST(Repricing, PromotionPriceSurvivesOnlyWithinItsTerm)
{
    BasePreco promoted = row("10.000", "5.00");
    promoted.VLRPRM = d("8.000");
    promoted.PRZMAX = 28;
    ValoresItem sold = item("8.000", "12");
    sold.ITMPRM = QStringLiteral("S");

    const RecalculoItens::Resultado kept = RecalculoItens::recalcula(sold, promoted, 28);
    EXPECT_FALSE(kept.corrigido);
    EXPECT_EQ(kept.item.VLRUNT, d("8.000"));
    EXPECT_EQ(kept.item.ITMPRM, QStringLiteral("S"));
    EXPECT_EQ(kept.item.USOFLX, d("0"));
    EXPECT_EQ(kept.item.GERFLX, d("0"));

    const RecalculoItens::Resultado lost = RecalculoItens::recalcula(sold, promoted, 35);
    EXPECT_TRUE(lost.corrigido);
    EXPECT_EQ(lost.item.VLRUNT, d("9.500"));
    EXPECT_EQ(lost.item.ITMPRM, QStringLiteral("N"));
    EXPECT_EQ(lost.item.USOFLX, d("6.00"));
}

// Guards RJTTAB below 0 on the new row: the item is written with MAXDCT 0.
TEST(Repricing, RejectedTableValueGivesNoMaximumDiscount)
{
    BasePreco rejected = row("9.000", "5.00");
    rejected.RJTTAB = d("-1");
    EXPECT_EQ(RecalculoItens::recalcula(item("9.000", "1"), rejected, 30).item.MAXDCT, d("0"));
}

// Guards the product missing from the re-priced list: no zero prices, no flex windfall.
TEST(Repricing, MissingProductLeavesTheItemAsItWas)
{
    const ValoresItem before = item("9.000", "10");
    const RecalculoItens::Resultado outcome = RecalculoItens::recalcula(before, std::nullopt, 30);
    EXPECT_TRUE(outcome.produtoAusente);
    EXPECT_FALSE(outcome.corrigido);
    EXPECT_EQ(outcome.item.PRCTAB, before.PRCTAB);
    EXPECT_EQ(outcome.item.GERFLX, d("0"));
    EXPECT_EQ(outcome.item.VLRUNT, d("9.000"));
}
