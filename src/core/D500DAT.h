#pragma once

#include "FirebirdConnection.h"
#include "Mensagem.h"
#include "SenhaLiberacao.h"
#include "Sessao.h"

#include <QDate>
#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QDateTime;
class TClientDataSetPlus;

// The data module created first and living for the whole run: the connection, the session,
// the general-purpose datasets and the shared routines every window calls.
class D500DAT : public QObject
{
    Q_OBJECT
public:
    explicit D500DAT(QObject *parent = nullptr);
    ~D500DAT() override;

    // The single instance (set by the constructor).
    static D500DAT *instance();

    FirebirdConnection cnxFirebird;
    Sessao sessao;

    TClientDataSetPlus *cdsComando = nullptr;
    TClientDataSetPlus *cdsAtualiza = nullptr;
    TClientDataSetPlus *cdsLogado = nullptr;  // "Select * from F599USU"
    TClientDataSetPlus *cdsUSUERRO = nullptr; // the seven columns every F599USU has

    QStringList logAtualizacao;
    QStringList scriptEnvio;

    // --- message box ---
    // Not owned; nullptr restores the default, which writes the message to stderr and answers
    // OK (or No). The program's main installs the window-backed MessageBoxPresenter.
    void setMessagePresenter(MessagePresenter *presenter);
    MessagePresenter *messagePresenter() const { return m_presenter; }
    RespostaMensagem exibeMensagem(const QString &text, TipoMensagem kind, CorMensagem colour,
                                   BotoesMensagem buttons = BotoesMensagem::Ok);

    // Runs a user action; an unhandled DatabaseError (or other failure) ends it with the
    // engine's message in the generic error box (error, red, OK), and AcaoInterrompida ends it
    // silently. The separators are back in display form afterwards. Returns false when the
    // action did not run to its end.
    bool executaAcao(const std::function<void()> &action);

    // --- shared routines ---
    // " Select COALESCE(MAX(column),0) CODIGO FROM table WHERE condition" plus one, as text.
    // The condition is statement text: build its values with SqlText::quoted. Throws DatabaseError.
    QString proximoCodigo(const QString &table, const QString &column, const QString &condition);
    // Appends one INSERT ... SELECT ... FROM DUAL line per row of the query to scriptEnvio.
    // moment: the package moment (see momentoNumero), 0 for no CODNOW column. On a failure shows
    // the statement built so far and the error text, skips the remaining rows and returns false.
    bool geraInsercoes(const QString &targetTable, const QString &sequence, double moment,
                       const QString &query, const QString &columns);
    void ajustaSeparadores(bool statementForm);
    static QString somenteNumeros(const QString &text);
    static QString reduzDigitos(const QString &text);
    static bool validaCpfCnpj(const QString &kind, const QString &number);
    static QString geraSenhaLiberacao(const QString &orderNumber, const QString &sellerCode,
                                      const QDate &orderDate);
    static QString embaralhaSenha(const QString &text);
    // True when the password comes back unchanged from scrambling and unscrambling: no blank
    // or control character at its ends and only characters the alphabets hold. A password
    // that fails this could be stored but never typed again.
    static bool senhaPreservada(const QString &password);
    // The four scrambling alphabets A, B, C and D (shared with the server).
    static const std::array<QString, 4> &alfabetosSenha();

    // A date-time as the package moment: days since 30/12/1899, time as fraction.
    static double momentoNumero(const QDateTime &moment);

    // --- session ---
    // Closes and opens cdsLogado; throws DatabaseError when the table lacks one of the 18
    // columns of the session (an older file: the caller falls back to carregaUsuarioMinimo).
    void abreLogado();
    // Reloads the session from the first row of F599USU (defaults when the table is empty).
    void carregaUsuario();
    // The start-up fallback: CODUSU, NOMUSU, SENUSU, HSTSRV, CODCCU, CODVEN and CODEMP from
    // cdsUSUERRO; the other session values are left as they are.
    void carregaUsuarioMinimo();

private:
    MessagePresenter *m_presenter = nullptr;
};

// The program's data module, for the windows that use it throughout.
inline D500DAT &dat()
{
    return *D500DAT::instance();
}
