#include "RecalculoItens.h"

#include "CalculoItem.h"
#include "PrecificacaoItem.h"

RecalculoItens::Resultado RecalculoItens::recalcula(const ValoresItem &current, const std::optional<BasePreco> &row,
                                              qint64 conditionMaxDays)
{
    Resultado outcome;
    outcome.item = current;
    // A product missing from the new list would read every price as 0 and credit the whole item
    // value as generated flex; the item keeps the prices and flex it was written with instead,
    // marked so that the seller sees which one was not re-priced.
    if (!row) {
        outcome.produtoAusente = true;
        outcome.item.VLDITM = QStringLiteral("S");
        return outcome;
    }
    ValoresItem &item = outcome.item;
    const PrecificacaoItem pricing(*row, conditionMaxDays);
    Decimal price = current.VLRUNT;
    const Decimal &quantity = current.QTDPRO;
    item.PRCTAB = row->PRCTAB;
    item.PRCVEN = row->PRCVEN;
    item.MAXDCT = CalculoItem::descontoMaximo(row->MAXDCT, row->RJTTAB);

    if (row->VLRPRM && *row->VLRPRM == price && pricing.promocaoPermitida()) {
        item.GERFLX = Decimal::fromUnits(0, 2);
        item.USOFLX = Decimal::fromUnits(0, 2);
        item.VLRUNT = price;
        item.VLRTOT = CalculoItem::total(quantity, price);
        item.ITMPRM = QStringLiteral("S");
        return outcome;
    }

    const Decimal minimum = pricing.precoMinimo();
    if (abaixoDoMinimo(price, minimum)) {
        // Stored at the column's three decimals; the total and the flex follow the stored price.
        price = minimum.rounded(3);
        outcome.corrigido = true;
        item.VLDITM = QStringLiteral("S");
    }
    item.VLRUNT = price;
    item.VLRTOT = CalculoItem::total(quantity, price);
    item.ITMPRM = QStringLiteral("N");
    const CalculoItem::Flex flex = CalculoItem::flex(row->PRCTAB, current.TABCOS, price, quantity);
    item.USOFLX = flex.USOFLX;
    item.GERFLX = flex.GERFLX;
    return outcome;
}

bool RecalculoItens::abaixoDoMinimo(const Decimal &price, const Decimal &minimum)
{
    return minimum.rounded(3, Decimal::Rounding::HalfEven) > price.rounded(3, Decimal::Rounding::HalfEven);
}

MensagemPedido RecalculoItens::avisoItensCorrigidos()
{
    return {QStringLiteral("Alguns ITENS tiveram seu VALORES CORRIGIDOS. Verifique"), TipoMensagem::Informacao,
            CorMensagem::Vermelho, BotoesMensagem::Ok};
}

namespace {

QString missingProductsText(const QStringList &items)
{
    return QStringLiteral("Os itens abaixo não constam da tabela de preços destas condições e mantiveram os "
                          "valores anteriores:\r")
        + items.join(u'\r');
}

} // namespace

MensagemPedido RecalculoItens::avisoProdutosAusentes(const QStringList &items)
{
    return {missingProductsText(items) + QStringLiteral("\rVerifique!"), TipoMensagem::Informacao,
            CorMensagem::Vermelho, BotoesMensagem::Ok};
}

MensagemPedido RecalculoItens::perguntaProdutosAusentes(const QStringList &items)
{
    return {missingProductsText(items) + QStringLiteral("\rDeseja Continuar?"), TipoMensagem::Informacao,
            CorMensagem::Vermelho, BotoesMensagem::SimNao};
}
