#include "Formatos.h"

#include <QLocale>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

std::atomic<bool> g_statementForm{false};

// The magnitude of a number as decimal digit strings, for exact decimal rounding.
struct Decimal
{
    bool negative = false;
    QByteArray integer;  // no leading zeros; empty for zero
    QByteArray fraction; // as many digits as the shortest form needs
};

Decimal toDecimal(double value)
{
    Decimal d;
    char buffer[1100];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    const QByteArray text(buffer, static_cast<int>(result.ptr - buffer));
    const int dot = static_cast<int>(text.indexOf('.'));
    d.integer = dot < 0 ? text : text.left(dot);
    d.fraction = dot < 0 ? QByteArray() : text.mid(dot + 1);
    while (d.integer.startsWith('0'))
        d.integer.remove(0, 1);
    d.negative = std::signbit(value);
    return d;
}

// Rounds the magnitude half away from zero to 'decimals' fraction digits (exactly that many).
void roundDecimal(Decimal &d, int decimals)
{
    if (d.fraction.size() <= decimals) {
        d.fraction.append(QByteArray(decimals - d.fraction.size(), '0'));
        return;
    }
    const bool up = d.fraction.at(decimals) >= '5';
    d.fraction.truncate(decimals);
    if (!up)
        return;
    QByteArray digits = d.integer + d.fraction;
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0; --i) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            digits[i] = static_cast<char>(digits[i] + 1);
            break;
        }
    }
    if (i < 0)
        digits.prepend('1');
    d.integer = digits.left(digits.size() - decimals);
    d.fraction = digits.right(decimals);
}

bool isZero(const Decimal &d)
{
    for (char c : d.integer)
        if (c != '0')
            return false;
    for (char c : d.fraction)
        if (c != '0')
            return false;
    return true;
}

QString groupDigits(const QString &digits, QChar separator)
{
    if (separator.isNull() || digits.size() <= 3)
        return digits;
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits.at(i);
    }
    return out;
}

// Splits a mask into its ';' sections, ignoring separators inside quotes.
QStringList maskSections(const QString &mask)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

// Formats a magnitude with one mask section; 'sign' is written before everything.
QString formatSection(double magnitude, const QString &section, bool sign)
{
    // Locate the digit placeholders; everything around them is literal text.
    int first = -1;
    int last = -1;
    {
        QChar quote;
        for (int i = 0; i < section.size(); ++i) {
            const QChar c = section.at(i);
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                continue;
            }
            if (c == u'\'' || c == u'"') {
                quote = c;
                continue;
            }
            if (c == u'0' || c == u'#') {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
    }
    auto literal = [](const QString &text) {
        QString out;
        QChar quote;
        for (const QChar c : text) {
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                else
                    out += c;
            } else if (c == u'\'' || c == u'"') {
                quote = c;
            } else {
                out += c;
            }
        }
        return out;
    };
    if (first < 0)
        return (sign ? QStringLiteral("-") : QString()) + literal(section);

    // A decimal point right after the last placeholder still belongs to the number ("0.").
    int end = last;
    if (end + 1 < section.size() && section.at(end + 1) == u'.')
        ++end;
    const QString body = section.mid(first, end - first + 1);
    const QString prefix = literal(section.left(first));
    const QString suffix = literal(section.mid(end + 1));

    const int point = static_cast<int>(body.indexOf(u'.'));
    const QString integerMask = point < 0 ? body : body.left(point);
    const QString fractionMask = point < 0 ? QString() : body.mid(point + 1);
    const bool grouping = integerMask.contains(u',');
    int minIntegerDigits = 0;
    {
        bool counting = false;
        for (const QChar c : integerMask) {
            if (c == u'0')
                counting = true;
            if (counting && (c == u'0' || c == u'#'))
                ++minIntegerDigits;
        }
    }
    int maxDecimals = 0;
    int minDecimals = 0;
    for (const QChar c : fractionMask) {
        if (c == u'0' || c == u'#') {
            ++maxDecimals;
            if (c == u'0')
                minDecimals = maxDecimals;
        }
    }

    Decimal d = toDecimal(magnitude);
    roundDecimal(d, maxDecimals);
    const bool negative = sign && !isZero(d);
    while (d.fraction.size() > minDecimals && d.fraction.endsWith('0'))
        d.fraction.chop(1);
    QString integer = QString::fromLatin1(d.integer);
    if (integer.size() < minIntegerDigits)
        integer.prepend(QString(minIntegerDigits - integer.size(), u'0'));
    if (grouping)
        integer = groupDigits(integer, Formatos::thousandsSeparator());

    QString out = negative ? QStringLiteral("-") : QString();
    out += prefix;
    out += integer;
    if (!d.fraction.isEmpty()) {
        out += Formatos::decimalSeparator();
        out += QString::fromLatin1(d.fraction);
    }
    out += suffix;
    return out;
}

const char *const kMonthNames[] = {"janeiro", "fevereiro", "março", "abril", "maio", "junho", "julho",
                                   "agosto", "setembro", "outubro", "novembro", "dezembro"};
const char *const kMonthShort[] = {"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"};
// Monday first, as QDate::dayOfWeek counts.
const char *const kDayNames[] = {"segunda-feira", "terça-feira", "quarta-feira", "quinta-feira",
                                  "sexta-feira", "sábado", "domingo"};
const char *const kDayShort[] = {"seg", "ter", "qua", "qui", "sex", "sáb", "dom"};

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

namespace Formatos {

void setStatementForm(bool statementForm)
{
    g_statementForm.store(statementForm);
}

bool statementForm()
{
    return g_statementForm.load();
}

QChar decimalSeparator()
{
    return statementForm() ? QLatin1Char('.') : QLatin1Char(',');
}

QChar thousandsSeparator()
{
    return statementForm() ? QChar() : QLatin1Char('.');
}

QString number(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString();
    if (decimals >= 0) {
        Decimal d = toDecimal(value);
        roundDecimal(d, decimals);
        QString out = (d.negative && !isZero(d)) ? QStringLiteral("-") : QString();
        out += d.integer.isEmpty() ? QStringLiteral("0") : QString::fromLatin1(d.integer);
        if (decimals > 0) {
            out += decimalSeparator();
            out += QString::fromLatin1(d.fraction);
        }
        return out;
    }
    if (value == 0)
        return QStringLiteral("0");
    // Fifteen significant digits, written out without an exponent.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const QByteArray text(buffer);
    const int e = static_cast<int>(text.indexOf('e'));
    QByteArray digits = text.left(1) + text.mid(2, e - 2);
    const int exponent = text.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    QByteArray integer;
    QByteArray fraction;
    if (exponent >= 0) {
        if (digits.size() <= exponent + 1) {
            integer = digits + QByteArray(exponent + 1 - digits.size(), '0');
        } else {
            integer = digits.left(exponent + 1);
            fraction = digits.mid(exponent + 1);
        }
    } else {
        integer = "0";
        fraction = QByteArray(-exponent - 1, '0') + digits;
    }
    QString out = value < 0 ? QStringLiteral("-") : QString();
    out += QString::fromLatin1(integer);
    if (!fraction.isEmpty()) {
        out += decimalSeparator();
        out += QString::fromLatin1(fraction);
    }
    return out;
}

QString formatMask(double value, const QString &mask)
{
    if (!std::isfinite(value))
        return QString();
    if (mask.isEmpty())
        return number(value);
    const QStringList sections = maskSections(mask);
    if (sections.size() >= 3 && !sections.at(2).isEmpty() && value == 0)
        return formatSection(0, sections.at(2), false);
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty())
        return formatSection(-value, sections.at(1), false);
    return formatSection(std::fabs(value), sections.at(0), value < 0);
}

QString formatDateTime(const QDateTime &value, const QString &mask)
{
    if (!value.isValid())
        return QString();
    const QDate date = value.date();
    const QTime time = value.time();
    QString out;
    bool lastWasHour = false;
    const int n = static_cast<int>(mask.size());
    int i = 0;
    while (i < n) {
        const QChar c = mask.at(i);
        if (c == u'\'' || c == u'"') {
            const int close = static_cast<int>(mask.indexOf(c, i + 1));
            const int stop = close < 0 ? n : close;
            out += mask.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const QChar lower = c.toLower();
        int run = 1;
        while (i + run < n && mask.at(i + run).toLower() == lower)
            ++run;
        switch (lower.unicode()) {
        case 'd':
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += padded(date.day(), 2);
            else if (run == 3)
                out += QString::fromUtf8(kDayShort[date.dayOfWeek() - 1]);
            else
                out += QString::fromUtf8(kDayNames[date.dayOfWeek() - 1]);
            lastWasHour = false;
            break;
        case 'm':
            if (lastWasHour && run <= 2) {
                out += run == 1 ? QString::number(time.minute()) : padded(time.minute(), 2);
            } else if (run == 1) {
                out += QString::number(date.month());
            } else if (run == 2) {
                out += padded(date.month(), 2);
            } else if (run == 3) {
                out += QString::fromUtf8(kMonthShort[date.month() - 1]);
            } else {
                out += QString::fromUtf8(kMonthNames[date.month() - 1]);
            }
            lastWasHour = false;
            break;
        case 'y':
            out += run <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
            lastWasHour = false;
            break;
        case 'h':
            out += run == 1 ? QString::number(time.hour()) : padded(time.hour(), 2);
            lastWasHour = true;
            break;
        case 'n':
            out += run == 1 ? QString::number(time.minute()) : padded(time.minute(), 2);
            lastWasHour = false;
            break;
        case 's':
            out += run == 1 ? QString::number(time.second()) : padded(time.second(), 2);
            lastWasHour = false;
            break;
        case 'z':
            out += run < 3 ? QString::number(time.msec()) : padded(time.msec(), 3);
            lastWasHour = false;
            break;
        default:
            out += mask.mid(i, run);
            break;
        }
        i += run;
    }
    return out;
}

QString formatDate(const QDate &date, const QString &mask)
{
    if (!date.isValid())
        return QString();
    return formatDateTime(QDateTime(date, QTime(0, 0)), mask);
}

double parseNumber(const QString &text, bool *ok)
{
    auto fail = [ok]() {
        if (ok)
            *ok = false;
        return 0.0;
    };
    QString t = text.trimmed();
    if (t.isEmpty())
        return fail();
    for (const QChar c : t) {
        if (!(c.isDigit() || c == u'.' || c == u',' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return fail();
    }
    const int lastDot = static_cast<int>(t.lastIndexOf(u'.'));
    const int lastComma = static_cast<int>(t.lastIndexOf(u','));
    const qsizetype dots = t.count(u'.');
    const qsizetype commas = t.count(u',');
    QChar decimal;
    QChar group;
    if (dots > 0 && commas > 0) {
        decimal = lastDot > lastComma ? QLatin1Char('.') : QLatin1Char(',');
        group = lastDot > lastComma ? QLatin1Char(',') : QLatin1Char('.');
        if (t.count(decimal) > 1)
            return fail();
    } else if (commas > 0) {
        (commas == 1 ? decimal : group) = QLatin1Char(',');
    } else if (dots > 0) {
        (dots == 1 ? decimal : group) = QLatin1Char('.');
    }
    if (!group.isNull())
        t.remove(group);
    if (!decimal.isNull())
        t.replace(decimal, QLatin1Char('.'));
    bool converted = false;
    const double value = QLocale::c().toDouble(t, &converted);
    if (!converted || !std::isfinite(value))
        return fail();
    if (ok)
        *ok = true;
    return value;
}

NumeroDigitado leNumeroDigitado(const QString &texto, int decimals, int integerDigits)
{
    NumeroDigitado r;
    const QString t = texto.trimmed();
    auto recusa = [&](const QString &mensagem) {
        r.mensagem = mensagem;
        return r;
    };
    const QString formato = QStringLiteral("\"%1\" não é um número válido. Use \",\" para os decimais e \".\" "
                                           "somente para separar os milhares (ex.: 1.500,25).")
                                .arg(t);
    if (t.isEmpty()) {
        r.ok = true;
        r.valor = QStringLiteral("0");
        return r;
    }
    const bool negativo = t.startsWith(u'-');
    const QString corpo = negativo ? t.mid(1) : t;
    const qsizetype virgula = corpo.indexOf(u',');
    const QString inteira = virgula < 0 ? corpo : corpo.left(virgula);
    const QString fracao = virgula < 0 ? QString() : corpo.mid(virgula + 1);
    if (corpo.isEmpty() || (inteira.isEmpty() && fracao.isEmpty()) || (virgula >= 0 && fracao.isEmpty()))
        return recusa(formato);
    for (const QChar c : fracao) {
        if (!c.isDigit() || c.unicode() > 127)
            return recusa(formato);
    }
    // Groups: the first of one to three digits, every other of exactly three.
    const QStringList grupos = inteira.split(u'.');
    QString digitos;
    for (qsizetype i = 0; i < grupos.size(); ++i) {
        const QString &g = grupos.at(i);
        const bool tamanhoCerto = grupos.size() == 1 || (i == 0 ? g.size() >= 1 && g.size() <= 3 : g.size() == 3);
        if (!tamanhoCerto && !(grupos.size() == 1 && g.isEmpty() && !fracao.isEmpty()))
            return recusa(formato);
        for (const QChar c : g) {
            if (!c.isDigit() || c.unicode() > 127)
                return recusa(formato);
        }
        digitos += g;
    }
    qsizetype zeros = 0;
    while (zeros < digitos.size() && digitos.at(zeros) == u'0')
        ++zeros;
    digitos = digitos.mid(zeros);
    if (digitos.size() > integerDigits)
        return recusa(QStringLiteral("\"%1\" é grande demais: cabem até %2 dígitos antes da vírgula.")
                          .arg(t)
                          .arg(integerDigits));
    QString casas = fracao;
    while (casas.endsWith(u'0'))
        casas.chop(1);
    if (casas.size() > decimals)
        return recusa(decimals == 0 ? QStringLiteral("\"%1\" não aceita casas decimais.").arg(t)
                                    : QStringLiteral("\"%1\" tem mais de %2 casas decimais.").arg(t).arg(decimals));
    r.ok = true;
    r.valor = (digitos.isEmpty() ? QStringLiteral("0") : digitos);
    if (!casas.isEmpty())
        r.valor += u'.' + casas;
    if (negativo && r.valor != QLatin1String("0"))
        r.valor.prepend(u'-');
    return r;
}

double round(double value, int decimals)
{
    if (!std::isfinite(value) || decimals < 0)
        return value;
    Decimal d = toDecimal(value);
    roundDecimal(d, decimals);
    QByteArray text = d.negative ? QByteArray("-") : QByteArray();
    text += d.integer.isEmpty() ? QByteArray("0") : d.integer;
    if (decimals > 0)
        text += '.' + d.fraction;
    double result = 0;
    std::from_chars(text.constData(), text.constData() + text.size(), result);
    return result == 0 ? 0.0 : result; // no negative zero
}

} // namespace Formatos
