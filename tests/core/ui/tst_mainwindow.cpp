#include "AmbienteJanela.h"
#include "ModuleFrame.h"
#include "Relogio.h"
#include "U500PRI.h"
#include "U599CAD.h"

#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {
const QStringList kJanelas = {QStringLiteral("F510CLI"), QStringLiteral("F511PRO"), QStringLiteral("F599MSG"),
                              QStringLiteral("F530PDV"), QStringLiteral("F550TRC"), QStringLiteral("F599REL"),
                              QStringLiteral("F510ROT"), QStringLiteral("F512SUP"), QStringLiteral("F599ATL"),
                              QStringLiteral("F599VEL")};

const QString kNenhumUsuario =
    QStringLiteral("O SISTEMA SERÁ FINALIZADO POIS NENHUM USUÁRIO FOI CONFIGURADO PARA UTILIZAR O SISTEMA.");
const QString kLembreteInicio = QStringLiteral("EXISTE MENSAGEM NOVAS QUE AINDA NÃO FORAM LIDAS. VERIFIQUE!");
const QString kLembreteRetorno = QStringLiteral("EXISTEM MENSAGENS NOVAS QUE AINDA NÃO FORAM LIDAS. VERIFIQUE!");
const QString kExpirada = QStringLiteral("Não é permitido acessar Pedidos com ATUALIZAÇÃO EXPIRADA.");

// One user row; codven/usasup/expsen empty texts leave the column null.
QString usuario(const QString &codven = QStringLiteral("3"), const QString &usasup = QStringLiteral("N"),
                const QString &expsen = QStringLiteral("N"), const QString &hora = QStringLiteral("10:00:45"))
{
    const auto texto = [](const QString &v) { return v.isEmpty() ? QStringLiteral("NULL") : u'\'' + v + u'\''; };
    return QStringLiteral("INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, DATATL, HORATL, USASUP, "
                          "EXPSEN, EXPANT) VALUES (7, 'Marcos', 'x', 1, %1, '04.03.2024', '%2', %3, %4, 'N');\n")
        .arg(codven.isEmpty() ? QStringLiteral("NULL") : codven, hora, texto(usasup), texto(expsen));
}

QDateTime momento(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute, second));
}
} // namespace

// The main window's start-up, checks on showing, module buttons and the refresh after a
// module window closes, with the modal windows and data-module queries replaced.
class TstMainWindow : public QObject
{
    Q_OBJECT

    int m_logins = 0;
    bool m_loginAceito = true;
    int m_trocasSenha = 0;
    bool m_mensagensNovas = false;
    int m_limpezas = 0;
    QStringList m_abertas;
    QDateTime m_agora;

    // Shows the window and runs the checks it queues for right after showing.
    static void mostra(F500PRI &pri)
    {
        pri.show();
        QCoreApplication::sendPostedEvents(&pri, QEvent::MetaCall);
    }
    static QMdiArea *area(F500PRI &pri) { return pri.findChild<QMdiArea *>(QStringLiteral("mdiArea")); }
    static QWidget *menu(F500PRI &pri) { return pri.findChild<QFrame *>(QStringLiteral("PMENU")); }
    static QToolButton *botao(F500PRI &pri, const char *name)
    {
        return pri.findChild<QToolButton *>(QString::fromLatin1(name));
    }
    static QStringList abertas(F500PRI &pri)
    {
        QStringList nomes;
        const auto janelas = area(pri)->subWindowList();
        for (const QMdiSubWindow *j : janelas)
            nomes << j->objectName();
        return nomes;
    }

private slots:
    void init()
    {
        m_logins = 0;
        m_loginAceito = true;
        m_trocasSenha = 0;
        m_mensagensNovas = false;
        m_limpezas = 0;
        m_abertas.clear();
        m_agora = momento(4, 12, 0);
        F500PRI::ganchos().login = [this](QWidget *) {
            ++m_logins;
            return m_loginAceito;
        };
        F500PRI::ganchos().trocaSenha = [this](QWidget *) { ++m_trocasSenha; };
        F500PRI::ganchos().mensagensNovas = [this](const QString &codEmp) {
            return m_mensagensNovas && codEmp == QLatin1String("1");
        };
        F500PRI::ganchos().limpaClientePedido = [this] { ++m_limpezas; };
        Relogio::setFonte([this] { return m_agora; });
        for (const QString &nome : kJanelas) {
            ModuleFrame::registerModuleWindow(nome, [this, nome](QWidget *) {
                auto *janela = new F599CAD;
                janela->setObjectName(nome);
                janela->setWindowTitle(nome);
                m_abertas << nome;
                return janela;
            });
        }
    }

    void cleanup()
    {
        for (const QString &nome : kJanelas)
            ModuleFrame::unregisterModuleWindow(nome);
        F500PRI::restauraGanchos();
        Relogio::setFonte({});
    }

    // Guards the start-up with a user: the login is asked, and abandoning it ends the program.
    void loginAskedAndAbandonEnds()
    {
        AmbienteJanela amb(usuario());
        m_loginAceito = false;
        F500PRI pri;
        QCOMPARE(m_logins, 1);
        QCOMPARE(amb.encerramentos, 1);
        QVERIFY(amb.dat->cnxFirebird.isOpen());
    }

    // Guards the configuration: port, company panel and menu colour come from SisCon.ini (1252).
    void configurationFileIsApplied()
    {
        AmbienteJanela amb(usuario());
        QFile ini(QStringLiteral("SisCon.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[CONFIG]\r\nPORTA_KQX=211\r\nEMPRESA=Distribuidora S\xE3o Jo\xE3o\r\nCOR=clRed\r\n");
        ini.close();
        F500PRI pri;
        QCOMPARE(amb.dat->sessao.portaServidor, QStringLiteral("211"));
        QCOMPARE(pri.findChild<QLabel *>(QStringLiteral("StatusBar1Panel0"))->text(),
                 QStringLiteral("Distribuidora São João"));
        QCOMPARE(pri.findChild<QLabel *>(QStringLiteral("StatusBar1Panel1"))->text(), QStringLiteral("Versão: 1.0.2.6"));
        QCOMPARE(menu(pri)->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(amb.dat->sessao.horasValidade, 24);
    }

    // Guards a database that does not open: the engine's message, no login, the window built.
    void databaseFailureShowsErrorAndSkipsLogin()
    {
        AmbienteJanela amb(usuario());
        QVERIFY(QFile::rename(QStringLiteral("ORVALIS.FDB"), QStringLiteral("OUTRO.FDB")));
        F500PRI pri;
        QCOMPARE(m_logins, 0);
        QCOMPARE(amb.respostas.shown.size(), 1);
        QCOMPARE(amb.respostas.shown.first().kind, TipoMensagem::Erro);
        QVERIFY(!amb.respostas.shown.first().text.isEmpty());
        QCOMPARE(amb.encerramentos, 0);
    }

    // Guards the first run: no user row means no login, and without a sync window the program
    // ends with the no-user message.
    void firstRunWithoutUserEnds()
    {
        AmbienteJanela amb;
        ModuleFrame::unregisterModuleWindow(QStringLiteral("F599ATL"));
        F500PRI pri;
        QCOMPARE(m_logins, 0);
        mostra(pri);
        QCOMPARE(amb.textos(), QStringList{kNenhumUsuario});
        QCOMPARE(amb.encerramentos, 1);
        QCOMPARE(pri.findChild<QLabel *>(QStringLiteral("lblusuario"))->text(), QStringLiteral("NÃO CONFIGURADO"));
    }

    // Guards the first run with the sync window: it opens over a hidden menu, and closing it
    // while still no user is configured ends the program.
    void firstRunOpensSyncWindowThenEnds()
    {
        AmbienteJanela amb;
        F500PRI pri;
        mostra(pri);
        QCOMPARE(abertas(pri), QStringList{QStringLiteral("F599ATL")});
        QVERIFY(menu(pri)->isHidden());
        QCOMPARE(amb.encerramentos, 0);
        area(pri)->subWindowList().first()->close();
        QTRY_COMPARE(amb.encerramentos, 1);
        QCOMPARE(amb.textos(), QStringList{kNenhumUsuario});
    }

    // Guards the expiry to the minute and its colours: green until the recorded minute plus 24 h.
    void expiryToTheMinute()
    {
        AmbienteJanela amb(usuario());
        m_agora = momento(5, 9, 59, 59);
        F500PRI pri;
        mostra(pri);
        auto *rotulo = pri.findChild<QLabel *>(QStringLiteral("lblatualizado"));
        QVERIFY(!amb.dat->sessao.atualizacaoExpirada);
        QCOMPARE(rotulo->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(rotulo->text(), QStringLiteral("04/03/2024 - 10:00"));
        QCOMPARE(pri.findChild<QLabel *>(QStringLiteral("lblusuario"))->text(), QStringLiteral("MARCOS"));

        // 10:00:30 is before 10:00:45 plus a day, but the update counts from 10:00.
        m_agora = momento(5, 10, 0, 30);
        QVERIFY(area(pri)->subWindowList().isEmpty());
        QTest::mouseClick(botao(pri, "btMensagem"), Qt::LeftButton);
        area(pri)->subWindowList().first()->close();
        QTRY_VERIFY(amb.dat->sessao.atualizacaoExpirada);
        QCOMPARE(rotulo->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    // Guards the recovered-order question: asked only with both files; No deletes both,
    // Yes keeps them and opens the order window for a seller.
    void recoveredOrderQuestion_data()
    {
        QTest::addColumn<bool>("pedido");
        QTest::addColumn<bool>("itens");
        QTest::addColumn<bool>("sim");
        QTest::newRow("nenhum") << false << false << true;
        QTest::newRow("so pedido") << true << false << true;
        QTest::newRow("so itens") << false << true << false;
        QTest::newRow("ambos, nao") << true << true << false;
        QTest::newRow("ambos, sim") << true << true << true;
    }

    void recoveredOrderQuestion()
    {
        QFETCH(bool, pedido);
        QFETCH(bool, itens);
        QFETCH(bool, sim);
        AmbienteJanela amb(usuario());
        for (const auto &[existe, nome] : {std::pair{pedido, "BKPPED.XML"}, std::pair{itens, "BKPITEM.XML"}}) {
            if (!existe)
                continue;
            QFile f(QString::fromLatin1(nome));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        amb.respostas.answers << (sim ? RespostaMensagem::Sim : RespostaMensagem::Nao);
        F500PRI pri;
        mostra(pri);
        const bool ambos = pedido && itens;
        QCOMPARE(amb.respostas.shown.size(), ambos ? 1 : 0);
        if (ambos)
            QVERIFY(amb.respostas.shown.first().text.startsWith(QStringLiteral("EXISTEM PEDIDOS QUE FORAM RECUPERADOS")));
        QCOMPARE(amb.dat->sessao.editaRecuperados, ambos && sim);
        QCOMPARE(m_abertas, ambos && sim ? QStringList{QStringLiteral("F530PDV")} : QStringList());
        QCOMPARE(m_limpezas, ambos && sim ? 1 : 0);
        const bool apagados = ambos && !sim;
        QCOMPARE(QFile::exists(QStringLiteral("BKPPED.XML")), pedido && !apagados);
        QCOMPARE(QFile::exists(QStringLiteral("BKPITEM.XML")), itens && !apagados);
    }

    // Guards the unread reminder: at start, again each time a module window closes, with the
    // menu and "Sair" back only when no module window is left; and the caption, which names the
    // module window in front (it has no title bar of its own) and is the main one again after.
    void unreadReminderAfterModuleWindowCloses()
    {
        AmbienteJanela amb(usuario());
        m_mensagensNovas = true;
        F500PRI pri;
        mostra(pri);
        QCOMPARE(amb.textos(), QStringList{kLembreteInicio});

        QTest::mouseClick(botao(pri, "btMensagem"), Qt::LeftButton);
        pri.frame()->abreJanela(QStringLiteral("F599REL")); // a module window opening another one
        QCOMPARE(abertas(pri).size(), 2);
        QVERIFY(menu(pri)->isHidden());
        QVERIFY(botao(pri, "btFechar")->isHidden());
        QCOMPARE(pri.windowTitle(), QStringLiteral("Sistema de Korvex - F599REL"));
        QVERIFY(area(pri)->activeSubWindow()->windowFlags().testFlag(Qt::FramelessWindowHint));

        area(pri)->activeSubWindow()->close();
        QTRY_COMPARE(amb.respostas.shown.size(), 2);
        QCOMPARE(amb.respostas.lastText(), kLembreteRetorno);
        QVERIFY(menu(pri)->isHidden()); // one module window is still open
        QCOMPARE(pri.windowTitle(), QStringLiteral("Sistema de Korvex - F599MSG"));

        m_mensagensNovas = false;
        area(pri)->subWindowList().first()->close();
        QTRY_VERIFY(!menu(pri)->isHidden());
        QVERIFY(!botao(pri, "btFechar")->isHidden());
        QCOMPARE(amb.respostas.shown.size(), 2);
        QCOMPARE(pri.windowTitle(), QStringLiteral("Sistema de Korvex"));
    }

    // Guards against a crash: a module window closed while its own modal dialog ran freed the
    // dialog under the dialog's loop.
    void moduleWindowOutlivesItsDialog()
    {
        AmbienteJanela amb(usuario());
        F500PRI pri;
        mostra(pri);
        QPointer<F599CAD> janela = pri.frame()->abreJanela(kJanelas.first());
        QVERIFY(janela);
        {
            QDialog dialogo(janela, Qt::Tool);
            QTimer::singleShot(0, &dialogo, [&] {
                janela->close();
                QTimer::singleShot(100, &dialogo, &QDialog::accept);
            });
            dialogo.exec();
            QVERIFY(janela);
        }
        QTRY_VERIFY(!janela); // closed once the dialog is gone
        QTRY_VERIFY(!menu(pri)->isHidden());
    }

    // Guards the seller modules: without a seller code they do nothing and show nothing.
    void buttonsWithoutSellerCode()
    {
        AmbienteJanela amb(usuario(QString()));
        F500PRI pri;
        mostra(pri);
        for (const char *nome : {"btClientes", "btProduto", "btPedido", "btFinanceiro", "btRoteiro", "btsupervisor"})
            QTest::mouseClick(botao(pri, nome), Qt::LeftButton);
        QVERIFY(m_abertas.isEmpty());
        QVERIFY(amb.respostas.shown.isEmpty());
        QVERIFY(!menu(pri)->isHidden());
        QCOMPARE(m_limpezas, 1); // Pedidos empties the pre-selected customer all the same

        for (const char *nome : {"btMensagem", "btRelatorios", "btconexao"})
            QTest::mouseClick(botao(pri, nome), Qt::LeftButton);
        QCOMPARE(m_abertas, (QStringList{QStringLiteral("F599MSG"), QStringLiteral("F599REL"), QStringLiteral("F599ATL")}));
    }

    // Guards the seller's buttons and the supervisor's with their codes.
    void buttonsWithSellerAndSupervisor()
    {
        AmbienteJanela amb(usuario(QStringLiteral("3"), QStringLiteral("S")));
        F500PRI pri;
        mostra(pri);
        for (const char *nome : {"btClientes", "btProduto", "btPedido", "btFinanceiro", "btRoteiro", "btsupervisor"})
            QTest::mouseClick(botao(pri, nome), Qt::LeftButton);
        QCOMPARE(m_abertas, (QStringList{QStringLiteral("F510CLI"), QStringLiteral("F511PRO"), QStringLiteral("F530PDV"),
                                         QStringLiteral("F550TRC"), QStringLiteral("F510ROT"), QStringLiteral("F512SUP")}));
    }

    // Guards the expiry refusal: Pedidos and Financeiro refuse with the message, open nothing.
    void expiredUpdateRefusesOrdersAndFinance()
    {
        AmbienteJanela amb(usuario());
        m_agora = momento(6, 8, 0);
        F500PRI pri;
        mostra(pri);
        QVERIFY(amb.dat->sessao.atualizacaoExpirada);
        QTest::mouseClick(botao(pri, "btPedido"), Qt::LeftButton);
        QTest::mouseClick(botao(pri, "btFinanceiro"), Qt::LeftButton);
        QCOMPARE(amb.textos(), QStringList(2, kExpirada));
        QCOMPARE(amb.respostas.shown.first().kind, TipoMensagem::Erro);
        QVERIFY(m_abertas.isEmpty());
        QCOMPARE(m_limpezas, 0);
        QTest::mouseClick(botao(pri, "btClientes"), Qt::LeftButton);
        QCOMPARE(m_abertas, QStringList{QStringLiteral("F510CLI")});
    }

    // Guards a window not built into the program: the menu stays, nothing is shown.
    void unregisteredWindowKeepsMenu()
    {
        AmbienteJanela amb(usuario());
        ModuleFrame::unregisterModuleWindow(QStringLiteral("F510CLI"));
        F500PRI pri;
        mostra(pri);
        QTest::mouseClick(botao(pri, "btClientes"), Qt::LeftButton);
        QVERIFY(!menu(pri)->isHidden());
        QVERIFY(!botao(pri, "btFechar")->isHidden());
        QVERIFY(amb.respostas.shown.isEmpty());
    }

    // Guards the goal window: opened once after a successful synchronisation, for a seller.
    void goalWindowOnceAfterSync()
    {
        AmbienteJanela amb(usuario());
        F500PRI pri;
        mostra(pri);
        QTest::mouseClick(botao(pri, "btconexao"), Qt::LeftButton);
        amb.dat->sessao.mostraMetas = true;
        area(pri)->activeSubWindow()->close();
        QTRY_COMPARE(abertas(pri), QStringList{QStringLiteral("F599VEL")});
        QVERIFY(!amb.dat->sessao.mostraMetas);
        area(pri)->activeSubWindow()->close();
        QTRY_VERIFY(!menu(pri)->isHidden());
        QCOMPARE(m_abertas, (QStringList{QStringLiteral("F599ATL"), QStringLiteral("F599VEL")}));
    }

    // Guards the forced password change: asked on activation while EXPSEN is "S", not otherwise.
    void passwordChangeOnActivation()
    {
        {
            AmbienteJanela amb(usuario(QStringLiteral("3"), QStringLiteral("N"), QStringLiteral("S")));
            F500PRI pri;
            mostra(pri);
            QCOMPARE(m_trocasSenha, 1); // as soon as the window is shown
            pri.FormActivate();
            QCOMPARE(m_trocasSenha, 2); // and at every activation after
        }
        m_trocasSenha = 0;
        AmbienteJanela amb(usuario());
        F500PRI pri;
        mostra(pri);
        pri.FormActivate();
        QCOMPARE(m_trocasSenha, 0);
    }

    // Guards the closing question: No keeps the window, Yes ends the program.
    void closingAsksFirst()
    {
        AmbienteJanela amb(usuario());
        F500PRI pri;
        mostra(pri);
        QTest::mouseClick(botao(pri, "btFechar"), Qt::LeftButton);
        QCOMPARE(amb.respostas.lastText(), QStringLiteral("Deseja realmente SAIR do Sistema ?"));
        QVERIFY(pri.isVisible());
        QCOMPARE(amb.encerramentos, 0);
        amb.respostas.answers << RespostaMensagem::Sim;
        pri.close();
        QVERIFY(!pri.isVisible());
        QCOMPARE(amb.encerramentos, 1);
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
