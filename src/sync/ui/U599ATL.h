#pragma once

#include "U599CAD.h"

#include <QKeySequence>

class ClienteSincronizacao;
class QAction;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeWidget;

// "Atualizar Sistema": collects the server address (and, on a notebook without user, the user
// name and password), runs a synchronisation showing its status lines and download progress,
// watches it with a 500 ms timer, leads to the password change when the password expired, and
// carries the hidden reset of the local database. Beside the status lines, "Pendentes de envio"
// lists what the next package will carry and, after a successful exchange, what went up.
class F599ATL : public F599CAD
{
    Q_OBJECT
public:
    explicit F599ATL(QWidget *parent = nullptr);
    ~F599ATL() override;

    // The reset's shortcut for a user code: Ctrl+Alt and a letter chosen by the code's digits.
    static QKeySequence atalhoReinicio(const QString &codigoUsuario);

    // Where the installer of a new version is fetched.
    static QString enderecoNovaVersao();

    // The window's event handlers.
    void btAtualizarClick();
    void btFecharClick();
    void statusTimer();
    void Action1Execute();

    ClienteSincronizacao &cliente() { return *m_cliente; }
    QTimer &timer() { return *status; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void montaTela();
    void mostraLog();
    void voltaAoRepouso();
    void mostraProgresso(qint64 recebidos, qint64 total);
    // Fills the list: what went up after a successful exchange, otherwise what is pending.
    void mostraPendentes();

    QLineEdit *edservidor = nullptr;
    QLineEdit *edusuario = nullptr;
    QLineEdit *edsenha = nullptr;
    QTabWidget *pgAtualizacao = nullptr;
    QPlainTextEdit *mStatus = nullptr;
    QTreeWidget *dbgPendentes = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *btAtualizar = nullptr;
    QPushButton *btFechar = nullptr;
    QTimer *status = nullptr;
    QAction *Action1 = nullptr;
    ClienteSincronizacao *m_cliente = nullptr;
};
