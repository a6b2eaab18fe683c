#pragma once

#include "Decimal.h"

#include <QString>

#include <optional>

class PedidoDados;

// The state one order window shares between its parts: the datasets, the opening flex, the
// copied-order flag, the reload guard and the promotion mark, and the seller's flex balance.
struct PedidoEstado
{
    PedidoDados *dados = nullptr;
    Decimal flexAbertura;               // flex the database holds for the order on the page
    std::optional<Decimal> saldoFlex;   // SALDOFLX read when the page was shown
    bool pedidoCopiado = false;
    bool recarrega = true;              // while false, row moves do not reload the entry fields
    bool promocao = false;              // the price in the entry field is a promotion price
    bool visaoProdutos = false;         // the product grid (not the item grid) is shown
};
