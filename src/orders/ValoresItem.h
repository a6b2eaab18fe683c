#pragma once

#include "Decimal.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The computed columns of one order item (F530IPF) as the item rules write them; the window
// copies them into the item set together with the identity columns it takes from the header
// and the product row.
struct ValoresItem
{
    Decimal QTDPRO;  // quantity, 2 decimals
    Decimal VLRUNT;  // unit price, 3 decimals
    Decimal VLRTOT;  // QTDPRO × VLRUNT, 3 decimals
    Decimal USOFLX;  // flex used, 2 decimals
    Decimal GERFLX;  // flex generated, 2 decimals
    Decimal PRCTAB;  // net table price
    Decimal PRCVEN;  // suggested sale price
    Decimal MAXDCT;  // maximum discount written with the item
    Decimal FATPRO;  // packaging factor
    Decimal VLRSTB;  // substitution tax, 2 decimals
    Decimal TABCOS;  // commission step chosen
    Decimal QTDFAT;  // invoiced quantity: 0 when written here
    Decimal VLRFAT;  // invoiced value: 0 when written here
    std::optional<Decimal> VLRPRM; // promotion price; empty without a promotion
    qint64 PRZMAX = 0;
    QString ITMPRM = QStringLiteral("N");
    QString SITIPF = QStringLiteral("D");
    QString SITFLX = QStringLiteral("N");
    QString VLDITM = QStringLiteral("N"); // 'S' when the re-pricing raised the price
};
