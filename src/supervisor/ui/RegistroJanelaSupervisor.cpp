// Compiled into the program that links the supervisor console: registers it with the module
// frame by class name before main runs, so the main window's "Supervisor" opens it.
#include "ModuleFrame.h"
#include "U512SUP.h"

namespace {

const bool registrada = [] {
    ModuleFrame::registerModuleWindow(QStringLiteral("F512SUP"),
                                      [](QWidget *parent) -> F599CAD * { return new F512SUP(parent); });
    return true;
}();

} // namespace
