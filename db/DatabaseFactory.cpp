#include "DatabaseFactory.h"

#include "DatabaseError.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

namespace {

QString quoted(const QString &text)
{
    QString t = text;
    t.replace(u'\'', QLatin1String("''"));
    return u'\'' + t + u'\'';
}

void runIsql(const QStringList &arguments, const QByteArray &script)
{
    QTemporaryFile file;
    if (!file.open())
        throw DatabaseError(QStringLiteral("Não foi possível criar o arquivo temporário do script."));
    file.write(script);
    file.flush();

    QProcess isql;
    QStringList args = arguments;
    args << QStringLiteral("-q") << QStringLiteral("-b") << QStringLiteral("-ch") << QStringLiteral("UTF8")
         << QStringLiteral("-i") << file.fileName();
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"), args);
    if (!isql.waitForFinished(600000))
        throw DatabaseError(QStringLiteral("isql-fb não terminou: ") + isql.errorString());
    const QString output = QString::fromUtf8(isql.readAll());
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0)
        throw DatabaseError(QStringLiteral("isql-fb falhou: ") + output);
}

} // namespace

namespace DatabaseFactory {

void create(const QString &path, const QString &schemaFile)
{
    QFile schema(schemaFile);
    if (!schema.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível ler ") + schemaFile);
    QFile::remove(path);
    QByteArray script = "SET NAMES UTF8;\n";
    script += "CREATE DATABASE " + quoted(QFileInfo(path).absoluteFilePath()).toUtf8()
              + " USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n";
    script += schema.readAll();
    script += "\nCOMMIT;\n";
    runIsql({}, script);
}

void runScript(const QString &path, const QString &scriptText)
{
    QByteArray script = "SET NAMES UTF8;\n";
    script += scriptText.toUtf8();
    script += "\nCOMMIT;\n";
    runIsql({QFileInfo(path).absoluteFilePath(), QStringLiteral("-user"), QStringLiteral("SYSDBA")}, script);
}

QString defaultSchemaFile()
{
    const QByteArray env = qgetenv("KORVEX_SCHEMA");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QStringLiteral(KORVEX_SCHEMA_FILE);
}

} // namespace DatabaseFactory
