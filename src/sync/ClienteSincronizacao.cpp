#include "ClienteSincronizacao.h"

#include "BaseLocalSincronizacao.h"
#include "ConexaoSincronizacao.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "LinhasStatus.h"
#include "OrcamentosSincronizacao.h"
#include "PacoteEnvio.h"
#include "ProtocoloSincronizacao.h"
#include "Relogio.h"
#include "ReposicaoBase.h"
#include "SessaoSincronizacao.h"

#include <QDir>

ClienteSincronizacao::ClienteSincronizacao(D500DAT &dat, const QString &versao, const QString &pasta,
                                           QObject *parent)
    : QObject(parent)
    , m_dat(dat)
    , m_versao(versao)
    , m_pasta(pasta)
    , m_orcamentos(std::make_unique<OrcamentosSincronizacao>(dat.cnxFirebird))
    , m_pacote(std::make_unique<PacoteEnvio>(dat, *m_orcamentos, pastaPrograma()))
    , m_protocolo(std::make_unique<ProtocoloSincronizacao>(*this))
    , m_conexao(std::make_unique<ConexaoSincronizacao>(*m_protocolo))
{
    relogio = [] { return Relogio::agora(); };
    m_protocolo->definePastaPrograma(pastaPrograma());
    connect(m_protocolo.get(), &ProtocoloSincronizacao::linhaStatus, this, &ClienteSincronizacao::registra);
    connect(m_protocolo.get(), &ProtocoloSincronizacao::progresso, this, &ClienteSincronizacao::progresso);
    connect(m_protocolo.get(), &ProtocoloSincronizacao::finalizado, this, &ClienteSincronizacao::finalizado);
    connect(m_protocolo.get(), &ProtocoloSincronizacao::versaoIncorreta, this,
            &ClienteSincronizacao::perguntaNovaVersao);
    connect(m_conexao.get(), &ConexaoSincronizacao::erroSocket, this, &ClienteSincronizacao::mostraErroSocket);
}

ClienteSincronizacao::~ClienteSincronizacao()
{
    // The socket goes first: its last events must not reach a half-destroyed owner.
    m_conexao.reset();
}

QString ClienteSincronizacao::pastaPrograma() const
{
    return m_pasta.isEmpty() ? QDir::currentPath() : m_pasta;
}

// ---------------------------------------------------------------- starting

ClienteSincronizacao::Falta ClienteSincronizacao::verificaEntrada(const Sessao &sessao, const QString &servidor,
                                                                  const QString &usuario, const QString &senha)
{
    if (!sessao.CODUSU.isEmpty())
        return Falta::Nada;
    if (servidor.isEmpty())
        return Falta::Servidor;
    if (usuario.isEmpty())
        return Falta::Usuario;
    if (senha.isEmpty())
        return Falta::Senha;
    return Falta::Nada;
}

QString ClienteSincronizacao::mensagemFalta(Falta falta)
{
    switch (falta) {
    case Falta::Servidor:
        return QStringLiteral("SERVIDOR DEVE SER PREECHIDO!");
    case Falta::Usuario:
        return QStringLiteral("USUÁRIO DEVE SER PREECHIDO!");
    case Falta::Senha:
        return QStringLiteral("SENHA DEVE SER PREECHIDA!");
    case Falta::Nada:
        break;
    }
    return QString();
}

SessaoSincronizacao ClienteSincronizacao::sessaoDaAtualizacao(const Sessao &sessao, const QString &servidor,
                                                              const QString &usuario, const QString &senha,
                                                              const QString &versao)
{
    SessaoSincronizacao s;
    s.CODEMP = sessao.CODEMP;
    s.CODUSU = sessao.CODUSU;
    s.HSTSRV = servidor;
    s.versao = versao;
    if (!sessao.CODUSU.isEmpty()) {
        s.usuarioAtualizacao = sessao.NOMUSU;
        s.senhaAtualizacao = sessao.EXPANT == QLatin1String("S") ? sessao.SENANT : sessao.SENUSU;
    } else {
        s.usuarioAtualizacao = usuario;
        s.senhaAtualizacao = D500DAT::embaralhaSenha(senha);
    }
    return s;
}

bool ClienteSincronizacao::iniciaAtualizacao(const QString &servidor, const QString &usuario, const QString &senha)
{
    m_dat.logAtualizacao.clear();
    m_pacoteLido.clear();
    registra(LinhasStatus::iniciando);
    // A download cut short (a kill, a power cut) left its files behind; this exchange writes
    // them anew.
    ReposicaoBase::limpaRestos(pastaPrograma());

    m_dat.sessao.HSTSRV = servidor;
    const SessaoSincronizacao sessao =
        sessaoDaAtualizacao(m_dat.sessao, servidor, usuario, senha, m_versao);
    bool portaValida = false;
    const int porta = m_dat.sessao.portaServidor.trimmed().toInt(&portaValida);
    if (!portaValida || porta <= 0 || porta > 65535
        || !m_conexao->inicia(sessao, servidor, static_cast<quint16>(porta))) {
        m_conexao->cancela();
        registra(LinhasStatus::erroConfiguracao);
        return false;
    }
    return true;
}

void ClienteSincronizacao::cancela()
{
    m_conexao->cancela();
}

void ClienteSincronizacao::tick()
{
    m_protocolo->tick();
}

bool ClienteSincronizacao::emAndamento() const
{
    return m_protocolo->emAndamento();
}

bool ClienteSincronizacao::fimAtualizacao() const
{
    return m_protocolo->fimAtualizacao();
}

bool ClienteSincronizacao::sucesso() const
{
    return m_protocolo->sucesso();
}

// ---------------------------------------------------------------- what the protocol asks

void ClienteSincronizacao::codigosAlterados(const QString &codigoEmpresa, const QString &codigoUsuario)
{
    m_dat.sessao.CODEMP = codigoEmpresa;
    m_dat.sessao.CODUSU = codigoUsuario;
}

QList<GrupoPendentes> ClienteSincronizacao::pendentes() const
{
    return PendentesEnvio(m_dat).le();
}

bool ClienteSincronizacao::geraPacoteEnvio()
{
    // The package changes no row: read now, the list is what goes up.
    m_pacoteLido.clear();
    m_dat.executaAcao([this] { m_pacoteLido = pendentes(); });
    const bool temDados = m_pacote->geraPacoteEnvio(relogio());
    if (m_pacote->interrompido()) {
        // The budget orders may not be saved: replacing the database now would lose them.
        m_protocolo->interrompe(LinhasStatus::erroComunicacao);
        return false;
    }
    return temDados;
}

QStringList ClienteSincronizacao::scriptEnvio() const
{
    return m_dat.scriptEnvio;
}

void ClienteSincronizacao::esvaziaScriptEnvio()
{
    m_dat.scriptEnvio.clear();
}

bool ClienteSincronizacao::esvaziaBaseLocal()
{
    return m_dat.executaAcao([this] {
        BaseLocalSincronizacao(m_dat.cnxFirebird).esvaziaTabelas();
        m_dat.cnxFirebird.execute(QStringLiteral("COMMIT"));
        m_dat.carregaUsuario();
    });
}

bool ClienteSincronizacao::marcaEnviados()
{
    return m_dat.executaAcao([this] {
        BaseLocalSincronizacao(m_dat.cnxFirebird)
            .marcaEnviados(m_pacote->pedidosIncluidos(), m_pacote->mensagensIncluidas());
    });
}

ResultadoSubstituicao ClienteSincronizacao::substituiBase(const QString &arquivoRecebido, const QString &nomePacote)
{
    ReposicaoBase reposicao(m_dat.cnxFirebird, pastaPrograma(), [this] {
        m_dat.carregaUsuario();
        // A file without the user's row would leave the notebook unconfigured.
        if (m_dat.sessao.CODUSU.isEmpty())
            throw DatabaseError(QStringLiteral("O arquivo recebido não tem usuário."));
    });
    // From the swap on, the budget orders live only in their files until they are back.
    if (!m_dat.executaAcao([this] { m_orcamentos->marcaRestauracaoPendente(pastaPrograma()); }))
        return ResultadoSubstituicao::ErroAbrindo;
    const ResultadoSubstituicao resultado = reposicao.substitui(arquivoRecebido, nomePacote);
    if (resultado != ResultadoSubstituicao::Sucesso) {
        // The database that holds them is still in place.
        m_orcamentos->desmarcaRestauracaoPendente(pastaPrograma());
        return resultado;
    }
    m_orcamentos->restauraOrcamentos(pastaPrograma(), m_dat.sessao.CODEMP);
    m_dat.sessao.mostraMetas = true;
    return resultado;
}

// ---------------------------------------------------------------- reports

void ClienteSincronizacao::registra(const QString &linha)
{
    m_dat.logAtualizacao.append(linha);
    m_dat.logAtualizacao.append(QString());
    emit linhaStatus(linha);
}

void ClienteSincronizacao::perguntaNovaVersao(const QString &)
{
    const RespostaMensagem resposta =
        m_dat.exibeMensagem(QStringLiteral("Deseja fazer download da NOVA VERSÃO do KORVEX  agora ?"),
                            TipoMensagem::Confirmacao, CorMensagem::Azul, BotoesMensagem::SimNao);
    if (resposta == RespostaMensagem::Sim && aoBaixarNovaVersao)
        aoBaixarNovaVersao();
}

void ClienteSincronizacao::mostraErroSocket(int codigo, const QString &mensagem)
{
    m_dat.exibeMensagem(QStringLiteral("Asynchronous socket error ") + QString::number(codigo)
                            + QStringLiteral(" (") + mensagem + QLatin1Char(')'),
                        TipoMensagem::Erro, CorMensagem::Vermelho);
}
