#pragma once

#include "ServicosServidor.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryDir;

// The server's side of one synchronisation, without a socket: the owner hands it the bytes the
// notebook sends and carries out what it asks (bytes to send, the connection to close). It
// leads the dialogue one token at a time and waits for each reply before the next, and it
// never puts two tokens in one write: where the notebook does not answer ("#GERANDO#",
// "#ENVIANDO#") a pause separates them. Sizes are bounded and every wait for the notebook has
// a deadline; a failure of the server's own is answered with "#ERRO#".
class DialogoServidor : public QObject
{
    Q_OBJECT
public:
    enum class Estado {
        AguardandoSaudacao,      // "#KORVEX#" + emp + "#" + usu
        AguardandoVersao,        // after "#VERSAO#"
        AguardandoSenha,         // after "#SENHA#"
        AguardandoEndereco,      // after "#END_SERVER#"
        AguardandoDados,         // after "#DADOS#": "#TEMDADOS#" or "#GERADADOS#"
        RecebendoScript,         // after "#ENVIAR#": 8-byte length and the archive
        AguardandoProcessamento, // after "#RECEBIDO#": "#PROCESSA#"
        Processando,             // running the script; the notebook waits
        AguardandoGeracao,       // after "#PROCESSADO#": "#GERADADOS#"
        Gerando,                 // "#GERANDO#" sent, building the user's database
        Enviando,                // "#ENVIANDO#" sent, the package follows
        Encerrado,
    };

    struct Configuracao
    {
        QString versao;                                  // expected program version
        std::chrono::milliseconds pausa{300};            // between tokens the notebook does not answer
        // Longest wait for the notebook; building its package on a large database takes minutes.
        std::chrono::milliseconds prazoResposta{std::chrono::minutes(30)};
        qint64 tamanhoMaximoPacote = 64LL << 20;         // the uploaded archive
        qint64 tamanhoMaximoScript = 256LL << 20;        // the script inside it
        int tamanhoMaximoMensagem = 4096;                // one text token
        QString pastaTrabalho;                           // temporary files; the system's when empty
    };

    // Runs `acao` once after `espera` on the owner's event loop.
    using Agendador = std::function<void(std::chrono::milliseconds espera, std::function<void()> acao)>;
    // Runs the central database's work of one step (`trabalho`, which throws on a failure of
    // the server's own) and then `conclusao` on the owner's event loop with the failure's
    // description, empty on success. The conclusion never runs once the dialogue is destroyed.
    using Conclusao = std::function<void(const QString &erro)>;
    using Executor = std::function<void(QObject *contexto, std::function<void()> trabalho, Conclusao conclusao)>;
    // Runs the work in place (the default): one dialogue at a time.
    static void executaNoLugar(QObject *contexto, std::function<void()> trabalho, Conclusao conclusao);
    // Runs the work on the thread pool, so other dialogues go on meanwhile; the services must
    // accept calls from several threads.
    static void executaEmSegundoPlano(QObject *contexto, std::function<void()> trabalho, Conclusao conclusao);

    DialogoServidor(ServicosServidor &servicos, Configuracao configuracao, QObject *parent = nullptr);
    ~DialogoServidor() override;

    // Replaces the single-shot timer of the pauses (tests run them by hand).
    void defineAgendador(Agendador agendador);
    void defineExecutor(Executor executor) { m_executor = std::move(executor); }

    // Events of the owner.
    void inicia();                        // the connection was accepted
    void recebe(const QByteArray &bytes); // bytes from the notebook
    void desconectado();                  // the notebook closed or the connection failed

    Estado estado() const { return m_estado; }
    bool encerrado() const { return m_estado == Estado::Encerrado; }
    // The user accepted by "#SENHA#", if any.
    const std::optional<UsuarioServidor> &usuario() const { return m_usuario; }
    // True once the package was handed to the owner for sending.
    bool pacoteEnviado() const { return m_pacoteEnviado; }

signals:
    void envia(const QByteArray &bytes);
    // Close the connection once what was sent has been written.
    void encerra();
    // A line for the server's console.
    void registro(const QString &linha);

private:
    void trataTexto(const QString &mensagem);
    void trataBinario(QByteArray bytes);
    void recebeSaudacao(const QString &mensagem);
    void recebeVersao(const QString &mensagem);
    void recebeSenha(const QString &mensagem);
    void recebeEndereco(const QString &mensagem);
    void recebeDados(const QString &mensagem);
    void recebeProcessa(const QString &mensagem);
    void recebeGeraDados(const QString &mensagem);
    void concluiRecebimentoScript();
    void iniciaGeracao();
    void geraEEnviaPacote();
    void enviaPacote(const QString &arquivoPacote);
    // Runs a step's work through the executor; the conclusion is dropped when the dialogue
    // ended meanwhile.
    void executa(std::function<void()> trabalho, std::function<void()> sucesso, const QString &descricaoFalha);

    // The reply the current state waits for (its leading token), or several.
    QStringList esperados() const;
    bool codigosConferem(const QString &mensagem, const QString &token) const;
    QString pastaTrabalho();

    void responde(const QString &token);
    void aguarda(Estado estado);
    void agenda(std::function<void()> acao);
    void falha(const QString &motivo);
    void finaliza();
    void prazoEsgotado();

    ServicosServidor &m_servicos;
    Configuracao m_configuracao;
    Agendador m_agendador;
    Executor m_executor = &DialogoServidor::executaNoLugar;
    QTimer m_prazo;

    Estado m_estado = Estado::AguardandoSaudacao;
    std::optional<UsuarioServidor> m_usuario;
    QByteArray m_texto;       // bytes of a text reply not yet complete
    QByteArray m_cabecalho;   // bytes of the 8-byte length read so far
    qint64 m_tamanhoEsperado = 0;
    QByteArray m_pacote;      // the uploaded archive
    QStringList m_linhas;     // the uploaded script
    bool m_pacoteEnviado = false;
    // Bumped when the dialogue ends: a pause of an older state does nothing.
    quint64 m_geracao = 0;
    std::unique_ptr<QTemporaryDir> m_pasta;
};
