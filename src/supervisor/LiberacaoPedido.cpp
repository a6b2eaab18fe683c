#include "LiberacaoPedido.h"

#include "D500DAT.h"
#include "SqlText.h"

LiberacaoPedido::Resultado LiberacaoPedido::gera(const QString &pedido, const QString &codVen, const QString &data)
{
    if (pedido.trimmed().isEmpty())
        return {};
    // A code for an impossible date would be one no order could ever match.
    const SqlText::ParsedDate dia = SqlText::parseDate(data);
    if (!dia)
        return {QString(), dia.message};
    return {D500DAT::geraSenhaLiberacao(pedido.trimmed(), codVen, *dia.date), QString()};
}
