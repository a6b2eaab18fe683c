#include "ProtocoloTeste.h"

#include "EnquadramentoBinario.h"
#include "LinhasStatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using Estado = ProtocoloSincronizacao::Estado;

namespace {

QByteArray bytesDe(int tamanho)
{
    QByteArray dados(tamanho, Qt::Uninitialized);
    for (int i = 0; i < tamanho; ++i)
        dados[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    return dados;
}

const QByteArray cabecalho10000("\x10\x27\x00\x00\x00\x00\x00\x00", 8);

} // namespace

// --- hello ---

// Guards the hello of a notebook without user: it must present itself as company 0, user 0.
TEST(ProtocoloSaudacao, NotebookSemUsuarioSaudaComZeros)
{
    ProtocoloGravado t;
    SessaoSincronizacao s = ProtocoloGravado::sessaoConfigurada();
    s.CODEMP.clear();
    s.CODUSU.clear();
    t.protocolo.inicia(s);
    t.protocolo.conectado();
    EXPECT_TRUE(t.enviados.isEmpty()) << "the hello waits one second";
    ASSERT_EQ(t.pendentes.size(), 1u);
    EXPECT_EQ(t.pendentes.front().first, std::chrono::milliseconds(1000));
    t.executaPendentes();
    ASSERT_EQ(t.enviados.size(), 1);
    EXPECT_EQ(t.enviados.first(), QByteArray("#KORVEX#0#0"));
    EXPECT_EQ(t.protocolo.sessao().CODEMP, QStringLiteral("0"));
    EXPECT_EQ(t.protocolo.sessao().CODUSU, QStringLiteral("0"));
    EXPECT_EQ(t.acoes.chamadas, QStringList{QStringLiteral("codigos 0 0")});
    // The zeros stay for the rest of the exchange.
    t.recebe("#VERSAO#");
    EXPECT_EQ(t.protocolo.sessao().nomePacote(), QStringLiteral("ORVA0_0"));
}

// Guards the hello of a configured notebook: its own codes, and the session left alone.
TEST(ProtocoloSaudacao, NotebookConfiguradoSaudaComSeusCodigos)
{
    ProtocoloGravado t;
    t.protocolo.inicia(ProtocoloGravado::sessaoConfigurada());
    t.protocolo.conectado();
    t.executaPendentes();
    ASSERT_EQ(t.enviados.size(), 1);
    EXPECT_EQ(t.enviados.first(), QByteArray("#KORVEX#1#25"));
    EXPECT_TRUE(t.acoes.chamadas.isEmpty());
    EXPECT_EQ(t.protocolo.estado(), Estado::Dialogo);
}

// Guards against a late hello on a connection the user has already cancelled or restarted.
TEST(ProtocoloSaudacao, SaudacaoPendenteNaoSaiDepoisDeCancelar)
{
    ProtocoloGravado t;
    t.protocolo.inicia(ProtocoloGravado::sessaoConfigurada());
    t.protocolo.conectado();
    t.protocolo.cancela();
    t.executaPendentes();
    EXPECT_TRUE(t.enviados.isEmpty());
    EXPECT_EQ(t.protocolo.estado(), Estado::Parado);
}

// --- tokens that answer ---

// Guards the version and password answers, the user name in upper case and in the single-byte
// form the server reads.
TEST(ProtocoloTokens, VersaoESenha)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#VERSAO#");
    ASSERT_EQ(t.enviados.size(), 1);
    EXPECT_EQ(t.enviados.last(), QByteArray("#VERSAO#1.0.2.6"));
    EXPECT_TRUE(t.linhas.isEmpty());

    t.recebe("#SENHA#");
    ASSERT_EQ(t.enviados.size(), 2);
    EXPECT_EQ(t.enviados.last(), QByteArray("#USUSENHA#JO\xC3O#SEN$#x9#k"));
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::validandoUsuario});
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
}

// Guards the company and user switch: later file names and replies must use the server's codes.
TEST(ProtocoloTokens, DadosTrocaEmpresaEUsuario)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#DADOS#3#17");
    EXPECT_EQ(t.protocolo.sessao().CODEMP, QStringLiteral("3"));
    EXPECT_EQ(t.protocolo.sessao().CODUSU, QStringLiteral("17"));
    EXPECT_EQ(t.acoes.empresaNoPacote, QStringLiteral("3")) << "the package is built with the new codes";
    EXPECT_EQ(t.acoes.usuarioNoPacote, QStringLiteral("17"));
    EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::usuarioOk, LinhasStatus::semInformacoes}));
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#GERADADOS#3#17"));
    EXPECT_EQ(t.protocolo.sessao().nomePacote(), QStringLiteral("ORVA3_17"));
}

// Guards the server-assigned address token: codes taken, the typed server address echoed.
TEST(ProtocoloTokens, EndServerDefineCodigosEDevolveEndereco)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#END_SERVER#2#9");
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#GRV_SERVER#servidor.local"));
    EXPECT_EQ(t.acoes.chamadas, QStringList{QStringLiteral("codigos 2 9")});
    EXPECT_TRUE(t.linhas.isEmpty());
}

// Guards file names and statements against codes that are not integers (e.g. "../x").
TEST(ProtocoloTokens, CodigosQueNaoSaoNumerosEncerram)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#DADOS#1#../../etc");
    EXPECT_TRUE(t.acoes.chamadas.isEmpty());
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::erroRecebimento});
    EXPECT_EQ(t.fechamentos, 1);
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_TRUE(t.enviados.isEmpty());
}

// Guards the pending upload path: "#TEMDADOS#", then the script zipped and framed after a delay.
TEST(ProtocoloTokens, EnviarMandaPacoteEnquadrado)
{
    ProtocoloGravado t;
    t.acoes.temDados = true;
    t.acoes.script = QStringList{QStringLiteral("UPDATE F599USU SET NOMUSU = 'JOÃO'"), QStringLiteral("SELECT 1")};
    t.abreDialogo();
    t.recebe("#DADOS#3#17");
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#TEMDADOS#"));
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::usuarioOk});

    t.enviados.clear();
    t.recebe("#ENVIAR#");
    EXPECT_TRUE(t.enviados.isEmpty()) << "the package goes one second later";
    const QDir pasta(t.pasta.path());
    QFile script(pasta.filePath(QStringLiteral("ORVA3_17.SCP")));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_EQ(script.readAll(), QByteArray("UPDATE F599USU SET NOMUSU = 'JO\xC3O'\r\nSELECT 1\r\n"));

    t.executaPendentes();
    ASSERT_EQ(t.enviados.size(), 1);
    QFile pacote(pasta.filePath(QStringLiteral("ORVA3_17.KXD")));
    ASSERT_TRUE(pacote.open(QIODevice::ReadOnly));
    const QByteArray zip = pacote.readAll();
    ASSERT_GT(zip.size(), 0);
    EXPECT_EQ(t.enviados.first(), EnquadramentoBinario::cabecalho(zip.size()) + zip);
    EXPECT_EQ(EnquadramentoBinario::leCabecalho(t.enviados.first()), zip.size());
}

// Guards a silent stall: an upload that cannot be written ends the exchange at once.
TEST(ProtocoloTokens, PacoteQueNaoPodeSerGravadoEncerra)
{
    ProtocoloGravado t;
    t.protocolo.definePastaPrograma(QDir(t.pasta.path()).filePath(QStringLiteral("nao-existe")));
    t.acoes.temDados = true;
    t.abreDialogo();
    t.recebe("#DADOS#1#25");
    t.enviados.clear();
    t.recebe("#ENVIAR#");
    t.executaPendentes();
    EXPECT_TRUE(t.enviados.isEmpty());
    EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::usuarioOk, LinhasStatus::erroComunicacao}));
    EXPECT_EQ(t.finais, QList<bool>{false});
}

// Guards the processing steps: the script emptied on receipt, the sent rows marked on "#GERANDO#".
TEST(ProtocoloTokens, RecebidoProcessadoGerando)
{
    ProtocoloGravado t;
    t.acoes.temDados = true;
    t.acoes.script = QStringList{QStringLiteral("X")};
    t.abreDialogo();
    t.recebe("#DADOS#1#25");
    t.recebe("#ENVIAR#");
    t.executaPendentes();
    t.linhas.clear();
    t.recebe("#RECEBIDO#");
    EXPECT_TRUE(t.acoes.script.isEmpty());
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#PROCESSA#1#25"));
    t.recebe("#PROCESSADO#");
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#GERADADOS#1#25"));
    const int enviadosAntes = t.enviados.size();
    t.recebe("#GERANDO#");
    EXPECT_EQ(t.enviados.size(), enviadosAntes) << "no reply to #GERANDO#";
    EXPECT_EQ(t.acoes.chamadas.last(), QStringLiteral("marcaEnviados"));
    EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::processando, LinhasStatus::gerando}));
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
}

// Guards a failing local update on "#GERANDO#": its status line must not claim it happened.
TEST(ProtocoloTokens, GerandoComFalhaLocalNaoRegistraLinha)
{
    ProtocoloGravado t;
    t.acoes.marcaFunciona = false;
    t.acoes.temDados = true;
    t.abreDialogo();
    t.ateGerando();
    EXPECT_FALSE(t.linhas.contains(LinhasStatus::gerando));
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
}

// Guards the tests by equality: near misses and unknown messages are ignored.
TEST(ProtocoloTokens, MensagensDesconhecidasSaoIgnoradas)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#ERRO# ");
    t.recebe("#VERSAO# ");
    t.recebe("xx#ENVIAR#");
    t.recebe("#QUALQUER#");
    EXPECT_TRUE(t.enviados.isEmpty());
    EXPECT_TRUE(t.linhas.isEmpty());
    EXPECT_EQ(t.fechamentos, 0);
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
    EXPECT_EQ(t.protocolo.estado(), Estado::Dialogo);
}

// --- tokens that end ---

// Guards the server's error token: closes, logs and ends, without reply.
TEST(ProtocoloFim, ErroEncerra)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#ERRO#");
    EXPECT_EQ(t.fechamentos, 1);
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::erroRecebimento});
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_TRUE(t.protocolo.fimAtualizacao());
    EXPECT_TRUE(t.enviados.isEmpty());
    // Nothing after the end is taken.
    t.recebe("#VERSAO#");
    EXPECT_TRUE(t.enviados.isEmpty());
}

// Guards the refused user: every local table emptied, then the exchange ends.
TEST(ProtocoloFim, UsoIncorretoEsvaziaBaseEEncerra)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#SENHA#");
    t.enviados.clear();
    t.recebe("#USOINCORRETO#");
    EXPECT_EQ(t.acoes.chamadas, QStringList{QStringLiteral("esvaziaBaseLocal")});
    EXPECT_EQ(t.fechamentos, 1);
    EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::validandoUsuario, LinhasStatus::usuarioInvalido}));
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_TRUE(t.enviados.isEmpty());
}

// Guards against acting on a burst after the token that ended the exchange.
TEST(ProtocoloFim, RajadaParaNoTokenQueEncerra)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#SENHA#");
    t.enviados.clear();
    t.recebe("#USOINCORRETO##DADOS#1#2");
    EXPECT_FALSE(t.acoes.chamadas.contains(QStringLiteral("geraPacoteEnvio")));
    EXPECT_TRUE(t.enviados.isEmpty());
}

// Guards a failed emptying: the action stops and the exchange is not reported as ended.
TEST(ProtocoloFim, UsoIncorretoComFalhaLocalContinua)
{
    ProtocoloGravado t;
    t.acoes.esvaziaFunciona = false;
    t.abreDialogo();
    t.recebe("#SENHA#");
    t.linhas.clear();
    t.recebe("#USOINCORRETO#");
    EXPECT_TRUE(t.linhas.isEmpty());
    EXPECT_EQ(t.fechamentos, 0);
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
}

// Guards against a server that skips or reorders the dialogue: a token out of its place (no
// upload, a "sent" before the package left, a refusal not answering the password, a download
// before the package was confirmed) ends the exchange with the receiving error and changes
// nothing: no row marked, nothing emptied, no database swapped, the hello's codes kept.
TEST(ProtocoloFim, TokenForaDeOrdemEncerraSemMudarNada)
{
    const std::vector<std::vector<const char *>> roteiros = {
        {"#ENVIANDO#"},
        {"#GERANDO#"},
        {"#USOINCORRETO#"},
        {"#INCORRETO#1.0.3.0"},
        {"#VERSAO#", "#SENHA#", "#END_SERVER#3#17", "#USOINCORRETO#"},
        {"#SENHA#", "#VERSAO#", "#USOINCORRETO#"},
        {"#DADOS#1#25", "#GERANDO#"},
        {"#DADOS#1#25", "#RECEBIDO#"},
        {"#DADOS#1#25", "#ENVIAR#", "#RECEBIDO#"}, // before the package left
        {"#DADOS#1#25", "#ENVIAR#", "*", "#ENVIANDO#"},
        {"#DADOS#1#25", "#ENVIAR#", "*", "#RECEBIDO#", "#GERANDO#"},
        {"#DADOS#1#25", "#ENVIAR#", "*", "#RECEBIDO#", "#PROCESSADO#", "#ENVIANDO#"},
        {"#DADOS#1#25", "#ENVIAR#", "*", "#RECEBIDO#", "#PROCESSADO#", "#PROCESSADO#"},
        {"#END_SERVER#3#17", "#DADOS#3#17", "#DADOS#3#17"},
    };
    for (const auto &roteiro : roteiros) {
        ProtocoloGravado t;
        t.acoes.temDados = true;
        t.acoes.script = QStringList{QStringLiteral("X")};
        t.abreDialogo();
        QString passos;
        for (const char *token : roteiro) {
            passos += QLatin1String(token) + QLatin1Char(' ');
            if (QByteArray(token) == "*")
                t.executaPendentes(); // the package leaves
            else
                t.recebe(token);
        }
        SCOPED_TRACE(passos.toStdString());
        EXPECT_EQ(t.linhas.last(), LinhasStatus::erroRecebimento);
        EXPECT_EQ(t.finais, QList<bool>{false});
        EXPECT_EQ(t.fechamentos, 1);
        for (const char *acao : {"marcaEnviados", "esvaziaBaseLocal", "substituiBase"})
            EXPECT_FALSE(t.acoes.chamadas.contains(QLatin1String(acao))) << acao;
        EXPECT_TRUE(t.versoes.isEmpty());
        EXPECT_EQ(t.protocolo.sessao().nomePacote(), QStringLiteral("ORVA1_25"));
        if (!t.acoes.empresa.isEmpty()) {
            EXPECT_EQ(t.acoes.empresa + t.acoes.usuario, QStringLiteral("125")) << "the session's codes are back";
        }
    }
}

// Guards the version mismatch: expected version in the line, the offer after the end.
TEST(ProtocoloFim, IncorretoInformaVersaoEsperada)
{
    ProtocoloGravado t;
    bool encerradoAntesDaOferta = false;
    QObject::connect(&t.protocolo, &ProtocoloSincronizacao::versaoIncorreta,
                     [&] { encerradoAntesDaOferta = t.protocolo.fimAtualizacao() && t.fechamentos == 1; });
    t.abreDialogo();
    t.recebe("#VERSAO#");
    t.enviados.clear();
    t.recebe("#INCORRETO#1.0.3.0");
    EXPECT_EQ(t.linhas,
              QStringList{QStringLiteral("@@@@ VERSÃO DO KORVEX INCORRETO! VERSÃO ESPERADA : 1.0.3.0 @@@@")});
    EXPECT_EQ(t.versoes, QStringList{QStringLiteral("1.0.3.0")});
    EXPECT_TRUE(encerradoAntesDaOferta);
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_TRUE(t.enviados.isEmpty());
}

// Guards the socket failure path, and a late failure after the end that must change nothing.
TEST(ProtocoloFim, ErroDeConexao)
{
    ProtocoloGravado t;
    t.protocolo.inicia(ProtocoloGravado::sessaoConfigurada());
    t.protocolo.erroConexao();
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::erroConexao});
    EXPECT_EQ(t.finais, QList<bool>{false});
    t.protocolo.erroConexao();
    EXPECT_EQ(t.linhas.size(), 1);
    EXPECT_EQ(t.finais.size(), 1);
}

// --- download ---

class ProtocoloDownload : public ::testing::Test
{
protected:
    ProtocoloGravado t;
    const QByteArray pacote = bytesDe(10000);

    void SetUp() override
    {
        t.abreDialogo();
        t.ateGerando();
        t.recebe("#ENVIANDO#");
        ASSERT_EQ(t.linhas, QStringList{LinhasStatus::recebendo});
        t.linhas.clear();
    }

    void esperaSucesso()
    {
        EXPECT_EQ(t.acoes.chamadas, QStringList{QStringLiteral("substituiBase")});
        EXPECT_EQ(t.acoes.conteudoSubstituido, pacote);
        EXPECT_EQ(QFileInfo(t.acoes.arquivoSubstituido).fileName(), QStringLiteral("ORVALIS.KXD"));
        EXPECT_EQ(QFileInfo(t.acoes.arquivoSubstituido).absolutePath(), QFileInfo(t.pasta.path()).absoluteFilePath());
        EXPECT_EQ(t.acoes.pacoteSubstituido, QStringLiteral("ORVA1_25"));
        EXPECT_EQ(t.fechamentos, 1);
        EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::extraindo, LinhasStatus::sucesso}));
        EXPECT_EQ(t.finais, QList<bool>{true});
        EXPECT_TRUE(t.protocolo.sucesso());
    }

    void esperaRecusa()
    {
        EXPECT_EQ(t.linhas, QStringList{LinhasStatus::erroRecebimento});
        EXPECT_EQ(t.fechamentos, 1);
        EXPECT_EQ(t.finais, QList<bool>{false});
        EXPECT_TRUE(t.acoes.chamadas.isEmpty());
        EXPECT_FALSE(QFile::exists(t.protocolo.arquivoRecebido()));
    }
};

// Guards the length framing and completion exactly at the 10000th byte of many small reads.
TEST_F(ProtocoloDownload, ChegaEmMuitasLeiturasPequenas)
{
    t.protocolo.receber(cabecalho10000.left(3));
    t.protocolo.receber(cabecalho10000.mid(3));
    EXPECT_EQ(t.protocolo.tamanhoEsperado(), 10000);
    ASSERT_EQ(t.progresso.size(), 1);
    EXPECT_EQ(t.progresso.first(), qMakePair(qint64(0), qint64(10000)));
    for (int i = 0; i < 10000 - 7; i += 7) {
        t.protocolo.receber(pacote.mid(i, 7));
        ASSERT_TRUE(t.acoes.chamadas.isEmpty()) << "completed early at " << i;
    }
    EXPECT_EQ(t.protocolo.bytesRecebidos(), 9996);
    EXPECT_EQ(t.progresso.last(), qMakePair(qint64(9996), qint64(10000)));
    t.protocolo.receber(pacote.mid(9996));
    esperaSucesso();
    EXPECT_EQ(t.progresso.last(), qMakePair(qint64(0), qint64(10000))) << "progress reset at the end";
}

// Guards bytes that arrive together with the length: no further read event will come for them.
TEST_F(ProtocoloDownload, ChegaNumaLeituraJuntoComOTamanho)
{
    t.protocolo.receber(cabecalho10000 + pacote);
    esperaSucesso();
}

// Guards a package glued to "#ENVIANDO#" in the same read.
TEST(ProtocoloDownloadColado, PacoteNaMesmaLeituraQueEnviando)
{
    ProtocoloGravado t;
    const QByteArray pacote = bytesDe(300);
    t.abreDialogo();
    t.ateGerando();
    t.protocolo.receber(QByteArray("#ENVIANDO#") + EnquadramentoBinario::enquadra(pacote));
    EXPECT_EQ(t.acoes.conteudoSubstituido, pacote);
    EXPECT_EQ(t.finais, QList<bool>{true});
}

// Guards a zero length, which could never complete and would leave the user waiting.
TEST_F(ProtocoloDownload, TamanhoZeroRecusadoNaHora)
{
    t.protocolo.receber(QByteArray(8, '\0'));
    esperaRecusa();
}

// Guards a negative length read from the signed 64-bit field.
TEST_F(ProtocoloDownload, TamanhoNegativoRecusado)
{
    t.protocolo.receber(QByteArray(8, '\xFF'));
    esperaRecusa();
}

// Guards an absurd length that would fill memory or disk before failing.
TEST_F(ProtocoloDownload, TamanhoEnormeRecusado)
{
    t.protocolo.receber(EnquadramentoBinario::cabecalho(qint64(1) << 40));
    esperaRecusa();
}

// Guards the configured limit, inclusive: a package of exactly the maximum is accepted.
TEST_F(ProtocoloDownload, LimiteConfiguradoInclusivo)
{
    t.protocolo.defineTamanhoMaximo(10000);
    t.protocolo.receber(cabecalho10000);
    t.protocolo.receber(pacote);
    esperaSucesso();
}

// Guards more bytes than announced, which never make the sizes equal.
TEST_F(ProtocoloDownload, BytesAlemDoAnunciadoRecusados)
{
    QFile anterior(t.protocolo.arquivoRecebido());
    ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
    anterior.write("antigo");
    anterior.close();

    t.protocolo.receber(cabecalho10000 + pacote.left(9000));
    t.protocolo.receber(pacote.mid(9000) + QByteArray("x"));
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::erroRecebimento});
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_TRUE(t.acoes.chamadas.isEmpty());
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), QByteArray("antigo")) << "a refused package leaves no trace";
}

// Guards each outcome of the replacement with its own status line.
TEST_F(ProtocoloDownload, FalhasDaSubstituicao)
{
    t.acoes.resultado = ResultadoSubstituicao::ErroExtraindo;
    t.protocolo.receber(cabecalho10000 + pacote);
    EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::extraindo, LinhasStatus::erroExtraindo}));
    EXPECT_EQ(t.finais, QList<bool>{false});

    ProtocoloGravado u;
    u.acoes.resultado = ResultadoSubstituicao::ErroAbrindo;
    u.abreDialogo();
    u.ateGerando();
    u.recebe("#ENVIANDO#");
    u.protocolo.receber(cabecalho10000 + pacote);
    EXPECT_EQ(u.linhas.mid(1), (QStringList{LinhasStatus::extraindo, LinhasStatus::erroAbrindo}));
    EXPECT_EQ(u.finais, QList<bool>{false});
    EXPECT_FALSE(u.protocolo.sucesso());
}

// --- watchdog, cancel, start again ---

// Guards a silent server: the watchdog ends the exchange, and only silence counts.
TEST(ProtocoloVigia, ServidorCaladoEncerraPeloVigia)
{
    ProtocoloGravado t;
    t.protocolo.defineLimiteEspera(5);
    t.abreDialogo();
    for (int i = 0; i < 4; ++i)
        t.protocolo.tick();
    t.recebe("#VERSAO#"); // data resets the count
    EXPECT_EQ(t.protocolo.contadorEspera(), 0);
    for (int i = 0; i < 4; ++i)
        t.protocolo.tick();
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
    t.protocolo.tick();
    EXPECT_TRUE(t.protocolo.fimAtualizacao());
    EXPECT_EQ(t.linhas.last(), LinhasStatus::erroComunicacao);
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_EQ(t.fechamentos, 1);
    t.protocolo.tick();
    EXPECT_EQ(t.finais.size(), 1) << "no second end";
}

// Guards a stalled download: the watchdog drops the partial package.
TEST(ProtocoloVigia, DownloadParadoEncerraSemDeixarArquivo)
{
    ProtocoloGravado t;
    t.protocolo.defineLimiteEspera(3);
    t.abreDialogo();
    t.ateGerando();
    t.recebe("#ENVIANDO#");
    t.protocolo.receber(cabecalho10000 + bytesDe(500));
    for (int i = 0; i < 3; ++i)
        t.protocolo.tick();
    EXPECT_EQ(t.linhas.last(), LinhasStatus::erroComunicacao);
    EXPECT_FALSE(QFile::exists(t.protocolo.arquivoRecebido()));
    EXPECT_TRUE(QDir(t.pasta.path()).entryList(QDir::Files).isEmpty());
}

// Guards cancel during a download followed by a new start: the new exchange must speak tokens,
// not keep collecting package bytes.
TEST(ProtocoloCancela, CancelarNoDownloadERecomecar)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.ateGerando();
    t.recebe("#ENVIANDO#");
    t.protocolo.receber(cabecalho10000 + bytesDe(100));
    t.protocolo.cancela();
    EXPECT_EQ(t.fechamentos, 1);
    EXPECT_EQ(t.protocolo.estado(), Estado::Parado);
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
    EXPECT_TRUE(t.finais.isEmpty());
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::recebendo}) << "cancel adds no line";
    t.recebe("#VERSAO#");
    EXPECT_TRUE(t.enviados.isEmpty()) << "a cancelled exchange ignores data";

    t.abreDialogo();
    t.recebe("#VERSAO#");
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#VERSAO#1.0.2.6"));
    t.ateGerando();
    t.recebe("#ENVIANDO#");
    const QByteArray pacote = bytesDe(64);
    t.protocolo.receber(EnquadramentoBinario::enquadra(pacote));
    EXPECT_EQ(t.acoes.conteudoSubstituido, pacote);
    EXPECT_EQ(t.finais, QList<bool>{true});
}

// Guards a restart after an end: state, counters and the end flag start afresh.
TEST(ProtocoloCancela, RecomecarDepoisDoFim)
{
    ProtocoloGravado t;
    t.abreDialogo();
    t.recebe("#ERRO#");
    ASSERT_TRUE(t.protocolo.fimAtualizacao());
    t.protocolo.inicia(ProtocoloGravado::sessaoConfigurada());
    EXPECT_FALSE(t.protocolo.fimAtualizacao());
    EXPECT_EQ(t.protocolo.estado(), Estado::Conectando);
    t.protocolo.conectado();
    t.executaPendentes();
    EXPECT_EQ(t.ultimoEnviado(), QStringLiteral("#KORVEX#1#25"));
}

// Guards a restart while a hello is pending: only the new exchange greets, once.
TEST(ProtocoloCancela, RecomecarComSaudacaoPendente)
{
    ProtocoloGravado t;
    t.protocolo.inicia(ProtocoloGravado::sessaoConfigurada());
    t.protocolo.conectado();
    t.protocolo.inicia(ProtocoloGravado::sessaoConfigurada());
    EXPECT_EQ(t.fechamentos, 1) << "the open connection is closed";
    t.protocolo.conectado();
    t.executaPendentes();
    EXPECT_EQ(t.enviados, QList<QByteArray>{QByteArray("#KORVEX#1#25")});
}
