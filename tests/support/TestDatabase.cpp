#include "TestDatabase.h"

#include "DatabaseError.h"
#include "DatabaseFactory.h"
#include "FirebirdConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>

namespace {
QString testTmpRoot()
{
    QString root = QString::fromLocal8Bit(qgetenv("KORVEX_TEST_TMP"));
    if (root.isEmpty())
        root = QStringLiteral(KORVEX_TEST_TMP_DEFAULT);
    QDir().mkpath(root);
    return root;
}
} // namespace

QString TestDatabase::templatePath()
{
    const QString root = testTmpRoot();
    const QString schema = DatabaseFactory::defaultSchemaFile();
    const QString target = root + QStringLiteral("/template.fdb");
    QLockFile lock(root + QStringLiteral("/template.lock"));
    lock.setStaleLockTime(0);
    lock.lock();
    const QFileInfo t(target), s(schema);
    if (!t.exists() || t.lastModified() < s.lastModified()) {
        const QString building = root + QStringLiteral("/template-building.fdb");
        DatabaseFactory::create(building, schema);
        // Test files are throw-away: without forced writes each transaction start stops
        // for a disk sync, which makes a suite crawl on a busy disk.
        QProcess::execute(QStringLiteral("gfix"), {QStringLiteral("-write"), QStringLiteral("async"), building,
                                                   QStringLiteral("-user"), QStringLiteral("SYSDBA")});
        QFile::remove(target);
        QFile::rename(building, target);
    }
    return target;
}

TestDatabase::TestDatabase()
    : m_dir(testTmpRoot() + QStringLiteral("/db-XXXXXX"))
{
    m_path = m_dir.path() + QStringLiteral("/ORVALIS.FDB");
    if (!QFile::copy(templatePath(), m_path))
        throw DatabaseError(QStringLiteral("Não foi possível copiar o banco modelo para ") + m_path);
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TestDatabase::~TestDatabase() = default;

void TestDatabase::open(FirebirdConnection &connection) const
{
    connection.close();
    connection.setDatabaseName(m_path);
    connection.open();
}

void TestDatabase::runScript(const QString &script) const
{
    DatabaseFactory::runScript(m_path, script);
}
