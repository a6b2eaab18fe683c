#include "RegistroJanelasSincronizacao.h"

#include "ModuleFrame.h"
#include "U599ATL.h"

void Sincronizacao::registraJanelas()
{
    ModuleFrame::registerModuleWindow(QStringLiteral("F599ATL"), [](QWidget *parent) { return new F599ATL(parent); });
}
