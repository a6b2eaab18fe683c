#include "DialogoSenha.h"

#include "EstiloSenha.h"
#include "Icones.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace DialogoSenha {

QPushButton *botao(QDialog *dialogo, const QString &icone, const QString &texto, const QString &nome)
{
    auto *b = new QPushButton(Icones::icone(icone), texto, dialogo);
    b->setObjectName(nome);
    b->setIconSize(QSize(20, 20));
    b->setMinimumWidth(96);
    return b;
}

QList<QLineEdit *> monta(QDialog *dialogo, const QString &nome, const QString &titulo, const QString &figura,
                         const QList<Campo> &campos, const QList<QPushButton *> &botoes)
{
    dialogo->setObjectName(nome);
    dialogo->setWindowTitle(titulo);
    dialogo->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                            | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    QPalette branco = dialogo->palette();
    branco.setColor(QPalette::Window, Qt::white);
    dialogo->setPalette(branco);
    dialogo->setAutoFillBackground(true);

    auto *imagem = new QLabel(dialogo);
    imagem->setPixmap(Icones::imagem(figura, QSize(96, 96), dialogo->devicePixelRatioF()));
    imagem->setAlignment(Qt::AlignCenter);

    QList<QLineEdit *> edits;
    auto *coluna = new QVBoxLayout;
    for (const Campo &campo : campos) {
        if (!edits.isEmpty())
            coluna->addSpacing(6);
        auto *rotulo = new QLabel(campo.rotulo, dialogo);
        auto *edit = new QLineEdit(dialogo);
        edit->setObjectName(campo.nome);
        edit->setMaxLength(30);
        if (campo.senha)
            EstiloSenha::aplica(edit);
        rotulo->setBuddy(edit);
        coluna->addWidget(rotulo);
        coluna->addWidget(edit);
        edits << edit;
    }
    coluna->addStretch(1);
    auto *linhaBotoes = new QHBoxLayout;
    linhaBotoes->addStretch(1);
    for (QPushButton *b : botoes)
        linhaBotoes->addWidget(b);
    coluna->addLayout(linhaBotoes);

    auto *principal = new QHBoxLayout(dialogo);
    principal->setContentsMargins(16, 16, 16, 16);
    principal->setSpacing(16);
    principal->addWidget(imagem);
    principal->addLayout(coluna, 1);
    dialogo->setFixedSize(principal->sizeHint().expandedTo(QSize(400, 0)));
    return edits;
}

} // namespace DialogoSenha
