#include "Decimal.h"
#include "ValoresPedido.h"

#include <gtest/gtest.h>

// Guards the half-away-from-zero rounding the tax rounds with, on both signs and exact halves.
TEST(DecimalRounding, HalfAwayFromZeroAtBoundaries)
{
    using R = Decimal::Rounding;
    EXPECT_EQ(d("2.345").rounded(2, R::HalfAwayFromZero).toString(), "2.35");
    EXPECT_EQ(d("-2.345").rounded(2, R::HalfAwayFromZero).toString(), "-2.35");
    EXPECT_EQ(d("2.3449999").rounded(2, R::HalfAwayFromZero).toString(), "2.34");
    EXPECT_EQ(d("0.0005").rounded(3, R::HalfAwayFromZero).toString(), "0.001");
    EXPECT_EQ(d("-0.0005").rounded(3, R::HalfAwayFromZero).toString(), "-0.001");
    EXPECT_EQ(d("-0.0004").rounded(3, R::HalfAwayFromZero).toString(), "0.000");
}

// Guards the half-to-even rounding of the minimum-price comparison and the factor check.
TEST(DecimalRounding, HalfEvenAtBoundaries)
{
    using R = Decimal::Rounding;
    EXPECT_EQ(d("2.345").rounded(2, R::HalfEven).toString(), "2.34");
    EXPECT_EQ(d("2.355").rounded(2, R::HalfEven).toString(), "2.36");
    EXPECT_EQ(d("-2.345").rounded(2, R::HalfEven).toString(), "-2.34");
    EXPECT_EQ(d("2.3451").rounded(2, R::HalfEven).toString(), "2.35");
    EXPECT_EQ(d("12.5").toInteger(R::HalfEven), 12);
    EXPECT_EQ(d("13.5").toInteger(R::HalfEven), 14);
    EXPECT_EQ(d("24.5").toInteger(R::HalfAwayFromZero), 25);
}

// Guards reading NUMERIC values that arrive from the driver with binary noise or as doubles.
TEST(DecimalReading, NoisyTextAndDoublesComeBackAtTheirScale)
{
    EXPECT_EQ(Decimal::fromText(QStringLiteral("1.1300000000000001"), 2).toString(), "1.13");
    EXPECT_EQ(Decimal::fromText(QStringLiteral("123456789012.29001"), 2).toString(), "123456789012.29");
    EXPECT_EQ(Decimal::fromText(QStringLiteral("126.00000000000001"), 3).toString(), "126.000");
    EXPECT_EQ(Decimal::fromText(QString(), 2).toString(), "0.00");           // null column
    EXPECT_EQ(Decimal::fromText(QStringLiteral("abc"), 2).toString(), "0.00");
    EXPECT_EQ(Decimal::fromDouble(2.675, 2).toString(), "2.68");              // binary 2.67499...
    EXPECT_EQ(Decimal::fromDouble(1e-05, 5).toString(), "0.00001");
    EXPECT_EQ(Decimal::fromDouble(-0.125, 2).toString(), "-0.13");
    EXPECT_FALSE(Decimal::parse(QStringLiteral("1.2.3")).has_value());
    EXPECT_FALSE(Decimal::parse(QStringLiteral("  ")).has_value());
    EXPECT_EQ(d("1.5e3").toString(), "1500");
}

// Guards exact arithmetic: no binary drift in sums, products and quotients of money.
TEST(DecimalArithmetic, ExactSumsProductsAndQuotients)
{
    Decimal sum;
    for (int i = 0; i < 10; ++i)
        sum = sum + d("0.1");
    EXPECT_EQ(sum, d("1"));
    EXPECT_EQ((d("10.526") * d("0.95")).toString(), "9.99970");
    EXPECT_EQ(d("9.5").dividedBy(d("10.526"), 4).toString(), "0.9025");
    EXPECT_EQ(d("1").dividedBy(d("3"), 2, Decimal::Rounding::HalfEven).toString(), "0.33");
    EXPECT_EQ(d("-1").dividedBy(d("8"), 2).toString(), "-0.13");
    EXPECT_EQ(d("1").dividedBy(d("-8"), 2).toString(), "-0.13");
    EXPECT_THROW(d("1").dividedBy(Decimal(), 2), std::domain_error);
    EXPECT_TRUE(d("9.5") == d("9.500"));
    EXPECT_TRUE(d("9.499") < d("9.5"));
    EXPECT_TRUE(d("-0.01") < Decimal());
}
