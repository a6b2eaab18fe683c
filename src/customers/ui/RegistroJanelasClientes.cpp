#include "RegistroJanelasClientes.h"

#include "ModuleFrame.h"
#include "U510CLI.h"
#include "U510ROT.h"
#include "U511PRO.h"
#include "U550TRC.h"

namespace {

template<typename Janela>
void registra(const char *nome)
{
    ModuleFrame::registerModuleWindow(QLatin1String(nome), [](QWidget *parent) -> F599CAD * { return new Janela(parent); });
}

} // namespace

void Clientes::registraJanelas()
{
    registra<F510CLI>("F510CLI");
    registra<F510ROT>("F510ROT");
    registra<F511PRO>("F511PRO");
    registra<F550TRC>("F550TRC");
}
