#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// An exact decimal number: a whole count of units of 10^-scale. The order rules compute money,
// prices and quantities with it so that rounding happens only where a rule rounds, and with the
// rounding that rule names; the database's NUMERIC(15,x) values fit it exactly.
class Decimal
{
public:
    enum class Rounding {
        HalfAwayFromZero, // 2.345 -> 2.35, -2.345 -> -2.35
        HalfEven,         // 2.345 -> 2.34, 2.355 -> 2.36
    };

    static constexpr int maxScale = 18;

    constexpr Decimal() = default;
    // units × 10^-scale: fromUnits(9500, 3) is 9.500.
    static Decimal fromUnits(qint64 units, int scale);
    static Decimal fromInteger(qint64 value) { return fromUnits(value, 0); }

    // Reads a number in statement form ("-12.345", "1.1300000000000001", "1e-05"); blanks around
    // are ignored. Empty or malformed text gives nullopt. Digits beyond maxScale are rounded
    // half away from zero.
    static std::optional<Decimal> parse(const QString &text);
    // The value of a NUMERIC column read as text (QIBASE gives "1.1300000000000001"), rounded to
    // the column's scale, half away from zero; empty or malformed text (a null column) is 0.
    static Decimal fromText(const QString &text, int scale);
    // A double taken at its 15 significant digits (what a double holds reliably), then rounded
    // to scale half away from zero: fromDouble(2.675, 2) is 2.68, fromDouble(1.13, 2) is 1.13.
    static Decimal fromDouble(double value, int scale);

    int scale() const { return m_scale; }
    int sign() const { return m_units < 0 ? -1 : (m_units > 0 ? 1 : 0); }
    bool isZero() const { return m_units == 0; }

    // The value at the given number of decimals (more decimals are exact, fewer are rounded).
    Decimal rounded(int decimals, Rounding mode = Rounding::HalfAwayFromZero) const;
    // The nearest whole number under the rounding mode.
    qint64 toInteger(Rounding mode) const;
    double toDouble() const;
    // Statement form: '.' as separator, the number's own scale ("9.500", "-0.05", "12").
    QString toString() const;
    // Statement form with exactly 'decimals' decimals, rounded half away from zero.
    QString toString(int decimals) const;

    Decimal operator-() const;
    Decimal abs() const { return sign() < 0 ? -*this : *this; }
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b);
    // Exact: the scales add (beyond maxScale the product is rounded half to even).
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    // The quotient at 'decimals' decimals. Dividing by zero throws std::domain_error.
    Decimal dividedBy(const Decimal &divisor, int decimals,
                      Rounding mode = Rounding::HalfAwayFromZero) const;

    // Value comparison: 9.5 equals 9.500.
    friend bool operator==(const Decimal &a, const Decimal &b);
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b);

private:
    using Units = __int128;
    Decimal(Units units, int scale) : m_units(units), m_scale(scale) {}
    Units unitsAtScale(int scale) const; // exact; scale >= m_scale
    static std::optional<Decimal> parseUnchecked(const QString &text);

    Units m_units = 0;
    int m_scale = 0;
};
