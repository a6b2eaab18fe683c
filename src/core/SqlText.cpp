#include "SqlText.h"

#include "TextCodec.h"

#include <QRegularExpression>

namespace SqlText {

QString quoted(const QString &value)
{
    QString text = value;
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString unstorableCharacter(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            continue;
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const int byte = pair ? -1 : TextCodec::windows1252Byte(c.unicode());
        const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (byte < 0 || undefined)
            return text.mid(i, pair ? 2 : 1);
    }
    return {};
}

bool comparable(const QString &text)
{
    return text.size() <= kTypedTextLength && unstorableCharacter(text).isEmpty();
}

QString typedPlaceholder()
{
    return QStringLiteral("CAST(? AS VARCHAR(%1) CHARACTER SET UTF8)").arg(kTypedTextLength);
}

QString comparedLiteral(const QString &text)
{
    return comparable(text) ? quoted(text) : QStringLiteral("NULL");
}

QString containsPattern(const QString &text)
{
    return QLatin1Char('%') + text + QLatin1Char('%');
}

QString prefixPattern(const QString &text)
{
    return text + QLatin1Char('%');
}

QString likeContains(const QString &text)
{
    return comparedLiteral(containsPattern(text));
}

QString likePrefix(const QString &text)
{
    return comparedLiteral(prefixPattern(text));
}

QString zeroPaddedColumn(const QString &column, int width)
{
    const QString zeros(width, u'0');
    return QStringLiteral("SUBSTRING('%1'||%2 FROM (CHAR_LENGTH('%1'||%2)-%3) FOR %4)")
        .arg(zeros, column, QString::number(width - 1), QString::number(width));
}

QString dateLiteral(const QDate &date, DateForm form)
{
    if (!date.isValid())
        return QStringLiteral("NULL");
    switch (form) {
    case DateForm::American:
        return quoted(date.toString(QStringLiteral("MM/dd/yyyy")));
    case DateForm::AmericanDash:
        return quoted(date.toString(QStringLiteral("MM-dd-yyyy")));
    case DateForm::Dotted:
        break;
    }
    return quoted(date.toString(QStringLiteral("dd.MM.yyyy")));
}

ParsedDate parseDate(const QString &typed)
{
    const QString text = typed.trimmed();
    QString withoutMask = text;
    withoutMask.remove(QLatin1Char('/')).remove(QLatin1Char(' '));
    if (withoutMask.isEmpty())
        return {std::nullopt, QStringLiteral("Data não informada.")};

    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (m.hasMatch()) {
        const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        if (date.isValid())
            return {date, QString()};
    }
    return {std::nullopt, QStringLiteral("Data inválida: ") + text};
}

} // namespace SqlText
