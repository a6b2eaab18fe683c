#pragma once

#include "U599CAD.h"

#include <functional>
#include <memory>

class BonificacoesSupervisor;
class GradeDados;
class MovimentacaoFlex;
class QCheckBox;
class QComboBox;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QWidget;

// "Acesso Supervisor": a menu of three tools, the bonus orders to decide, the flex movements
// between sellers, and the release code of a seller's order.
class F512SUP : public F599CAD
{
    Q_OBJECT
public:
    explicit F512SUP(QWidget *parent = nullptr);
    ~F512SUP() override;

    BonificacoesSupervisor &bonificacoes() const { return *m_bonificacoes; }
    MovimentacaoFlex &movimentacao() const { return *m_movimentacao; }

    // The destination seller's search ("..."); tests replace it. Fills code and name.
    std::function<bool(QString &codigo, QString &nome)> escolheVendedor;

    // The handlers, each run through the one error boundary by its control.
    void btBonificacoesClick();
    void btMovimentacaoClick();
    void btSenhaClick();
    void voltaAoMenu();
    void btPesquisarClick();
    void dbgPesquisaDblClick();
    void decide(const QString &autorizacao);
    void btVoltarClick();
    void tbsMovimFlexShow();
    void rbmovimentacaoClick();
    void btpesvenClick();
    void btIncluirClick();
    void btExcluirClick();
    void tbsSenhaShow();
    void btGerarSenhaClick();

    QStackedWidget *pcSupervisor = nullptr;
    QWidget *tbsMenu = nullptr;
    QWidget *tbsBonificacao = nullptr;
    QWidget *tbsMovimFlex = nullptr;
    QWidget *tbsSenha = nullptr;
    // bonus
    QStackedWidget *pcBonificacao = nullptr;
    QWidget *tbsPesquisa = nullptr;
    QWidget *tbsInformacoes = nullptr;
    QCheckBox *cbVendedor = nullptr;
    QComboBox *lcbVendedor = nullptr;
    QCheckBox *cbData = nullptr;
    QLineEdit *edDataIni = nullptr;
    QLineEdit *edDataFim = nullptr;
    QButtonGroup *rgSituacao = nullptr;
    GradeDados *dbgPesquisa = nullptr;
    QLineEdit *edPedido = nullptr;
    QLineEdit *edData = nullptr;
    QLineEdit *edCodCli = nullptr;
    QLineEdit *edRazCli = nullptr;
    QLineEdit *edTransacao = nullptr;
    QLineEdit *edOperacao = nullptr;
    QLineEdit *edCondicao = nullptr;
    GradeDados *dbgItens = nullptr;
    QPushButton *btAprovar = nullptr;
    QPushButton *btNaoAprovar = nullptr;
    QPushButton *btVoltar = nullptr;
    // flex
    GradeDados *dbgVendedor = nullptr;
    QRadioButton *rbMovimentacao = nullptr;
    QRadioButton *rbAdiantamento = nullptr;
    QLineEdit *EDCODIGO = nullptr;
    QLineEdit *EDNOME = nullptr;
    QPushButton *btpesven = nullptr;
    QLineEdit *edValor = nullptr;
    QPushButton *btIncluir = nullptr;
    QPushButton *btExcluir = nullptr;
    GradeDados *dbgMovFlex = nullptr;
    // release code
    QComboBox *lcbVendedorSenha = nullptr;
    QLineEdit *edDataPedido = nullptr;
    QLineEdit *edNumPedido = nullptr;
    QLabel *lblSenha = nullptr;

private:
    QWidget *montaMenu();
    QWidget *montaBonificacao();
    QWidget *montaPesquisa();
    QWidget *montaInformacoes();
    QWidget *montaMovimentacao();
    QWidget *montaSenha();
    QString vendedorEscolhido(const QComboBox *lista) const;
    void acao(QPushButton *botao, void (F512SUP::*handler)());

    std::unique_ptr<BonificacoesSupervisor> m_bonificacoes;
    std::unique_ptr<MovimentacaoFlex> m_movimentacao;
};
