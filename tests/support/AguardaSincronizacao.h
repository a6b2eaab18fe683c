#pragma once

#include "ClienteSincronizacao.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

// Runs the event loop until the client's exchange ends, ticking its watchdog every `tickMs` as
// the sync window's timer does; false when `limiteMs` passed first.
inline bool aguardaSincronizacao(ClienteSincronizacao &cliente, int tickMs = 500, int limiteMs = 60000)
{
    QEventLoop laco;
    bool terminou = false;
    QObject::connect(&cliente, &ClienteSincronizacao::finalizado, &laco, [&] {
        terminou = true;
        laco.quit();
    });
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, &cliente, [&cliente] { cliente.tick(); });
    vigia.start(tickMs);
    QTimer::singleShot(limiteMs, &laco, &QEventLoop::quit);
    laco.exec();
    return terminou;
}
