#include "ModuleFrame.h"

#include "D500DAT.h"
#include "U599CAD.h"

#include <QMdiArea>
#include <QMetaObject>

namespace {
ModuleFrame *s_instance = nullptr;

QHash<QString, ModuleFrame::Fabrica> &registro()
{
    static QHash<QString, ModuleFrame::Fabrica> fabricas;
    return fabricas;
}
} // namespace

ModuleFrame::ModuleFrame(QMdiArea *area, QWidget *menu, QWidget *botaoSair,
                         std::function<void()> aoDestruir, QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_menu(menu)
    , m_botaoSair(botaoSair)
    , m_aoDestruir(std::move(aoDestruir))
    , m_tituloPrincipal(area->window()->windowTitle())
{
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        if (window && !m_desligado) {
            escondeMenu();
            atualizaTitulo();
        }
    });
    s_instance = this;
}

ModuleFrame::~ModuleFrame()
{
    desliga();
    if (s_instance == this)
        s_instance = nullptr;
}

ModuleFrame *ModuleFrame::instance()
{
    return s_instance;
}

void ModuleFrame::registerModuleWindow(const QString &className, Fabrica factory)
{
    registro().insert(className, std::move(factory));
}

void ModuleFrame::unregisterModuleWindow(const QString &className)
{
    registro().remove(className);
}

bool ModuleFrame::isModuleWindowRegistered(const QString &className)
{
    return registro().contains(className);
}

QStringList ModuleFrame::registeredModuleWindows()
{
    QStringList nomes = registro().keys();
    nomes.sort();
    return nomes;
}

F599CAD *ModuleFrame::abreJanela(const QString &className)
{
    const auto fabrica = registro().constFind(className);
    if (fabrica == registro().constEnd())
        return nullptr;
    escondeMenu();
    F599CAD *janela = nullptr;
    const bool criada = D500DAT::instance()->executaAcao([&] { janela = (*fabrica)(nullptr); });
    if (!criada || !janela) {
        // Nothing opened, so nothing will bring the menu back: show it again at once.
        delete janela;
        m_menu->show();
        m_botaoSair->show();
        return nullptr;
    }
    m_area->addSubWindow(janela);
    connect(janela, &QObject::destroyed, this, &ModuleFrame::janelaDestruida);
    connect(janela, &QWidget::windowTitleChanged, this, &ModuleFrame::atualizaTitulo);
    janela->showMaximized();
    m_area->setActiveSubWindow(janela);
    atualizaTitulo();
    return janela;
}

void ModuleFrame::escondeMenu()
{
    m_menu->hide();
    m_botaoSair->hide();
}

void ModuleFrame::desliga()
{
    if (m_desligado)
        return;
    m_desligado = true;
    if (!m_area)
        return;
    const QList<QMdiSubWindow *> janelas = m_area->subWindowList();
    for (QMdiSubWindow *janela : janelas)
        disconnect(janela, &QObject::destroyed, this, nullptr);
}

void ModuleFrame::janelaDestruida()
{
    if (m_desligado)
        return;
    // The window is still being torn down: refresh (with its message boxes) from the loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_desligado)
                return;
            atualizaTitulo();
            if (m_aoDestruir)
                m_aoDestruir();
        },
        Qt::QueuedConnection);
}

void ModuleFrame::atualizaTitulo()
{
    if (m_desligado || !m_area)
        return;
    // The window in front keeps being current while a message box has the focus.
    QMdiSubWindow *frente = m_area->currentSubWindow();
    if (!frente) {
        const QList<QMdiSubWindow *> abertas = m_area->subWindowList(QMdiArea::StackingOrder);
        frente = abertas.isEmpty() ? nullptr : abertas.last();
    }
    const QString modulo = frente ? frente->windowTitle() : QString();
    m_area->window()->setWindowTitle(modulo.isEmpty() ? m_tituloPrincipal
                                                      : m_tituloPrincipal + QStringLiteral(" - ") + modulo);
}
