#include "Encerramento.h"

#include <QCoreApplication>

namespace {
bool s_solicitado = false;
Encerramento::Gancho s_gancho;

void encerraPadrao()
{
    // Leaves every running event loop, nested modal loops included. Before the main loop
    // runs, the entry sees solicitado() and does not start it.
    if (QCoreApplication::instance())
        QCoreApplication::exit(0);
}
} // namespace

void Encerramento::encerraPrograma()
{
    s_solicitado = true;
    if (s_gancho)
        s_gancho();
    else
        encerraPadrao();
}

bool Encerramento::solicitado()
{
    return s_solicitado;
}

void Encerramento::setGancho(Gancho hook)
{
    s_gancho = std::move(hook);
}

void Encerramento::reinicia()
{
    s_solicitado = false;
}
