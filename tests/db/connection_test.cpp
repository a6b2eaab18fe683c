#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

// Guards the embedded connection: a file opens by path and COMMIT as a statement is harmless.
TEST(Connection, OpensFileAndAcceptsCommitStatement)
{
    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("t1"));
    db.open(cnx);
    EXPECT_EQ(cnx.execute(QStringLiteral("INSERT INTO F599USU (CODUSU, NOMUSU) VALUES (1, 'ação')")), 1);
    EXPECT_NO_THROW(cnx.execute(QStringLiteral("COMMIT")));
    QSqlQuery q = cnx.query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT NOMUSU FROM F599USU")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("ação"));
}

// A failing statement reaches the caller with the engine's message.
TEST(Connection, FailureCarriesEngineMessage)
{
    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("t2"));
    db.open(cnx);
    try {
        cnx.execute(QStringLiteral("INSERT INTO NO_SUCH_TABLE VALUES (1)"));
        FAIL() << "expected an error";
    } catch (const DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NO_SUCH_TABLE"))) << e.what();
    }
}
