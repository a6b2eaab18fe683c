#pragma once

#include "BasePreco.h"
#include "MensagemPedido.h"
#include "ValoresItem.h"

#include <QStringList>
#include <QtGlobal>

#include <optional>

// Re-pricing of the items against the prices of new commercial terms (recalculaItens): an item
// sold at a promotion that still holds keeps it; any other item is raised to the new minimum
// when below it (compared at three decimals) and marked, and its flex is recomputed.
class RecalculoItens
{
public:
    struct Resultado
    {
        ValoresItem item;             // the item to post (VLDITM 'S' when raised)
        bool corrigido = false;      // the price was raised to the minimum
        bool produtoAusente = false; // no row in the re-priced list: prices kept, item marked
    };

    // linha: the item's product and cost centre in the re-priced list (first row), if found.
    static Resultado recalcula(const ValoresItem &item, const std::optional<BasePreco> &linha, qint64 maximoDiasCondicao);

    // The minimum is above the price when both, taken to three decimals with ties to even,
    // differ; prices that differ only beyond the third decimal are equal.
    static bool abaixoDoMinimo(const Decimal &preco, const Decimal &minimo);

    // Told after a change of transaction, operation or condition corrected some item.
    static MensagemPedido avisoItensCorrigidos();
    // The items whose products are not in the new list (one "code - description" each): told
    // after a change of terms, and asked about before "Salvar" goes on.
    static MensagemPedido avisoProdutosAusentes(const QStringList &itens);
    static MensagemPedido perguntaProdutosAusentes(const QStringList &itens);
};
