#include "D500DAT.h"
#include "FirebirdConnection.h"
#include "RegrasLogin.h"
#include "TestDatabase.h"
#include "TrocaSenha.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
QString guardada(const QString &senha)
{
    return D500DAT::embaralhaSenha(senha);
}
} // namespace

// Guards the comparison: the name in any case (accents too), the password exactly.
TEST(RegrasLogin, NameInAnyCasePasswordExact)
{
    RegrasLogin regras(QStringLiteral("Marcos João"), guardada(QStringLiteral("venda123")));
    EXPECT_EQ(regras.nomeInicial(), QStringLiteral("MARCOS JOÃO"));
    EXPECT_EQ(regras.confirma(QStringLiteral("marcos joão"), QStringLiteral("venda123")), RegrasLogin::Resultado::Aceito);
    EXPECT_EQ(regras.confirma(QStringLiteral("MARCOS JOÃO"), QStringLiteral("VENDA123")), RegrasLogin::Resultado::Recusado);
    EXPECT_EQ(regras.confirma(QStringLiteral("MARCOS JOÃO"), QStringLiteral("venda123 ")), RegrasLogin::Resultado::Recusado);
    EXPECT_EQ(regras.confirma(QStringLiteral("MARCO"), QStringLiteral("venda123")), RegrasLogin::Resultado::Recusado);
}

// Guards the counter: three failures leave attempts to spare, the fourth exhausts them.
TEST(RegrasLogin, FourthFailureExhaustsAttempts)
{
    RegrasLogin regras(QStringLiteral("MARCOS"), guardada(QStringLiteral("venda123")));
    EXPECT_EQ(regras.tentativas(), 1);
    for (int i = 0; i < 3; ++i) {
        regras.confirma(QStringLiteral("MARCOS"), QStringLiteral("errada"));
        EXPECT_FALSE(regras.esgotadas()) << i;
    }
    regras.confirma(QStringLiteral("MARCOS"), QStringLiteral("errada"));
    EXPECT_TRUE(regras.esgotadas());
}

// Guards the empty password: it matches a stored empty password.
TEST(RegrasLogin, EmptyPasswordMatchesEmptyStored)
{
    RegrasLogin regras(QStringLiteral("ANA"), QString());
    EXPECT_EQ(regras.confirma(QStringLiteral("ana"), QString()), RegrasLogin::Resultado::Aceito);
}

// Guards the order of the change checks and the acceptance of an empty new password.
TEST(TrocaSenha, ChecksInOrder)
{
    const QString atual = guardada(QStringLiteral("venda123"));
    using R = TrocaSenha::Resultado;
    EXPECT_EQ(TrocaSenha::valida(QStringLiteral("nova1"), QStringLiteral("nova2"), atual), R::ConfirmacaoDiferente);
    EXPECT_EQ(TrocaSenha::valida(QStringLiteral("venda123"), QStringLiteral("venda123"), atual), R::IgualAtual);
    EXPECT_EQ(TrocaSenha::valida(QStringLiteral("nova1"), QStringLiteral("nova1"), atual), R::Aceita);
    EXPECT_EQ(TrocaSenha::valida(QString(), QString(), atual), R::Aceita);
    EXPECT_EQ(TrocaSenha::mensagem(R::ConfirmacaoDiferente), QStringLiteral("Senha não Confere. Digite novamente!"));
    EXPECT_EQ(TrocaSenha::mensagem(R::IgualAtual),
              QStringLiteral("Senha não pode ser a mesma senha ATUAL. Digite novamente!"));
}

// Guards a lock-out: a password that scrambling would change (a trailing blank) is refused.
TEST(TrocaSenha, PasswordThatCannotBeTypedBackIsRefused)
{
    const QString atual = guardada(QStringLiteral("venda123"));
    EXPECT_EQ(TrocaSenha::valida(QStringLiteral("nova1 "), QStringLiteral("nova1 "), atual),
              TrocaSenha::Resultado::NaoPreservada);
}

// Guards the stored password: scrambled, expiry cleared, read back by the login.
TEST(TrocaSenha, StoresScrambledPasswordAndClearsExpiry)
{
    TestDatabase db;
    db.runScript(QStringLiteral("INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, EXPSEN) VALUES (1, 'MARCOS', 'x', 'S');\n"));
    FirebirdConnection cnx(QStringLiteral("troca-senha"));
    db.open(cnx);
    const QString nova = QStringLiteral("Nova#Senha1");
    ASSERT_TRUE(D500DAT::senhaPreservada(nova));
    TrocaSenha::grava(cnx, nova);
    QSqlQuery q = cnx.query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT SENUSU, EXPSEN FROM F599USU")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(D500DAT::embaralhaSenha(q.value(0).toString()), nova);
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("N"));
}
