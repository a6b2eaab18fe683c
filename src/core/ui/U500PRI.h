#pragma once

#include <QMainWindow>

#include <functional>

class ModuleFrame;
class QFrame;
class QLabel;
class QMdiArea;
class QToolButton;

// The main window "Sistema de Korvex": header with the user and the age of the last update,
// the nine module buttons, the status bar; it runs the start-up (configuration, connection,
// login), the checks when it is shown and each time a module window closes, the forced
// password change and the closing question.
class F500PRI : public QMainWindow
{
    Q_OBJECT
public:
    // What the main window asks of windows and data modules outside the core. The program's
    // entry connects the data-module ones; tests replace the modal windows.
    struct Ganchos
    {
        std::function<bool(QWidget *parent)> login;           // F500LOG modally; true when OK
        std::function<void(QWidget *parent)> trocaSenha;      // F500ATS modally
        std::function<bool(const QString &codEmp)> mensagensNovas; // unread received messages
        std::function<void()> limpaClientePedido; // empties codCliPedido and codNovPedido
    };
    static Ganchos &ganchos();
    static void restauraGanchos();

    // Runs the creation steps (configuration, connection, login) before returning.
    explicit F500PRI(QWidget *parent = nullptr);
    ~F500PRI() override;

    static QString textoVersao(); // "Versão: 1.0.2.6", status-bar panel 1

    ModuleFrame *frame() const { return m_frame; }

    // The window's event handlers. FormShow runs from the event loop right after the first show.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void atualizaTelaPrincipal();

    void btClientesClick();
    void btProdutoClick();
    void btMensagemClick();
    void btPedidoClick();
    void btFinanceiroClick();
    void btRelatoriosClick();
    void btRoteiroClick();
    void btsupervisorClick();
    void btconexaoClick();
    void btFecharClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void montaTela();
    QToolButton *botaoModulo(const QString &name, const QString &caption, const QString &icon);
    void aplicaCorMenu(const QString &cor);
    void atualizaValidade();
    void atualizaCabecalho();
    bool recusaPorValidade();

    QLabel *lblusuario = nullptr;
    QLabel *lblatualizado = nullptr;
    QToolButton *btFechar = nullptr;
    QFrame *PMENU = nullptr;
    QMdiArea *m_area = nullptr;
    QLabel *m_paineis[3] = {nullptr, nullptr, nullptr};
    ModuleFrame *m_frame = nullptr;
    bool m_mostrado = false;
    bool m_trocandoSenha = false;
};
