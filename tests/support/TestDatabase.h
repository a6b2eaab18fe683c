#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class FirebirdConnection;

// A fresh database built from db/schema.sql for one test: the schema is turned into a
// template file once per build (guarded by a lock file, so parallel tests share it) and
// copied into a temporary folder for each fixture.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    QString path() const { return m_path; }   // absolute path of the copy
    QString folder() const { return m_dir.path(); }

    // Opens the given connection on the copy.
    void open(FirebirdConnection &connection) const;
    // Runs a script (UTF-8) on the copy with isql-fb (nothing may be attached to it).
    void runScript(const QString &script) const;

    static QString templatePath();

private:
    QTemporaryDir m_dir;
    QString m_path;
};
