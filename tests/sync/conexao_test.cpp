#include "ConexaoSincronizacao.h"
#include "EnquadramentoBinario.h"
#include "LinhasStatus.h"
#include "ProtocoloTeste.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The server's side of one exchange, in lock step on 127.0.0.1: each token alone, the next
// only after the client's reply; the package after "#ENVIANDO#" in two pieces.
class ServidorRoteirizado : public QObject
{
public:
    QTcpServer servidor;
    QTcpSocket *cliente = nullptr;
    QList<QByteArray> recebidos;
    QByteArray pacoteRecebido;
    QByteArray pacoteParaEnviar;
    bool recebendoPacote = false;
    QByteArray buffer;

    ServidorRoteirizado()
    {
        servidor.listen(QHostAddress::LocalHost, 0);
        connect(&servidor, &QTcpServer::newConnection, this, [this] {
            cliente = servidor.nextPendingConnection();
            connect(cliente, &QTcpSocket::readyRead, this, [this] { trata(cliente->readAll()); });
        });
    }

    void depois(int ms, const QByteArray &bytes)
    {
        QTimer::singleShot(ms, this, [this, bytes] { cliente->write(bytes); });
    }

    void trata(const QByteArray &bytes)
    {
        if (recebendoPacote) {
            buffer += bytes;
            if (buffer.size() < EnquadramentoBinario::tamanhoCabecalho
                || buffer.size() < EnquadramentoBinario::tamanhoCabecalho + EnquadramentoBinario::leCabecalho(buffer))
                return;
            pacoteRecebido = buffer.mid(EnquadramentoBinario::tamanhoCabecalho);
            recebendoPacote = false;
            cliente->write("#RECEBIDO#");
            return;
        }
        recebidos << bytes;
        if (bytes == "#KORVEX#0#0") {
            cliente->write("#VERSAO#");
        } else if (bytes.startsWith("#VERSAO#")) {
            cliente->write("#SENHA#");
        } else if (bytes.startsWith("#USUSENHA#")) {
            cliente->write("#END_SERVER#1#25");
        } else if (bytes.startsWith("#GRV_SERVER#")) {
            cliente->write("#DADOS#1#25");
        } else if (bytes == "#TEMDADOS#") {
            recebendoPacote = true;
            cliente->write("#ENVIAR#");
        } else if (bytes == "#PROCESSA#1#25") {
            cliente->write("#PROCESSADO#");
        } else if (bytes == "#GERADADOS#1#25") {
            cliente->write("#GERANDO#");
            depois(50, "#ENVIANDO#");
            const QByteArray quadro = EnquadramentoBinario::enquadra(pacoteParaEnviar);
            depois(100, quadro.left(quadro.size() / 2));
            depois(150, quadro.mid(quadro.size() / 2));
        }
    }
};

// Runs the event loop until `pronto` or 10 seconds.
bool esperaAte(const std::function<bool()> &pronto)
{
    QEventLoop laco;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, &laco, &QEventLoop::quit);
    QTimer verifica;
    QObject::connect(&verifica, &QTimer::timeout, &laco, [&] {
        if (pronto())
            laco.quit();
    });
    limite.start(10000);
    verifica.start(10);
    laco.exec();
    return pronto();
}

} // namespace

// Guards the whole dialogue over a real socket: hello, answers, upload framing, download in
// pieces, replacement, success.
TEST(ConexaoLoopback, TrocaCompletaComServidorLocal)
{
    ServidorRoteirizado servidor;
    ASSERT_TRUE(servidor.servidor.isListening());
    for (int i = 0; i < 5000; ++i)
        servidor.pacoteParaEnviar.append(static_cast<char>(i % 251));

    ProtocoloGravado t;
    t.acoes.temDados = true;
    t.acoes.script = QStringList{QStringLiteral("UPDATE F599USU SET EXPSEN = 'N'")};
    t.protocolo.defineAgendador([&t](std::chrono::milliseconds, std::function<void()> acao) {
        QTimer::singleShot(10, &t.protocolo, std::move(acao));
    });
    ConexaoSincronizacao conexao(t.protocolo);
    SessaoSincronizacao s = ProtocoloGravado::sessaoConfigurada();
    s.CODEMP.clear();
    s.CODUSU.clear();
    s.usuarioAtualizacao = QStringLiteral("ana");
    s.senhaAtualizacao = QStringLiteral("abc");
    ASSERT_TRUE(conexao.inicia(s, QStringLiteral("127.0.0.1"), servidor.servidor.serverPort()));

    ASSERT_TRUE(esperaAte([&] { return t.protocolo.fimAtualizacao(); })) << t.linhas.join(u'|').toStdString();
    EXPECT_EQ(t.finais, QList<bool>{true});
    EXPECT_EQ(t.acoes.conteudoSubstituido, servidor.pacoteParaEnviar);
    EXPECT_EQ(servidor.recebidos,
              (QList<QByteArray>{"#KORVEX#0#0", "#VERSAO#1.0.2.6", "#USUSENHA#ANA#SEN$#abc",
                                 "#GRV_SERVER#servidor.local", "#TEMDADOS#", "#PROCESSA#1#25", "#GERADADOS#1#25"}));
    EXPECT_TRUE(servidor.pacoteRecebido.startsWith("PK\x03\x04")) << "the upload is a ZIP archive";
    EXPECT_EQ(t.linhas, (QStringList{LinhasStatus::validandoUsuario, LinhasStatus::usuarioOk,
                                     LinhasStatus::processando, LinhasStatus::gerando, LinhasStatus::recebendo,
                                     LinhasStatus::extraindo, LinhasStatus::sucesso}));
    EXPECT_EQ(conexao.socket().state(), QAbstractSocket::UnconnectedState);
}

// Guards a refused connection: the connection line, the end, and the error for the error box.
TEST(ConexaoLoopback, ConexaoRecusada)
{
    quint16 porta = 0;
    {
        QTcpServer livre;
        ASSERT_TRUE(livre.listen(QHostAddress::LocalHost, 0));
        porta = livre.serverPort();
    }
    ProtocoloGravado t;
    ConexaoSincronizacao conexao(t.protocolo);
    int erros = 0;
    QObject::connect(&conexao, &ConexaoSincronizacao::erroSocket, [&](int, const QString &) { ++erros; });
    ASSERT_TRUE(conexao.inicia(ProtocoloGravado::sessaoConfigurada(), QStringLiteral("127.0.0.1"), porta));
    ASSERT_TRUE(esperaAte([&] { return t.protocolo.fimAtualizacao(); }));
    EXPECT_EQ(t.linhas, QStringList{LinhasStatus::erroConexao});
    EXPECT_EQ(t.finais, QList<bool>{false});
    EXPECT_EQ(erros, 1);
}

// Guards the setup checks the window relies on: no host or no port starts nothing.
TEST(ConexaoLoopback, ConfiguracaoInvalidaNaoInicia)
{
    ProtocoloGravado t;
    ConexaoSincronizacao conexao(t.protocolo);
    EXPECT_FALSE(conexao.inicia(ProtocoloGravado::sessaoConfigurada(), QStringLiteral("  "), 511));
    EXPECT_FALSE(conexao.inicia(ProtocoloGravado::sessaoConfigurada(), QStringLiteral("127.0.0.1"), 0));
    EXPECT_EQ(t.protocolo.estado(), ProtocoloSincronizacao::Estado::Parado);
}
