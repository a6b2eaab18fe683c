#include "AguardaSincronizacao.h"
#include "ClienteSincronizacao.h"
#include "D500DAT.h"
#include "LinhasStatus.h"
#include "ProtocoloSincronizacao.h"
#include "ScriptedAnswerer.h"
#include "ServidorDeTeste.h"
#include "TestDatabase.h"
#include "TextCodec.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSqlQuery>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A data module on the notebook's database in a program folder, talking to a test server.
class Loopback : public ::testing::Test
{
protected:
    void prepara(const QString &scriptNotebook, const QString &scriptServidor)
    {
        if (!scriptNotebook.isEmpty())
            notebook.runScript(scriptNotebook);
        servidorBase.runScript(scriptServidor);
        servidor = std::make_unique<ServidorDeTeste>(servidorBase.path());
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        notebook.open(dat->cnxFirebird);
        dat->carregaUsuario();
        dat->sessao.portaServidor = QString::number(servidor->porta());
        cliente = std::make_unique<ClienteSincronizacao>(*dat, QStringLiteral("1.0.2.6"), notebook.folder());
        QObject::connect(cliente.get(), &ClienteSincronizacao::linhaStatus,
                         [this](const QString &linha) { linhas << linha; });
    }

    // Runs the event loop until the exchange ends, ticking the watchdog as the window does.
    bool executa(int limiteMs = 20000)
    {
        return aguardaSincronizacao(*cliente, 50, limiteMs);
    }

    QString consulta(const QString &sql)
    {
        QSqlQuery q = dat->cnxFirebird.query();
        if (!q.exec(sql) || !q.next())
            return QStringLiteral("<nada>");
        return q.value(0).toString().trimmed();
    }

    TestDatabase notebook;
    TestDatabase servidorBase;
    std::unique_ptr<ServidorDeTeste> servidor;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<ClienteSincronizacao> cliente;
    QStringList linhas;
};

const QString kUsuarioServidor = QStringLiteral(
    "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, HSTSRV, EXPSEN, EXPANT) "
    "VALUES (25, 'Ana', 'z', 1, 7, '127.0.0.1', 'N', 'N');\n");

// A day of work: typed order 10 with an item, budget 11 with an item.
const QString kNotebookComTrabalho = QStringLiteral(
    "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, HSTSRV, EXPSEN, EXPANT) "
    "VALUES (25, 'Ana', 'z', 1, 7, '127.0.0.1', 'N', 'N');\n"
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC, OBSCLI)"
    " VALUES (1, 10, 0, 'D', 7, 'N', 'Ação');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, QTDPRO, SITIPF)"
    " VALUES (1, 2, 10, 123, 0, 1, 'D');\n"
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC)"
    " VALUES (1, 11, 0, 'D', 7, 'S');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, QTDPRO, SITIPF)"
    " VALUES (1, 2, 11, 124, 0, 3, 'D');\n");

} // namespace

// Guards the first run: an empty notebook greets as 0#0, logs in with the typed user, gets
// its codes and a database, and ends configured with the status lines in order.
TEST_F(Loopback, PrimeiraExecucaoConfiguraNotebook)
{
    prepara(QString(), kUsuarioServidor);
    ASSERT_TRUE(dat->sessao.CODUSU.isEmpty());
    ASSERT_TRUE(cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QStringLiteral("ana"), QStringLiteral("segredo")));
    ASSERT_TRUE(executa());
    EXPECT_TRUE(cliente->sucesso());
    ASSERT_GE(servidor->recebidos.size(), 3);
    EXPECT_EQ(servidor->recebidos.at(0), QByteArray("#KORVEX#0#0"));
    EXPECT_EQ(servidor->recebidos.at(1), QByteArray("#VERSAO#1.0.2.6"));
    EXPECT_EQ(servidor->recebidos.at(2),
              QByteArray("#USUSENHA#ANA#SEN$#") + TextCodec::toWindows1252(D500DAT::embaralhaSenha(QStringLiteral("segredo"))));
    EXPECT_TRUE(servidor->recebidos.contains(QByteArray("#GERADADOS#1#25")));
    EXPECT_EQ(linhas, (QStringList{LinhasStatus::iniciando, LinhasStatus::validandoUsuario, LinhasStatus::usuarioOk,
                                   LinhasStatus::semInformacoes, LinhasStatus::gerando, LinhasStatus::recebendo,
                                   LinhasStatus::extraindo, LinhasStatus::sucesso}));
    EXPECT_EQ(dat->logAtualizacao.size(), 2 * linhas.size()) << "each line followed by an empty one";
    EXPECT_EQ(dat->sessao.CODUSU, QStringLiteral("25"));
    EXPECT_EQ(dat->sessao.NOMUSU, QStringLiteral("Ana"));
    EXPECT_EQ(dat->sessao.HSTSRV, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(dat->sessao.mostraMetas);
}

// Guards a day of work reaching the server: the typed order goes up in the script (CR LF,
// Windows-1252), is marked sent when the server confirms, and the budget comes back into the
// new database.
TEST_F(Loopback, PedidoSobeEOrcamentoVolta)
{
    prepara(kNotebookComTrabalho, kUsuarioServidor);
    bool marcadoAntesDaTroca = false;
    QObject::connect(cliente.get(), &ClienteSincronizacao::linhaStatus, [&](const QString &linha) {
        if (linha == LinhasStatus::gerando)
            marcadoAntesDaTroca = consulta(QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODPDF = 10")) == "L";
    });
    ASSERT_TRUE(cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QString(), QString()));
    ASSERT_TRUE(executa());
    EXPECT_TRUE(cliente->sucesso());
    EXPECT_TRUE(servidor->recebidos.contains(QByteArray("#KORVEX#1#25")));
    EXPECT_TRUE(marcadoAntesDaTroca);
    const QList<GrupoPendentes> enviados = cliente->enviados();
    ASSERT_EQ(enviados.size(), 1) << "what went up: the order, not the budget";
    EXPECT_EQ(enviados.first().titulo, QStringLiteral("Pedidos"));
    EXPECT_TRUE(enviados.first().linhas.value(0).startsWith(QStringLiteral("Pedido 10 ")));
    const QList<QByteArray> comandos = servidor->script.split('\n');
    ASSERT_EQ(comandos.size(), 4) << servidor->script.toStdString(); // order, item, status, and the end
    EXPECT_TRUE(comandos.at(0).startsWith(" INSERT INTO F530PDF"));
    EXPECT_TRUE(comandos.at(0).endsWith("FROM DUAL \r"));
    EXPECT_TRUE(comandos.at(0).contains("'A\xE7\xE3o'")) << "Windows-1252 text";
    EXPECT_TRUE(comandos.at(1).startsWith(" INSERT INTO F530IPF"));
    EXPECT_TRUE(comandos.at(2).startsWith("UPDATE F530PDF SET SITPDF = 'L'"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT CODPDF || PDFORC FROM F530PDF")), QStringLiteral("11S"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT CODPDF || '/' || CODPRO FROM F530IPF")), QStringLiteral("11/124"));
    EXPECT_FALSE(QFile::exists(QDir(notebook.folder()).filePath(QStringLiteral("ORCPED.XML"))));
}

// Guards the watchdog: a server that accepts and never answers ends the exchange with the
// communication line, without success.
TEST_F(Loopback, ServidorMudoEncerradoPelaVigia)
{
    prepara(QString(), kUsuarioServidor);
    servidor->mudo = true;
    cliente->protocolo().defineLimiteEspera(20);
    ASSERT_TRUE(cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QStringLiteral("ana"), QStringLiteral("x")));
    ASSERT_TRUE(executa());
    EXPECT_FALSE(cliente->sucesso());
    EXPECT_EQ(linhas.last(), LinhasStatus::erroComunicacao);
}

// Guards the connection setup: a port that is not a number gives the setup line at once and
// starts nothing.
TEST_F(Loopback, PortaInvalidaNaoInicia)
{
    prepara(QString(), kUsuarioServidor);
    dat->sessao.portaServidor.clear();
    EXPECT_FALSE(cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QStringLiteral("ana"), QStringLiteral("x")));
    EXPECT_EQ(linhas, (QStringList{LinhasStatus::iniciando, LinhasStatus::erroConfiguracao}));
    EXPECT_FALSE(cliente->emAndamento());
}

// Guards the refused connection: the connection line and the socket error box.
TEST_F(Loopback, ConexaoRecusada)
{
    prepara(QString(), kUsuarioServidor);
    const quint16 porta = servidor->porta();
    servidor.reset(); // nobody listens there any more
    dat->sessao.portaServidor = QString::number(porta);
    ASSERT_TRUE(cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QStringLiteral("ana"), QStringLiteral("x")));
    ASSERT_TRUE(executa());
    EXPECT_EQ(linhas.last(), LinhasStatus::erroConexao);
    ASSERT_FALSE(respostas.shown.isEmpty());
    EXPECT_TRUE(respostas.lastText().startsWith(QStringLiteral("Asynchronous socket error ")));
}

// Guards a wrong server that skips the upload or answers out of turn (the download answered to
// the hello, "#GERANDO#" before the package was asked for, a refusal answered to the hello):
// the exchange ends with the receiving error, and the notebook keeps its unsent order (still
// to be sent), its budget with its item, and its user.
TEST_F(Loopback, ServidorForaDeOrdemNaoApagaNemMarcaNada)
{
    prepara(kNotebookComTrabalho, kUsuarioServidor);
    const QList<QPair<QByteArray, QByteArray>> roteiros = {
        {"#KORVEX#", "#ENVIANDO#" + servidor->pacote},
        {"#TEMDADOS#", "#GERANDO#"},
        {"#KORVEX#", "#USOINCORRETO#"},
    };
    for (const auto &[mensagem, resposta] : roteiros) {
        SCOPED_TRACE(resposta.left(16).toStdString());
        servidor->trocas = {{mensagem, resposta}};
        linhas.clear();
        ASSERT_TRUE(cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QString(), QString()));
        ASSERT_TRUE(executa());
        EXPECT_FALSE(cliente->sucesso());
        EXPECT_EQ(linhas.last(), LinhasStatus::erroRecebimento);
        EXPECT_EQ(consulta(QStringLiteral("SELECT LIST(CODPDF || SITPDF || PDFORC, ',') "
                                          "FROM (SELECT * FROM F530PDF ORDER BY CODPDF)")),
                  QStringLiteral("10DN,11DS"));
        EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530IPF")), QStringLiteral("2"));
        EXPECT_EQ(dat->sessao.NOMUSU, QStringLiteral("Ana"));
    }
}
