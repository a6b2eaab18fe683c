#include "RegistroJanelasPedidos.h"

#include "ModuleFrame.h"
#include "U530PDV.h"

void Pedidos::registraJanelas()
{
    ModuleFrame::registerModuleWindow(QStringLiteral("F530PDV"), [](QWidget *parent) { return new F530PDV(parent); });
}
