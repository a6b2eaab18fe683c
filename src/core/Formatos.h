#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Number and date forms of the whole program. The process keeps one decimal and one
// thousands separator: display form ("," and ".") by default, statement form ("." and none)
// while a routine embeds numbers in SQL (ajustaSeparadores switches them).
namespace Formatos {

void setStatementForm(bool statementForm);
bool statementForm();
QChar decimalSeparator();
QChar thousandsSeparator(); // QChar() when none

// Plain text of a number under the current separators, with 'decimals' digits
// (-1: as many as needed, up to 15 significant digits, no exponent).
QString number(double value, int decimals = -1);

// A value formatted with a display mask such as "###,###,##0.00", "##,##0.000",
// "0000000", "00", "000". Rounds half away from zero at the mask's decimals.
// Text outside the digit placeholders is kept; "pos;neg;zero" sections are honoured.
QString formatMask(double value, const QString &mask);

// The program's date form in Qt's letters, for QDate::toString, QDate::fromString and date
// editors; dateTimeForm() adds the time of day.
inline QString dateForm() { return QStringLiteral("dd/MM/yyyy"); }
inline QString dateTimeForm() { return dateForm() + QStringLiteral(" HH:mm:ss"); }

// Dates: a mask such as "dd/mm/yyyy", "DD/MM/YYYY", "mm-dd-yyyy", "hh:nn" (Delphi-style letters).
QString formatDate(const QDate &date, const QString &mask = QStringLiteral("dd/mm/yyyy"));
// The same letters for a date and time ("dd/mm/yyyy hh:nn:ss"; "m" right after an hour is minutes).
QString formatDateTime(const QDateTime &value, const QString &mask);

// Reads a number typed in display form ("1.234,56") or statement form ("1234.56").
// With both separators the last one is the decimal point; a lone "," or a lone "." is the
// decimal point; repeated ones are thousands separators. ok is false for text that is not a number.
double parseNumber(const QString &text, bool *ok = nullptr);

// A number as the user types it, in display form only: "," is the decimal separator and "."
// may only group the integer digits in threes ("1.500" is one thousand five hundred; "1.5",
// "1,2,3" and letters are refused). decimals and integerDigits are the room of the field's
// column (NUMERIC(15,3): 3 and 12); a longer value is refused before anyone computes with it.
// An empty field reads 0.
struct NumeroDigitado
{
    bool ok = false;
    QString valor;    // statement form ("-1500.25"), exact as typed
    QString mensagem; // why the text was refused, for the user
    explicit operator bool() const { return ok; }
};
NumeroDigitado leNumeroDigitado(const QString &texto, int decimals, int integerDigits);

// The value rounded half away from zero at 'decimals' digits, judged on its shortest decimal
// form (so 1.005 rounds to 1.01 although its binary value lies just below).
double round(double value, int decimals);

} // namespace Formatos
