#include "ClientDataSetPlus.h"
#include "FirebirdConnection.h"
#include "TestDatabase.h"
#include "U500CAD.h"

#include <gtest/gtest.h>

// Guards the unread-message check: only received ("R") unread ("N") messages of the company
// with a known sender count, and the dataset is left closed.
TEST(D500CAD, UnreadReceivedMessagesOfTheCompany)
{
    TestDatabase db;
    db.runScript(QStringLiteral(
        "INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 5, 'GERENTE');\n"
        "INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (2, 5, 'OUTRO');\n"
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DATMSG, SITMSG, ENVMSG) VALUES (1, 1, 5, 'lida', '03.04.2024', 'A', 'R');\n"
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DATMSG, SITMSG, ENVMSG) VALUES (1, 2, 5, 'minha', '03.04.2024', 'N', 'N');\n"
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DATMSG, SITMSG, ENVMSG) VALUES (2, 3, 5, 'nova', '03.04.2024', 'N', 'R');\n"));
    FirebirdConnection cnx(QStringLiteral("d500cad"));
    db.open(cnx);
    D500CAD cad(cnx);
    EXPECT_FALSE(cad.existemMensagensNovas(QStringLiteral("1")));
    EXPECT_TRUE(cad.existemMensagensNovas(QStringLiteral("2")));
    EXPECT_FALSE(cad.cdsMSGRecebidas->active());
    EXPECT_EQ(D500CAD::instance(), &cad);
}
