#include "Watchdog.h"

#include <QDateTime>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Written by the interface thread before each event, read by the watchdog and the crash
// handler (which may not lock or allocate).
char s_state[1024] = "starting";

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void writeAll(const char *text)
{
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, text, left);
        if (n <= 0)
            return;
        text += n;
        left -= size_t(n);
    }
}

void onCrash(int signal)
{
    writeAll("\nmonkey crash (signal ");
    char number[8] = {};
    number[0] = char('0' + (signal / 10) % 10);
    number[1] = char('0' + signal % 10);
    writeAll(number);
    writeAll("): ");
    writeAll(s_state);
    writeAll("\n");
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

Watchdog::Watchdog(int limitSeconds)
    : m_limitMs(limitSeconds * 1000)
{
    m_lastMs = nowMs();
    installCrashReport();
    m_thread = std::thread([this] { watch(); });
}

Watchdog::~Watchdog()
{
    m_stop = true;
    m_thread.join();
}

void Watchdog::progress(const QByteArray &state)
{
    const qsizetype n = qMin<qsizetype>(state.size(), sizeof(s_state) - 1);
    std::memcpy(s_state, state.constData(), size_t(n));
    s_state[n] = '\0';
    m_lastMs = nowMs();
}

void Watchdog::installCrashReport()
{
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, onCrash);
}

void Watchdog::watch()
{
    while (!m_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const qint64 idle = nowMs() - m_lastMs;
        if (idle > m_limitMs) {
            std::fprintf(stderr, "\nmonkey hang: nothing happened for %lld s after: %s\n", idle / 1000, s_state);
            std::fflush(stderr);
            ::_exit(97);
        }
    }
}
