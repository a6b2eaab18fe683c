#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <random>

class QEventLoop;
class QWidget;

// Sends a seeded, reproducible stream of random user input to the window in front: keys
// (digits, letters, separators, Enter, Tab, Escape, function keys, quotes, accents), typed and
// pasted text, clicks on buttons, grids, headers, lists and tabs. It ticks from the event loop,
// so it goes on acting inside dialogs opened with exec() (and closes those nested too deep),
// and it acts on a drop-down or dialog before the window behind it.
class MonkeyDriver : public QObject
{
    Q_OBJECT
public:
    // target: the module window in front, nullptr when none is open; reopen opens it again
    // (which counts as one event); onEvent is told each event's number and description first.
    MonkeyDriver(quint64 seed, std::function<QWidget *()> target, std::function<void()> reopen,
                 std::function<void(int, const QString &)> onEvent);

    // Runs the event loop until `events` events were sent and every dialog was closed again.
    void run(int events);

    int event() const { return m_event; }
    const QString &action() const { return m_action; }

private:
    void tick();
    void windDown();
    void act(QWidget *scope);
    void begin(const QString &action);

    void pressKey(QWidget *scope);
    void typeText(QWidget *scope, bool longPaste);
    void clickButton(QWidget *scope);
    void clickGrid(QWidget *scope);
    void clickTab(QWidget *scope);
    void useList(QWidget *scope);
    void focusInput(QWidget *scope);

    QWidget *keyTarget(QWidget *scope);
    template<typename T>
    QList<T *> usable(QWidget *scope) const;
    template<typename T>
    T *pick(const QList<T *> &list);
    int below(int n) { return n <= 0 ? 0 : int(m_random() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    QString randomText(int length);

    std::mt19937_64 m_random;
    std::function<QWidget *()> m_target;
    std::function<void()> m_reopen;
    std::function<void(int, const QString &)> m_onEvent;
    QEventLoop *m_loop = nullptr;
    bool m_running = false;
    int m_limit = 0;
    int m_event = 0;
    int m_depth = 0; // events still running further down the stack (a dialog's exec())
    QString m_action;
};
