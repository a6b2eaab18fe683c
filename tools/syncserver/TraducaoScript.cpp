#include "TraducaoScript.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

QString TraducaoScript::dataFirebird(const QString &valor)
{
    static const QRegularExpression forma(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = forma.match(valor.trimmed());
    if (!m.hasMatch())
        return QString();
    const QDate data(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!data.isValid())
        return QString();
    QString texto = data.toString(QStringLiteral("dd.MM.yyyy"));
    if (m.hasCaptured(4)) {
        const QTime hora(m.captured(4).toInt(), m.captured(5).toInt(), m.hasCaptured(6) ? m.captured(6).toInt() : 0);
        if (!hora.isValid())
            return QString();
        texto += u' ' + hora.toString(QStringLiteral("HH:mm:ss"));
    }
    return texto;
}
