#pragma once

#include "DemoScale.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

class FirebirdConnection;

// Builds a demonstration installation in a folder: the database file ORVALIS.FDB created from
// the contract and filled with a company's data around one seller (user MARCOS), and the
// configuration file SisCon.ini.
class DemoDataGenerator
{
public:
    DemoDataGenerator(const QString &folder, const DemoScale &scale, quint64 seed);

    // The day the data is built around (default: today).
    void setToday(const QDate &today, const QTime &now);
    // The installation of the sellers' supervisor (ROBERTO, no seller code of his own) instead of
    // the seller MARCOS; the company's data is the same.
    void setSupervisorLogin(bool supervisor) { m_supervisorLogin = supervisor; }

    // Throws DatabaseError on failure. Returns the number of rows written.
    qint64 run();

    // How long each phase of the last run took, for the command's report.
    const QStringList &phases() const { return m_phases; }

    static QString databaseFileName() { return QStringLiteral("ORVALIS.FDB"); }
    static QString configurationFileName() { return QStringLiteral("SisCon.ini"); }
    static QString companyName();
    static QString userName() { return QStringLiteral("MARCOS"); }
    static QString userPassword() { return QStringLiteral("venda123"); }
    static QString supervisorName() { return QStringLiteral("ROBERTO"); }
    static QString supervisorPassword() { return QStringLiteral("super123"); }
    QString loginName() const { return m_supervisorLogin ? supervisorName() : userName(); }
    QString loginPassword() const { return m_supervisorLogin ? supervisorPassword() : userPassword(); }

private:
    void writeConfiguration() const;
    static void setForcedWrites(const QString &file, bool on);
    static QStringList userIndexes(FirebirdConnection &connection);
    static void setIndexesActive(FirebirdConnection &connection, const QStringList &indexes, bool active);

    QString m_folder;
    DemoScale m_scale;
    quint64 m_seed;
    QDate m_today;
    QTime m_now;
    QStringList m_phases;
    bool m_supervisorLogin = false;
};
