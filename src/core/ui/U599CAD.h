#pragma once

#include <QMdiSubWindow>

// The base of every module window: a child of the main window's MDI area, shown maximised,
// freed when closed. Subclasses build their controls in conteudo().
class F599CAD : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit F599CAD(QWidget *parent = nullptr);
    ~F599CAD() override;

protected:
    void showEvent(QShowEvent *event) override;
    // A window closed while one of its modal dialogs runs (exec() on the stack of one of this
    // window's handlers) is freed once the dialog is gone: freeing it at once would free the
    // dialog under its own loop.
    bool event(QEvent *event) override;

    // The client area the subclass fills (design size 550 x 480).
    QWidget *conteudo() const { return m_conteudo; }

private:
    QWidget *m_conteudo;
    bool m_listasCompactas = false;
};
