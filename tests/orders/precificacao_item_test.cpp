#include "PrecificacaoItem.h"
#include "Formatos.h"
#include "ValoresPedido.h"

#include <gtest/gtest.h>

namespace {

// PRCTAB 10.000, PRCVEN 10.526, MAXDCT 5: the price of the usual example.
BasePreco exampleProduct()
{
    return basePreco("10.000", "10.526", "5.00", "12.000");
}

BasePreco promotionProduct(qint64 przmax)
{
    BasePreco basis = exampleProduct();
    basis.VLRPRM = d("8.000");
    basis.PRZMAX = przmax;
    return basis;
}

} // namespace

// Guards the price check: a price below the allowed discount is raised to PRCTAB × (1 − MAXDCT/100).
TEST(PriceCheck, PriceBelowMaximumDiscountIsRaised)
{
    const PrecificacaoItem pricing(exampleProduct(), 30);
    const PrecificacaoItem::Entrada entry = pricing.conferePreco(d("9.000"));
    EXPECT_EQ(entry.preco, d("9.500"));
    EXPECT_EQ(entry.desconto, d("9.75")); // (1 − 9.5 / 10.526) × 100
    EXPECT_FALSE(entry.promocao);
    EXPECT_FALSE(entry.comissao.has_value());
}

// Guards the boundary: a price exactly at the minimum, or above it, is kept as typed.
TEST(PriceCheck, PriceAtOrAboveMinimumIsKept)
{
    const PrecificacaoItem pricing(exampleProduct(), 30);
    EXPECT_EQ(pricing.conferePreco(d("9.500")).preco, d("9.500"));
    EXPECT_EQ(pricing.conferePreco(d("9.501")).preco, d("9.501"));
    EXPECT_EQ(pricing.conferePreco(d("9.499")).preco, d("9.500"));
    EXPECT_EQ(pricing.conferePreco(d("10.526")).desconto, d("0.00"));
}

// Guards the minimum taken to the price's three decimals: 10.526 × 0.95 = 9.9997 becomes 10.000.
TEST(PriceCheck, RaisedPriceHasThreeDecimals)
{
    BasePreco basis = exampleProduct();
    basis.PRCTAB = d("10.526");
    const PrecificacaoItem pricing(basis, 30);
    EXPECT_EQ(pricing.conferePreco(d("9.000")).preco.toString(), "10.000");
}

// Guards rows with a zero price: no division by zero, no raise, discount 0.
TEST(PriceCheck, ZeroPricesNeitherRaiseNorDivide)
{
    BasePreco basis;
    const PrecificacaoItem pricing(basis, 30);
    const PrecificacaoItem::Entrada entry = pricing.conferePreco(d("5.000"));
    EXPECT_EQ(entry.preco, d("5.000"));
    EXPECT_EQ(entry.desconto, d("0"));
}

// Guards the promotion price: kept with discount 0 and commission 0 while the condition's days fit.
TEST(PriceCheck, PromotionPriceHoldsOnlyWithinItsTerm)
{
    const PrecificacaoItem within(promotionProduct(28), 28);
    const PrecificacaoItem::Entrada entry = within.conferePreco(d("8.000"));
    EXPECT_TRUE(entry.promocao);
    EXPECT_EQ(entry.preco, d("8.000"));
    EXPECT_EQ(entry.desconto, d("0"));
    ASSERT_TRUE(entry.comissao.has_value());
    EXPECT_EQ(*entry.comissao, d("0"));

    // A condition of more days treats the same price as an ordinary one.
    const PrecificacaoItem beyond(promotionProduct(28), 30);
    const PrecificacaoItem::Entrada ordinary = beyond.conferePreco(d("8.000"));
    EXPECT_FALSE(ordinary.promocao);
    EXPECT_EQ(ordinary.preco, d("9.500"));
}

// Guards the discount rule: price from the discount over PRCVEN, capped by MAXDCT over PRCTAB.
TEST(DiscountRule, DiscountWithinAndBeyondTheMaximum)
{
    const PrecificacaoItem pricing(exampleProduct(), 30);
    const PrecificacaoItem::Entrada small = pricing.aplicaDesconto(d("5.00"), false);
    EXPECT_EQ(small.preco, d("10.000")); // 10.526 × 0.95 = 9.9997
    EXPECT_EQ(small.desconto, d("5.00"));

    const PrecificacaoItem::Entrada large = pricing.aplicaDesconto(d("20.00"), true);
    EXPECT_EQ(large.preco, d("9.500"));
    EXPECT_EQ(large.desconto, d("9.75"));
    EXPECT_TRUE(large.promocao); // the mark is not the discount rule's business
}

// Guards the commission table: a percentage above 0 becomes the discount, 0 keeps the typed one.
TEST(DiscountRule, CommissionPercentageDrivesTheDiscount)
{
    const PrecificacaoItem pricing(exampleProduct(), 30);
    EXPECT_EQ(pricing.escolheComissao(d("3.00"), d("1.00"), false).preco, d("10.210")); // 10.526 × 0.97
    EXPECT_EQ(pricing.escolheComissao(d("0"), d("1.00"), false).preco, d("10.421"));    // 10.526 × 0.99
}

// Guards "Ult. Preço:": a last price goes through the price check; none does nothing.
TEST(LastPriceRule, LastPriceIsCheckedLikeATypedOne)
{
    const PrecificacaoItem pricing(exampleProduct(), 30);
    EXPECT_FALSE(pricing.usaUltimoPreco(d("0")).has_value());
    const std::optional<PrecificacaoItem::Entrada> entry = pricing.usaUltimoPreco(d("9.100"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->preco, d("9.500"));
}

// Guards "Promoção": accepted within the term; refused with the exact message beyond it.
TEST(PromotionButton, AcceptedOrRefusedWithTheTermMessage)
{
    const PrecificacaoItem::ResultadoPromocao accepted = PrecificacaoItem(promotionProduct(28), 28).aplicaPromocao();
    ASSERT_TRUE(accepted.entrada.has_value());
    EXPECT_FALSE(accepted.recusa.has_value());
    EXPECT_EQ(accepted.entrada->preco, d("8.000"));
    EXPECT_TRUE(accepted.entrada->promocao);

    Formatos::setStatementForm(false);
    const PrecificacaoItem::ResultadoPromocao refused = PrecificacaoItem(promotionProduct(7), 30).aplicaPromocao();
    EXPECT_FALSE(refused.entrada.has_value());
    ASSERT_TRUE(refused.recusa.has_value());
    EXPECT_EQ(refused.recusa->texto,
              QStringLiteral("PROMOÇÃO VALIDA APENAS PARA CONDIÇÕES DE PAGAMENTO ATE 07 DIAS!"));
    EXPECT_EQ(refused.recusa->cor, CorMensagem::Vermelho);
    EXPECT_EQ(refused.recusa->tipo, TipoMensagem::Informacao);
}

// Guards the quantity step: one factor more, down to a multiple (0 -> 12, 12 -> 24, 13 -> 24).
TEST(QuantityFactor, StepMovesToTheNextMultiple)
{
    const Decimal twelve = d("12.000");
    EXPECT_EQ(PrecificacaoItem::proximaQuantidade(d("0"), twelve), d("12"));
    EXPECT_EQ(PrecificacaoItem::proximaQuantidade(d("12"), twelve), d("24"));
    EXPECT_EQ(PrecificacaoItem::proximaQuantidade(d("13"), twelve), d("24"));
    EXPECT_EQ(PrecificacaoItem::proximaQuantidade(d("23"), twelve), d("24")); // 35 − 11
    EXPECT_EQ(PrecificacaoItem::proximaQuantidade(d("5"), d("0.4")), d("6"));  // factor rounds to 0: step 1
}

// Guards the factor check, whole numbers taken with ties to even (24.5 counts as 24, 25.5 as 26).
TEST(QuantityFactor, CheckAcceptsMultiplesOnly)
{
    const Decimal twelve = d("12.000");
    EXPECT_TRUE(PrecificacaoItem::cabeNoFator(d("24"), twelve));
    EXPECT_FALSE(PrecificacaoItem::cabeNoFator(d("25"), twelve));
    EXPECT_TRUE(PrecificacaoItem::cabeNoFator(d("24.50"), twelve));
    EXPECT_TRUE(PrecificacaoItem::cabeNoFator(d("23.50"), twelve));
    EXPECT_FALSE(PrecificacaoItem::cabeNoFator(d("25.50"), twelve));
    EXPECT_TRUE(PrecificacaoItem::cabeNoFator(d("36"), d("12.5"))); // factor 12.5 counts as 12
    EXPECT_TRUE(PrecificacaoItem::cabeNoFator(d("7"), d("0.3")));   // factor rounds to 0: no check
}
