#include "U500LOG.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Encerramento.h"
#include "EstiloSenha.h"
#include "Icones.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString primeiroUsuario(const QString &field)
{
    TClientDataSetPlus *logado = D500DAT::instance()->cdsLogado;
    if (!logado->active() || logado->isEmpty())
        return {};
    logado->first();
    return logado->isNull(field) ? QString() : logado->asString(field);
}
} // namespace

F500LOG::F500LOG(QWidget *parent)
    : F500LOG(primeiroUsuario(QStringLiteral("NOMUSU")), primeiroUsuario(QStringLiteral("SENUSU")), parent)
{
}

F500LOG::F500LOG(const QString &nomeUsuario, const QString &senhaEmbaralhada, QWidget *parent)
    : QDialog(parent)
    , m_regras(nomeUsuario, senhaEmbaralhada)
{
    montaTela();
    edusuario->setText(m_regras.nomeInicial());
    edsenha->clear();
}

F500LOG::~F500LOG() = default;

void F500LOG::montaTela()
{
    setObjectName(QStringLiteral("F500LOG"));
    setWindowTitle(QStringLiteral("LOGIN"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::CustomizeWindowHint);
    QPalette branco = palette();
    branco.setColor(QPalette::Window, Qt::white);
    setPalette(branco);
    setAutoFillBackground(true);

    auto *figura = new QLabel(this);
    figura->setPixmap(Icones::imagem(QStringLiteral("login"), QSize(96, 96), devicePixelRatioF()));
    figura->setAlignment(Qt::AlignCenter);

    auto *rotuloUsuario = new QLabel(QStringLiteral("Usuário :"), this);
    edusuario = new QLineEdit(this);
    edusuario->setObjectName(QStringLiteral("edusuario"));
    edusuario->setMaxLength(30);
    rotuloUsuario->setBuddy(edusuario);
    auto *rotuloSenha = new QLabel(QStringLiteral("Senha :"), this);
    edsenha = new QLineEdit(this);
    edsenha->setObjectName(QStringLiteral("edsenha"));
    edsenha->setMaxLength(30);
    EstiloSenha::aplica(edsenha);
    rotuloSenha->setBuddy(edsenha);

    BitBtn1 = new QPushButton(Icones::icone(QStringLiteral("selecionar")), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(Icones::icone(QStringLiteral("cancelar")), QStringLiteral("Cancelar"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    for (QPushButton *b : {BitBtn1, BitBtn2}) {
        b->setIconSize(QSize(20, 20));
        b->setMinimumWidth(96);
    }

    auto *campos = new QVBoxLayout;
    campos->addWidget(rotuloUsuario);
    campos->addWidget(edusuario);
    campos->addSpacing(6);
    campos->addWidget(rotuloSenha);
    campos->addWidget(edsenha);
    campos->addStretch(1);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(BitBtn1);
    botoes->addWidget(BitBtn2);
    campos->addLayout(botoes);

    auto *principal = new QHBoxLayout(this);
    principal->setContentsMargins(16, 16, 16, 16);
    principal->setSpacing(16);
    principal->addWidget(figura);
    principal->addLayout(campos, 1);
    setFixedSize(principal->sizeHint().expandedTo(QSize(400, 0)));

    connect(BitBtn1, &QPushButton::clicked, this, &F500LOG::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &F500LOG::BitBtn2Click);
}

void F500LOG::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edsenha->setFocus();
}

void F500LOG::BitBtn1Click()
{
    D500DAT &dat = *D500DAT::instance();
    if (m_regras.confirma(edusuario->text(), edsenha->text()) == LoginRules::Resultado::Aceito) {
        accept();
        return;
    }
    dat.exibeMensagem(LoginRules::mensagemInvalido(), TipoMensagem::Erro, CorMensagem::Vermelho);
    edsenha->clear();
    edsenha->setFocus();
    if (m_regras.esgotadas()) {
        dat.exibeMensagem(LoginRules::mensagemEsgotadas(), TipoMensagem::Erro, CorMensagem::Vermelho);
        Encerramento::encerraPrograma();
        QDialog::reject();
    }
}

void F500LOG::BitBtn2Click()
{
    reject();
}

void F500LOG::reject()
{
    // Cancel, Escape and the close box all abandon the login, which ends the program.
    Encerramento::encerraPrograma();
    QDialog::reject();
}
