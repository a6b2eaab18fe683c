#pragma once

// The report catalogue and the goal window, made known to the module frame by class name, so the main
// window's buttons open them.
namespace Relatorios {

void registraJanelas();

} // namespace Relatorios
