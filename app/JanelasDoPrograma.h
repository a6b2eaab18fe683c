#pragma once

#include "RegistroJanelasClientes.h"
#include "RegistroJanelasMensagens.h"
#include "RegistroJanelasPedidos.h"
#include "RegistroJanelasRelatorios.h"
#include "RegistroJanelasSincronizacao.h"
#include "RegistroJanelasSupervisor.h"

// Every module window built into the program made known to the main window's frame; the
// programs that show the whole program (the random-input test, the screenshots) call it too.
inline void registraJanelasDoPrograma()
{
    Pedidos::registraJanelas();
    Clientes::registraJanelas();
    Sincronizacao::registraJanelas();
    Mensagens::registraJanelas();
    Supervisor::registraJanelas();
    Relatorios::registraJanelas();
}
