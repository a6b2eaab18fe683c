#include "RecalculoItens.h"

#include "CalculoItem.h"
#include "PrecificacaoItem.h"

RecalculoItens::Resultado RecalculoItens::recalcula(const ValoresItem &atual, const std::optional<BasePreco> &linha,
                                              qint64 maximoDiasCondicao)
{
    Resultado outcome;
    outcome.item = atual;
    // A product missing from the new list would read every price as 0 and credit the whole item
    // value as generated flex; the item keeps the prices and flex it was written with instead,
    // marked so that the seller sees which one was not re-priced.
    if (!linha) {
        outcome.produtoAusente = true;
        outcome.item.VLDITM = QStringLiteral("S");
        return outcome;
    }
    ValoresItem &item = outcome.item;
    const PrecificacaoItem precificacao(*linha, maximoDiasCondicao);
    Decimal preco = atual.VLRUNT;
    const Decimal &quantidade = atual.QTDPRO;
    item.PRCTAB = linha->PRCTAB;
    item.PRCVEN = linha->PRCVEN;
    item.MAXDCT = CalculoItem::descontoMaximo(linha->MAXDCT, linha->RJTTAB);

    if (linha->VLRPRM && *linha->VLRPRM == preco && precificacao.promocaoPermitida()) {
        item.GERFLX = Decimal::fromUnits(0, 2);
        item.USOFLX = Decimal::fromUnits(0, 2);
        item.VLRUNT = preco;
        item.VLRTOT = CalculoItem::total(quantidade, preco);
        item.ITMPRM = QStringLiteral("S");
        return outcome;
    }

    const Decimal minimo = precificacao.precoMinimo();
    if (abaixoDoMinimo(preco, minimo)) {
        // Stored at the column's three decimals; the total and the flex follow the stored price.
        preco = minimo.rounded(3);
        outcome.corrigido = true;
        item.VLDITM = QStringLiteral("S");
    }
    item.VLRUNT = preco;
    item.VLRTOT = CalculoItem::total(quantidade, preco);
    item.ITMPRM = QStringLiteral("N");
    const CalculoItem::Flex flex = CalculoItem::flex(linha->PRCTAB, atual.TABCOS, preco, quantidade);
    item.USOFLX = flex.USOFLX;
    item.GERFLX = flex.GERFLX;
    return outcome;
}

bool RecalculoItens::abaixoDoMinimo(const Decimal &preco, const Decimal &minimo)
{
    return minimo.rounded(3, Decimal::Rounding::HalfEven) > preco.rounded(3, Decimal::Rounding::HalfEven);
}

MensagemPedido RecalculoItens::avisoItensCorrigidos()
{
    return {QStringLiteral("Alguns ITENS tiveram seu VALORES CORRIGIDOS. Verifique"), TipoMensagem::Informacao,
            CorMensagem::Vermelho, BotoesMensagem::Ok};
}

namespace {

QString textoProdutosAusentes(const QStringList &itens)
{
    return QStringLiteral("Os itens abaixo não constam da tabela de preços destas condições e mantiveram os "
                          "valores anteriores:\r")
        + itens.join(u'\r');
}

} // namespace

MensagemPedido RecalculoItens::avisoProdutosAusentes(const QStringList &itens)
{
    return {textoProdutosAusentes(itens) + QStringLiteral("\rVerifique!"), TipoMensagem::Informacao,
            CorMensagem::Vermelho, BotoesMensagem::Ok};
}

MensagemPedido RecalculoItens::perguntaProdutosAusentes(const QStringList &itens)
{
    return {textoProdutosAusentes(itens) + QStringLiteral("\rDeseja Continuar?"), TipoMensagem::Informacao,
            CorMensagem::Vermelho, BotoesMensagem::SimNao};
}
