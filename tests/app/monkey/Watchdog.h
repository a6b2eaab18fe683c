#pragma once

#include <QByteArray>

#include <atomic>
#include <thread>

// Ends a random-input run that stopped acting: when no event started for `limitSeconds`, it
// prints the last state it was given (seed, window, event, action) and exits with status 97.
// A crash prints the same state before the signal takes its course, so every failure names the
// seed and event that replay it.
class Watchdog
{
public:
    explicit Watchdog(int limitSeconds);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    // The run is alive and doing `state` now.
    void progress(const QByteArray &state);
    // (Re)installs the crash report: the engine's client library may install handlers of its own.
    static void installCrashReport();

private:
    void watch();

    int m_limitMs;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_lastMs{0};
    std::thread m_thread;
};
