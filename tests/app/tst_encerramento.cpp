#include "InstanciaUnica.h"
#include "PastaDemo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The real program, stopped by a signal while its login window waits for the seller: a desktop
// logout or shutdown must end it as "Sair" does, without needing SIGKILL.
class TstEncerramento : public QObject
{
    Q_OBJECT

private slots:
    void sinalEncerraComoSair_data();
    void sinalEncerraComoSair();
};

void TstEncerramento::sinalEncerraComoSair_data()
{
    QTest::addColumn<int>("sinal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// Guards against a program that ignores the signal (the engine's own handlers took it), dies
// without releasing the folder, or loses the copy of the order being typed.
void TstEncerramento::sinalEncerraComoSair()
{
    QFETCH(int, sinal);
    QTemporaryDir pasta;
    QString erro;
    QVERIFY2(PastaDemo::copia(QDate::currentDate(), pasta.path(), &erro), qPrintable(erro));
    const QByteArray copiaPedido = "<pedido meio digitado/>";
    for (const char *nome : {"BKPPED.XML", "BKPITEM.XML"}) {
        QFile arquivo(QDir(pasta.path()).filePath(QLatin1String(nome)));
        QVERIFY(arquivo.open(QIODevice::WriteOnly));
        arquivo.write(copiaPedido);
    }

    QProcess korvex;
    korvex.setWorkingDirectory(pasta.path());
    korvex.setProcessChannelMode(QProcess::ForwardedChannels);
    korvex.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvex"), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QVERIFY(korvex.waitForStarted());
    const QString trava = QDir(pasta.path()).filePath(InstanciaUnica::nomeArquivo());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(trava), 30000);
    QTest::qWait(1500); // the login window is up and waiting

    ::kill(static_cast<pid_t>(korvex.processId()), sinal);
    QVERIFY2(korvex.waitForFinished(20000), "the program did not end on the signal");
    QCOMPARE(korvex.exitStatus(), QProcess::NormalExit);
    QCOMPARE(korvex.exitCode(), 0);
    QVERIFY(!QFile::exists(trava));
    for (const char *nome : {"BKPPED.XML", "BKPITEM.XML"}) {
        QFile arquivo(QDir(pasta.path()).filePath(QLatin1String(nome)));
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        QCOMPARE(arquivo.readAll(), copiaPedido);
    }
}

QTEST_MAIN(TstEncerramento)
#include "tst_encerramento.moc"
