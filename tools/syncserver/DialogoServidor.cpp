#include "DialogoServidor.h"

#include "ArquivoZip.h"
#include "DatabaseError.h"
#include "EnquadramentoBinario.h"
#include "InspecaoZip.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <utility>

namespace {

const QString saudacao = QStringLiteral("#KORVEX#");
const QString versao = QStringLiteral("#VERSAO#");
const QString usuarioSenha = QStringLiteral("#USUSENHA#");
const QString separadorSenha = QStringLiteral("#SEN$#");
const QString endereco = QStringLiteral("#GRV_SERVER#");
const QString temDados = QStringLiteral("#TEMDADOS#");
const QString geraDados = QStringLiteral("#GERADADOS#");
const QString processa = QStringLiteral("#PROCESSA#");

QString descricao(const std::exception &e)
{
    if (const auto *banco = dynamic_cast<const DatabaseError *>(&e))
        return banco->message();
    return QString::fromUtf8(e.what());
}

} // namespace

DialogoServidor::DialogoServidor(ServicosServidor &servicos, Configuracao configuracao, QObject *parent)
    : QObject(parent)
    , m_servicos(servicos)
    , m_configuracao(std::move(configuracao))
{
    m_agendador = [this](std::chrono::milliseconds espera, std::function<void()> acao) {
        QTimer::singleShot(espera, this, std::move(acao));
    };
    m_prazo.setSingleShot(true);
    m_prazo.setInterval(m_configuracao.prazoResposta);
    connect(&m_prazo, &QTimer::timeout, this, &DialogoServidor::prazoEsgotado);
}

DialogoServidor::~DialogoServidor() = default;

void DialogoServidor::defineAgendador(Agendador agendador)
{
    m_agendador = std::move(agendador);
}

void DialogoServidor::executaNoLugar(QObject *, std::function<void()> trabalho, Conclusao conclusao)
{
    QString erro;
    try {
        trabalho();
    } catch (const std::exception &e) {
        erro = descricao(e);
    }
    conclusao(erro);
}

void DialogoServidor::executaEmSegundoPlano(QObject *contexto, std::function<void()> trabalho, Conclusao conclusao)
{
    auto promessa = std::make_shared<QPromise<QString>>();
    auto *observador = new QFutureWatcher<QString>(contexto);
    QObject::connect(observador, &QFutureWatcher<QString>::finished, contexto, [observador, conclusao] {
        const QString erro = observador->future().resultCount() > 0 ? observador->result() : QStringLiteral("interrompido");
        observador->deleteLater();
        conclusao(erro);
    });
    observador->setFuture(promessa->future());
    promessa->start();
    QThreadPool::globalInstance()->start([promessa, trabalho = std::move(trabalho)] {
        QString erro;
        try {
            trabalho();
        } catch (const std::exception &e) {
            erro = descricao(e);
        } catch (...) {
            erro = QStringLiteral("falha desconhecida");
        }
        promessa->addResult(erro);
        promessa->finish();
    });
}

void DialogoServidor::executa(std::function<void()> trabalho, std::function<void()> sucesso, const QString &descricaoFalha)
{
    const quint64 geracao = m_geracao;
    m_executor(this, std::move(trabalho), [this, geracao, sucesso = std::move(sucesso), descricaoFalha](const QString &erro) {
        if (geracao != m_geracao)
            return; // the notebook left meanwhile
        if (!erro.isEmpty()) {
            falha(descricaoFalha + QStringLiteral(": ") + erro);
            return;
        }
        sucesso();
    });
}

// --- events of the owner ---

void DialogoServidor::inicia()
{
    emit registro(QStringLiteral("Conexão aceita; aguardando a saudação."));
    aguarda(Estado::AguardandoSaudacao);
}

void DialogoServidor::recebe(const QByteArray &bytes)
{
    switch (m_estado) {
    case Estado::Encerrado:
    case Estado::Processando:
    case Estado::Gerando:
    case Estado::Enviando:
        // Nothing is expected from the notebook now.
        return;
    case Estado::RecebendoScript:
        m_prazo.start();
        trataBinario(bytes);
        return;
    default:
        break;
    }
    m_prazo.start();
    m_texto.append(bytes);
    if (m_texto.size() > m_configuracao.tamanhoMaximoMensagem) {
        falha(QStringLiteral("mensagem maior que %1 bytes").arg(m_configuracao.tamanhoMaximoMensagem));
        return;
    }
    const QString mensagem = TextCodec::fromWindows1252(m_texto);
    const QStringList tokens = esperados();
    for (const QString &token : tokens) {
        if (mensagem.startsWith(token)) {
            m_texto.clear();
            trataTexto(mensagem);
            return;
        }
    }
    // A token cut by the network: wait for the rest of it.
    for (const QString &token : tokens) {
        if (token.startsWith(mensagem))
            return;
    }
    falha(QStringLiteral("resposta inesperada \"%1\" (esperava %2)").arg(mensagem.left(80), tokens.join(QStringLiteral(" ou "))));
}

void DialogoServidor::desconectado()
{
    if (m_estado == Estado::Encerrado)
        return;
    emit registro(QStringLiteral("O notebook encerrou a conexão antes do fim."));
    m_prazo.stop();
    ++m_geracao;
    m_estado = Estado::Encerrado;
    m_pasta.reset();
}

// --- the dialogue ---

QStringList DialogoServidor::esperados() const
{
    switch (m_estado) {
    case Estado::AguardandoSaudacao:
        return {saudacao};
    case Estado::AguardandoVersao:
        return {versao};
    case Estado::AguardandoSenha:
        return {usuarioSenha};
    case Estado::AguardandoEndereco:
        return {endereco};
    case Estado::AguardandoDados:
        return {temDados, geraDados};
    case Estado::AguardandoProcessamento:
        return {processa};
    case Estado::AguardandoGeracao:
        return {geraDados};
    case Estado::RecebendoScript:
    case Estado::Processando:
    case Estado::Gerando:
    case Estado::Enviando:
    case Estado::Encerrado:
        break;
    }
    return {};
}

void DialogoServidor::trataTexto(const QString &mensagem)
{
    switch (m_estado) {
    case Estado::AguardandoSaudacao:
        recebeSaudacao(mensagem);
        return;
    case Estado::AguardandoVersao:
        recebeVersao(mensagem);
        return;
    case Estado::AguardandoSenha:
        recebeSenha(mensagem);
        return;
    case Estado::AguardandoEndereco:
        recebeEndereco(mensagem);
        return;
    case Estado::AguardandoDados:
        recebeDados(mensagem);
        return;
    case Estado::AguardandoProcessamento:
        recebeProcessa(mensagem);
        return;
    case Estado::AguardandoGeracao:
        recebeGeraDados(mensagem);
        return;
    default:
        return;
    }
}

void DialogoServidor::recebeSaudacao(const QString &mensagem)
{
    emit registro(QStringLiteral("Saudação %1").arg(mensagem));
    responde(versao);
    aguarda(Estado::AguardandoVersao);
}

void DialogoServidor::recebeVersao(const QString &mensagem)
{
    const QString recebida = mensagem.mid(versao.size());
    if (recebida != m_configuracao.versao) {
        emit registro(QStringLiteral("Versão %1 recusada; esperada %2.").arg(recebida, m_configuracao.versao));
        responde(QStringLiteral("#INCORRETO#") + m_configuracao.versao);
        finaliza();
        return;
    }
    responde(QStringLiteral("#SENHA#"));
    aguarda(Estado::AguardandoSenha);
}

void DialogoServidor::recebeSenha(const QString &mensagem)
{
    const qsizetype posicao = mensagem.indexOf(separadorSenha, usuarioSenha.size());
    if (posicao < 0) {
        falha(QStringLiteral("usuário e senha sem o separador #SEN$#"));
        return;
    }
    const QString nome = mensagem.mid(usuarioSenha.size(), posicao - usuarioSenha.size());
    const QString senha = mensagem.mid(posicao + separadorSenha.size());
    try {
        m_usuario = m_servicos.autentica(nome, senha);
    } catch (const std::exception &e) {
        falha(QStringLiteral("falha ao validar o usuário %1: %2").arg(nome, descricao(e)));
        return;
    }
    if (!m_usuario) {
        emit registro(QStringLiteral("Usuário ou senha inválido: %1.").arg(nome));
        responde(QStringLiteral("#USOINCORRETO#"));
        finaliza();
        return;
    }
    emit registro(QStringLiteral("Usuário %1 aceito (empresa %2, usuário %3).")
                      .arg(m_usuario->NOMUSU, m_usuario->CODEMP, m_usuario->CODUSU));
    responde(QStringLiteral("#END_SERVER#") + m_usuario->CODEMP + u'#' + m_usuario->CODUSU);
    aguarda(Estado::AguardandoEndereco);
}

void DialogoServidor::recebeEndereco(const QString &mensagem)
{
    const QString texto = mensagem.mid(endereco.size()).trimmed();
    try {
        m_servicos.gravaServidor(*m_usuario, texto);
    } catch (const std::exception &e) {
        falha(QStringLiteral("falha ao gravar o endereço do servidor: %1").arg(descricao(e)));
        return;
    }
    responde(QStringLiteral("#DADOS#") + m_usuario->CODEMP + u'#' + m_usuario->CODUSU);
    aguarda(Estado::AguardandoDados);
}

void DialogoServidor::recebeDados(const QString &mensagem)
{
    if (mensagem.startsWith(temDados)) {
        responde(QStringLiteral("#ENVIAR#"));
        m_cabecalho.clear();
        m_pacote.clear();
        m_tamanhoEsperado = 0;
        aguarda(Estado::RecebendoScript);
        return;
    }
    recebeGeraDados(mensagem);
}

void DialogoServidor::recebeProcessa(const QString &mensagem)
{
    if (!codigosConferem(mensagem, processa)) {
        falha(QStringLiteral("\"%1\" com códigos de outro usuário").arg(mensagem));
        return;
    }
    m_estado = Estado::Processando;
    m_prazo.stop();
    auto executados = std::make_shared<int>(0);
    executa([servicos = &m_servicos, usuario = *m_usuario, linhas = std::exchange(m_linhas, {}), executados] {
                *executados = servicos->executaScript(usuario, linhas);
            },
            [this, executados] {
                emit registro(QStringLiteral("Script executado: %1 comandos.").arg(*executados));
                responde(QStringLiteral("#PROCESSADO#"));
                aguarda(Estado::AguardandoGeracao);
            },
            QStringLiteral("falha ao executar o script"));
}

void DialogoServidor::recebeGeraDados(const QString &mensagem)
{
    if (!codigosConferem(mensagem, geraDados)) {
        falha(QStringLiteral("\"%1\" com códigos de outro usuário").arg(mensagem));
        return;
    }
    iniciaGeracao();
}

bool DialogoServidor::codigosConferem(const QString &mensagem, const QString &token) const
{
    return m_usuario && mensagem == token + m_usuario->CODEMP + u'#' + m_usuario->CODUSU;
}

// --- the upload ---

void DialogoServidor::trataBinario(QByteArray bytes)
{
    if (m_cabecalho.size() < EnquadramentoBinario::tamanhoCabecalho) {
        const qsizetype usados = std::min<qsizetype>(EnquadramentoBinario::tamanhoCabecalho - m_cabecalho.size(), bytes.size());
        m_cabecalho.append(bytes.first(usados));
        bytes.remove(0, usados);
        if (m_cabecalho.size() < EnquadramentoBinario::tamanhoCabecalho)
            return;
        m_tamanhoEsperado = EnquadramentoBinario::leCabecalho(m_cabecalho);
        if (m_tamanhoEsperado <= 0 || m_tamanhoEsperado > m_configuracao.tamanhoMaximoPacote) {
            falha(QStringLiteral("tamanho anunciado do pacote inválido: %1").arg(m_tamanhoEsperado));
            return;
        }
        m_pacote.reserve(m_tamanhoEsperado);
    }
    if (bytes.size() > m_tamanhoEsperado - m_pacote.size()) {
        falha(QStringLiteral("o pacote passou do tamanho anunciado (%1 bytes)").arg(m_tamanhoEsperado));
        return;
    }
    m_pacote.append(bytes);
    if (m_pacote.size() == m_tamanhoEsperado)
        concluiRecebimentoScript();
}

void DialogoServidor::concluiRecebimentoScript()
{
    const QString pasta = pastaTrabalho();
    if (pasta.isEmpty()) {
        falha(QStringLiteral("não foi possível criar a pasta de trabalho"));
        return;
    }
    const QString nome = m_usuario->nomePacote();
    const QString arquivoPacote = QDir(pasta).filePath(nome + QStringLiteral(".KXD"));
    const QString arquivoScript = QDir(pasta).filePath(nome + QStringLiteral(".SCP"));
    {
        QFile arquivo(arquivoPacote);
        if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(m_pacote) != m_pacote.size()) {
            falha(QStringLiteral("não foi possível gravar %1").arg(arquivoPacote));
            return;
        }
    }
    m_pacote.clear();
    m_pacote.squeeze();

    const qint64 declarado = InspecaoZip::tamanhoDeclarado(arquivoPacote, nome + QStringLiteral(".SCP"));
    if (declarado > m_configuracao.tamanhoMaximoScript) {
        falha(QStringLiteral("script de %1 bytes passa do limite").arg(declarado));
        return;
    }
    const ArquivoZip::Resultado extraido = ArquivoZip::extrai(arquivoPacote, nome + QStringLiteral(".SCP"), arquivoScript);
    if (!extraido.ok()) {
        falha(QStringLiteral("pacote recebido ilegível: %1").arg(extraido.detalhe));
        return;
    }
    QFile script(arquivoScript);
    if (!script.open(QIODevice::ReadOnly)) {
        falha(QStringLiteral("não foi possível ler %1").arg(arquivoScript));
        return;
    }
    const QString texto = TextCodec::fromWindows1252(script.readAll());
    script.close();
    QFile::remove(arquivoScript);
    QFile::remove(arquivoPacote);

    m_linhas.clear();
    const QStringList linhas = texto.split(QLatin1Char('\n'));
    for (QString linha : linhas) {
        if (linha.endsWith(u'\r'))
            linha.chop(1);
        if (!linha.trimmed().isEmpty())
            m_linhas << linha;
    }
    emit registro(QStringLiteral("Script recebido: %1 linhas.").arg(m_linhas.size()));
    responde(QStringLiteral("#RECEBIDO#"));
    aguarda(Estado::AguardandoProcessamento);
}

// --- the download ---

void DialogoServidor::iniciaGeracao()
{
    responde(QStringLiteral("#GERANDO#"));
    m_estado = Estado::Gerando;
    m_prazo.stop();
    // The notebook does not answer "#GERANDO#": the pause keeps "#ENVIANDO#" out of its read.
    agenda([this] { geraEEnviaPacote(); });
}

void DialogoServidor::geraEEnviaPacote()
{
    const QString pasta = pastaTrabalho();
    if (pasta.isEmpty()) {
        falha(QStringLiteral("não foi possível criar a pasta de trabalho"));
        return;
    }
    const QString arquivoPacote = QDir(pasta).filePath(QStringLiteral("ORVALIS.KXD"));
    executa([servicos = &m_servicos, usuario = *m_usuario, arquivoPacote] { servicos->geraPacote(usuario, arquivoPacote); },
            [this, arquivoPacote] { enviaPacote(arquivoPacote); }, QStringLiteral("falha ao gerar a base do usuário"));
}

void DialogoServidor::enviaPacote(const QString &arquivoPacote)
{
    QByteArray pacote;
    {
        QFile arquivo(arquivoPacote);
        if (!arquivo.open(QIODevice::ReadOnly)) {
            falha(QStringLiteral("não foi possível ler ") + arquivoPacote);
            return;
        }
        pacote = arquivo.readAll();
    }
    QFile::remove(arquivoPacote);
    emit registro(QStringLiteral("Base %1.FDB gerada: pacote de %2 bytes.").arg(m_usuario->nomePacote()).arg(pacote.size()));

    responde(QStringLiteral("#ENVIANDO#"));
    m_estado = Estado::Enviando;
    agenda([this, pacote = std::move(pacote)] {
        emit envia(EnquadramentoBinario::enquadra(pacote));
        m_pacoteEnviado = true;
        emit registro(QStringLiteral("Pacote enviado."));
        finaliza();
    });
}

// --- helpers ---

QString DialogoServidor::pastaTrabalho()
{
    if (!m_pasta) {
        const QString modelo = QDir(m_configuracao.pastaTrabalho.isEmpty() ? QDir::tempPath() : m_configuracao.pastaTrabalho)
                                   .filePath(QStringLiteral("korvex-sincronizacao-XXXXXX"));
        QDir().mkpath(QFileInfo(modelo).path());
        m_pasta = std::make_unique<QTemporaryDir>(modelo);
    }
    return m_pasta->isValid() ? m_pasta->path() : QString();
}

void DialogoServidor::responde(const QString &token)
{
    emit envia(TextCodec::toWindows1252(token));
}

void DialogoServidor::aguarda(Estado estado)
{
    m_estado = estado;
    m_texto.clear();
    m_prazo.start();
}

void DialogoServidor::agenda(std::function<void()> acao)
{
    const quint64 geracao = m_geracao;
    m_agendador(m_configuracao.pausa, [this, geracao, acao = std::move(acao)] {
        if (geracao == m_geracao)
            acao();
    });
}

void DialogoServidor::falha(const QString &motivo)
{
    emit registro(QStringLiteral("ERRO: ") + motivo);
    // After "#ENVIANDO#" the notebook reads bytes of the package, not tokens.
    if (m_estado != Estado::Enviando)
        responde(QStringLiteral("#ERRO#"));
    finaliza();
}

void DialogoServidor::finaliza()
{
    m_prazo.stop();
    ++m_geracao;
    m_estado = Estado::Encerrado;
    m_texto.clear();
    m_pacote.clear();
    m_linhas.clear();
    m_pasta.reset();
    emit encerra();
}

void DialogoServidor::prazoEsgotado()
{
    if (m_estado == Estado::Encerrado || m_estado == Estado::Processando || m_estado == Estado::Gerando
        || m_estado == Estado::Enviando)
        return;
    falha(QStringLiteral("o notebook não respondeu em %1 s").arg(m_configuracao.prazoResposta.count() / 1000.0));
}
