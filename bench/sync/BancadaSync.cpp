#include "BancadaSync.h"
#include "FirebirdConnection.h"
#include "DatabaseError.h"
#include <QSqlRecord>
#include <QSqlQuery>

#include "D500DAT.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

namespace BancadaSync {

QString pastaDados(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == QLatin1String("--data"))
            return QString::fromLocal8Bit(argv[i + 1]);
    return QString();
}

double tempoMs(const std::function<void()> &acao)
{
    QElapsedTimer relogio;
    relogio.start();
    acao();
    return static_cast<double>(relogio.nsecsElapsed()) / 1e6;
}

qint64 picoMemoriaKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QList<QByteArray> linhas = status.readAll().split('\n');
    for (const QByteArray &linha : linhas) {
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void figura(const QString &nome, const QString &texto)
{
    std::printf("  %s: %s\n", qUtf8Printable(nome), qUtf8Printable(texto));
    std::fflush(stdout);
}

bool alvo(const QString &descricao, bool passou, const QString &valor)
{
    std::printf("  target %s: %s -> %s\n", qUtf8Printable(descricao), qUtf8Printable(valor),
                passou ? "PASS" : "FAIL");
    std::fflush(stdout);
    return passou;
}

CopiaDados::CopiaDados(const QString &pastaDados)
    : m_pasta(QDir::tempPath() + QStringLiteral("/korvex-bench-sync-XXXXXX"))
{
    const QString origem = QDir(pastaDados).filePath(QStringLiteral("ORVALIS.FDB"));
    if (!QFile::exists(origem))
        throw std::runtime_error("data set not found: " + origem.toStdString());
    if (!m_pasta.isValid() || !QFile::copy(origem, base()))
        throw std::runtime_error("cannot copy the data set to " + base().toStdString());
    QFile::setPermissions(base(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString ini = QDir(pastaDados).filePath(QStringLiteral("SisCon.ini"));
    if (QFile::exists(ini))
        QFile::copy(ini, QDir(pasta()).filePath(QStringLiteral("SisCon.ini")));
}

QString CopiaDados::base() const
{
    return QDir(m_pasta.path()).filePath(QStringLiteral("ORVALIS.FDB"));
}

std::unique_ptr<D500DAT> abreNotebook(const QString &arquivoBase)
{
    auto dat = std::make_unique<D500DAT>();
    dat->cnxFirebird.setDatabaseName(arquivoBase);
    dat->cnxFirebird.open();
    dat->carregaUsuario();
    return dat;
}

qint64 leLinhas(FirebirdConnection &cnx, const QString &sql)
{
    QSqlQuery q = cnx.query();
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw DatabaseError(QStringLiteral("consulta falhou: ") + sql);
    const int n = q.record().count();
    qint64 linhas = 0;
    while (q.next()) {
        for (int i = 0; i < n; ++i)
            q.value(i);
        ++linhas;
    }
    return linhas;
}

} // namespace BancadaSync
