#pragma once

#include <memory>

class AmbienteBench;
class F530PDV;

// The order window as the seller reaches it: a new order for the data set's reference
// customer (customer 1, price table 1), shown offscreen at a notebook's size, with the
// transaction, operation and condition lists set to their first entries.
namespace JanelaPedidoBench {

std::unique_ptr<F530PDV> novoPedido(AmbienteBench &ambiente);
// Shows the "Itens" tab (which runs the product search once).
void mostraItens(F530PDV &janela);

} // namespace JanelaPedidoBench
