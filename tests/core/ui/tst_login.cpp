#include "AmbienteJanela.h"
#include "U500ATS.h"
#include "U500LOG.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

// The login window and the password change window, driven through their controls.
class TstLogin : public QObject
{
    Q_OBJECT

private:
    static QString usuario(const QString &expsen)
    {
        return QStringLiteral("INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, EXPSEN, EXPANT) "
                              "VALUES (7, 'Marcos', '%1', 1, 3, '%2', 'N');\n")
            .arg(D500DAT::embaralhaSenha(QStringLiteral("venda123")), expsen);
    }

    static void tenta(F500LOG &login, const QString &nome, const QString &senha)
    {
        login.findChild<QLineEdit *>(QStringLiteral("edusuario"))->setText(nome);
        login.findChild<QLineEdit *>(QStringLiteral("edsenha"))->setText(senha);
        QTest::mouseClick(login.findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    }

private slots:
    // Guards the login by a name typed in another case: it is the same user.
    void nameInAnyCaseIsAccepted()
    {
        AmbienteJanela amb;
        F500LOG login(QStringLiteral("Marcos"), D500DAT::embaralhaSenha(QStringLiteral("venda123")));
        QCOMPARE(login.findChild<QLineEdit *>(QStringLiteral("edusuario"))->text(), QStringLiteral("MARCOS"));
        login.show();
        tenta(login, QStringLiteral("marcos"), QStringLiteral("venda123"));
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QVERIFY(amb.respostas.shown.isEmpty());
        QCOMPARE(amb.encerramentos, 0);
    }

    // Guards the attempts: three failures keep the window, the fourth ends the program.
    void fourthFailureEndsProgram()
    {
        AmbienteJanela amb;
        F500LOG login(QStringLiteral("MARCOS"), D500DAT::embaralhaSenha(QStringLiteral("venda123")));
        login.show();
        tenta(login, QStringLiteral("MARCOS"), QStringLiteral("VENDA123")); // password case counts
        tenta(login, QStringLiteral("OUTRO"), QStringLiteral("venda123"));  // wrong name, same message
        tenta(login, QStringLiteral("MARCOS"), QStringLiteral("errada"));
        QVERIFY(login.isVisible());
        QCOMPARE(amb.encerramentos, 0);
        QCOMPARE(amb.textos(), QStringList(3, QStringLiteral("USUÁRIO OU SENHA INVÁLIDO. VERIFIQUE!")));
        QVERIFY(login.findChild<QLineEdit *>(QStringLiteral("edsenha"))->text().isEmpty());

        tenta(login, QStringLiteral("MARCOS"), QStringLiteral("errada"));
        QCOMPARE(amb.respostas.lastText(), QStringLiteral("SUAS TENTATIVAS ACABARAM. SISTEMA SERÁ FINALIZADO."));
        QCOMPARE(amb.respostas.shown.size(), 5);
        QCOMPARE(amb.encerramentos, 1);
        QVERIFY(!login.isVisible());
        QCOMPARE(login.result(), int(QDialog::Rejected));
    }

    // Guards cancelling: Cancel and Escape both end the program.
    void cancelEndsProgram()
    {
        AmbienteJanela amb;
        F500LOG login(QStringLiteral("MARCOS"), QString());
        login.show();
        QTest::mouseClick(login.findChild<QPushButton *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
        QCOMPARE(amb.encerramentos, 1);

        F500LOG outro(QStringLiteral("MARCOS"), QString());
        outro.show();
        QTest::keyClick(&outro, Qt::Key_Escape);
        QCOMPARE(amb.encerramentos, 2);
    }

    // Guards the default login: it takes the user of the first row of the user table.
    void defaultLoginReadsUserTable()
    {
        AmbienteJanela amb(usuario(QStringLiteral("N")));
        amb.db->open(amb.dat->cnxFirebird);
        amb.dat->abreLogado();
        F500LOG login;
        login.show();
        tenta(login, QStringLiteral("MARCOS"), QStringLiteral("venda123"));
        QCOMPARE(login.result(), int(QDialog::Accepted));
    }

    // Guards the change checks: a differing confirmation and the current password are refused
    // with both edits emptied and nothing written.
    void passwordChangeRefusals()
    {
        AmbienteJanela amb(usuario(QStringLiteral("S")));
        amb.db->open(amb.dat->cnxFirebird);
        amb.dat->carregaUsuario();
        F500ATS troca;
        troca.show();
        auto *senha = troca.findChild<QLineEdit *>(QStringLiteral("EDSENHA"));
        auto *confirmacao = troca.findChild<QLineEdit *>(QStringLiteral("edCONFsenha"));
        auto *ok = troca.findChild<QPushButton *>(QStringLiteral("BitBtn1"));

        senha->setText(QStringLiteral("nova123"));
        confirmacao->setText(QStringLiteral("nova124"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(amb.respostas.lastText(), QStringLiteral("Senha não Confere. Digite novamente!"));
        QVERIFY(senha->text().isEmpty() && confirmacao->text().isEmpty());

        senha->setText(QStringLiteral("venda123"));
        confirmacao->setText(QStringLiteral("venda123"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(amb.respostas.lastText(), QStringLiteral("Senha não pode ser a mesma senha ATUAL. Digite novamente!"));
        QVERIFY(troca.isVisible());
        QCOMPARE(amb.dat->sessao.EXPSEN, QStringLiteral("S"));
    }

    // Guards the accepted change: stored scrambled, expiry cleared, session reloaded, login works.
    void passwordChangeStoresAndReloads()
    {
        AmbienteJanela amb(usuario(QStringLiteral("S")));
        amb.db->open(amb.dat->cnxFirebird);
        amb.dat->carregaUsuario();
        F500ATS troca;
        troca.show();
        troca.findChild<QLineEdit *>(QStringLiteral("EDSENHA"))->setText(QStringLiteral("nova123"));
        troca.findChild<QLineEdit *>(QStringLiteral("edCONFsenha"))->setText(QStringLiteral("nova123"));
        QTest::mouseClick(troca.findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        QCOMPARE(troca.result(), int(QDialog::Accepted));
        QVERIFY(amb.respostas.shown.isEmpty());
        QCOMPARE(amb.dat->sessao.EXPSEN, QStringLiteral("N"));
        QCOMPARE(D500DAT::embaralhaSenha(amb.dat->sessao.SENUSU), QStringLiteral("nova123"));
        RegrasLogin regras(amb.dat->sessao.NOMUSU, amb.dat->sessao.SENUSU);
        QCOMPARE(regras.confirma(QStringLiteral("marcos"), QStringLiteral("nova123")), RegrasLogin::Resultado::Aceito);
    }

    // Guards a failing update: the engine's message is shown and the window stays open.
    void passwordChangeFailureKeepsWindow()
    {
        AmbienteJanela amb(usuario(QStringLiteral("S")));
        amb.db->open(amb.dat->cnxFirebird);
        amb.dat->carregaUsuario();
        amb.dat->cnxFirebird.close();
        F500ATS troca;
        troca.show();
        troca.findChild<QLineEdit *>(QStringLiteral("EDSENHA"))->setText(QStringLiteral("nova123"));
        troca.findChild<QLineEdit *>(QStringLiteral("edCONFsenha"))->setText(QStringLiteral("nova123"));
        QTest::mouseClick(troca.findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        QCOMPARE(amb.respostas.shown.size(), 1);
        QCOMPARE(amb.respostas.shown.first().kind, TipoMensagem::Erro);
        QVERIFY(troca.isVisible());
        QCOMPARE(amb.dat->sessao.EXPSEN, QStringLiteral("S"));
    }
};

QTEST_MAIN(TstLogin)
#include "tst_login.moc"
