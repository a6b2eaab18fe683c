#include "U599CAD.h"

#include "FonteJanelas.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QScrollArea>
#include <QTimer>

F599CAD::F599CAD(QWidget *parent)
    : QMdiSubWindow(parent)
    , m_conteudo(new QWidget)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Always maximised: the main window's caption names the module, so a title bar of its own
    // would only take height from the controls.
    setWindowFlags(Qt::FramelessWindowHint);
    m_conteudo->setFont(FonteJanelas::fonte());
    m_conteudo->setAutoFillBackground(true);
    // The layouts fit the main window's area; only a screen too small for the main window
    // itself makes the content scroll instead of spilling over its edge.
    auto *rolagem = new QScrollArea;
    rolagem->setFrameShape(QFrame::NoFrame);
    rolagem->setWidgetResizable(true);
    rolagem->setWidget(m_conteudo);
    setWidget(rolagem);
    resize(550, 480);
}

F599CAD::~F599CAD() = default;

void F599CAD::showEvent(QShowEvent *event)
{
    // A list sized to its longest entry (a family, a city) would widen the whole window past
    // the main window; lists take a modest width and their drop-downs show the whole text.
    if (!m_listasCompactas) {
        m_listasCompactas = true;
        const auto listas = m_conteudo->findChildren<QComboBox *>();
        for (QComboBox *lista : listas) {
            lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            lista->setMinimumContentsLength(8);
        }
    }
    QMdiSubWindow::showEvent(event);
}

bool F599CAD::event(QEvent *event)
{
    if (event->type() == QEvent::DeferredDelete) {
        const QList<QDialog *> dialogos = findChildren<QDialog *>();
        for (QDialog *dialogo : dialogos) {
            if (dialogo->testAttribute(Qt::WA_ShowModal)) {
                QTimer::singleShot(50, this, &QObject::deleteLater);
                return true;
            }
        }
    }
    return QMdiSubWindow::event(event);
}
