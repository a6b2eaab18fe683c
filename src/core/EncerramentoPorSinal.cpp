#include "EncerramentoPorSinal.h"

#include <QSocketNotifier>

#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
sigset_t sinaisDeEncerramento()
{
    sigset_t sinais;
    sigemptyset(&sinais);
    sigaddset(&sinais, SIGINT);
    sigaddset(&sinais, SIGTERM);
    sigaddset(&sinais, SIGHUP);
    return sinais;
}

// Programs started from here (the calculator, the browser) must still end on these signals:
// the block is inherited across exec, so a forked child lifts it.
void desbloqueiaNoFilho()
{
    const sigset_t sinais = sinaisDeEncerramento();
    pthread_sigmask(SIG_UNBLOCK, &sinais, nullptr);
}
} // namespace

void EncerramentoPorSinal::bloqueiaSinais()
{
    static const bool registrado = pthread_atfork(nullptr, nullptr, desbloqueiaNoFilho) == 0;
    Q_UNUSED(registrado);
    const sigset_t sinais = sinaisDeEncerramento();
    pthread_sigmask(SIG_BLOCK, &sinais, nullptr);
}

EncerramentoPorSinal::EncerramentoPorSinal(QObject *parent)
    : QObject(parent)
{
    int canal[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, canal) != 0)
        return;
    bloqueiaSinais();
    const sigset_t sinais = sinaisDeEncerramento();

    std::thread([sinais, escrita = canal[0]] {
        for (int recebidos = 0;; ++recebidos) {
            int sinal = 0;
            if (sigwait(&sinais, &sinal) != 0)
                continue;
            if (recebidos > 0)
                ::_exit(1);
            const char byte = 1;
            if (::write(escrita, &byte, 1) < 0)
                ::_exit(1);
        }
    }).detach();

    m_notificador = new QSocketNotifier(canal[1], QSocketNotifier::Read, this);
    connect(m_notificador, &QSocketNotifier::activated, this, [this, leitura = canal[1]] {
        char byte = 0;
        if (::read(leitura, &byte, 1) > 0)
            emit solicitado();
    });
}
