#include "U500ATS.h"

#include "D500DAT.h"
#include "DialogoSenha.h"
#include "TrocaSenha.h"

#include <QLineEdit>
#include <QPushButton>

F500ATS::F500ATS(QWidget *parent)
    : QDialog(parent)
{
    BitBtn1 = DialogoSenha::botao(this, QStringLiteral("selecionar"), QStringLiteral("OK"), QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    const QList<QLineEdit *> edits = DialogoSenha::monta(
        this, QStringLiteral("F500ATS"), QStringLiteral("ALTERAÇÃO SENHA"), QStringLiteral("senha"),
        {{QStringLiteral("Senha :"), QStringLiteral("EDSENHA"), true},
         {QStringLiteral("Confirmação :"), QStringLiteral("edCONFsenha"), true}},
        {BitBtn1});
    EDSENHA = edits.at(0);
    edCONFsenha = edits.at(1);

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
    const auto resultado = TrocaSenha::valida(nova, edCONFsenha->text(), dat.sessao.SENUSU);
    if (resultado != TrocaSenha::Resultado::Aceita) {
        recusa(TrocaSenha::mensagem(resultado));
        return;
    }
    // A failing statement shows the engine's message and keeps the window open.
    const bool gravada = dat.executaAcao([&] {
        TrocaSenha::grava(dat.cnxFirebird, nova);
        dat.carregaUsuario();
    });
    if (gravada)
        accept();
}
