#pragma once

#include "AcoesSincronizacao.h"
#include "PendentesEnvio.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ConexaoSincronizacao;
class D500DAT;
class OrcamentosSincronizacao;
class PacoteEnvio;
class ProtocoloSincronizacao;
struct Sessao;
struct SessaoSincronizacao;

// The data module's side of a synchronisation, shared by the sync window and the headless
// command: starts an exchange from the session and what the user typed, keeps logAtualizacao,
// builds the package, marks what was sent, swaps the received database in and restores the
// budget orders. The window or the command drives the watchdog with tick().
class ClienteSincronizacao : public QObject, public AcoesSincronizacao
{
    Q_OBJECT
public:
    // pasta: the program folder (the working folder when empty); versao: the program version
    // answered to the server (the text after the first blank of "Versão: 1.0.2.6").
    ClienteSincronizacao(D500DAT &dat, const QString &versao, const QString &pasta = QString(),
                         QObject *parent = nullptr);
    ~ClienteSincronizacao() override;

    // What is missing before an exchange can start; checked in this order.
    enum class Falta { Nada, Servidor, Usuario, Senha };
    // A notebook with a configured user needs nothing typed but the server it already knows.
    static Falta verificaEntrada(const Sessao &sessao, const QString &servidor, const QString &usuario,
                                 const QString &senha);
    static QString mensagemFalta(Falta falta);

    // The values one exchange speaks with: the configured user's name and stored (scrambled)
    // password, the previous one while a changed password is not yet on the server; or the
    // typed user name and the scrambled typed password.
    static SessaoSincronizacao sessaoDaAtualizacao(const Sessao &sessao, const QString &servidor,
                                                   const QString &usuario, const QString &senha,
                                                   const QString &versao);

    // "Atualizar": empties logAtualizacao, logs the start, deletes what an interrupted download
    // left in the program folder, records the server address in the session and opens the
    // connection. False, with the connection setup line logged, when the
    // configured port is not a port number or the connection cannot be set up.
    bool iniciaAtualizacao(const QString &servidor, const QString &usuario, const QString &senha);
    // "Cancelar": closes the connection without a status line.
    void cancela();
    // One watchdog tick (500 ms).
    void tick();

    bool emAndamento() const;
    bool fimAtualizacao() const;
    bool sucesso() const;

    // "Pendentes de envio": what the next package will carry. Throws DatabaseError.
    QList<GrupoPendentes> pendentes() const;
    // What the package of the last successful exchange carried; empty until one succeeds.
    QList<GrupoPendentes> enviados() const { return sucesso() ? m_pacoteLido : QList<GrupoPendentes>(); }

    ProtocoloSincronizacao &protocolo() { return *m_protocolo; }
    ConexaoSincronizacao &conexao() { return *m_conexao; }
    OrcamentosSincronizacao &orcamentos() { return *m_orcamentos; }
    QString pastaPrograma() const;

    // The package moment; the clock by default (tests fix it).
    std::function<QDateTime()> relogio;
    // Runs after the user accepted the download of a new version (opens the vendor's
    // address and ends the program); nothing happens when it is empty.
    std::function<void()> aoBaixarNovaVersao;

    // AcoesSincronizacao
    void codigosAlterados(const QString &codigoEmpresa, const QString &codigoUsuario) override;
    bool geraPacoteEnvio() override;
    QStringList scriptEnvio() const override;
    void esvaziaScriptEnvio() override;
    bool esvaziaBaseLocal() override;
    bool marcaEnviados() override;
    ResultadoSubstituicao substituiBase(const QString &arquivoRecebido, const QString &nomePacote) override;

signals:
    // A status line was appended to logAtualizacao.
    void linhaStatus(const QString &linha);
    // Position and maximum of the download's progress.
    void progresso(qint64 recebidos, qint64 total);
    // The exchange ended; true only after the new database is in place.
    void finalizado(bool sucesso);

private:
    void registra(const QString &linha);
    void perguntaNovaVersao(const QString &versaoEsperada);
    void mostraErroSocket(int codigo, const QString &mensagem);

    D500DAT &m_dat;
    QString m_versao;
    QString m_pasta;
    std::unique_ptr<OrcamentosSincronizacao> m_orcamentos;
    std::unique_ptr<PacoteEnvio> m_pacote;
    std::unique_ptr<ProtocoloSincronizacao> m_protocolo;
    std::unique_ptr<ConexaoSincronizacao> m_conexao;
    // The rows of this exchange's package, read as it was built.
    QList<GrupoPendentes> m_pacoteLido;
};
