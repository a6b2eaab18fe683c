#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>

#include <optional>

// "Ult. Preço:": the customer's last price of the product and the hint that tells its quantity
// and date.
class UltimoPreco
{
public:
    // The customer's last purchase of the product in that cost centre.
    struct Compra
    {
        Decimal QTDPRO;
        Decimal VLRUNT;
        QDate DATPDF;
    };

    struct Exibido
    {
        Decimal preco; // 0 without a purchase
        QString dica;
    };

    static Exibido exibe(const std::optional<Compra> &compra);
};
