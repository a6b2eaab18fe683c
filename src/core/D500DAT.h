#pragma once

#include "FirebirdConnection.h"
#include "Mensagem.h"
#include "Sessao.h"

#include <QDate>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

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
    TClientDataSetPlus *cdsLogado = nullptr;
    TClientDataSetPlus *cdsUSUERRO = nullptr;

    QStringList logAtualizacao;
    QStringList scriptEnvio;

    // --- message box ---
    void setMessagePresenter(MessagePresenter *presenter); // not owned; nullptr restores default
    MessagePresenter *messagePresenter() const { return m_presenter; }
    RespostaMensagem exibeMensagem(const QString &text, TipoMensagem kind, CorMensagem colour,
                                   BotoesMensagem buttons = BotoesMensagem::Ok);

    // Runs a user action; an unhandled DatabaseError (or other failure) ends it with the
    // engine's message in the generic error box. Returns false when the action failed.
    bool executaAcao(const std::function<void()> &action);

    // --- shared routines ---
    QString proximoCodigo(const QString &table, const QString &column, const QString &condition);
    void geraInsercoes(const QString &targetTable, const QString &sequence, double moment,
                       const QString &query, const QString &columns);
    void ajustaSeparadores(bool statementForm);
    static QString somenteNumeros(const QString &text);
    static QString reduzDigitos(const QString &text);
    static bool validaCpfCnpj(const QString &kind, const QString &number);
    static QString geraSenhaLiberacao(const QString &orderNumber, const QString &sellerCode,
                                      const QDate &orderDate);
    static QString embaralhaSenha(const QString &text);

    // --- session ---
    void carregaUsuario();

private:
    MessagePresenter *m_presenter = nullptr;
};
