#pragma once

#include <QDate>
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
QString formatMask(double value, const QString &mask);

// Dates: a mask such as "dd/mm/yyyy", "DD/MM/YYYY", "mm-dd-yyyy", "hh:nn" (Delphi-style letters).
QString formatDate(const QDate &date, const QString &mask = QStringLiteral("dd/mm/yyyy"));

// Reads a number typed in display form ("1.234,56") or statement form ("1234.56").
// ok is false for text that is not a number.
double parseNumber(const QString &text, bool *ok = nullptr);

} // namespace Formatos
