#pragma once

#include "Decimal.h"

#include <QtGlobal>

#include <optional>

// The prices an item rule works from: the current row of the product list, or an item already
// in the order (whose MAXDCT is the one it was written with, and whose RJTTAB is not carried).
struct BasePreco
{
    Decimal PRCTAB;                // net table price, 3 decimals
    Decimal PRCVEN;                // suggested sale price, 3 decimals
    Decimal MAXDCT;                // maximum discount, percent over PRCTAB
    Decimal FATPRO;                // packaging factor
    Decimal RJTTAB;                // product rows: below 0, no discount is allowed on the item
    std::optional<Decimal> VLRPRM; // promotion price valid today; empty without a promotion
    qint64 PRZMAX = 0;             // longest payment term of the promotion, in days
};
