#pragma once

#include "FieldDef.h"

#include <QDate>
#include <QDateTime>
#include <QStringView>
#include <QTime>
#include <QVariant>

// How each kind of column is read, converted on assignment, compared by indexes, kept in
// dataset files and bound to statements. Nulls are invalid variants.
namespace FieldValues {

QDate delphiEpoch(); // day 0 of the platform's date-time numbers
bool isNullValue(const QVariant &v);
// The SQL driver binds a null QString as NULL: empty text must stay a non-null empty string.
QString nonNullText(QString text);
bool isNumberKind(FieldKind kind);
// Numbers in "." form without grouping, whatever the process separators.
QString plainFixed(double value, int decimals);
QString plainSignificant(double value); // up to 15 significant digits, no exponent
// Rounds half away from zero at the scale; fast for the driver's near-exact NUMERIC doubles.
double roundToScale(double value, int scale);

QString textOfValue(const FieldDef &def, const QVariant &v);   // "" for null
double floatOfValue(const FieldDef &def, const QVariant &v);   // 0 for null; throws for bad text
qint64 integerOfValue(const FieldDef &def, const QVariant &v); // rounds half away from zero
QDateTime dateTimeOfValue(const FieldDef &def, const QVariant &v);
QTime timeOfValue(const FieldDef &def, const QVariant &v);
// A value assigned to a field, in the field's stored form; throws DatabaseError when it cannot be.
QVariant convert(const FieldDef &def, const QVariant &value);

// Index key of one value: nulls first, numbers numerically, dates by date, text by plain
// code-unit order (no locale). 'text' views a string that outlives the sort.
struct SortKey
{
    bool null = true;
    qint64 whole = 0;
    double number = 0;
    QStringView text;
};

SortKey sortKeyOf(FieldKind kind, const QVariant &v);
int compareKeys(FieldKind kind, const SortKey &a, const SortKey &b);

QString kindName(FieldKind kind);
bool kindOfName(QStringView name, FieldKind *kind);
// Text a file keeps for a value; *base64 when line breaks or control characters would not
// survive XML character data.
QString fileTextOf(const FieldDef &def, const QVariant &v, bool *base64);
QVariant valueOfFileText(const FieldDef &def, const QString &text, bool base64, bool *ok);
// Value bound to an apply statement: NUMERIC as text with its scale, so nothing is lost.
QVariant bindValueOf(const FieldDef &def, const QVariant &v);

} // namespace FieldValues
