// Compiled into the program that links the report windows: registers them with the module
// frame by class name before main runs, so the main window's buttons open them.
#include "ModuleFrame.h"
#include "U599REL.h"
#include "U599VEL.h"

namespace {

const bool registradas = [] {
    ModuleFrame::registerModuleWindow(QStringLiteral("F599REL"), [](QWidget *parent) -> F599CAD * { return new F599REL(parent); });
    ModuleFrame::registerModuleWindow(QStringLiteral("F599VEL"), [](QWidget *parent) -> F599CAD * { return new F599VEL(parent); });
    return true;
}();

} // namespace
