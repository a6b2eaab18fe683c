#include "U500ATS.h"

#include "D500DAT.h"
#include "EstiloSenha.h"
#include "Icones.h"
#include "PasswordChange.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

F500ATS::F500ATS(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("F500ATS"));
    setWindowTitle(QStringLiteral("ALTERAÇÃO SENHA"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::CustomizeWindowHint);
    QPalette branco = palette();
    branco.setColor(QPalette::Window, Qt::white);
    setPalette(branco);
    setAutoFillBackground(true);

    auto *figura = new QLabel(this);
    figura->setPixmap(Icones::imagem(QStringLiteral("senha"), QSize(96, 96), devicePixelRatioF()));
    figura->setAlignment(Qt::AlignCenter);

    auto *rotuloSenha = new QLabel(QStringLiteral("Senha :"), this);
    EDSENHA = new QLineEdit(this);
    EDSENHA->setObjectName(QStringLiteral("EDSENHA"));
    EDSENHA->setMaxLength(30);
    EstiloSenha::aplica(EDSENHA);
    rotuloSenha->setBuddy(EDSENHA);
    auto *rotuloConfirmacao = new QLabel(QStringLiteral("Confirmação :"), this);
    edCONFsenha = new QLineEdit(this);
    edCONFsenha->setObjectName(QStringLiteral("edCONFsenha"));
    edCONFsenha->setMaxLength(30);
    EstiloSenha::aplica(edCONFsenha);
    rotuloConfirmacao->setBuddy(edCONFsenha);

    BitBtn1 = new QPushButton(Icones::icone(QStringLiteral("selecionar")), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setIconSize(QSize(20, 20));
    BitBtn1->setMinimumWidth(96);

    auto *campos = new QVBoxLayout;
    campos->addWidget(rotuloSenha);
    campos->addWidget(EDSENHA);
    campos->addSpacing(6);
    campos->addWidget(rotuloConfirmacao);
    campos->addWidget(edCONFsenha);
    campos->addStretch(1);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(BitBtn1);
    campos->addLayout(botoes);

    auto *principal = new QHBoxLayout(this);
    principal->setContentsMargins(16, 16, 16, 16);
    principal->setSpacing(16);
    principal->addWidget(figura);
    principal->addLayout(campos, 1);
    setFixedSize(principal->sizeHint().expandedTo(QSize(400, 0)));

    connect(BitBtn1, &QPushButton::clicked, this, &F500ATS::BitBtn1Click);
}

F500ATS::~F500ATS() = default;

void F500ATS::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    EDSENHA->setFocus();
}

void F500ATS::recusa(const QString &text)
{
    D500DAT::instance()->exibeMensagem(text, TipoMensagem::Informacao, CorMensagem::Vermelho);
    EDSENHA->clear();
    edCONFsenha->clear();
    EDSENHA->setFocus();
}

void F500ATS::BitBtn1Click()
{
    D500DAT &dat = *D500DAT::instance();
    const QString nova = EDSENHA->text();
    const auto resultado = PasswordChange::valida(nova, edCONFsenha->text(), dat.sessao.SENUSU);
    if (resultado != PasswordChange::Resultado::Aceita) {
        recusa(PasswordChange::mensagem(resultado));
        return;
    }
    // A failing statement shows the engine's message and keeps the window open.
    const bool gravada = dat.executaAcao([&] {
        PasswordChange::grava(dat.cnxFirebird, nova);
        dat.carregaUsuario();
    });
    if (gravada)
        accept();
}
