#include "FirebirdConnection.h"
#include "LinhasStatus.h"
#include "ServidorDeTeste.h"
#include "TestDatabase.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kUsuarioServidor = QStringLiteral(
    "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, HSTSRV, EXPSEN, EXPANT) "
    "VALUES (25, 'Ana', 'z', 1, 7, '127.0.0.1', 'N', 'N');\n");

// `korvex sync` run in a program folder (the notebook's database and SisCon.ini) against a
// test server on 127.0.0.1.
class Comando : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidorBase.runScript(kUsuarioServidor);
        servidor = std::make_unique<ServidorDeTeste>(servidorBase.path());
        QFile ini(QDir(notebook.folder()).filePath(QStringLiteral("SisCon.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[CONFIG]\r\nPORTA_KQX=" + QByteArray::number(servidor->porta()) + "\r\n");
    }

    // Runs the command to its end while the test server answers; returns the exit status.
    int executa(const QStringList &argumentos)
    {
        QProcess processo;
        processo.setWorkingDirectory(notebook.folder());
        QEventLoop laco;
        QObject::connect(&processo, &QProcess::finished, &laco, &QEventLoop::quit);
        QObject::connect(&processo, &QProcess::errorOccurred, &laco, &QEventLoop::quit);
        processo.start(QStringLiteral(KORVEX_PROGRAMA), QStringList{QStringLiteral("sync")} + argumentos);
        QTimer::singleShot(60000, &laco, &QEventLoop::quit);
        laco.exec();
        if (processo.state() != QProcess::NotRunning) {
            processo.kill();
            processo.waitForFinished();
            return -1;
        }
        saida = QString::fromUtf8(processo.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        erros = QString::fromUtf8(processo.readAllStandardError());
        return processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1;
    }

    TestDatabase notebook;
    TestDatabase servidorBase;
    std::unique_ptr<ServidorDeTeste> servidor;
    QStringList saida;
    QString erros;
};

} // namespace

// Guards the headless first run from a fresh program folder (--pasta, holding only the
// company's SisCon.ini): the empty database shipped with the program is put in place, every
// status line is printed in order, status 0 after the success line, and the notebook is
// configured afterwards.
TEST_F(Comando, ConfiguraNotebookSemJanelas)
{
    QTemporaryDir novo;
    QFile::copy(QDir(notebook.folder()).filePath(QStringLiteral("SisCon.ini")), QDir(novo.path()).filePath(QStringLiteral("SisCon.ini")));
    const QStringList pasta{QStringLiteral("--pasta"), novo.path()};
    EXPECT_EQ(executa(pasta + QStringList{QStringLiteral("--server"), QStringLiteral("127.0.0.1"), QStringLiteral("--user"),
                                          QStringLiteral("ana"), QStringLiteral("--password"), QStringLiteral("segredo")}),
              0)
        << erros.toStdString();
    EXPECT_EQ(saida, (QStringList{LinhasStatus::iniciando, LinhasStatus::validandoUsuario, LinhasStatus::usuarioOk,
                                  LinhasStatus::semInformacoes, LinhasStatus::gerando, LinhasStatus::recebendo,
                                  LinhasStatus::extraindo, LinhasStatus::sucesso}));
    {
        FirebirdConnection cnx(QStringLiteral("comando1"));
        cnx.setDatabaseName(QDir(novo.path()).filePath(QStringLiteral("ORVALIS.FDB")));
        cnx.open();
        QSqlQuery q = cnx.query();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT NOMUSU FROM F599USU")) && q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("Ana"));
    } // the command's process must find the file free

    // Configured now: no option is needed.
    EXPECT_EQ(executa(pasta), 0) << erros.toStdString();
    EXPECT_EQ(saida.last(), LinhasStatus::sucesso);
}

// Guards the unconfigured notebook: without all three options nothing is attempted.
TEST_F(Comando, SemUsuarioExigeTresOpcoes)
{
    EXPECT_EQ(executa({QStringLiteral("--server"), QStringLiteral("127.0.0.1")}), 2);
    EXPECT_TRUE(erros.contains(QStringLiteral("USUÁRIO DEVE SER PREECHIDO!")));
    EXPECT_TRUE(servidor->recebidos.isEmpty());
}

// Guards the terminal outbox: "--pendentes" prints what the next package will carry and
// talks to no server.
TEST_F(Comando, PendentesListaSemAtualizar)
{
    notebook.runScript(kUsuarioServidor
                       + QStringLiteral("INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, STUCLI)"
                                        " VALUES (1, 55, 0, 7, 'Padaria Sol', 'A');\n"));
    EXPECT_EQ(executa({QStringLiteral("--pendentes")}), 0) << erros.toStdString();
    EXPECT_EQ(saida, (QStringList{QStringLiteral("Pendentes de envio: 1"), QStringLiteral("Clientes alterados (1)"),
                                  QStringLiteral("  55 Padaria Sol")}));
    EXPECT_TRUE(servidor->recebidos.isEmpty());
}

// Guards the version question: answered No, the command ends with a failure status.
TEST_F(Comando, VersaoIncorretaTerminaSemSucesso)
{
    servidor->trocas.insert("#VERSAO#", "#INCORRETO#1.0.3.0");
    EXPECT_EQ(executa({QStringLiteral("--server"), QStringLiteral("127.0.0.1"), QStringLiteral("--user"),
                       QStringLiteral("ana"), QStringLiteral("--password"), QStringLiteral("x")}),
              1);
    EXPECT_EQ(saida.last(), LinhasStatus::versaoIncorreta(QStringLiteral("1.0.3.0")));
    EXPECT_TRUE(erros.contains(QStringLiteral("Deseja fazer download da NOVA VERSÃO do KORVEX  agora ? Não")));
}

// Guards a kill during the download: the notebook keeps its working database, nothing is left
// set aside, and the next synchronisation completes.
TEST_F(Comando, MortoDuranteODownloadMantemBase)
{
    notebook.runScript(kUsuarioServidor);
    servidor->paraNoMeio = true;
    QProcess processo;
    processo.setWorkingDirectory(notebook.folder());
    processo.start(QStringLiteral(KORVEX_PROGRAMA), {QStringLiteral("sync")});
    QEventLoop laco;
    QByteArray lido;
    QObject::connect(&processo, &QProcess::readyReadStandardOutput, &laco, [&] {
        lido += processo.readAllStandardOutput();
        if (lido.contains(LinhasStatus::recebendo.toUtf8()))
            QTimer::singleShot(500, &laco, &QEventLoop::quit);
    });
    QTimer::singleShot(30000, &laco, &QEventLoop::quit);
    laco.exec();
    ASSERT_TRUE(lido.contains(LinhasStatus::recebendo.toUtf8())) << lido.toStdString();
    ASSERT_EQ(processo.state(), QProcess::Running);
    processo.kill();
    ASSERT_TRUE(processo.waitForFinished());

    const QDir pasta(notebook.folder());
    EXPECT_TRUE(QFile::exists(pasta.filePath(QStringLiteral("ORVALIS.FDB"))));
    EXPECT_FALSE(QFile::exists(pasta.filePath(QStringLiteral("ORVALIS.OLD"))));
    EXPECT_FALSE(QFile::exists(pasta.filePath(QStringLiteral("ORVALIS.KXD")))) << "an incomplete package is no package";
    {
        FirebirdConnection cnx(QStringLiteral("comando2"));
        notebook.open(cnx);
        QSqlQuery q = cnx.query();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT NOMUSU FROM F599USU")) && q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("Ana"));
    }

    // Where the file system gives temporaries a name, the kill leaves them beside the package.
    for (const char *nome : {"ORVALIS.KXD.aB3dE9", "ORVA1_25.FDB.Zq81Lm"}) {
        QFile resto(pasta.filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(resto.open(QIODevice::WriteOnly));
    }

    servidor->paraNoMeio = false;
    EXPECT_EQ(executa({}), 0) << erros.toStdString();
    EXPECT_EQ(saida.last(), LinhasStatus::sucesso);
    const QStringList restos = pasta.entryList({QStringLiteral("ORVALIS.KXD*"), QStringLiteral("ORVA*_*.FDB*")},
                                               QDir::Files);
    EXPECT_TRUE(restos.isEmpty()) << restos.join(u' ').toStdString();
}
