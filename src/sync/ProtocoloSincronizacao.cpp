#include "ProtocoloSincronizacao.h"

#include "AcoesSincronizacao.h"
#include "ArquivoScript.h"
#include "ArquivoZip.h"
#include "EnquadramentoBinario.h"
#include "LinhasStatus.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

namespace {

const QString arquivoRecebidoNome = QStringLiteral("ORVALIS.KXD");

enum class Teste {
    Igual,  // the whole message
    Contem, // anywhere in the message
    Inicia, // the message starts with the token (what follows belongs to it)
};

bool passa(Teste teste, const QString &token, const QString &mensagem)
{
    switch (teste) {
    case Teste::Igual:
        return mensagem == token;
    case Teste::Contem:
        return mensagem.contains(token);
    case Teste::Inicia:
        return mensagem.startsWith(token);
    }
    return false;
}

bool somenteDigitos(const QString &texto)
{
    return !texto.isEmpty()
           && std::all_of(texto.cbegin(), texto.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

ProtocoloSincronizacao::ProtocoloSincronizacao(AcoesSincronizacao &acoes, QObject *parent)
    : QObject(parent)
    , m_acoes(acoes)
{
    m_agendador = [this](std::chrono::milliseconds espera, std::function<void()> acao) {
        QTimer::singleShot(espera, this, std::move(acao));
    };
}

ProtocoloSincronizacao::~ProtocoloSincronizacao() = default;

void ProtocoloSincronizacao::definePastaPrograma(const QString &pasta)
{
    m_pasta = pasta;
}

QString ProtocoloSincronizacao::pastaPrograma() const
{
    return m_pasta.isEmpty() ? QDir::currentPath() : m_pasta;
}

void ProtocoloSincronizacao::defineAgendador(Agendador agendador)
{
    m_agendador = std::move(agendador);
}

void ProtocoloSincronizacao::defineLimiteEspera(int ticks)
{
    m_limiteEspera = std::max(1, ticks);
}

void ProtocoloSincronizacao::defineTamanhoMaximo(qint64 bytes)
{
    m_tamanhoMaximo = bytes;
}

QString ProtocoloSincronizacao::arquivoRecebido() const
{
    return QDir(pastaPrograma()).filePath(arquivoRecebidoNome);
}

bool ProtocoloSincronizacao::emAndamento() const
{
    switch (m_estado) {
    case Estado::Conectando:
    case Estado::Dialogo:
    case Estado::AguardandoTamanho:
    case Estado::Recebendo:
        return true;
    case Estado::Parado:
    case Estado::Substituindo:
    case Estado::Encerrado:
        return false;
    }
    return false;
}

bool ProtocoloSincronizacao::emDialogo() const
{
    return m_estado == Estado::Conectando || m_estado == Estado::Dialogo;
}

void ProtocoloSincronizacao::agenda(std::function<void()> acao)
{
    const quint64 geracao = m_geracao;
    m_agendador(esperaEnvio, [this, geracao, acao = std::move(acao)] {
        if (geracao == m_geracao)
            acao();
    });
}

// --- events of the owner ---

void ProtocoloSincronizacao::inicia(const SessaoSincronizacao &sessao)
{
    if (emAndamento())
        emit fechaConexao();
    // An interrupted download must not turn the next exchange's tokens into package bytes.
    descartaRecebimento();
    ++m_geracao;
    m_sessao = sessao;
    m_enviaSaudacao = true;
    m_fim = false;
    m_sucesso = false;
    m_contadorEspera = 0;
    m_tamanhoEsperado = 0;
    m_recebidos = 0;
    m_estado = Estado::Conectando;
    m_fase = Fase::Saudacao;
    m_ultimaResposta = Resposta::Nenhuma;
    m_pacoteConfirmado = false;
    m_empresaSaudacao = sessao.CODEMP;
    m_usuarioSaudacao = sessao.CODUSU;
}

void ProtocoloSincronizacao::conectado()
{
    if (m_estado != Estado::Conectando)
        return;
    m_estado = Estado::Dialogo;
    if (m_enviaSaudacao)
        agenda([this] { enviaSaudacao(); });
}

void ProtocoloSincronizacao::receber(const QByteArray &bytes)
{
    if (!emAndamento())
        return;
    m_contadorEspera = 0;
    if (m_estado == Estado::AguardandoTamanho || m_estado == Estado::Recebendo)
        trataBinario(bytes);
    else
        trataMensagem(bytes);
}

void ProtocoloSincronizacao::erroConexao()
{
    if (emAndamento())
        encerraComFalha(LinhasStatus::erroConexao);
}

void ProtocoloSincronizacao::tick()
{
    if (!emAndamento())
        return;
    if (++m_contadorEspera >= m_limiteEspera)
        encerraComFalha(LinhasStatus::erroComunicacao);
}

void ProtocoloSincronizacao::cancela()
{
    if (m_estado == Estado::Parado)
        return;
    if (emAndamento())
        emit fechaConexao();
    descartaRecebimento();
    ++m_geracao;
    m_enviaSaudacao = false;
    m_estado = Estado::Parado;
}

void ProtocoloSincronizacao::interrompe(const QString &linha)
{
    if (emAndamento())
        encerraComFalha(linha);
}

// --- the dialogue ---

void ProtocoloSincronizacao::trataMensagem(const QByteArray &bruto)
{
    // When a token may come: at any moment, as the answer to one reply of ours, or in one
    // place of the dialogue.
    enum class Quando { Sempre, Resposta, Fase };
    struct Linha
    {
        QString token;
        Teste teste;
        Acao acao;
        Quando quando;
        Fase fase = Fase::Identificacao;
        Resposta resposta = Resposta::Nenhuma;
    };
    // The server's tokens in the order they are tested; every row whose test passes acts.
    static const Linha tabela[] = {
        {QStringLiteral("#ERRO#"), Teste::Igual, &ProtocoloSincronizacao::recebeErro, Quando::Sempre},
        // A refusal that empties the notebook is taken only as the answer to its password.
        {QStringLiteral("#USOINCORRETO#"), Teste::Contem, &ProtocoloSincronizacao::recebeUsoIncorreto,
         Quando::Resposta, Fase::Identificacao, Resposta::Senha},
        {QStringLiteral("#INCORRETO#"), Teste::Contem, &ProtocoloSincronizacao::recebeIncorreto, Quando::Resposta,
         Fase::Identificacao, Resposta::Versao},
        {QStringLiteral("#VERSAO#"), Teste::Igual, &ProtocoloSincronizacao::recebeVersao, Quando::Fase,
         Fase::Identificacao},
        {QStringLiteral("#SENHA#"), Teste::Igual, &ProtocoloSincronizacao::recebeSenha, Quando::Fase,
         Fase::Identificacao},
        {QStringLiteral("#END_SERVER#"), Teste::Contem, &ProtocoloSincronizacao::recebeEndServer, Quando::Fase,
         Fase::Identificacao},
        {QStringLiteral("#DADOS#"), Teste::Contem, &ProtocoloSincronizacao::recebeDados, Quando::Fase,
         Fase::Identificacao},
        {QStringLiteral("#ENVIAR#"), Teste::Igual, &ProtocoloSincronizacao::recebeEnviar, Quando::Fase,
         Fase::AguardaEnviar},
        {QStringLiteral("#RECEBIDO#"), Teste::Igual, &ProtocoloSincronizacao::recebeRecebido, Quando::Fase,
         Fase::AguardaRecebido},
        {QStringLiteral("#PROCESSADO#"), Teste::Igual, &ProtocoloSincronizacao::recebeProcessado, Quando::Fase,
         Fase::AguardaProcessado},
        {QStringLiteral("#GERANDO#"), Teste::Igual, &ProtocoloSincronizacao::recebeGerando, Quando::Fase,
         Fase::AguardaGerando},
        // A package that follows "#ENVIANDO#" in the same read belongs to the download.
        {QStringLiteral("#ENVIANDO#"), Teste::Inicia, &ProtocoloSincronizacao::recebeEnviando, Quando::Fase,
         Fase::AguardaEnviando},
    };

    const QString mensagem = TextCodec::fromWindows1252(bruto);
    const quint64 geracao = m_geracao;
    for (const Linha &linha : tabela) {
        if (!passa(linha.teste, linha.token, mensagem))
            continue;
        const bool emOrdem = linha.quando == Quando::Sempre
                             || (linha.quando == Quando::Resposta && m_ultimaResposta == linha.resposta)
                             || (linha.quando == Quando::Fase && m_fase == linha.fase);
        if (!emOrdem) {
            encerraComFalha(LinhasStatus::erroRecebimento);
            return;
        }
        m_ultimaResposta = Resposta::Nenhuma;
        (this->*linha.acao)(mensagem, bruto);
        // A burst of tokens stops at the one that ended, cancelled or switched to the download.
        if (geracao != m_geracao || !emDialogo())
            return;
    }
}

void ProtocoloSincronizacao::recebeErro(const QString &, const QByteArray &)
{
    encerraComFalha(LinhasStatus::erroRecebimento);
}

void ProtocoloSincronizacao::recebeUsoIncorreto(const QString &, const QByteArray &)
{
    if (!m_acoes.esvaziaBaseLocal())
        return;
    // The session is empty now, as the emptied database: no codes to put back.
    m_empresaSaudacao = m_sessao.CODEMP;
    m_usuarioSaudacao = m_sessao.CODUSU;
    encerraComFalha(LinhasStatus::usuarioInvalido);
}

void ProtocoloSincronizacao::recebeIncorreto(const QString &mensagem, const QByteArray &)
{
    QString versao = mensagem;
    versao.remove(versao.indexOf(QStringLiteral("#INCORRETO#")), 11);
    encerraComFalha(LinhasStatus::versaoIncorreta(versao));
    emit versaoIncorreta(versao);
}

void ProtocoloSincronizacao::recebeVersao(const QString &, const QByteArray &)
{
    responde(QStringLiteral("#VERSAO#") + m_sessao.versao);
    m_ultimaResposta = Resposta::Versao;
}

void ProtocoloSincronizacao::recebeSenha(const QString &, const QByteArray &)
{
    registra(LinhasStatus::validandoUsuario);
    responde(QStringLiteral("#USUSENHA#") + m_sessao.usuarioAtualizacao.toUpper() + QStringLiteral("#SEN$#")
             + m_sessao.senhaAtualizacao);
    m_ultimaResposta = Resposta::Senha;
}

void ProtocoloSincronizacao::recebeEndServer(const QString &mensagem, const QByteArray &)
{
    if (!defineCodigos(mensagem, QStringLiteral("#END_SERVER#")))
        return;
    responde(QStringLiteral("#GRV_SERVER#") + m_sessao.HSTSRV);
}

void ProtocoloSincronizacao::recebeDados(const QString &mensagem, const QByteArray &)
{
    if (!defineCodigos(mensagem, QStringLiteral("#DADOS#")))
        return;
    registra(LinhasStatus::usuarioOk);
    const quint64 geracao = m_geracao;
    const bool temDados = m_acoes.geraPacoteEnvio();
    if (geracao != m_geracao)
        return;
    if (temDados) {
        m_fase = Fase::AguardaEnviar;
        responde(QStringLiteral("#TEMDADOS#"));
    } else {
        m_fase = Fase::AguardaGerando;
        registra(LinhasStatus::semInformacoes);
        responde(QStringLiteral("#GERADADOS#") + empresaUsuario());
    }
}

void ProtocoloSincronizacao::recebeEnviar(const QString &, const QByteArray &)
{
    const QDir pasta(pastaPrograma());
    const QString nome = m_sessao.nomePacote();
    const QString arquivoScript = pasta.filePath(nome + QStringLiteral(".SCP"));
    const QString arquivoPacote = pasta.filePath(nome + QStringLiteral(".KXD"));
    // Nothing can be sent: end now rather than leave the server and the user waiting for the
    // watchdog.
    if (!ArquivoScript::grava(arquivoScript, m_acoes.scriptEnvio())
        || !ArquivoZip::compacta(arquivoScript, arquivoPacote).ok()) {
        encerraComFalha(LinhasStatus::erroComunicacao);
        return;
    }
    m_fase = Fase::Enviando;
    agenda([this, arquivoPacote] { enviaArquivoPacote(arquivoPacote); });
}

void ProtocoloSincronizacao::enviaArquivoPacote(const QString &arquivoPacote)
{
    QFile arquivo(arquivoPacote);
    if (!arquivo.open(QIODevice::ReadOnly)) {
        encerraComFalha(LinhasStatus::erroComunicacao);
        return;
    }
    m_fase = Fase::AguardaRecebido;
    emit envia(EnquadramentoBinario::enquadra(arquivo.readAll()));
}

void ProtocoloSincronizacao::recebeRecebido(const QString &, const QByteArray &)
{
    m_pacoteConfirmado = true;
    m_fase = Fase::AguardaProcessado;
    m_acoes.esvaziaScriptEnvio();
    registra(LinhasStatus::processando);
    responde(QStringLiteral("#PROCESSA#") + empresaUsuario());
}

void ProtocoloSincronizacao::recebeProcessado(const QString &, const QByteArray &)
{
    m_fase = Fase::AguardaGerando;
    responde(QStringLiteral("#GERADADOS#") + empresaUsuario());
}

void ProtocoloSincronizacao::recebeGerando(const QString &, const QByteArray &)
{
    m_fase = Fase::AguardaEnviando;
    // Only what the server confirmed having received is marked; with nothing sent there is
    // nothing to mark.
    if (m_pacoteConfirmado && !m_acoes.marcaEnviados())
        return;
    registra(LinhasStatus::gerando);
}

void ProtocoloSincronizacao::recebeEnviando(const QString &, const QByteArray &bruto)
{
    registra(LinhasStatus::recebendo);
    descartaRecebimento();
    m_estado = Estado::AguardandoTamanho;
    const QByteArrayView resto = QByteArrayView(bruto).sliced(QByteArrayView("#ENVIANDO#").size());
    if (!resto.isEmpty())
        trataBinario(resto);
}

void ProtocoloSincronizacao::enviaSaudacao()
{
    if (m_sessao.CODUSU.isEmpty()) {
        m_sessao.CODEMP = QStringLiteral("0");
        m_sessao.CODUSU = QStringLiteral("0");
        m_acoes.codigosAlterados(m_sessao.CODEMP, m_sessao.CODUSU);
    }
    m_empresaSaudacao = m_sessao.CODEMP;
    m_usuarioSaudacao = m_sessao.CODUSU;
    m_fase = Fase::Identificacao;
    responde(QStringLiteral("#KORVEX#") + empresaUsuario());
    m_enviaSaudacao = false;
}

// The codes follow the token as emp#usu. They name files and go into statements, so only
// integer codes are taken; the user code ends at the next "#", which keeps a token that came in
// the same read out of it.
bool ProtocoloSincronizacao::defineCodigos(const QString &mensagem, const QString &token)
{
    const QString resto = mensagem.mid(mensagem.indexOf(token) + token.size());
    const QString empresa = resto.section(u'#', 0, 0).trimmed();
    const QString usuario = resto.section(u'#', 1, 1).trimmed();
    if (!somenteDigitos(empresa) || !somenteDigitos(usuario)) {
        encerraComFalha(LinhasStatus::erroRecebimento);
        return false;
    }
    m_sessao.CODEMP = empresa;
    m_sessao.CODUSU = usuario;
    m_acoes.codigosAlterados(empresa, usuario);
    return true;
}

// --- the download ---

void ProtocoloSincronizacao::trataBinario(QByteArrayView bytes)
{
    if (m_estado == Estado::AguardandoTamanho) {
        const qsizetype falta = EnquadramentoBinario::tamanhoCabecalho - m_cabecalho.size();
        const qsizetype usados = std::min(falta, bytes.size());
        m_cabecalho.append(bytes.first(usados));
        bytes = bytes.sliced(usados);
        if (m_cabecalho.size() < EnquadramentoBinario::tamanhoCabecalho)
            return;

        m_tamanhoEsperado = EnquadramentoBinario::leCabecalho(m_cabecalho);
        m_cabecalho.clear();
        // A length that can never be completed would leave the user waiting for the watchdog.
        if (m_tamanhoEsperado <= 0 || m_tamanhoEsperado > m_tamanhoMaximo) {
            encerraComFalha(LinhasStatus::erroRecebimento);
            return;
        }
        m_recebimento = std::make_unique<QSaveFile>(arquivoRecebido());
        if (!m_recebimento->open(QIODevice::WriteOnly)) {
            encerraComFalha(LinhasStatus::erroRecebimento);
            return;
        }
        m_recebidos = 0;
        m_estado = Estado::Recebendo;
        emit progresso(0, m_tamanhoEsperado);
        // Bytes that came with the length are the package's first bytes: no new read event
        // will announce them.
        if (bytes.isEmpty())
            return;
    }

    if (bytes.size() > m_tamanhoEsperado - m_recebidos) {
        encerraComFalha(LinhasStatus::erroRecebimento);
        return;
    }
    if (m_recebimento->write(bytes.data(), bytes.size()) != bytes.size()) {
        encerraComFalha(LinhasStatus::erroRecebimento);
        return;
    }
    m_recebidos += bytes.size();
    emit progresso(m_recebidos, m_tamanhoEsperado);
    if (m_recebidos == m_tamanhoEsperado)
        concluiRecebimento();
}

void ProtocoloSincronizacao::concluiRecebimento()
{
    const bool gravado = m_recebimento->commit();
    m_recebimento.reset();
    m_estado = Estado::Substituindo;
    emit fechaConexao();
    emit progresso(0, m_tamanhoEsperado);
    if (!gravado) {
        registra(LinhasStatus::erroRecebimento);
        encerra(false);
        return;
    }
    registra(LinhasStatus::extraindo);

    const quint64 geracao = m_geracao;
    const ResultadoSubstituicao resultado = m_acoes.substituiBase(arquivoRecebido(), m_sessao.nomePacote());
    if (geracao != m_geracao)
        return;
    switch (resultado) {
    case ResultadoSubstituicao::Sucesso:
        registra(LinhasStatus::sucesso);
        encerra(true);
        return;
    case ResultadoSubstituicao::ErroExtraindo:
        registra(LinhasStatus::erroExtraindo);
        break;
    case ResultadoSubstituicao::ErroAbrindo:
        registra(LinhasStatus::erroAbrindo);
        break;
    }
    encerra(false);
}

// --- helpers ---

QString ProtocoloSincronizacao::empresaUsuario() const
{
    return m_sessao.CODEMP + QLatin1Char('#') + m_sessao.CODUSU;
}

void ProtocoloSincronizacao::responde(const QString &texto)
{
    emit envia(TextCodec::toWindows1252(texto));
}

void ProtocoloSincronizacao::registra(const QString &linha)
{
    emit linhaStatus(linha);
}

void ProtocoloSincronizacao::encerra(bool sucesso)
{
    if (!sucesso)
        restauraCodigos();
    descartaRecebimento();
    ++m_geracao;
    m_estado = Estado::Encerrado;
    m_fim = true;
    m_sucesso = sucesso;
    emit finalizado(sucesso);
}

void ProtocoloSincronizacao::encerraComFalha(const QString &linha)
{
    emit fechaConexao();
    registra(linha);
    encerra(false);
}

// Codes the server gave in an exchange that failed are not the notebook's: the session goes
// back to those of the hello.
void ProtocoloSincronizacao::restauraCodigos()
{
    if (m_sessao.CODEMP == m_empresaSaudacao && m_sessao.CODUSU == m_usuarioSaudacao)
        return;
    m_sessao.CODEMP = m_empresaSaudacao;
    m_sessao.CODUSU = m_usuarioSaudacao;
    m_acoes.codigosAlterados(m_empresaSaudacao, m_usuarioSaudacao);
}

void ProtocoloSincronizacao::descartaRecebimento()
{
    if (m_recebimento) {
        m_recebimento->cancelWriting();
        m_recebimento.reset();
    }
    m_cabecalho.clear();
}
