#pragma once

#include <QString>

// The display form of every column of the database, in one table: codes with their leading
// zeros, money and unit prices with their separators and decimals, counters. Datasets take
// their fields' masks from here, so grids, labels and reports show a column alike; values that
// are not a dataset field (totals, counters) are formatted by name through the same table.
namespace FormatosColunas {

// The mask of the column ("00000", "###,###,##0.00"...); empty when it is shown as stored.
// Date columns need none: a date is always shown "dd/mm/yyyy".
QString mascara(const QString &coluna);

// The value formatted with the column's mask (plain number form when it has none).
QString formata(const QString &coluna, double valor);

// The decimals a column holds in every table (PRCVEN three); -1 when the statement's own scale
// stands. A price computed in a statement comes with the scale of the division that made it.
int casas(const QString &coluna);

} // namespace FormatosColunas
