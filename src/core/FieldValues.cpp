#include "FieldValues.h"

#include "DatabaseError.h"
#include "Formatos.h"

#include <cmath>

namespace {

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &format : {Formatos::dateForm(), QStringLiteral("d/M/yyyy"), QStringLiteral("yyyy-MM-dd"),
                                  QStringLiteral("dd.MM.yyyy")}) {
        const QDate d = QDate::fromString(t, format);
        if (d.isValid())
            return d;
    }
    return {};
}

QTime parseTime(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *format : {"HH:mm:ss", "HH:mm", "HH:mm:ss.zzz", "H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(t, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return {};
}

QDateTime parseDateTime(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &format : {Formatos::dateTimeForm(), Formatos::dateForm() + QStringLiteral(" HH:mm"),
                                  QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"), QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
                                  QStringLiteral("yyyy-MM-dd HH:mm:ss")}) {
        const QDateTime d = QDateTime::fromString(t, format);
        if (d.isValid())
            return d;
    }
    const QDate d = parseDate(t);
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

[[noreturn]] void invalidValue(const QString &text, const FieldDef &def)
{
    throw DatabaseError(QStringLiteral("'%1' não é um valor válido para o campo %2.").arg(text, def.name));
}

} // namespace

namespace FieldValues {

bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

QString nonNullText(QString text)
{
    if (text.isNull())
        return QStringLiteral("");
    return text;
}

bool isNumberKind(FieldKind kind)
{
    return kind == FieldKind::Integer || kind == FieldKind::Numeric || kind == FieldKind::Float;
}

QDate delphiEpoch()
{
    return QDate(1899, 12, 30);
}

QString plainFixed(double value, int decimals)
{
    if (value == 0)
        value = 0; // no "-0.00"
    return QString::number(value, 'f', decimals);
}

QString plainSignificant(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    if (!text.contains(u'e'))
        return text;
    text = QString::number(value, 'f', 20);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

double roundToScale(double value, int scale)
{
    static const double powers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (scale < 0 || scale > 9)
        return Formatos::round(value, scale);
    const double scaled = value * powers[scale];
    // The driver's noise lies far below half a unit, so scaling is exact while the product fits.
    if (std::fabs(scaled) >= 4e15)
        return Formatos::round(value, scale);
    const double result = std::round(scaled) / powers[scale];
    return result == 0 ? 0.0 : result;
}

QString textOfValue(const FieldDef &def, const QVariant &v)
{
    if (isNullValue(v))
        return QString();
    switch (def.kind) {
    case FieldKind::String:
        return v.toString();
    case FieldKind::Integer:
        return QString::number(v.toLongLong());
    case FieldKind::Numeric:
        return plainFixed(v.toDouble(), def.scale);
    case FieldKind::Float:
        return plainSignificant(v.toDouble());
    case FieldKind::Date:
        return v.toDate().toString(Formatos::dateForm());
    case FieldKind::Time:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case FieldKind::DateTime: {
        const QDateTime dt = v.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(Formatos::dateForm());
        return dt.toString(Formatos::dateTimeForm());
    }
    case FieldKind::Blob:
        return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
    case FieldKind::Boolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return v.toString();
}

double floatOfValue(const FieldDef &def, const QVariant &v)
{
    if (isNullValue(v))
        return 0;
    switch (def.kind) {
    case FieldKind::Integer:
    case FieldKind::Numeric:
    case FieldKind::Float:
    case FieldKind::Boolean:
        return v.toDouble();
    case FieldKind::Date:
        return delphiEpoch().daysTo(v.toDate());
    case FieldKind::Time:
        return v.toTime().msecsSinceStartOfDay() / 86400000.0;
    case FieldKind::DateTime: {
        const QDateTime dt = v.toDateTime();
        return delphiEpoch().daysTo(dt.date()) + dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    case FieldKind::String:
    case FieldKind::Blob:
        break;
    }
    const QString text = textOfValue(def, v);
    if (text.trimmed().isEmpty())
        return 0;
    bool ok = false;
    const double value = Formatos::parseNumber(text, &ok);
    if (!ok)
        invalidValue(text, def);
    return value;
}

qint64 integerOfValue(const FieldDef &def, const QVariant &v)
{
    if (isNullValue(v))
        return 0;
    if (def.kind == FieldKind::Integer)
        return v.toLongLong();
    return std::llround(floatOfValue(def, v));
}

QDateTime dateTimeOfValue(const FieldDef &def, const QVariant &v)
{
    if (isNullValue(v))
        return {};
    switch (def.kind) {
    case FieldKind::Date:
        return QDateTime(v.toDate(), QTime(0, 0));
    case FieldKind::Time:
        return QDateTime(delphiEpoch(), v.toTime());
    case FieldKind::DateTime:
        return v.toDateTime();
    default:
        break;
    }
    const QString text = textOfValue(def, v);
    if (text.trimmed().isEmpty())
        return {};
    const QDateTime dt = parseDateTime(text);
    if (!dt.isValid())
        invalidValue(text, def);
    return dt;
}

QTime timeOfValue(const FieldDef &def, const QVariant &v)
{
    if (isNullValue(v))
        return {};
    if (def.kind == FieldKind::Time)
        return v.toTime();
    if (def.kind == FieldKind::String) {
        const QTime t = parseTime(v.toString());
        if (t.isValid())
            return t;
    }
    return dateTimeOfValue(def, v).time();
}

SortKey sortKeyOf(FieldKind kind, const QVariant &v)
{
    SortKey key;
    if (isNullValue(v))
        return key;
    key.null = false;
    switch (kind) {
    case FieldKind::String:
    case FieldKind::Blob:
        if (v.typeId() == QMetaType::QString)
            key.text = *static_cast<const QString *>(v.constData());
        break;
    case FieldKind::Integer:
        key.whole = v.toLongLong();
        break;
    case FieldKind::Numeric:
    case FieldKind::Float:
        key.number = v.toDouble();
        break;
    case FieldKind::Date:
        key.whole = v.toDate().toJulianDay();
        break;
    case FieldKind::Time:
        key.whole = v.toTime().msecsSinceStartOfDay();
        break;
    case FieldKind::DateTime:
        key.whole = v.toDateTime().toMSecsSinceEpoch();
        break;
    case FieldKind::Boolean:
        key.whole = v.toBool() ? 1 : 0;
        break;
    }
    return key;
}

int compareKeys(FieldKind kind, const SortKey &a, const SortKey &b)
{
    if (a.null || b.null)
        return a.null == b.null ? 0 : (a.null ? -1 : 1);
    switch (kind) {
    case FieldKind::String:
    case FieldKind::Blob:
        return a.text.compare(b.text);
    case FieldKind::Numeric:
    case FieldKind::Float:
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    default:
        return a.whole < b.whole ? -1 : (a.whole > b.whole ? 1 : 0);
    }
}

QVariant convert(const FieldDef &def, const QVariant &value)
{
    if (isNullValue(value))
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    if (isText && def.kind != FieldKind::String && def.kind != FieldKind::Blob && text.trimmed().isEmpty())
        return {};
    switch (def.kind) {
    case FieldKind::String:
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return plainSignificant(value.toDouble());
        case QMetaType::QDate:
            return value.toDate().toString(Formatos::dateForm());
        default:
            return nonNullText(value.toString());
        }
    case FieldKind::Integer: {
        if (isText) {
            bool ok = false;
            const qint64 n = text.trimmed().toLongLong(&ok);
            if (ok)
                return QVariant(n);
            const double d = Formatos::parseNumber(text, &ok);
            if (!ok || d != std::trunc(d))
                invalidValue(text, def);
            return QVariant(static_cast<qint64>(d));
        }
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return QVariant(static_cast<qint64>(std::llround(value.toDouble())));
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok)
            invalidValue(value.toString(), def);
        return QVariant(n);
    }
    case FieldKind::Numeric:
    case FieldKind::Float: {
        bool ok = false;
        const double d = isText ? Formatos::parseNumber(text, &ok) : value.toDouble(&ok);
        if (!ok)
            invalidValue(isText ? text : value.toString(), def);
        return QVariant(def.kind == FieldKind::Numeric ? Formatos::round(d, def.scale) : d);
    }
    case FieldKind::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value;
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date();
        const QDate d = parseDate(value.toString());
        if (!d.isValid())
            invalidValue(value.toString(), def);
        return d;
    }
    case FieldKind::Time: {
        if (value.typeId() == QMetaType::QTime)
            return value;
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().time();
        const QTime t = parseTime(value.toString());
        if (!t.isValid())
            invalidValue(value.toString(), def);
        return t;
    }
    case FieldKind::DateTime: {
        if (value.typeId() == QMetaType::QDateTime)
            return value;
        if (value.typeId() == QMetaType::QDate)
            return QDateTime(value.toDate(), QTime(0, 0));
        const QDateTime dt = parseDateTime(value.toString());
        if (!dt.isValid())
            invalidValue(value.toString(), def);
        return dt;
    }
    case FieldKind::Blob:
        if (value.typeId() == QMetaType::QByteArray)
            return value;
        return value.toString().toUtf8();
    case FieldKind::Boolean:
        if (isText) {
            const QString t = text.trimmed().toUpper();
            return QVariant(t == QLatin1String("S") || t == QLatin1String("T") || t == QLatin1String("TRUE")
                            || t == QLatin1String("1"));
        }
        return QVariant(value.toBool());
    }
    return value;
}

QString kindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::String:
        return QStringLiteral("String");
    case FieldKind::Integer:
        return QStringLiteral("Integer");
    case FieldKind::Numeric:
        return QStringLiteral("Numeric");
    case FieldKind::Float:
        return QStringLiteral("Float");
    case FieldKind::Date:
        return QStringLiteral("Date");
    case FieldKind::Time:
        return QStringLiteral("Time");
    case FieldKind::DateTime:
        return QStringLiteral("DateTime");
    case FieldKind::Blob:
        return QStringLiteral("Blob");
    case FieldKind::Boolean:
        return QStringLiteral("Boolean");
    }
    return {};
}

bool kindOfName(QStringView name, FieldKind *kind)
{
    static const FieldKind all[] = {FieldKind::String, FieldKind::Integer, FieldKind::Numeric,
                                    FieldKind::Float,  FieldKind::Date,    FieldKind::Time,
                                    FieldKind::DateTime, FieldKind::Blob,  FieldKind::Boolean};
    for (FieldKind k : all) {
        if (kindName(k) == name) {
            *kind = k;
            return true;
        }
    }
    return false;
}

QString fileTextOf(const FieldDef &def, const QVariant &v, bool *base64)
{
    *base64 = false;
    switch (def.kind) {
    case FieldKind::String: {
        const QString s = v.toString();
        for (const QChar c : s) {
            const ushort u = c.unicode();
            if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0xFFFE || u == 0xFFFF || c.isSurrogate()) {
                *base64 = true;
                return QString::fromLatin1(s.toUtf8().toBase64());
            }
        }
        return s;
    }
    case FieldKind::Integer:
        return QString::number(v.toLongLong());
    case FieldKind::Numeric:
        return plainFixed(v.toDouble(), def.scale);
    case FieldKind::Float:
        return QString::number(v.toDouble(), 'g', 17);
    case FieldKind::Date:
        return v.toDate().toString(Qt::ISODate);
    case FieldKind::Time:
        return v.toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    case FieldKind::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    case FieldKind::Blob:
        *base64 = true;
        return QString::fromLatin1(v.toByteArray().toBase64());
    case FieldKind::Boolean:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return v.toString();
}

QVariant valueOfFileText(const FieldDef &def, const QString &text, bool base64, bool *ok)
{
    *ok = true;
    switch (def.kind) {
    case FieldKind::String:
        return nonNullText(base64 ? QString::fromUtf8(QByteArray::fromBase64(text.toLatin1())) : text);
    case FieldKind::Integer:
        return QVariant(text.toLongLong(ok));
    case FieldKind::Numeric:
        return QVariant(roundToScale(text.toDouble(ok), def.scale));
    case FieldKind::Float:
        return QVariant(text.toDouble(ok));
    case FieldKind::Date: {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        *ok = d.isValid();
        return d;
    }
    case FieldKind::Time: {
        const QTime t = QTime::fromString(text, QStringLiteral("HH:mm:ss.zzz"));
        *ok = t.isValid();
        return t;
    }
    case FieldKind::DateTime: {
        const QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
        *ok = dt.isValid();
        return dt;
    }
    case FieldKind::Blob:
        return QByteArray::fromBase64(text.toLatin1());
    case FieldKind::Boolean:
        return QVariant(text == u'1');
    }
    return text;
}

QVariant bindValueOf(const FieldDef &def, const QVariant &v)
{
    if (isNullValue(v))
        return QVariant(QMetaType::fromType<QString>());
    switch (def.kind) {
    case FieldKind::Integer:
        return QVariant(v.toLongLong());
    case FieldKind::Numeric:
        return plainFixed(v.toDouble(), def.scale);
    case FieldKind::Float:
        return QString::number(v.toDouble(), 'g', 17);
    case FieldKind::String:
        return nonNullText(v.toString());
    case FieldKind::Date:
    case FieldKind::Time:
    case FieldKind::DateTime:
    case FieldKind::Blob:
    case FieldKind::Boolean:
        break;
    }
    return v;
}

} // namespace FieldValues
