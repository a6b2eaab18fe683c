#include "BaseCentral.h"
#include "ConfiguracaoServidor.h"
#include "D500DAT.h"
#include "RegistroServidor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

// korvex-servidor run as the service runs it, with its settings in a temporary folder.
struct Servico
{
    QTemporaryDir pasta;
    QString conf = QDir(pasta.path()).filePath(QStringLiteral("servidor.conf"));
    QString erros;

    explicit Servico(const QByteArray &extra = {})
    {
        QFile file(conf);
        file.open(QIODevice::WriteOnly);
        file.write("porta = 1\nendereco = 127.0.0.1\npasta = " + pasta.path().toUtf8() + "/dados\n" + extra);
    }
    int executa(const QStringList &argumentos)
    {
        QProcess processo;
        processo.start(QStringLiteral(KORVEX_SERVIDOR), QStringList{QStringLiteral("--config"), conf} + argumentos);
        if (!processo.waitForFinished(60000)) {
            processo.kill();
            processo.waitForFinished();
            return -1;
        }
        erros = QString::fromUtf8(processo.readAllStandardError());
        return processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1;
    }
};

// SYSDBA's password on a Firebird server listening on localhost, from KORVEX_SENHA_CENTRAL or
// the file the Debian package writes; empty when there is no such server to test against.
QString senhaServidorLocal()
{
    QTcpSocket sonda;
    sonda.connectToHost(QStringLiteral("127.0.0.1"), 3050);
    if (!sonda.waitForConnected(1000))
        return {};
    if (qEnvironmentVariableIsSet("KORVEX_SENHA_CENTRAL"))
        return qEnvironmentVariable("KORVEX_SENHA_CENTRAL");
    QFile arquivo(QStringLiteral("/etc/firebird/3.0/SYSDBA.password"));
    if (!arquivo.open(QIODevice::ReadOnly))
        return {};
    const auto achado = QRegularExpression(QStringLiteral("ISC_PASSWORD=\"?([^\"\n]*)")).match(QString::fromUtf8(arquivo.readAll()));
    return achado.hasMatch() ? achado.captured(1) : QString();
}

} // namespace

// Guards the settings file: every key read, a bad line reported by file and number with the
// default kept, a Firebird server's host:path told from a local file.
TEST(ConfiguracaoServidor, LeChavesERelataLinhasErradas)
{
    ConfiguracaoServidor c = ConfiguracaoServidor::interpreta(
        QStringLiteral("# comentário\nporta = 6200\nendereco = 10.0.0.5\npasta = /srv/kx\nregistro = AVISO\n"
                       "base = bd.local:/dados/CENTRAL.FDB\nusuario_base = kx\nsenha_base = s=1\n"),
        QStringLiteral("s.conf"));
    EXPECT_TRUE(c.erros.isEmpty()) << c.erros.join(u'\n').toStdString();
    EXPECT_EQ(c.porta, 6200);
    EXPECT_EQ(c.endereco, QHostAddress(QStringLiteral("10.0.0.5")));
    EXPECT_EQ(c.nivel, ConfiguracaoServidor::Nivel::Aviso);
    EXPECT_TRUE(c.baseRemota());
    EXPECT_EQ(c.senhaBase, QStringLiteral("s=1"));

    c = ConfiguracaoServidor::interpreta(QStringLiteral("porta = 70000\nendereco = x\nregistro = muito\ncor = azul\n"
                                                        "base = relativa.fdb\n"),
                                         QStringLiteral("s.conf"));
    ASSERT_EQ(c.erros.size(), 5);
    EXPECT_TRUE(c.erros.first().startsWith(QStringLiteral("s.conf, linha 1: porta inválida")));
    EXPECT_EQ(c.porta, 5111);
    EXPECT_FALSE(c.baseRemota());
    EXPECT_EQ(c.arquivoBase(), QStringLiteral("/var/lib/korvex-servidor/CENTRAL.FDB"));
}

// Guards the journal's reading of the log: each line carries its priority, failures and
// refusals stand out, and lines under the configured level are not written.
TEST(ConfiguracaoServidor, RegistroComPrioridadeDoJournal)
{
    using Nivel = ConfiguracaoServidor::Nivel;
    EXPECT_EQ(RegistroServidor::formata(Nivel::Erro, QStringLiteral("ERRO: x\ny"), true), QByteArray("<3>ERRO: x y\n"));
    EXPECT_EQ(RegistroServidor::nivelDoDialogo(QStringLiteral("ERRO: pacote grande")), Nivel::Erro);
    EXPECT_EQ(RegistroServidor::nivelDoDialogo(QStringLiteral("Usuário ou senha inválido: ANA.")), Nivel::Aviso);
    EXPECT_EQ(RegistroServidor::nivelDoDialogo(QStringLiteral("Pacote enviado.")), Nivel::Info);
    EXPECT_TRUE(RegistroServidor::formata(Nivel::Info, QStringLiteral("a"), false).endsWith(" a\n"));
}

// Guards the set-up of an installed server: the service refuses to start without a central
// database and says how to create it; --cria-base and --usuario create it and its first user,
// whom the server then accepts; a second --cria-base keeps what exists; bad input is refused.
TEST(ConfiguracaoServidor, CriaBaseEUsuariosAntesDeServir)
{
    Servico servico;
    EXPECT_EQ(servico.executa({}), 3);
    EXPECT_TRUE(servico.erros.contains(QStringLiteral("Base central inexistente"))) << servico.erros.toStdString();
    EXPECT_TRUE(servico.erros.contains(QStringLiteral("--cria-base")));

    EXPECT_EQ(servico.executa({QStringLiteral("--cria-base"), QStringLiteral("--usuario"), QStringLiteral("1:25:Ana:segredo:7")}), 0)
        << servico.erros.toStdString();
    EXPECT_EQ(servico.executa({QStringLiteral("--cria-base")}), 0) << servico.erros.toStdString();
    EXPECT_EQ(servico.executa({QStringLiteral("--usuario"), QStringLiteral("1:ana:Ana:x")}), 2);
    EXPECT_TRUE(servico.erros.contains(QStringLiteral("números"))) << servico.erros.toStdString();
    {
        BaseCentral central(QDir(servico.pasta.path()).filePath(QStringLiteral("dados")), QString::fromLocal8Bit(qgetenv("KORVEX_SCHEMA")));
        const auto ana = central.autentica(QStringLiteral("ana"), D500DAT::embaralhaSenha(QStringLiteral("segredo")));
        ASSERT_TRUE(ana.has_value());
        EXPECT_EQ(ana->CODUSU, QStringLiteral("25"));
    }

    Servico errado("registro = tudo\n");
    EXPECT_EQ(errado.executa({}), 2);
    EXPECT_TRUE(errado.erros.contains(QStringLiteral("nível de registro inválido"))) << errado.erros.toStdString();
}

// Guards a central database on a Firebird server named as host:path: created with its users by
// the set-up commands, left alone by a second --cria-base, and serving a user's package (the
// user's file reads the central database through the server with the configured account).
// Skipped where no server listens on localhost.
TEST(ConfiguracaoServidor, BaseCentralNumServidorFirebird)
{
    const QString senha = senhaServidorLocal();
    const QString pastaServidor = qEnvironmentVariableIsSet("KORVEX_PASTA_SERVIDOR_FIREBIRD")
                                      ? qEnvironmentVariable("KORVEX_PASTA_SERVIDOR_FIREBIRD")
                                      : QStringLiteral("/var/lib/firebird/3.0/data");
    if (senha.isEmpty() || !QFileInfo(pastaServidor).isDir())
        GTEST_SKIP() << "sem servidor Firebird em localhost";
    const QString base = QStringLiteral("localhost:") + pastaServidor + QStringLiteral("/korvex-teste-")
                         + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".fdb");
    Servico servico("base = " + base.toUtf8() + "\nusuario_base = SYSDBA\nsenha_base = " + senha.toUtf8() + "\n");
    EXPECT_EQ(servico.executa({QStringLiteral("--cria-base"), QStringLiteral("--usuario"), QStringLiteral("1:25:Ana:segredo:7")}), 0)
        << servico.erros.toStdString();
    EXPECT_EQ(servico.executa({QStringLiteral("--cria-base")}), 0) << servico.erros.toStdString();
    {
        BaseCentral central(QDir(servico.pasta.path()).filePath(QStringLiteral("dados")),
                            QString::fromLocal8Bit(qgetenv("KORVEX_SCHEMA")), base, senha);
        const auto ana = central.autentica(QStringLiteral("ana"), D500DAT::embaralhaSenha(QStringLiteral("segredo")));
        ASSERT_TRUE(ana.has_value());
        const QString pacote = QDir(servico.pasta.path()).filePath(QStringLiteral("ORVALIS.KXD"));
        central.geraPacote(*ana, pacote);
        EXPECT_TRUE(QFileInfo(pacote).size() > 0);
    }
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q")});
    isql.write("CONNECT '" + base.toUtf8() + "' USER 'SYSDBA' PASSWORD '" + senha.toUtf8() + "';\nDROP DATABASE;\n");
    isql.closeWriteChannel();
    isql.waitForFinished(60000);
}
