#include "DemoDataGenerator.h"

#include "ActivityData.h"
#include "BulkLoader.h"
#include "CatalogueData.h"
#include "CustomerData.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "DatabaseFactory.h"
#include "DemoContext.h"
#include "DemoRandom.h"
#include "DemoValues.h"
#include "FirebirdConnection.h"
#include "OrderData.h"
#include "OrganisationData.h"
#include "RowWriter.h"
#include "Windows1252.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>

using namespace DemoValues;

DemoDataGenerator::DemoDataGenerator(const QString &folder, const DemoScale &scale, quint64 seed)
    : m_folder(folder)
    , m_scale(scale)
    , m_seed(seed)
    , m_today(QDate::currentDate())
{
    setToday(QDate::currentDate(), QTime::currentTime());
}

void DemoDataGenerator::setToday(const QDate &today, const QTime &now)
{
    m_today = today;
    m_now = QTime(now.hour(), now.minute(), now.second()); // TIME keeps whole seconds here
}

QString DemoDataGenerator::companyName()
{
    return QStringLiteral("Horizonte Distribuição de Alimentos Ltda");
}

QStringList DemoDataGenerator::userIndexes(FirebirdConnection &connection)
{
    QStringList names;
    QSqlQuery q = connection.query();
    if (!q.exec(QStringLiteral("SELECT RDB$INDEX_NAME FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                               "AND RDB$FOREIGN_KEY IS NULL AND RDB$INDEX_NAME NOT STARTING WITH 'RDB$'")))
        throw DatabaseError(q.lastError().text());
    while (q.next())
        names << q.value(0).toString().trimmed();
    return names;
}

void DemoDataGenerator::setIndexesActive(FirebirdConnection &connection, const QStringList &indexes, bool active)
{
    for (const QString &index : indexes) {
        QSqlQuery q = connection.query();
        if (!q.exec(QStringLiteral("ALTER INDEX %1 %2").arg(index, active ? QStringLiteral("ACTIVE")
                                                                          : QStringLiteral("INACTIVE"))))
            throw DatabaseError(q.lastError().text());
    }
}

void DemoDataGenerator::setForcedWrites(const QString &file, bool on)
{
    // Synchronous page writes make a bulk load wait on the disk for every page; the file is
    // written without them and switched back before it is handed over. Without gfix the load
    // is only slower.
    QProcess gfix;
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-write"), on ? QStringLiteral("sync") : QStringLiteral("async"),
                                        file, QStringLiteral("-user"), QStringLiteral("SYSDBA")});
    gfix.waitForFinished(60000);
}

qint64 DemoDataGenerator::run()
{
    if (!QDir().mkpath(m_folder))
        throw DatabaseError(QStringLiteral("Não foi possível criar a pasta ") + m_folder);
    const QString file = QDir(m_folder).absoluteFilePath(databaseFileName());
    m_phases.clear();
    QElapsedTimer timer;
    timer.start();
    auto phase = [&](const QString &name) {
        m_phases << QStringLiteral("%1: %2 s").arg(name, QString::number(timer.restart() / 1000.0, 'f', 1));
    };
    DatabaseFactory::create(file, DatabaseFactory::defaultSchemaFile());
    setForcedWrites(file, false);
    phase(QStringLiteral("arquivo e tabelas"));

    qint64 rows = 0;
    {
        FirebirdConnection connection(QStringLiteral("korvex_demodata"));
        connection.setDatabaseName(file);
        connection.open();
        // The indexes are built once at the end rather than row by row.
        const QStringList indexes = userIndexes(connection);
        setIndexesActive(connection, indexes, false);
        DemoRandom random(m_seed);
        BulkLoader loader(connection);
        DemoContext context(loader, random, m_scale, m_today, m_now);

        OrganisationData(context).write();
        CatalogueData(context).write();
        CustomerData(context).write();
        OrderData(context).write();
        ActivityData(context).write();

        // Sellers and the user last: their flex figures follow from the unsettled orders.
        RowWriter sellers(loader, QStringLiteral("F512VEN"),
                          {QStringLiteral("CODEMP"), QStringLiteral("CODVEN"), QStringLiteral("NOMVEN"),
                           QStringLiteral("DDAEND"), QStringLiteral("TEAEND"), QStringLiteral("DDBEND"),
                           QStringLiteral("TEBEND"), QStringLiteral("EMLEND"), QStringLiteral("CNTSAL"),
                           QStringLiteral("CNTACU")});
        for (const DemoSeller &s : std::as_const(context.sellers)) {
            const double balance = s.code == context.userSeller ? context.userOpenFlex + context.flexTarget : s.balance;
            const QString mail = asciiWord(s.name.section(u' ', 0, 0)) + u'.' + asciiWord(s.name.section(u' ', -1))
                                 + QStringLiteral("@horizontedistribuidora.com.br");
            sellers.add({code(context.company), code(s.code), text(s.name), text(s.areaCode),
                         text(QStringLiteral("3%1-%2").arg(s.code * 37 % 1000, 3, 10, QLatin1Char('0')).arg(s.code * 173 % 10000, 4, 10, QLatin1Char('0'))),
                         text(s.areaCode),
                         text(QStringLiteral("9%1-%2").arg(s.code * 911 % 10000, 4, 10, QLatin1Char('0')).arg(s.code * 53 % 10000, 4, 10, QLatin1Char('0'))),
                         text(mail), dec(balance, 2), dec(s.accumulated, 2)});
        }
        RowWriter user(loader, QStringLiteral("F599USU"),
                       {QStringLiteral("CODUSU"), QStringLiteral("NOMUSU"), QStringLiteral("SENUSU"),
                        QStringLiteral("CODCCU"), QStringLiteral("CODEMP"), QStringLiteral("CODVEN"),
                        QStringLiteral("CODSUP"), QStringLiteral("HSTSRV"), QStringLiteral("DATATL"),
                        QStringLiteral("HORATL"), QStringLiteral("USASUP"), QStringLiteral("SLDFLX"),
                        QStringLiteral("ACRTAB"), QStringLiteral("ESTCID"), QStringLiteral("DESRET"),
                        QStringLiteral("EXPSEN"), QStringLiteral("EXPANT"), QStringLiteral("SENANT")});
        const bool supervisor = m_supervisorLogin;
        user.add({code(supervisor ? context.supervisor : context.userCode), text(loginName()),
                  text(D500DAT::embaralhaSenha(loginPassword())), code(context.userCostCentre),
                  code(context.company), supervisor ? null() : code(context.userSeller),
                  code(context.supervisor), text(QStringLiteral("127.0.0.1")), date(m_today), QVariant(m_now),
                  text(QStringLiteral("S")), dec(supervisor ? 0.0 : context.flexTarget, 2), dec(context.surcharge, 2),
                  text(context.userState), dec(context.pickUpDiscount, 2), text(QStringLiteral("N")),
                  text(QStringLiteral("N")), QVariant(QStringLiteral(""))});
        loader.finish();
        if (m_supervisorLogin) {
            // The supervisor's notebook holds the company's data but none of the seller's work
            // still waiting to be sent: it would go up again under the supervisor's name.
            for (const char *sql :
                 {"DELETE FROM F530IPF I WHERE EXISTS (SELECT 1 FROM F530PDF P WHERE P.CODEMP = I.CODEMP "
                  "AND P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT AND P.SITPDF = 'D')",
                  "DELETE FROM F530PDF WHERE SITPDF = 'D'", "DELETE FROM F510CLI WHERE CODCLI = 0",
                  "UPDATE F510CLI SET STUCLI = 'E' WHERE STUCLI = 'A'",
                  "DELETE FROM F599MDT D WHERE EXISTS (SELECT 1 FROM F599MSG M WHERE M.CODEMP = D.CODEMP "
                  "AND M.CODMSG = D.CODMSG AND M.ENVMSG = 'N')",
                  "DELETE FROM F599MSG WHERE ENVMSG = 'N'"})
                connection.execute(QString::fromLatin1(sql));
        }
        phase(QStringLiteral("linhas"));
        setIndexesActive(connection, indexes, true);
        phase(QStringLiteral("índices"));
        rows = loader.totalRows();
        connection.close();
    }
    setForcedWrites(file, true);
    writeConfiguration();
    return rows;
}

void DemoDataGenerator::writeConfiguration() const
{
    QFile file(QDir(m_folder).absoluteFilePath(configurationFileName()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DatabaseError(QStringLiteral("Não foi possível gravar ") + file.fileName());
    const QString text = QStringLiteral("[CONFIG]\r\nPORTA_KQX=5111\r\nEMPRESA=") + companyName()
                         + QStringLiteral("\r\nCOR=clSkyBlue\r\n");
    file.write(Windows1252::encode(text));
}
