#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal on the event loop, so the server finishes the event
// it is in and closes the central database in order. The two signals are blocked in every
// thread and taken by a waiting thread of its own: the database library's handlers, which
// would shut its engine down under the server's feet and leave the process hanging, never
// run. A second signal ends the process at once.
class EncerramentoPorSinal : public QObject
{
    Q_OBJECT
public:
    // Create before anything starts a thread (the database library does at its first use).
    explicit EncerramentoPorSinal(QObject *parent = nullptr);

signals:
    void solicitado();

private:
    QSocketNotifier *m_notificador = nullptr;
};
