#pragma once

#include "BasePreco.h"
#include "Decimal.h"
#include "MensagemPedido.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The price rules of the item entry panel: the price check against the maximum discount and the
// promotion, the discount rule, the last price, the commission table, the "Promoção" button, the
// quantity step and the packaging-factor check. Each rule answers what the entry fields become;
// the window shows it.
class PrecificacaoItem
{
public:
    // The entry fields after a rule ran.
    struct Entrada
    {
        Decimal preco;                     // "Preço :", 3 decimals
        Decimal desconto;                  // "Desc. :", 2 decimals, percent over PRCVEN
        bool promocao = false;            // promotion mark ('S' when true)
        std::optional<Decimal> comissao; // the commission list moves to this percentage
    };

    // "Promoção": either the promotion entry, or the refusal to show (the mark becomes 'N').
    struct ResultadoPromocao
    {
        std::optional<Entrada> entrada;
        std::optional<MensagemPedido> recusa;
    };

    // base: the product row or the item; maximoDiasCondicao: MAXDIA of the header's condition.
    PrecificacaoItem(const BasePreco &base, qint64 maximoDiasCondicao);

    const BasePreco &base() const { return m_base; }

    // The basis has a promotion price and its PRZMAX reaches the condition's MAXDIA.
    bool promocaoPermitida() const;
    // The price is the promotion price, and the promotion holds for the condition.
    bool precoPromocional(const Decimal &preco) const;
    // PRCTAB × (1 − MAXDCT / 100), exact.
    Decimal precoMinimo() const;
    // (1 − price / PRCVEN) × 100 at 2 decimals; 0 when PRCVEN is not above 0.
    Decimal descontoPara(const Decimal &preco) const;

    // Price check ("Preço :" clicked, Enter in the price): the promotion price is kept with
    // discount 0; any other price below the allowed minimum is raised to it.
    Entrada conferePreco(const Decimal &preco) const;
    // Discount rule ("Desc. :"): the price from the discount over PRCVEN, raised to the allowed
    // minimum when the discount is too large. The promotion mark is kept as given.
    Entrada aplicaDesconto(const Decimal &desconto, bool marcaPromocao) const;
    // Commission table chosen: a percentage above 0 becomes the discount; then the discount rule.
    Entrada escolheComissao(const Decimal &percentual, const Decimal &desconto, bool marcaPromocao) const;
    // "Ult. Preço:": a last price above 0 goes through the price check; otherwise nothing happens.
    std::optional<Entrada> usaUltimoPreco(const Decimal &ultimoPreco) const;
    // "Promoção".
    ResultadoPromocao aplicaPromocao() const;

    // "Qtde.:" clicked: one factor more, then down to a multiple of the factor (quantity and
    // factor taken to whole numbers, ties to even). A factor that rounds to 0 steps by 1.
    static Decimal proximaQuantidade(const Decimal &quantidade, const Decimal &fator);
    // The quantity (to a whole number, ties to even) is a multiple of the factor (likewise).
    // A factor that rounds to 0 accepts any quantity.
    static bool cabeNoFator(const Decimal &quantidade, const Decimal &fator);

    static QString textoRecusaPromocao(qint64 przmax);

private:
    BasePreco m_base;
    qint64 m_maximoDiasCondicao;
};
