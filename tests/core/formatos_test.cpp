#include "Formatos.h"

#include <gtest/gtest.h>

namespace {

// Every test leaves the process in display form, as the program expects between statements.
class FormatosTest : public ::testing::Test
{
protected:
    void TearDown() override { Formatos::setStatementForm(false); }
};

} // namespace

// Guards the grid money masks: grouping, decimal comma, sign and half-away rounding.
TEST_F(FormatosTest, MoneyMasksGroupRoundAndSign)
{
    EXPECT_EQ(Formatos::formatMask(1234567.891, QStringLiteral("###,###,##0.00")), QStringLiteral("1.234.567,89"));
    EXPECT_EQ(Formatos::formatMask(0.5, QStringLiteral("###,###,##0.00")), QStringLiteral("0,50"));
    EXPECT_EQ(Formatos::formatMask(-1234.5, QStringLiteral("##,###,##0.00")), QStringLiteral("-1.234,50"));
    EXPECT_EQ(Formatos::formatMask(-0.004, QStringLiteral("##,###,##0.00")), QStringLiteral("0,00")); // no "-0,00"
    EXPECT_EQ(Formatos::formatMask(2.675, QStringLiteral("##0.00")), QStringLiteral("2,68"));
    EXPECT_EQ(Formatos::formatMask(1.005, QStringLiteral("##0.00")), QStringLiteral("1,01"));
    EXPECT_EQ(Formatos::formatMask(-2.5, QStringLiteral("0")), QStringLiteral("-3"));
    EXPECT_EQ(Formatos::formatMask(999.995, QStringLiteral("###,##0.00")), QStringLiteral("1.000,00"));
    EXPECT_EQ(Formatos::formatMask(126.5, QStringLiteral("##,##0.000")), QStringLiteral("126,500"));
    EXPECT_EQ(Formatos::formatMask(123456789012.29, QStringLiteral("###,###,###,##0.00")),
              QStringLiteral("123.456.789.012,29"));
}

// Guards code masks: fixed-width zero padding, negative codes keep their digits.
TEST_F(FormatosTest, ZeroPaddedCodeMasks)
{
    EXPECT_EQ(Formatos::formatMask(42, QStringLiteral("0000000")), QStringLiteral("0000042"));
    EXPECT_EQ(Formatos::formatMask(7, QStringLiteral("00")), QStringLiteral("07"));
    EXPECT_EQ(Formatos::formatMask(123456, QStringLiteral("000")), QStringLiteral("123456"));
    EXPECT_EQ(Formatos::formatMask(-5, QStringLiteral("00000")), QStringLiteral("-00005"));
    EXPECT_EQ(Formatos::formatMask(0, QStringLiteral("#")), QString());
    EXPECT_EQ(Formatos::formatMask(1.5, QStringLiteral("0.##")), QStringLiteral("1,5"));
    EXPECT_EQ(Formatos::formatMask(-3, QStringLiteral("#,##0.00;(#,##0.00)")), QStringLiteral("(3,00)"));
    EXPECT_EQ(Formatos::formatMask(12.3, QStringLiteral("R$ #,##0.00")), QStringLiteral("R$ 12,30"));
}

// Guards statement form: SQL text gets "." decimals and no grouping, and switching back restores it.
TEST_F(FormatosTest, StatementFormSwitchesSeparators)
{
    Formatos::setStatementForm(true);
    EXPECT_EQ(Formatos::decimalSeparator(), QLatin1Char('.'));
    EXPECT_TRUE(Formatos::thousandsSeparator().isNull());
    EXPECT_EQ(Formatos::formatMask(1234567.5, QStringLiteral("###,###,##0.00")), QStringLiteral("1234567.50"));
    EXPECT_EQ(Formatos::number(0.07), QStringLiteral("0.07"));
    EXPECT_EQ(Formatos::number(-1234.5, 2), QStringLiteral("-1234.50"));
    Formatos::setStatementForm(false);
    EXPECT_EQ(Formatos::number(0.07), QStringLiteral("0,07"));
    EXPECT_EQ(Formatos::thousandsSeparator(), QLatin1Char('.'));
}

// Guards plain numbers: 15 significant digits without exponent, no float noise, no "-0".
TEST_F(FormatosTest, PlainNumbers)
{
    Formatos::setStatementForm(true);
    EXPECT_EQ(Formatos::number(1.1300000000000001), QStringLiteral("1.13"));
    EXPECT_EQ(Formatos::number(45123.5), QStringLiteral("45123.5"));
    EXPECT_EQ(Formatos::number(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(Formatos::number(0.000001), QStringLiteral("0.000001"));
    EXPECT_EQ(Formatos::number(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(Formatos::number(-0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(Formatos::number(0), QStringLiteral("0"));
    EXPECT_EQ(Formatos::number(12, 0), QStringLiteral("12"));
    EXPECT_DOUBLE_EQ(Formatos::round(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(Formatos::round(-1.005, 2), -1.01);
    EXPECT_DOUBLE_EQ(Formatos::round(123456789012.29001, 2), 123456789012.29);
}

// Guards typed numbers: both forms read, garbage refused instead of read as zero.
TEST_F(FormatosTest, ParseNumberAcceptsBothForms)
{
    bool ok = false;
    EXPECT_DOUBLE_EQ(Formatos::parseNumber(QStringLiteral("1.234,56"), &ok), 1234.56);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Formatos::parseNumber(QStringLiteral("1234.56"), &ok), 1234.56);
    EXPECT_DOUBLE_EQ(Formatos::parseNumber(QStringLiteral("  -0,5 "), &ok), -0.5);
    EXPECT_DOUBLE_EQ(Formatos::parseNumber(QStringLiteral("1.234.567"), &ok), 1234567);
    EXPECT_DOUBLE_EQ(Formatos::parseNumber(QStringLiteral("126.500"), &ok), 126.5);
    EXPECT_DOUBLE_EQ(Formatos::parseNumber(QStringLiteral("1,234,567.5"), &ok), 1234567.5);
    EXPECT_TRUE(ok);
    for (const char *bad : {"", "abc", "1,2,3.4.5", "12a", "--1"}) {
        Formatos::parseNumber(QString::fromLatin1(bad), &ok);
        EXPECT_FALSE(ok) << bad;
    }
}

// Guards typed numbers: "." only groups thousands, letters and ambiguous forms are refused with
// a message instead of reading 0 or 1,5, and a value beyond the column's room never gets through.
TEST_F(FormatosTest, TypedNumbersOnlyInDisplayForm)
{
    const std::pair<const char *, const char *> aceitos[] = {
        {"1.500", "1500"}, {"1.234.567,5", "1234567.5"}, {" -0,50 ", "-0.5"}, {"", "0"}, {",25", "0.25"},
        {"000012,100", "12.1"}, {"999.999.999.999,999", "999999999999.999"}};
    for (const auto &[texto, valor] : aceitos) {
        const Formatos::NumeroDigitado n = Formatos::leNumeroDigitado(QString::fromUtf8(texto), 3, 12);
        EXPECT_TRUE(n.ok) << texto;
        EXPECT_EQ(n.valor, QString::fromLatin1(valor)) << texto;
    }
    for (const char *texto : {"1.5", "1,2,3", "abc", "12a", "1.5000", "1.", "-", "1,", "+1", "1 500", "1234.567.890"})
        EXPECT_TRUE(Formatos::leNumeroDigitado(QString::fromUtf8(texto), 3, 12).mensagem.contains(
            QStringLiteral("não é um número válido")))
            << texto;
    EXPECT_FALSE(Formatos::leNumeroDigitado(QStringLiteral("1.000.000.000.000"), 3, 12).ok);
    EXPECT_EQ(Formatos::leNumeroDigitado(QStringLiteral("99999999999999999999"), 2, 13).mensagem,
              QStringLiteral("\"99999999999999999999\" é grande demais: cabem até 13 dígitos antes da vírgula."));
    EXPECT_EQ(Formatos::leNumeroDigitado(QStringLiteral("1,005"), 2, 13).mensagem,
              QStringLiteral("\"1,005\" tem mais de 2 casas decimais."));
}

// Guards date masks in either letter case, minutes after hours, and empty text for a null date.
TEST_F(FormatosTest, DateMasks)
{
    const QDate d(2024, 3, 5);
    EXPECT_EQ(Formatos::formatDate(d), QStringLiteral("05/03/2024"));
    EXPECT_EQ(Formatos::formatDate(d, QStringLiteral("DD/MM/YYYY")), QStringLiteral("05/03/2024"));
    EXPECT_EQ(Formatos::formatDate(d, QStringLiteral("mm-dd-yyyy")), QStringLiteral("03-05-2024"));
    EXPECT_EQ(Formatos::formatDate(d, QStringLiteral("dd.mm.yy")), QStringLiteral("05.03.24"));
    EXPECT_EQ(Formatos::formatDate(d, QStringLiteral("d 'de' mmmm")), QStringLiteral("5 de março"));
    EXPECT_EQ(Formatos::formatDate(QDate()), QString());
    const QDateTime dt(d, QTime(9, 7, 3));
    EXPECT_EQ(Formatos::formatDateTime(dt, QStringLiteral("dd/mm/yyyy hh:mm")), QStringLiteral("05/03/2024 09:07"));
    EXPECT_EQ(Formatos::formatDateTime(dt, QStringLiteral("hh:nn:ss")), QStringLiteral("09:07:03"));
}
