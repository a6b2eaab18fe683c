#pragma once

#include "BasePreco.h"
#include "ValoresItem.h"

class TClientDataSetPlus;

// Moves the computed columns of an order item between the item set and the rule classes, and
// reads a product row of the product list as the prices the item rules work from.
namespace ItemRegistro {

ValoresItem le(const TClientDataSetPlus *itens);
// Writes the computed columns into the item being edited or inserted.
void grava(TClientDataSetPlus *itens, const ValoresItem &valores);
BasePreco basePrecos(const TClientDataSetPlus *produtos);

} // namespace ItemRegistro
