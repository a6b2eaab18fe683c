#pragma once

// The "Mensagens" window, made known to the module frame by class name, so the main window's button
// opens it.
namespace Mensagens {

void registraJanelas();

} // namespace Mensagens
