#include "RegistroJanelasRelatorios.h"

#include "ModuleFrame.h"
#include "U599REL.h"
#include "U599VEL.h"

void Relatorios::registraJanelas()
{
    ModuleFrame::registerModuleWindow(QStringLiteral("F599REL"), [](QWidget *parent) -> F599CAD * { return new F599REL(parent); });
    ModuleFrame::registerModuleWindow(QStringLiteral("F599VEL"), [](QWidget *parent) -> F599CAD * { return new F599VEL(parent); });
}
