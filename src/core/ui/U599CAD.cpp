#include "U599CAD.h"

#include <QFont>
#include <QScrollArea>

F599CAD::F599CAD(QWidget *parent)
    : QMdiSubWindow(parent)
    , m_conteudo(new QWidget)
{
    setAttribute(Qt::WA_DeleteOnClose);
    QFont fonte(QStringLiteral("Tahoma"));
    fonte.setPointSize(8);
    m_conteudo->setFont(fonte);
    m_conteudo->setAutoFillBackground(true);
    // The main window keeps its fixed size: a window whose controls need more room than the
    // area scrolls inside it instead of spilling over its edge unmaximised.
    auto *rolagem = new QScrollArea;
    rolagem->setFrameShape(QFrame::NoFrame);
    rolagem->setWidgetResizable(true);
    rolagem->setWidget(m_conteudo);
    setWidget(rolagem);
    resize(550, 480);
}

F599CAD::~F599CAD() = default;
