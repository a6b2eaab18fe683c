#pragma once

#include "U599CAD.h"

#include <memory>

class CaixaMensagens;
class GradeDados;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QWidget;

// "Mensagens": the received and sent lists, and the page on which a message is read or
// written with its recipients.
class F599MSG : public F599CAD
{
    Q_OBJECT
public:
    explicit F599MSG(QWidget *parent = nullptr);
    ~F599MSG() override;

    CaixaMensagens &caixa() const { return *m_caixa; }

    // The handlers, each run through the one error boundary by its control.
    void tbsListaShow();
    void btNovaMensagemClick();
    void dbgRecebidasDblClick();
    void dbgEnviadasDblClick();
    void btAdicionarClick();
    void btAdicionarTodosClick();
    void btLimparClick();
    void btLimparTodosClick();
    void btEnviarClick();
    void btVoltarClick();
    void btExcluirClick();

    // The key of the user chosen in "Para :" (empty for none), and choosing one by key.
    QString usuarioEscolhido() const;
    void escolheUsuario(const QString &codUsu);

    QStackedWidget *pcMensagens = nullptr;
    QWidget *tbsLista = nullptr;
    QWidget *tbsMensagem = nullptr;
    GradeDados *dbgRecebidas = nullptr;
    GradeDados *dbgEnviadas = nullptr;
    QPushButton *btNovaMensagem = nullptr;
    QPushButton *btExcluir = nullptr;
    QLineEdit *edDe = nullptr;
    QLineEdit *edAssunto = nullptr;
    QPlainTextEdit *edMensagem = nullptr;
    QComboBox *lcbUsuarios = nullptr;
    GradeDados *dbgDestinatario = nullptr;
    QPushButton *btAdicionar = nullptr;
    QPushButton *btLimpar = nullptr;
    QPushButton *btAdicionarTodos = nullptr;
    QPushButton *btLimparTodos = nullptr;
    QPushButton *btEnviar = nullptr;
    QPushButton *btVoltar = nullptr;

private:
    void montaLista();
    void montaMensagem();
    void mostraMensagem(bool editavel);
    void limitaTexto();

    std::unique_ptr<CaixaMensagens> m_caixa;
};
