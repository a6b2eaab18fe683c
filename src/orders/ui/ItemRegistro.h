#pragma once

#include "ItemValues.h"
#include "PriceBasis.h"

class TClientDataSetPlus;

// Moves the computed columns of an order item between the item set and the rule classes, and
// reads a product row of the product list as the prices the item rules work from.
namespace ItemRegistro {

ItemValues le(const TClientDataSetPlus *itens);
// Writes the computed columns into the item being edited or inserted.
void grava(TClientDataSetPlus *itens, const ItemValues &valores);
PriceBasis basePrecos(const TClientDataSetPlus *produtos);

} // namespace ItemRegistro
