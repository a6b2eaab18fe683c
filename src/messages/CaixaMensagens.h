#pragma once

#include "Mensagem.h"

#include <QDate>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

class D500DAT;
class TClientDataSetPlus;

// The internal messages of the logged user: the received and sent lists, the recipients of the
// message being written, writing, rewriting and deleting an unsent message, and the read mark.
// Every value reaches SQL as a bound parameter.
class CaixaMensagens
{
public:
    static const QString kSelectMSGEnviadas;
    static const QString kSelectUsuarios;
    static const QString kSelectDestinatario;
    static const QString kDeleteDestinatarios;
    static const QString kDeleteMensagem;
    static const QString kInsertMensagem;
    static const QString kUpdateMensagemLida;

    static constexpr int kTamanhoAssunto = 50;
    static constexpr int kTamanhoTexto = 200;

    // A refusal shown to the user; empty when the action went through.
    struct Recusa
    {
        QString texto;
        TipoMensagem tipo = TipoMensagem::Informacao;
        CorMensagem cor = CorMensagem::Azul;
        explicit operator bool() const { return !texto.isEmpty(); }
    };

    // What the message page shows for an opened message.
    struct Conteudo
    {
        QString remetente;
        QString assunto;
        QString texto;
        bool editavel = false;
        QString usuarioSelecionado; // key shown in the user list; empty for no selection
    };

    explicit CaixaMensagens(D500DAT &dat);
    ~CaixaMensagens();

    TClientDataSetPlus &cdsMSGRecebidas() const { return *m_recebidas; }
    TClientDataSetPlus &cdsMSGEnviadas() const { return *m_enviadas; }
    TClientDataSetPlus &cdsUsuarios() const { return *m_usuarios; }
    TClientDataSetPlus &cdsDestinatario() const { return *m_destinatario; }

    QString codMensagem() const { return m_codMensagem; }
    bool marcaLida() const { return m_marcaLida; }
    bool descartaDestinatarios() const { return m_descartaDestinatarios; }

    // The list page: users, received and sent messages reopened.
    void abreListas();
    // A new message: the next number of the company, with the recipients already written for it.
    Conteudo novaMensagem();
    // The current row of the received (or sent) list; nothing when the list is empty.
    std::optional<Conteudo> abreRecebida();
    std::optional<Conteudo> abreEnviada();

    // Recipients of the message being written; a user already among them is not added again.
    Recusa adicionaUsuario(const QString &codUsu);
    Recusa adicionaTodos();
    void removeDestinatario();
    void limpaDestinatarios();

    // Writes (or rewrites) the message as unsent, dated `hoje`.
    Recusa envia(const QString &assunto, const QString &texto, const QDate &hoje);
    // Leaving the message page: the read mark, and a given-up new message loses its recipients.
    void volta();

    // The question before deleting the current sent message; empty when it cannot be deleted
    // (no row, or already sent).
    QString perguntaExclusao() const;
    void exclui();

private:
    QVariantMap chave(const QString &codMsg) const;
    void reabreDestinatario();
    void gravaDestinatario(const QString &codUsu);
    bool ehDestinatario(const QString &codUsu) const;

    D500DAT &m_dat;
    // The window's own copy of the data module's received list: the main window's reminder
    // opens and closes that one.
    std::unique_ptr<TClientDataSetPlus> m_recebidas;
    std::unique_ptr<TClientDataSetPlus> m_enviadas;
    std::unique_ptr<TClientDataSetPlus> m_usuarios;
    std::unique_ptr<TClientDataSetPlus> m_destinatario;
    QString m_codMensagem;
    bool m_marcaLida = false;
    bool m_descartaDestinatarios = false;
};
