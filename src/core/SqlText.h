#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Values written into local statement text. Every typed value reaches SQL either as a bound
// parameter or through quoted(); date literals use the forms Firebird reads unambiguously
// (it reads slashes month first); typed dates are read here, once, with a clear refusal.
namespace SqlText {

// A string literal: the value between single quotes, each quote inside doubled.
// quoted("O'Brien") == "'O''Brien'".
QString quoted(const QString &value);

// The longest typed text a statement compares with a column: longer than any text column of
// the database, so a longer text cannot equal or be like any stored value.
inline constexpr int kTypedTextLength = 1000;

// The first character of the text that a text column (WIN1252) cannot hold: one without a
// Windows-1252 byte, or one of the five bytes that code page leaves undefined. Empty when
// every character can be stored.
QString unstorableCharacter(const QString &text);

// True when the text could be a stored value: storable and not longer than kTypedTextLength.
// Typed text that is not can match no row, and the engine refuses to compare it.
bool comparable(const QString &text);

// The placeholder of a typed text parameter: text of any length up to kTypedTextLength, so
// a value longer than its column is compared (and matches nothing) instead of refused.
QString typedPlaceholder();

// Typed text for comparison with a column in statement text: quoted(text), or NULL, which
// matches no row, when the text is not comparable().
QString comparedLiteral(const QString &text);

// LIKE patterns ("%" means any). The pattern texts are meant for binding as parameters;
// the *Literal forms are the same patterns as comparedLiteral() for statement text.
QString containsPattern(const QString &text); // "%text%"
QString prefixPattern(const QString &text);   // "text%"
QString likeContains(const QString &text);    // comparedLiteral("%text%")
QString likePrefix(const QString &text);      // comparedLiteral("text%")

// The numeric code column written out to 'width' digits with leading zeros (its last 'width'
// digits), for comparing it with a typed prefix: zeroPaddedColumn("G.CODGFA", 5).
QString zeroPaddedColumn(const QString &column, int width);

enum class DateForm {
    American,     // 'MM/DD/YYYY'
    AmericanDash, // 'MM-DD-YYYY'
    Dotted,       // 'DD.MM.YYYY'
};

// A quoted date literal; NULL (unquoted) for a null or invalid date.
QString dateLiteral(const QDate &date, DateForm form = DateForm::Dotted);

// The outcome of reading a typed date: the date, or the message telling what is wrong.
struct ParsedDate
{
    std::optional<QDate> date;
    QString message; // empty when date holds a value
    explicit operator bool() const { return date.has_value(); }
};

// Reads a date typed "dd/mm/yyyy" (day and month may have one digit; blanks around are
// ignored). A blank text or an empty mask ("  /  /    ") gives "Data não informada."; anything
// else that is not a real calendar date gives "Data inválida: " + the typed text.
ParsedDate parseDate(const QString &typed);

} // namespace SqlText
