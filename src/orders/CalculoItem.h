#pragma once

#include "BasePreco.h"
#include "Decimal.h"
#include "MensagemPedido.h"
#include "PrecificacaoItem.h"
#include "ValoresItem.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// Writing an item ("Incluir Item"): the checks before it is written, and the columns it is
// written with: total, maximum discount, flex used or generated, promotion, substitution tax.
class CalculoItem
{
public:
    // The F511IMP row of the product, its cost centre and the customer's state.
    struct LinhaImposto
    {
        Decimal ALISTR; // value-added margin, percent; 0: no substitution tax
        Decimal ALIICM; // seller's own ICMS rate
        Decimal ALIINA; // internal ICMS rate of the substitution base
        Decimal CFTICM; // reduces the item total to the base of the seller's own ICMS
    };

    struct Flex
    {
        Decimal USOFLX;
        Decimal GERFLX;
    };

    // The checks of "Incluir Item", in their order: the price check (a changed price is told and
    // the action goes on), the quantity above zero, the packaging factor, a total that fits its
    // column.
    struct Admissao
    {
        PrecificacaoItem::Entrada entrada;            // the entry fields after the price check
        std::optional<MensagemPedido> aviso;  // shown, then the item is written
        std::optional<MensagemPedido> recusa; // shown, nothing is written
        bool aceita() const { return !recusa.has_value(); }
    };

    // precificacao: over the product row (product view) or the item (item view, baseDe).
    static Admissao admite(const PrecificacaoItem &precificacao, const Decimal &preco, const Decimal &quantidade);

    // Product view: the item of the current product row, new or written again.
    // preco, marcaPromocao: the entry after admite; TABCOS: the commission step chosen;
    // operacaoComImposto: the operation's TEMFLU is 'S'; imposto: the row found for the product, if any.
    static ValoresItem doProduto(const PrecificacaoItem &precificacao, const Decimal &preco, const Decimal &quantidade,
                                  const Decimal &TABCOS, bool marcaPromocao, bool operacaoComImposto,
                                  const std::optional<LinhaImposto> &imposto);
    // Item view: quantity, price, commission and flex change; PRCTAB, PRCVEN, MAXDCT, VLRSTB,
    // SITIPF and SITFLX keep the values the item was written with.
    static ValoresItem alterado(const ValoresItem &item, qint64 maximoDiasCondicao, const Decimal &preco,
                              const Decimal &quantidade, const Decimal &TABCOS, bool marcaPromocao);
    // The prices an item carries, for the rules of the item view.
    static BasePreco baseDe(const ValoresItem &item);

    // QTDPRO × VLRUNT at the column's 3 decimals.
    static Decimal total(const Decimal &quantidade, const Decimal &preco);
    // r = PRCTAB × (1 − TABCOS / 100): selling below r uses flex, above it generates flex.
    static Flex flex(const Decimal &PRCTAB, const Decimal &TABCOS, const Decimal &preco, const Decimal &quantidade);
    // The item's maximum discount: the row's MAXDCT, or 0 when RJTTAB is below 0.
    static Decimal descontoMaximo(const Decimal &MAXDCT, const Decimal &RJTTAB);
    // VLRSTB of an item total T (as stored, 3 decimals); 0 unless the operation carries the tax
    // and the row has a margin above 0. Rounding halves away from zero.
    static Decimal substituicaoTributaria(const Decimal &total, bool operacaoComImposto, const std::optional<LinhaImposto> &imposto);

    static QString textoPrecoAjustado();
    static QString textoQuantidadeNaoPositiva();
    static QString textoTotalExcessivo();
    static QString textoRecusaFator(const Decimal &FATPRO);
};
