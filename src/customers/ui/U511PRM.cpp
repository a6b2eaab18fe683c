#include "U511PRM.h"

#include "ClientDataSetPlus.h"
#include "GradeDados.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

F511PRM::F511PRM(TClientDataSetPlus &cdsPromocao, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("PROMOÇÕES"));
    setModal(true);
    auto *titulo = new QLabel(QStringLiteral("PROMOÇÕES"));
    QFont grande = titulo->font();
    grande.setBold(true);
    grande.setPointSize(14);
    titulo->setFont(grande);
    titulo->setAlignment(Qt::AlignCenter);

    dbgPromocao = new GradeDados(cdsPromocao, {{QStringLiteral("CODPRO"), QStringLiteral("Produto")},
                                               {QStringLiteral("DESPRO"), QStringLiteral("Descrição")},
                                               {QStringLiteral("DATINI"), QStringLiteral("Inicio")},
                                               {QStringLiteral("DATFIM"), QStringLiteral("Fim")},
                                               {QStringLiteral("PRZMAX"), QStringLiteral("Prazo")},
                                               {QStringLiteral("VLRPRM"), QStringLiteral("Valor")}});
    dbgPromocao->setEstilo([this](int, const QString &campo, int role) -> QVariant {
        const bool negrito = campo == QLatin1String("CODPRO") || campo == QLatin1String("DATINI")
            || campo == QLatin1String("DATFIM") || campo == QLatin1String("PRZMAX") || campo == QLatin1String("VLRPRM");
        switch (role) {
        case Qt::FontRole:
            if (negrito) {
                QFont f = dbgPromocao->font();
                f.setBold(true);
                return f;
            }
            return {};
        case Qt::ForegroundRole:
            if (campo == QLatin1String("CODPRO") || campo == QLatin1String("DESPRO") || campo == QLatin1String("PRZMAX"))
                return QColor(0, 0, 128);
            if (campo == QLatin1String("VLRPRM"))
                return QColor(0, 128, 0);
            return {};
        case Qt::BackgroundRole:
            if (campo == QLatin1String("DESPRO") || campo == QLatin1String("VLRPRM"))
                return QApplication::palette().color(QPalette::ToolTipBase);
            return {};
        default:
            return {};
        }
    });

    auto *ok = new QPushButton(QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(titulo);
    layout->addWidget(dbgPromocao, 1);
    layout->addLayout(rodape);
    resize(640, 360);
}

F511PRM::~F511PRM() = default;
