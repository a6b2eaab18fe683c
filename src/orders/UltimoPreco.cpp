#include "UltimoPreco.h"

#include "Formatos.h"

UltimoPreco::Exibido UltimoPreco::exibe(const std::optional<Compra> &purchase)
{
    if (!purchase)
        return {Decimal::fromUnits(0, 3), QStringLiteral("*** SEM ÚLTIMO PREÇO ***")};
    return {purchase->VLRUNT,
            QStringLiteral("Qtde : ") + Formatos::formatMask(purchase->QTDPRO.toDouble(), QStringLiteral("00"))
                + u'\r' + QStringLiteral("Data  : ")
                + Formatos::formatDate(purchase->DATPDF, QStringLiteral("DD/MM/YYYY"))};
}
