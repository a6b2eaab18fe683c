// Compiled into the program that links the messages window: registers it with the module frame
// by class name before main runs, so the main window's "Mensagens" opens it.
#include "ModuleFrame.h"
#include "U599MSG.h"

namespace {

const bool registrada = [] {
    ModuleFrame::registerModuleWindow(QStringLiteral("F599MSG"),
                                      [](QWidget *parent) -> F599CAD * { return new F599MSG(parent); });
    return true;
}();

} // namespace
