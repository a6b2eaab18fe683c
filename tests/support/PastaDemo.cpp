#include "PastaDemo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

namespace PastaDemo {

QString gerador()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/korvex-demodata");
}

QString gera(const QString &pasta, const QDate &hoje, const QString &semente, QString *erro)
{
    QProcess processo;
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(gerador(), {QStringLiteral("--out"), pasta, QStringLiteral("--seed"), semente,
                               QStringLiteral("--today"), hoje.toString(Qt::ISODate)});
    if (!processo.waitForFinished(240000) || processo.exitCode() != 0) {
        if (erro)
            *erro = QStringLiteral("korvex-demodata failed: ") + QString::fromUtf8(processo.readAll());
        return {};
    }
    const QString saida = QString::fromUtf8(processo.readAll());
    // Synchronous writes make every transaction start wait for the disk.
    QProcess::execute(QStringLiteral("gfix"), {QStringLiteral("-write"), QStringLiteral("async"),
                                               QDir(pasta).filePath(QStringLiteral("ORVALIS.FDB")),
                                               QStringLiteral("-user"), QStringLiteral("SYSDBA")});
    return saida;
}

namespace {
QString raizTestes()
{
    QString raiz = QString::fromLocal8Bit(qgetenv("KORVEX_TEST_TMP"));
    if (raiz.isEmpty())
        raiz = QStringLiteral(KORVEX_TEST_TMP_DEFAULT);
    QDir().mkpath(raiz);
    return raiz;
}
} // namespace

QString compartilhada(const QDate &hoje, QString *erro)
{
    const QString raiz = raizTestes();
    QLockFile trava(raiz + QStringLiteral("/demodata.lock"));
    trava.setStaleLockTime(0);
    trava.lock();
    const QString pasta = raiz + QStringLiteral("/demodata-") + hoje.toString(QStringLiteral("yyyyMMdd"));
    const QFileInfo arquivo(pasta + QStringLiteral("/ORVALIS.FDB"));
    const QString esquema = QString::fromLocal8Bit(qgetenv("KORVEX_SCHEMA"));
    const bool velho = !arquivo.exists() || arquivo.lastModified() < QFileInfo(gerador()).lastModified()
                       || (!esquema.isEmpty() && arquivo.lastModified() < QFileInfo(esquema).lastModified());
    if (velho) {
        QDir(pasta).removeRecursively();
        if (gera(pasta, hoje, QStringLiteral("1"), erro).isEmpty()) {
            QDir(pasta).removeRecursively();
            return {};
        }
    }
    return pasta;
}

bool copia(const QDate &hoje, const QString &destino, QString *erro)
{
    const QString origem = compartilhada(hoje, erro);
    if (origem.isEmpty())
        return false;
    // Another test process may be writing the shared folder again (a newer generator): a copy
    // taken meanwhile would be a half-written database file.
    QLockFile trava(raizTestes() + QStringLiteral("/demodata.lock"));
    trava.setStaleLockTime(0);
    trava.lock();
    QDir().mkpath(destino);
    for (const QString &nome : {QStringLiteral("ORVALIS.FDB"), QStringLiteral("SisCon.ini")}) {
        const QString alvo = QDir(destino).filePath(nome);
        QFile::remove(alvo);
        if (!QFile::copy(origem + u'/' + nome, alvo)) {
            if (erro)
                *erro = QStringLiteral("cannot copy ") + nome;
            return false;
        }
        QFile::setPermissions(alvo, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return true;
}

} // namespace PastaDemo
