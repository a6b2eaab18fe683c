#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// Values as the demo rows bind them: NUMERIC columns as exact decimal text of their scale (no
// binary noise reaches the file), empty texts and invalid dates as NULL.
namespace DemoValues {

// Rounds halves away from zero, as the program's pricing rules do.
double round(double value, int decimals);
QVariant dec(double value, int scale);
QVariant code(qint64 value);
QVariant text(const QString &value);
QVariant date(const QDate &value);
QVariant null();

// Lower-case ASCII form of a name for e-mail addresses ("SÃO JOSÉ" -> "saojose").
QString asciiWord(const QString &text);

} // namespace DemoValues
