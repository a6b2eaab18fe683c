#include "BaseLocalSincronizacao.h"
#include "FirebirdConnection.h"
#include "TestDatabase.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

int conta(FirebirdConnection &cnx, const QString &sql)
{
    QSqlQuery q = cnx.query();
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

// Guards the refused-user path: every table loses its rows, the user table included, and the
// tables themselves stay.
TEST(BaseLocalSincronizacao, EsvaziaTodasAsTabelas)
{
    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("baselocal1"));
    db.open(cnx);
    cnx.execute(QStringLiteral("INSERT INTO F599USU (CODUSU, NOMUSU) VALUES (25, 'ANA')"));
    cnx.execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, PDFORC) VALUES (1, 1, 0, 'D', 'N')"));
    cnx.execute(QStringLiteral("INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 1, 3)"));

    BaseLocalSincronizacao base(cnx);
    const QStringList tabelas = base.tabelas();
    QStringList nomes;
    for (const QString &tabela : tabelas)
        nomes << tabela.trimmed();
    EXPECT_GE(tabelas.size(), 30);
    EXPECT_TRUE(nomes.contains(QStringLiteral("F599USU")));
    EXPECT_TRUE(nomes.contains(QStringLiteral("F530PDF")));
    EXPECT_FALSE(nomes.contains(QStringLiteral("RDB$RELATIONS"))) << "no system table";

    base.esvaziaTabelas();
    for (const QString &tabela : tabelas)
        EXPECT_EQ(conta(cnx, QStringLiteral("SELECT COUNT(*) FROM ") + tabela), 0) << tabela.toStdString();
    EXPECT_EQ(base.tabelas(), tabelas);
}

// Guards the "#GERANDO#" marks: only typed non-budget orders and outgoing messages change.
TEST(BaseLocalSincronizacao, MarcaSoOsEnviados)
{
    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("baselocal2"));
    db.open(cnx);
    cnx.execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, PDFORC) VALUES (1, 1, 0, 'D', 'N')"));
    cnx.execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, PDFORC) VALUES (1, 2, 0, 'D', 'S')"));
    cnx.execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, PDFORC) VALUES (1, 3, 9, 'F', 'N')"));
    cnx.execute(QStringLiteral("INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, ENVMSG) VALUES (1, 1, 25, 'N')"));
    cnx.execute(QStringLiteral("INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, ENVMSG) VALUES (1, 2, 3, 'R')"));

    BaseLocalSincronizacao(cnx).marcaEnviados();
    EXPECT_EQ(conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 1 AND SITPDF = 'L'")), 1);
    EXPECT_EQ(conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 2 AND SITPDF = 'D'")), 1)
        << "a budget stays typed";
    EXPECT_EQ(conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 3 AND SITPDF = 'F'")), 1);
    EXPECT_EQ(conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = 1 AND ENVMSG = 'E'")), 1);
    EXPECT_EQ(conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = 2 AND ENVMSG = 'R'")), 1);
}
