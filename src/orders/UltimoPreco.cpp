#include "UltimoPreco.h"

#include "Formatos.h"

UltimoPreco::Exibido UltimoPreco::exibe(const std::optional<Compra> &compra)
{
    if (!compra)
        return {Decimal::fromUnits(0, 3), QStringLiteral("*** SEM ÚLTIMO PREÇO ***")};
    return {compra->VLRUNT,
            QStringLiteral("Qtde : ") + Formatos::formatMask(compra->QTDPRO.toDouble(), QStringLiteral("00"))
                + u'\r' + QStringLiteral("Data  : ")
                + Formatos::formatDate(compra->DATPDF, QStringLiteral("DD/MM/YYYY"))};
}
