#pragma once

// The sync window, made known to the module frame by class name, so the main window's "Conexão" opens
// it.
namespace Sincronizacao {

void registraJanelas();

} // namespace Sincronizacao
