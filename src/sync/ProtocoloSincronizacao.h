#pragma once

#include "SessaoSincronizacao.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class AcoesSincronizacao;
class QSaveFile;

// The client side of the sync dialogue, without a socket: the owner feeds it the connection's
// events and received bytes; it answers through signals (bytes to send, connection to close,
// status lines, progress, the end of the exchange) and asks its owner for the data-module work
// through AcoesSincronizacao. Delays and the watchdog are driven from outside, so nothing
// here blocks the event loop.
class ProtocoloSincronizacao : public QObject
{
    Q_OBJECT
public:
    enum class Estado {
        Parado,            // no exchange, or cancelled
        Conectando,        // started, waiting for the connection
        Dialogo,           // exchanging tokens
        AguardandoTamanho, // after "#ENVIANDO#": the 8-byte length of the package
        Recebendo,         // the package's bytes
        Substituindo,      // download complete, the owner replaces the database
        Encerrado,         // ended, with success or failure
    };

    // Runs `acao` once after `espera` on the owner's event loop.
    using Agendador = std::function<void(std::chrono::milliseconds espera, std::function<void()> acao)>;

    static constexpr std::chrono::milliseconds esperaEnvio{1000}; // before the hello and the upload
    static constexpr int limiteEsperaPadrao = 600;                 // ticks of 500 ms: five minutes
    static constexpr qint64 tamanhoMaximoPadrao = 0x7FFFFFFF;      // 2 GiB

    explicit ProtocoloSincronizacao(AcoesSincronizacao &acoes, QObject *parent = nullptr);
    ~ProtocoloSincronizacao() override;

    // Folder of the script, the archives and ORVALIS.KXD; the working folder when empty.
    void definePastaPrograma(const QString &pasta);
    QString pastaPrograma() const;
    // Replaces the default single-shot timer (tests run delays by hand).
    void defineAgendador(Agendador agendador);
    // Watchdog ticks without data before the exchange ends.
    void defineLimiteEspera(int ticks);
    // Largest package length accepted from the server.
    void defineTamanhoMaximo(qint64 bytes);

    // Events of the owner. `inicia` starts over from any state (closing an open connection and
    // dropping an interrupted download); the owner then opens the connection.
    void inicia(const SessaoSincronizacao &sessao);
    void conectado();
    void receber(const QByteArray &bytes);
    void erroConexao();
    void tick(); // one watchdog tick (the sync window's 500 ms timer)
    void cancela();
    // The owner ends a running exchange with a status line (a failure of its own that the
    // exchange must not outlive). The connection is closed.
    void interrompe(const QString &linha);

    Estado estado() const { return m_estado; }
    // Started and not yet ended: socket events and watchdog ticks count.
    bool emAndamento() const;
    bool fimAtualizacao() const { return m_fim; }
    bool sucesso() const { return m_sucesso; }
    int contadorEspera() const { return m_contadorEspera; }
    const SessaoSincronizacao &sessao() const { return m_sessao; }
    qint64 tamanhoEsperado() const { return m_tamanhoEsperado; }
    qint64 bytesRecebidos() const { return m_recebidos; }
    // ORVALIS.KXD in the program folder: the received archive.
    QString arquivoRecebido() const;

signals:
    void envia(const QByteArray &bytes);
    void fechaConexao();
    // A status line; the owner appends it to logAtualizacao followed by an empty line.
    void linhaStatus(const QString &linha);
    // Bytes of the package received so far and its announced length (the progress bar's
    // position and maximum); (0, length) once the download is complete.
    void progresso(qint64 recebidos, qint64 total);
    // The exchange ended (fimAtualizacao); true only after the database was replaced.
    void finalizado(bool sucesso);
    // "#INCORRETO#": emitted after the exchange ended; the window offers the new version.
    void versaoIncorreta(const QString &versaoEsperada);

private:
    using Acao = void (ProtocoloSincronizacao::*)(const QString &mensagem, const QByteArray &bruto);

    // Where the dialogue stands: which token the server may send next. A token out of its
    // place ends the exchange before it acts.
    enum class Fase {
        Saudacao,          // the hello is not out yet: nothing may come
        Identificacao,     // "#VERSAO#", "#SENHA#", "#END_SERVER#", "#DADOS#"
        AguardaEnviar,     // "#TEMDADOS#" answered: "#ENVIAR#"
        Enviando,          // the package leaves after the delay: nothing may come
        AguardaRecebido,   // package sent: "#RECEBIDO#"
        AguardaProcessado, // "#PROCESSA#" answered: "#PROCESSADO#"
        AguardaGerando,    // "#GERADADOS#" answered: "#GERANDO#"
        AguardaEnviando,   // "#GERANDO#": "#ENVIANDO#" and the database
    };
    // The reply the last token got, for the refusals that answer it.
    enum class Resposta { Nenhuma, Versao, Senha };

    bool emDialogo() const;
    void agenda(std::function<void()> acao);

    void trataMensagem(const QByteArray &bruto);
    void trataBinario(QByteArrayView bytes);
    void concluiRecebimento();

    // One handler per row of the token table.
    void recebeErro(const QString &mensagem, const QByteArray &bruto);
    void recebeUsoIncorreto(const QString &mensagem, const QByteArray &bruto);
    void recebeIncorreto(const QString &mensagem, const QByteArray &bruto);
    void recebeVersao(const QString &mensagem, const QByteArray &bruto);
    void recebeSenha(const QString &mensagem, const QByteArray &bruto);
    void recebeEndServer(const QString &mensagem, const QByteArray &bruto);
    void recebeDados(const QString &mensagem, const QByteArray &bruto);
    void recebeEnviar(const QString &mensagem, const QByteArray &bruto);
    void recebeRecebido(const QString &mensagem, const QByteArray &bruto);
    void recebeProcessado(const QString &mensagem, const QByteArray &bruto);
    void recebeGerando(const QString &mensagem, const QByteArray &bruto);
    void recebeEnviando(const QString &mensagem, const QByteArray &bruto);

    void enviaSaudacao();
    void enviaArquivoPacote(const QString &arquivoPacote);
    bool defineCodigos(const QString &mensagem, const QString &token);
    QString empresaUsuario() const;
    void responde(const QString &texto);
    void registra(const QString &linha);
    void encerra(bool sucesso);
    void encerraComFalha(const QString &linha);
    void restauraCodigos();
    void descartaRecebimento();

    AcoesSincronizacao &m_acoes;
    Agendador m_agendador;
    QString m_pasta;
    int m_limiteEspera = limiteEsperaPadrao;
    qint64 m_tamanhoMaximo = tamanhoMaximoPadrao;

    SessaoSincronizacao m_sessao;
    Estado m_estado = Estado::Parado;
    Fase m_fase = Fase::Saudacao;
    Resposta m_ultimaResposta = Resposta::Nenhuma;
    // "#RECEBIDO#" came for this exchange's package: only then are its rows marked as sent.
    bool m_pacoteConfirmado = false;
    // The codes spoken in the hello: a failed exchange leaves the session with them.
    QString m_empresaSaudacao, m_usuarioSaudacao;
    bool m_enviaSaudacao = false;
    bool m_fim = false;
    bool m_sucesso = false;
    int m_contadorEspera = 0;
    // Bumped by every start, cancel and end: a delayed step of an older exchange does nothing.
    quint64 m_geracao = 0;

    QByteArray m_cabecalho; // bytes of the 8-byte length read so far
    qint64 m_tamanhoEsperado = 0;
    qint64 m_recebidos = 0;
    // The package goes straight to disk; it becomes ORVALIS.KXD only when complete.
    std::unique_ptr<QSaveFile> m_recebimento;
};
