#include "DemoValues.h"

#include <cmath>

namespace DemoValues {

double round(double value, int decimals)
{
    const double factor = std::pow(10.0, decimals);
    const double scaled = std::fabs(value) * factor;
    // A tiny nudge keeps 2.675 (held as 2.67499...) rounding as written.
    const double rounded = std::floor(scaled + 0.5 + 1e-9) / factor;
    return value < 0 ? -rounded : rounded;
}

QVariant dec(double value, int scale)
{
    double r = round(value, scale);
    if (r == 0)
        r = 0.0; // never "-0.00"
    return QString::number(r, 'f', scale);
}

QVariant code(qint64 value)
{
    return QVariant(value);
}

QVariant text(const QString &value)
{
    return value.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(value);
}

QVariant date(const QDate &value)
{
    return value.isValid() ? QVariant(value) : QVariant(QMetaType(QMetaType::QDate));
}

QVariant null()
{
    return QVariant(QMetaType(QMetaType::QString));
}

QString asciiWord(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toLower();
    QString out;
    for (const QChar c : decomposed)
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out += c;
    return out;
}

} // namespace DemoValues
