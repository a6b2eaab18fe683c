#include "U500LOG.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DialogoSenha.h"
#include "Encerramento.h"

#include <QLineEdit>
#include <QPushButton>

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
    BitBtn1 = DialogoSenha::botao(this, QStringLiteral("selecionar"), QStringLiteral("OK"), QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = DialogoSenha::botao(this, QStringLiteral("cancelar"), QStringLiteral("Cancelar"), QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    const QList<QLineEdit *> edits = DialogoSenha::monta(
        this, QStringLiteral("F500LOG"), QStringLiteral("LOGIN"), QStringLiteral("login"),
        {{QStringLiteral("Usuário :"), QStringLiteral("edusuario"), false},
         {QStringLiteral("Senha :"), QStringLiteral("edsenha"), true}},
        {BitBtn1, BitBtn2});
    edusuario = edits.at(0);
    edsenha = edits.at(1);

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
    if (m_regras.confirma(edusuario->text(), edsenha->text()) == RegrasLogin::Resultado::Aceito) {
        accept();
        return;
    }
    dat.exibeMensagem(RegrasLogin::mensagemInvalido(), TipoMensagem::Erro, CorMensagem::Vermelho);
    edsenha->clear();
    edsenha->setFocus();
    if (m_regras.esgotadas()) {
        dat.exibeMensagem(RegrasLogin::mensagemEsgotadas(), TipoMensagem::Erro, CorMensagem::Vermelho);
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
