#include "RegistroJanelasSupervisor.h"

#include "ModuleFrame.h"
#include "U512SUP.h"

void Supervisor::registraJanelas()
{
    ModuleFrame::registerModuleWindow(QStringLiteral("F512SUP"),
                                      [](QWidget *parent) -> F599CAD * { return new F512SUP(parent); });
}
