#pragma once

// The supervisor console, made known to the module frame by class name, so the main window's
// "Supervisor" opens it.
namespace Supervisor {

void registraJanelas();

} // namespace Supervisor
