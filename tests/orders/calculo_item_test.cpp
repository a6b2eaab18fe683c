#include "CalculoItem.h"
#include "Formatos.h"
#include "CalculoItem.h"
#include "ValoresPedido.h"

#include <gtest/gtest.h>

namespace {

BasePreco product()
{
    return basePreco("10.000", "10.526", "5.00", "12.000", "0.00");
}

CalculoItem::LinhaImposto taxRow(const char *alistr, const char *aliicm, const char *aliina, const char *cfticm)
{
    return {d(alistr), d(aliicm), d(aliina), d(cfticm)};
}

class ItemAdmission : public ::testing::Test
{
protected:
    void SetUp() override { Formatos::setStatementForm(false); }
};

} // namespace

// Guards "Incluir Item" with a price below the minimum: told, then written at the raised price.
TEST_F(ItemAdmission, AdjustedPriceIsToldAndKept)
{
    const PrecificacaoItem pricing(product(), 30);
    const CalculoItem::Admissao admission = CalculoItem::admite(pricing, d("9.000"), d("24"));
    EXPECT_TRUE(admission.aceita());
    ASSERT_TRUE(admission.aviso.has_value());
    EXPECT_EQ(admission.aviso->texto, QStringLiteral("Desconto acima do PERMITIDO, preço do item foi ajustado!"));
    EXPECT_EQ(admission.aviso->cor, CorMensagem::Vermelho);
    EXPECT_EQ(admission.entrada.preco, d("9.500"));

    EXPECT_FALSE(CalculoItem::admite(pricing, d("9.500"), d("24")).aviso.has_value());
}

// Guards the refusals of "Incluir Item": zero quantity, a quantity off the packaging factor, and a
// total its column cannot hold.
TEST_F(ItemAdmission, ZeroQuantityAndFactorAreRefused)
{
    const PrecificacaoItem pricing(product(), 30);
    const CalculoItem::Admissao zero = CalculoItem::admite(pricing, d("9.800"), d("0"));
    ASSERT_TRUE(zero.recusa.has_value());
    EXPECT_EQ(zero.recusa->texto, QStringLiteral("Quantidade tem que ser Maior que ZERO!"));

    const CalculoItem::Admissao negative = CalculoItem::admite(pricing, d("9.800"), d("-12"));
    ASSERT_TRUE(negative.recusa.has_value());
    EXPECT_EQ(negative.recusa->texto, QStringLiteral("Quantidade tem que ser Maior que ZERO!"));

    const CalculoItem::Admissao off = CalculoItem::admite(pricing, d("9.800"), d("25"));
    ASSERT_TRUE(off.recusa.has_value());
    EXPECT_EQ(off.recusa->texto, QStringLiteral("Quantidade digitada inválida! Fator do Produto : 12"));

    EXPECT_TRUE(CalculoItem::admite(pricing, d("9.800"), d("24")).aceita());

    const CalculoItem::Admissao huge = CalculoItem::admite(pricing, d("999999999.000"), d("1200"));
    ASSERT_TRUE(huge.recusa.has_value());
    EXPECT_EQ(huge.recusa->texto, QStringLiteral("Total do item grande demais! Verifique a quantidade e o preço."));
}

// Guards the flex of a 3 % commission step: below r = PRCTAB × 0.97 uses flex, above generates it.
TEST(ItemFlex, ThreePercentScaleSplitsUseAndGain)
{
    const CalculoItem::Flex below = CalculoItem::flex(d("10.000"), d("3.00"), d("9.500"), d("10"));
    EXPECT_EQ(below.USOFLX, d("2.00"));
    EXPECT_EQ(below.GERFLX, d("0"));
    const CalculoItem::Flex above = CalculoItem::flex(d("10.000"), d("3.00"), d("10.000"), d("10"));
    EXPECT_EQ(above.USOFLX, d("0"));
    EXPECT_EQ(above.GERFLX, d("3.00"));
    const CalculoItem::Flex at = CalculoItem::flex(d("10.000"), d("3.00"), d("9.700"), d("10"));
    EXPECT_EQ(at.USOFLX, d("0"));
    EXPECT_EQ(at.GERFLX, d("0"));
    // 3 × (9.7 − 9.695) = 0.015: the half cent goes away from zero.
    EXPECT_EQ(CalculoItem::flex(d("10.000"), d("3.00"), d("9.695"), d("3")).USOFLX, d("0.02"));
}

// Guards a new item from a product row: totals, flex, the promotion mark and its zero flex.
TEST(ItemWriting, ProductRowGivesTheItemColumns)
{
    const PrecificacaoItem pricing(product(), 30);
    const ValoresItem item =
        CalculoItem::doProduto(pricing, d("9.500"), d("24"), d("3.00"), false, false, std::nullopt);
    EXPECT_EQ(item.VLRTOT, d("228.000"));
    EXPECT_EQ(item.USOFLX, d("4.80")); // 24 × (9.7 − 9.5)
    EXPECT_EQ(item.GERFLX, d("0"));
    EXPECT_EQ(item.MAXDCT, d("5.00"));
    EXPECT_EQ(item.PRCTAB, d("10.000"));
    EXPECT_EQ(item.PRCVEN, d("10.526"));
    EXPECT_EQ(item.ITMPRM, QStringLiteral("N"));
    EXPECT_EQ(item.SITIPF, QStringLiteral("D"));
    EXPECT_EQ(item.SITFLX, QStringLiteral("N"));
    EXPECT_EQ(item.QTDFAT, d("0"));
    EXPECT_EQ(item.VLRSTB, d("0"));

    BasePreco promoted = product();
    promoted.VLRPRM = d("8.000");
    promoted.PRZMAX = 30;
    const ValoresItem onPromotion = CalculoItem::doProduto(PrecificacaoItem(promoted, 30), d("8.000"), d("12"),
                                                                d("0"), true, false, std::nullopt);
    EXPECT_EQ(onPromotion.ITMPRM, QStringLiteral("S"));
    EXPECT_EQ(onPromotion.USOFLX, d("0"));
    EXPECT_EQ(onPromotion.GERFLX, d("0"));
    ASSERT_TRUE(onPromotion.VLRPRM.has_value());
    EXPECT_EQ(*onPromotion.VLRPRM, d("8.000"));
}

// Guards RJTTAB below 0: the item gets MAXDCT 0, so its own price check allows no discount.
TEST(ItemWriting, RejectedTableValueWritesNoDiscount)
{
    BasePreco basis = product();
    basis.RJTTAB = d("-1.00");
    const ValoresItem item =
        CalculoItem::doProduto(PrecificacaoItem(basis, 30), d("9.800"), d("12"), d("0"), false, false, std::nullopt);
    EXPECT_EQ(item.MAXDCT, d("0"));
    const PrecificacaoItem itemView(CalculoItem::baseDe(item), 30);
    EXPECT_EQ(itemView.conferePreco(d("9.800")).preco, d("10.000"));
    EXPECT_EQ(CalculoItem::descontoMaximo(d("5.00"), d("0")), d("5.00"));
}

// Guards the item view: quantity, price and flex change; PRCTAB, PRCVEN, MAXDCT and VLRSTB stay.
TEST(ItemWriting, ItemViewKeepsTheWrittenPrices)
{
    ValoresItem item = CalculoItem::doProduto(PrecificacaoItem(product(), 30), d("9.800"), d("12"), d("0"), false,
                                                   true, taxRow("40.00", "12.00", "18.00", "1.000000"));
    item.SITFLX = QStringLiteral("S");
    const ValoresItem changed = CalculoItem::alterado(item, 30, d("9.600"), d("24"), d("0"), false);
    EXPECT_EQ(changed.QTDPRO, d("24"));
    EXPECT_EQ(changed.VLRTOT, d("230.400"));
    EXPECT_EQ(changed.USOFLX, d("9.60"));
    EXPECT_EQ(changed.PRCTAB, item.PRCTAB);
    EXPECT_EQ(changed.PRCVEN, item.PRCVEN);
    EXPECT_EQ(changed.MAXDCT, item.MAXDCT);
    EXPECT_EQ(changed.VLRSTB, item.VLRSTB);
    EXPECT_EQ(changed.SITFLX, QStringLiteral("S"));
}

// Guards the substitution tax: only under TEMFLU 'S' with a row whose margin is above 0.
TEST(SubstitutionTax, OnlyUnderFlowOperationsWithAMargin)
{
    const auto row = taxRow("40.00", "12.00", "18.00", "1.000000");
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("100.000"), true, row), d("13.20")); // 18% × 140 − 12
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("100.000"), false, row), d("0"));
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("100.000"), true, std::nullopt), d("0"));
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("100.000"), true, taxRow("0", "12", "18", "1")), d("0"));

    const ValoresItem item = CalculoItem::doProduto(PrecificacaoItem(product(), 30), d("10.000"), d("12"), d("0"),
                                                         false, false, row);
    EXPECT_EQ(item.VLRSTB, d("0")); // TEMFLU 'N'
}

// Guards the R2/R3 roundings of the tax: exact halves go away from zero, never to even.
TEST(SubstitutionTax, HalvesRoundAwayFromZero)
{
    // own = 10 % × 10.050 = 1.005 -> 1.01; base = 13.065; st = 18 % × 13.065 = 2.3517 -> 2.35.
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("10.050"), true, taxRow("30", "10", "18", "1")), d("1.34"));
    // base = 10.003 × 1.5 = 15.0045 -> 15.005; st = 100 % × 15.005 -> 15.01.
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("10.003"), true, taxRow("50", "0", "100", "1")), d("15.01"));
    // CFTICM reduces the base of the seller's own ICMS: 12 % × (0.5 × 100) = 6.00.
    EXPECT_EQ(CalculoItem::substituicaoTributaria(d("100.000"), true, taxRow("40", "12", "18", "0.5")), d("19.20"));
}
