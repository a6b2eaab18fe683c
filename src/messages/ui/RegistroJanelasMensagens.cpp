#include "RegistroJanelasMensagens.h"

#include "ModuleFrame.h"
#include "U599MSG.h"

void Mensagens::registraJanelas()
{
    ModuleFrame::registerModuleWindow(QStringLiteral("F599MSG"),
                                      [](QWidget *parent) -> F599CAD * { return new F599MSG(parent); });
}
