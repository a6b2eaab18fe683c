#include "Decimal.h"

#include <QChar>

#include <algorithm>
#include <stdexcept>

namespace {

using Units = __int128;

Units powerOfTen(int exponent)
{
    if (exponent < 0 || exponent > 36)
        throw std::overflow_error("Decimal: scale out of range");
    Units result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

Units checkedMultiply(Units a, Units b)
{
    Units result;
    if (__builtin_mul_overflow(a, b, &result))
        throw std::overflow_error("Decimal: value out of range");
    return result;
}

Units checkedAdd(Units a, Units b)
{
    Units result;
    if (__builtin_add_overflow(a, b, &result))
        throw std::overflow_error("Decimal: value out of range");
    return result;
}

// numerator / denominator rounded to a whole number (denominator > 0).
Units divideRounded(Units numerator, Units denominator, Decimal::Rounding mode)
{
    Units quotient = numerator / denominator;
    const Units remainder = numerator % denominator;
    if (remainder == 0)
        return quotient;
    const Units twiceRemainder = (remainder < 0 ? -remainder : remainder) * 2;
    const int direction = numerator < 0 ? -1 : 1;
    bool away = false;
    if (twiceRemainder > denominator)
        away = true;
    else if (twiceRemainder == denominator)
        away = mode == Decimal::Rounding::HalfAwayFromZero || (quotient % 2) != 0;
    if (away)
        quotient += direction;
    return quotient;
}

QString unitsToText(Units units, int scale)
{
    const bool negative = units < 0;
    Units magnitude = negative ? -units : units;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude > 0);
    if (scale > 0) {
        if (digits.size() <= scale)
            digits.prepend(QString(scale - digits.size() + 1, u'0'));
        digits.insert(digits.size() - scale, u'.');
    }
    if (negative)
        digits.prepend(u'-');
    return digits;
}

} // namespace

Decimal Decimal::fromUnits(qint64 units, int scale)
{
    if (scale < 0 || scale > maxScale)
        throw std::overflow_error("Decimal: scale out of range");
    return Decimal(Units(units), scale);
}

std::optional<Decimal> Decimal::parse(const QString &text)
{
    try {
        return parseUnchecked(text);
    } catch (const std::overflow_error &) {
        return std::nullopt; // more digits than any column holds
    }
}

std::optional<Decimal> Decimal::parseUnchecked(const QString &text)
{
    const QString t = text.trimmed();
    int pos = 0;
    bool negative = false;
    if (pos < t.size() && (t[pos] == u'-' || t[pos] == u'+')) {
        negative = t[pos] == u'-';
        ++pos;
    }
    Units units = 0;
    int scale = 0;
    int digitCount = 0;
    bool inFraction = false;
    QString dropped; // fraction digits beyond the ones kept
    for (; pos < t.size(); ++pos) {
        const QChar c = t[pos];
        if (c == u'.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!c.isDigit())
            break;
        ++digitCount;
        const int digit = c.digitValue();
        if (inFraction && scale >= maxScale + 2) {
            dropped.append(c);
            continue;
        }
        units = checkedAdd(checkedMultiply(units, 10), digit);
        if (inFraction)
            ++scale;
    }
    if (digitCount == 0)
        return std::nullopt;
    int exponent = 0;
    if (pos < t.size() && (t[pos] == u'e' || t[pos] == u'E')) {
        ++pos;
        bool ok = false;
        exponent = t.mid(pos).toInt(&ok);
        if (!ok)
            return std::nullopt;
        pos = t.size();
    }
    if (pos != t.size())
        return std::nullopt;
    if (!dropped.isEmpty() && dropped[0].digitValue() >= 5)
        units = checkedAdd(units, 1); // half away from zero on the digits kept
    // Apply the exponent: a positive one moves digits into the whole part.
    scale -= exponent;
    if (scale < 0) {
        units = checkedMultiply(units, powerOfTen(-scale));
        scale = 0;
    }
    Decimal value(negative ? -units : units, 0);
    value.m_scale = scale;
    if (scale > maxScale)
        value = value.rounded(maxScale);
    return value;
}

Decimal Decimal::fromText(const QString &text, int scale)
{
    const std::optional<Decimal> value = parse(text);
    if (!value)
        return fromUnits(0, scale);
    return value->rounded(scale);
}

Decimal Decimal::fromDouble(double value, int scale)
{
    return fromText(QString::number(value, 'g', 15), scale);
}

Decimal Decimal::rounded(int decimals, Rounding mode) const
{
    if (decimals < 0 || decimals > maxScale)
        throw std::overflow_error("Decimal: scale out of range");
    if (decimals >= m_scale)
        return Decimal(unitsAtScale(decimals), decimals);
    return Decimal(divideRounded(m_units, powerOfTen(m_scale - decimals), mode), decimals);
}

qint64 Decimal::toInteger(Rounding mode) const
{
    return static_cast<qint64>(rounded(0, mode).m_units);
}

double Decimal::toDouble() const
{
    return toString().toDouble();
}

QString Decimal::toString() const
{
    return unitsToText(m_units, m_scale);
}

QString Decimal::toString(int decimals) const
{
    return rounded(decimals).toString();
}

Decimal::Units Decimal::unitsAtScale(int scale) const
{
    return checkedMultiply(m_units, powerOfTen(scale - m_scale));
}

Decimal Decimal::operator-() const
{
    return Decimal(-m_units, m_scale);
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    return Decimal(checkedAdd(a.unitsAtScale(scale), b.unitsAtScale(scale)), scale);
}

Decimal operator-(const Decimal &a, const Decimal &b)
{
    return a + (-b);
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    Decimal product(checkedMultiply(a.m_units, b.m_units), a.m_scale + b.m_scale);
    if (product.m_scale > Decimal::maxScale) {
        product.m_units = divideRounded(product.m_units, powerOfTen(product.m_scale - Decimal::maxScale),
                                        Decimal::Rounding::HalfEven);
        product.m_scale = Decimal::maxScale;
    }
    return product;
}

Decimal Decimal::dividedBy(const Decimal &divisor, int decimals, Rounding mode) const
{
    if (divisor.m_units == 0)
        throw std::domain_error("Decimal: division by zero");
    if (decimals < 0 || decimals > maxScale)
        throw std::overflow_error("Decimal: scale out of range");
    // (a / 10^as) / (b / 10^bs) at 10^-d  =  a × 10^(bs + d) / (b × 10^as)
    Units numerator = checkedMultiply(m_units, powerOfTen(divisor.m_scale + decimals));
    Units denominator = checkedMultiply(divisor.m_units, powerOfTen(m_scale));
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    return Decimal(divideRounded(numerator, denominator, mode), decimals);
}

bool operator==(const Decimal &a, const Decimal &b)
{
    return (a <=> b) == std::strong_ordering::equal;
}

std::strong_ordering operator<=>(const Decimal &a, const Decimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    const Units x = a.unitsAtScale(scale);
    const Units y = b.unitsAtScale(scale);
    if (x < y)
        return std::strong_ordering::less;
    if (x > y)
        return std::strong_ordering::greater;
    return std::strong_ordering::equal;
}
