#pragma once

#include <QHash>
#include <QMdiArea>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class F599CAD;
class QMdiSubWindow;
class QWidget;

// The rule by which module windows open over the main window: windows are known by their
// class name ("F510CLI") through a registry filled by each subsystem at start-up; opening one
// hides the menu and "Sair"; activating one hides them again; the destruction of one hands
// control back to the main window's refresh (atualizaTelaPrincipal). The main window's caption
// names the module window in front, as a maximised child's does on the desktop.
class ModuleFrame : public QObject
{
    Q_OBJECT
public:
    using Fabrica = std::function<F599CAD *(QWidget *parent)>;

    // menu and botaoSair are hidden while a module window is active; aoDestruir runs (from the
    // event loop) after a module window opened here is destroyed.
    ModuleFrame(QMdiArea *area, QWidget *menu, QWidget *botaoSair, std::function<void()> aoDestruir,
                QObject *parent = nullptr);
    ~ModuleFrame() override;

    // The frame of the running main window (nullptr when there is none).
    static ModuleFrame *instance();

    static void registerModuleWindow(const QString &className, Fabrica factory);
    static void unregisterModuleWindow(const QString &className);
    static bool isModuleWindowRegistered(const QString &className);
    // The class names of the windows built into this program, in alphabetical order.
    static QStringList registeredModuleWindows();

    // Opens a new window of the class (never reuses one). Returns nullptr, and leaves the menu
    // as it was, when the class is not built into this program or its creation failed.
    F599CAD *abreJanela(const QString &className);
    // Hides the menu panel and "Sair".
    void escondeMenu();

    // Stops reacting to destroyed windows (the main window is going away with them).
    void desliga();

    QMdiArea *area() const { return m_area; }

private:
    void janelaDestruida();
    void atualizaTitulo();

    QPointer<QMdiArea> m_area;
    QWidget *m_menu;
    QWidget *m_botaoSair;
    std::function<void()> m_aoDestruir;
    QString m_tituloPrincipal;
    bool m_desligado = false;
};
