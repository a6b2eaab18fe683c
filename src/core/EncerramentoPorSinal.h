#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP (a desktop logout or shutdown, Ctrl+C in a terminal) into a
// signal on the event loop, so the program finishes the event it is in and ends in order: the
// database detached, the folder's lock removed. The signals are blocked in every thread and
// taken by a waiting thread of its own: the database library's handlers, which would shut its
// engine down under the program's feet and leave the process hanging, never run. A second
// signal ends the process at once.
class EncerramentoPorSinal : public QObject
{
    Q_OBJECT
public:
    // Blocks the signals in the calling thread, so every thread started after it inherits the
    // block. Call first thing in main, before the application object or the database library
    // starts threads of their own.
    static void bloqueiaSinais();

    // Needs the application object; blocks the signals too, when main has not done so yet.
    explicit EncerramentoPorSinal(QObject *parent = nullptr);

signals:
    void solicitado();

private:
    QSocketNotifier *m_notificador = nullptr;
};
