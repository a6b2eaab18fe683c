#pragma once

// The customer windows (registry, route, price tables, titles), made known to the module frame by
// class name, so the main window's buttons open them.
namespace Clientes {

void registraJanelas();

} // namespace Clientes
