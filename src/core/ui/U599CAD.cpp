#include "U599CAD.h"

#include <QFont>

F599CAD::F599CAD(QWidget *parent)
    : QMdiSubWindow(parent)
    , m_conteudo(new QWidget)
{
    setAttribute(Qt::WA_DeleteOnClose);
    QFont fonte(QStringLiteral("Tahoma"));
    fonte.setPointSize(8);
    m_conteudo->setFont(fonte);
    m_conteudo->setAutoFillBackground(true);
    setWidget(m_conteudo);
    resize(550, 480);
}

F599CAD::~F599CAD() = default;
