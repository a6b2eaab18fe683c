#pragma once

#include "Decimal.h"

#include <QString>

#include <optional>

class FirebirdConnection;

// The seller's flex balance on the order page (atualizaSaldoFlex): what is available to the
// order, what it uses, the remainder and its colour, and whether the order may be saved.
class SaldoFlex
{
public:
    enum class Cor { Verde, Vermelho };

    struct Exibicao
    {
        Decimal disponivel;   // both "Saldo:" labels: balance + opening flex
        Decimal usado;        // sum of the items' USOFLX
        Decimal total;       // "Total:": available − used
        Cor corTotal = Cor::Verde;
        Decimal previsto;    // "Prev.": sum of the items' GERFLX
        bool suficiente = true; // false blocks the save
    };

    // saldo: SALDOFLX of the statement (empty when it returned no row); flexAbertura: TOTFLX of
    // the order when it was put on the page; usado and previsto: the item sums. While the header
    // is edited its TOTFLX (shown as "Pedido:" and "Uso:") becomes 'usado'.
    static Exibicao calcula(const std::optional<Decimal> &saldo, const Decimal &flexAbertura,
                           const Decimal &usado, const Decimal &previsto = Decimal());

    // The balance statement, bound with PCODEMP and PCODVEN (each used twice).
    static QString instrucao();
    // The flex that statement already counts for one stored order: its items' USOFLX while the
    // server has not settled it. Bound with PCODEMP, PCODPDF and PCODINT.
    static const QString kSelectFlexPedidoGravado;
    // What the order on the page adds back to the balance: the above, 0 for an order never
    // stored. Neither a recovery copy's TOTFLX nor a copied header's counts. Throws DatabaseError.
    static Decimal leFlexAbertura(FirebirdConnection &connection, const QString &CODEMP, const QString &CODPDF,
                                   const QString &CODINT);
    // Runs it; empty when the seller has no row. Throws DatabaseError.
    static std::optional<Decimal> le(FirebirdConnection &connection, const QString &CODEMP, const QString &CODVEN);
};
