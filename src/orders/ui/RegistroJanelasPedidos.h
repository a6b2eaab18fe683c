#pragma once

// The order window, made known to the module frame by class name, so the main window and the customer
// windows open it.
namespace Pedidos {

void registraJanelas();

} // namespace Pedidos
