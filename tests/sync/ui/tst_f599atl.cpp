#include "AmbienteJanela.h"
#include "ClienteSincronizacao.h"
#include "LinhasStatus.h"
#include "ModuleFrame.h"
#include "ProtocoloSincronizacao.h"
#include "RegistroJanelasSincronizacao.h"
#include "U500PRI.h"
#include "U599ATL.h"

#include <QAction>
#include <QHostAddress>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

const QString kUsuario = QStringLiteral(
    "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, HSTSRV, EXPSEN, EXPANT) "
    "VALUES (987, 'Marcos', 'x', 1, 3, 'srv.local', '%1', 'N');\n");

// A server that accepts connections and never answers.
class ServidorCalado
{
public:
    ServidorCalado() { servidor.listen(QHostAddress::LocalHost, 0); }
    QString porta() const { return QString::number(servidor.serverPort()); }
    QTcpSocket *aceita()
    {
        if (!servidor.hasPendingConnections() && !servidor.waitForNewConnection(5000))
            return nullptr;
        return servidor.nextPendingConnection();
    }
    QTcpServer servidor;
};

} // namespace

// The sync window: its edits by configuration, the input checks, the connection setup line,
// cancel, the watchdog, the password-expiry path and the hidden reset.
class TstF599ATL : public QObject
{
    Q_OBJECT

    std::unique_ptr<AmbienteJanela> m_ambiente;
    int m_trocasSenha = 0;

    // A fresh folder and database; `expsen` empty: no user configured.
    F599ATL *abre(const QString &expsen = QString(), const QString &porta = QStringLiteral("511"),
                  const QString &dados = QString())
    {
        m_ambiente = std::make_unique<AmbienteJanela>((expsen.isEmpty() ? QString() : kUsuario.arg(expsen)) + dados);
        m_ambiente->db->open(m_ambiente->dat->cnxFirebird);
        m_ambiente->dat->carregaUsuario();
        m_ambiente->dat->sessao.portaServidor = porta;
        m_ambiente->dat->sessao.mostraMetas = true;
        auto *janela = new F599ATL;
        janela->show();
        return janela;
    }

    static QLineEdit *edit(F599ATL *j, const char *nome) { return j->findChild<QLineEdit *>(QString::fromLatin1(nome)); }
    static QPushButton *botao(F599ATL *j, const char *nome)
    {
        return j->findChild<QPushButton *>(QString::fromLatin1(nome));
    }
    static QString memo(F599ATL *j) { return j->findChild<QPlainTextEdit *>(QStringLiteral("mStatus"))->toPlainText(); }

    static void esperaRepouso(F599ATL *j)
    {
        QCOMPARE(botao(j, "btFechar")->text(), QStringLiteral("Fechar"));
        QVERIFY(botao(j, "btAtualizar")->isEnabled());
        QVERIFY(!j->timer().isActive());
    }

    int conta(const QString &sql)
    {
        QSqlQuery q = m_ambiente->dat->cnxFirebird.query();
        if (!q.exec(sql) || !q.next())
            return -1;
        return q.value(0).toInt();
    }

private slots:
    void init()
    {
        m_trocasSenha = 0;
        F500PRI::ganchos().trocaSenha = [this](QWidget *) { ++m_trocasSenha; };
    }

    void cleanup()
    {
        QList<QPointer<F599ATL>> janelas;
        const auto topo = QApplication::topLevelWidgets();
        for (QWidget *w : topo) {
            if (auto *j = qobject_cast<F599ATL *>(w))
                janelas << j;
        }
        for (const QPointer<F599ATL> &j : std::as_const(janelas))
            delete j.data();
        m_ambiente.reset();
        F500PRI::restauraGanchos();
    }

    // Guards the first run: the three edits are open for typing and each empty one is refused
    // in turn, with its message and the focus on it; nothing starts.
    void semUsuarioVerificaEntradas()
    {
        F599ATL *j = abre();
        for (const char *nome : {"edservidor", "edusuario", "edsenha"}) {
            QVERIFY(!edit(j, nome)->isReadOnly());
            QVERIFY(edit(j, nome)->text().isEmpty());
        }
        QVERIFY(!m_ambiente->dat->sessao.mostraMetas);

        const struct
        {
            const char *preenche;
            const char *foco;
            QString mensagem;
        } passos[] = {
            {nullptr, "edservidor", QStringLiteral("SERVIDOR DEVE SER PREECHIDO!")},
            {"edservidor", "edusuario", QStringLiteral("USUÁRIO DEVE SER PREECHIDO!")},
            {"edusuario", "edsenha", QStringLiteral("SENHA DEVE SER PREECHIDA!")},
        };
        for (const auto &passo : passos) {
            if (passo.preenche)
                edit(j, passo.preenche)->setText(QStringLiteral("abc"));
            QTest::mouseClick(botao(j, "btAtualizar"), Qt::LeftButton);
            QCOMPARE(m_ambiente->respostas.lastText(), passo.mensagem);
            QCOMPARE(m_ambiente->respostas.shown.last().kind, TipoMensagem::Erro);
            QCOMPARE(m_ambiente->respostas.shown.last().colour, CorMensagem::Vermelho);
            QCOMPARE(j->focusWidget(), edit(j, passo.foco));
            esperaRepouso(j);
            QVERIFY(memo(j).isEmpty());
        }
    }

    // Guards the Enter key: it runs "Atualizar" from any control of the window.
    void enterAtualiza()
    {
        F599ATL *j = abre();
        j->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(j));
        edit(j, "edusuario")->setFocus();
        QTest::keyClick(edit(j, "edusuario"), Qt::Key_Return);
        QCOMPARE(m_ambiente->respostas.lastText(), QStringLiteral("SERVIDOR DEVE SER PREECHIDO!"));
    }

    // Guards the configured notebook: server and user shown read-only, password empty and
    // read-only, "Pendentes de envio" in front listing the order that will go up, and
    // "Atualizar" needs nothing typed and brings the status lines to the front.
    void configuradoSomenteLeitura()
    {
        ServidorCalado servidor;
        F599ATL *j = abre(QStringLiteral("N"), servidor.porta(),
                          QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF,"
                                         " SITPDF, CODVEN, PDFORC) VALUES (1, 10, 0, '04.03.2024', 500, 0, 99.9,"
                                         " 'D', 3, 'N');\n"
                                         "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, QTDPRO)"
                                         " VALUES (1, 2, 10, 123, 0, 1);\n"));
        auto *paginas = j->findChild<QTabWidget *>(QStringLiteral("pgAtualizacao"));
        auto *pendentes = j->findChild<QTreeWidget *>(QStringLiteral("dbgPendentes"));
        QCOMPARE(paginas->currentWidget(), pendentes);
        QCOMPARE(paginas->tabText(paginas->currentIndex()), QStringLiteral("Pendentes de envio (1)"));
        QCOMPARE(pendentes->topLevelItem(0)->text(0), QStringLiteral("Pedidos (1)"));
        QCOMPARE(pendentes->topLevelItem(0)->child(0)->text(0),
                 QStringLiteral("Pedido 10 de 04/03/2024 – 500 – 99,90"));
        QCOMPARE(edit(j, "edservidor")->text(), QStringLiteral("srv.local"));
        QCOMPARE(edit(j, "edusuario")->text(), QStringLiteral("Marcos"));
        QVERIFY(edit(j, "edsenha")->text().isEmpty());
        for (const char *nome : {"edservidor", "edusuario", "edsenha"})
            QVERIFY(edit(j, nome)->isReadOnly());
        QCOMPARE(edit(j, "edsenha")->echoMode(), QLineEdit::Password);

        edit(j, "edservidor")->setText(QStringLiteral("127.0.0.1"));
        QTest::mouseClick(botao(j, "btAtualizar"), Qt::LeftButton);
        QVERIFY(m_ambiente->respostas.shown.isEmpty());
        QCOMPARE(botao(j, "btFechar")->text(), QStringLiteral("Cancelar"));
        QVERIFY(!botao(j, "btAtualizar")->isEnabled());
        QVERIFY(j->timer().isActive());
        QCOMPARE(memo(j), LinhasStatus::iniciando + QLatin1Char('\n'));
        QCOMPARE(paginas->currentWidget(), j->findChild<QPlainTextEdit *>(QStringLiteral("mStatus")));
        QVERIFY(servidor.aceita());
    }

    // Guards the connection setup: an empty port gives its status line at once and the
    // buttons return to idle.
    void portaVaziaMostraLinhaDeConfiguracao()
    {
        F599ATL *j = abre(QStringLiteral("N"), QString());
        QTest::mouseClick(botao(j, "btAtualizar"), Qt::LeftButton);
        QVERIFY(memo(j).contains(LinhasStatus::erroConfiguracao));
        QVERIFY(memo(j).startsWith(LinhasStatus::iniciando));
        esperaRepouso(j);
    }

    // Guards "Cancelar": the connection closes without a status line, and "Atualizar" then starts
    // over with an emptied memo.
    void cancelarFechaSemLinhaERecomeca()
    {
        ServidorCalado servidor;
        F599ATL *j = abre(QStringLiteral("N"), servidor.porta());
        edit(j, "edservidor")->setText(QStringLiteral("127.0.0.1"));
        QTest::mouseClick(botao(j, "btAtualizar"), Qt::LeftButton);
        QTcpSocket *lado = servidor.aceita();
        QVERIFY(lado);
        const QString antes = memo(j);

        QTest::mouseClick(botao(j, "btFechar"), Qt::LeftButton);
        esperaRepouso(j);
        QCOMPARE(memo(j), antes);
        QTRY_COMPARE(lado->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(j->isVisible());

        QTest::mouseClick(botao(j, "btAtualizar"), Qt::LeftButton);
        QCOMPARE(memo(j), LinhasStatus::iniciando + QLatin1Char('\n'));
        QVERIFY(servidor.aceita());
    }

    // Guards the watchdog: a server that never answers ends the exchange with its line after
    // the limit of ticks, and the buttons return to idle.
    void vigiaEncerraServidorCalado()
    {
        ServidorCalado servidor;
        F599ATL *j = abre(QStringLiteral("N"), servidor.porta());
        j->cliente().protocolo().defineLimiteEspera(3);
        edit(j, "edservidor")->setText(QStringLiteral("127.0.0.1"));
        QTest::mouseClick(botao(j, "btAtualizar"), Qt::LeftButton);
        QVERIFY(servidor.aceita());
        j->timer().stop();
        for (int i = 0; i < 3; ++i)
            j->statusTimer();
        QVERIFY(memo(j).contains(LinhasStatus::erroComunicacao));
        esperaRepouso(j);
    }

    // Guards the expired password: "Fechar" opens the password change and asks to synchronise
    // again; No closes the window.
    void senhaExpiradaPerguntaENaoFecha()
    {
        QPointer<F599ATL> j = abre(QStringLiteral("S"));
        m_ambiente->respostas.answers = {RespostaMensagem::Nao};
        QTest::mouseClick(botao(j, "btFechar"), Qt::LeftButton);
        QCOMPARE(m_trocasSenha, 1);
        QCOMPARE(m_ambiente->respostas.lastText(),
                 QStringLiteral("Sua senha foi alterada e precisa fazer nova atualização. Deseja Atualizar agora ?"));
        QCOMPARE(m_ambiente->respostas.shown.last().colour, CorMensagem::Verde);
        QTRY_VERIFY(j.isNull());
    }

    // Guards the expired password's Yes: the exchange starts again and the window stays.
    void senhaExpiradaSimAtualiza()
    {
        ServidorCalado servidor;
        F599ATL *j = abre(QStringLiteral("S"), servidor.porta());
        edit(j, "edservidor")->setText(QStringLiteral("127.0.0.1"));
        m_ambiente->respostas.answers = {RespostaMensagem::Sim};
        QTest::mouseClick(botao(j, "btFechar"), Qt::LeftButton);
        QCOMPARE(m_trocasSenha, 1);
        QCOMPARE(botao(j, "btFechar")->text(), QStringLiteral("Cancelar"));
        QVERIFY(j->isVisible());
        QVERIFY(servidor.aceita());
    }

    // Guards a plain close: without an expired password "Fechar" closes at once.
    void fecharSemSenhaExpirada()
    {
        QPointer<F599ATL> j = abre(QStringLiteral("N"));
        QTest::mouseClick(botao(j, "btFechar"), Qt::LeftButton);
        QCOMPARE(m_trocasSenha, 0);
        QTRY_VERIFY(j.isNull());
    }

    // Guards the hidden reset: its shortcut follows the user code's digits; No keeps every row,
    // Yes empties every table and ends the program.
    void reinicioPeloAtalho()
    {
        QCOMPARE(F599ATL::atalhoReinicio(QStringLiteral("987")), QKeySequence(QStringLiteral("Ctrl+Alt+Q")));
        QCOMPARE(F599ATL::atalhoReinicio(QString()), QKeySequence(QStringLiteral("Ctrl+Alt+K")));
        F599ATL *j = abre(QStringLiteral("N"));
        QAction *acao = j->findChild<QAction *>(QStringLiteral("Action1"));
        QVERIFY(acao);
        QCOMPARE(acao->shortcut(), F599ATL::atalhoReinicio(QStringLiteral("987")));

        m_ambiente->respostas.answers = {RespostaMensagem::Nao};
        acao->trigger();
        QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F599USU")), 1);
        QCOMPARE(m_ambiente->encerramentos, 0);

        m_ambiente->respostas.answers = {RespostaMensagem::Sim};
        acao->trigger();
        QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F599USU")), 0);
        QCOMPARE(m_ambiente->respostas.lastText(), QStringLiteral("BASE DE DADOS REINICIADA. SISTEMA RECONFIGURADO!"));
        QCOMPARE(m_ambiente->encerramentos, 1);
    }

    // Guards the first run through the main window: an empty notebook opens this window with
    // its edits open for typing, and closing it without a user ends the program.
    void primeiraExecucaoPeloFrame()
    {
        m_ambiente = std::make_unique<AmbienteJanela>();
        Sincronizacao::registraJanelas();
        {
            F500PRI principal;
            principal.show();
            QMdiArea *area = principal.findChild<QMdiArea *>(QStringLiteral("mdiArea"));
            QVERIFY(area);
            // The start-up checks run once the main window is on screen.
            QTRY_COMPARE(area->subWindowList().size(), 1);
            auto *janela = qobject_cast<F599ATL *>(area->subWindowList().first());
            QVERIFY(janela);
            QVERIFY(!edit(janela, "edservidor")->isReadOnly());
            QCOMPARE(m_ambiente->encerramentos, 0);
            QTest::mouseClick(botao(janela, "btFechar"), Qt::LeftButton);
            QTRY_COMPARE(m_ambiente->encerramentos, 1);
            QCOMPARE(m_ambiente->respostas.lastText(),
                     QStringLiteral("O SISTEMA SERÁ FINALIZADO POIS NENHUM USUÁRIO FOI CONFIGURADO PARA UTILIZAR O SISTEMA."));
        }
        ModuleFrame::unregisterModuleWindow(QStringLiteral("F599ATL"));
    }

    // Guards the frame's wiring: "Conexão" and the first run find the window by its name.
    void registradaNoFrame()
    {
        ModuleFrame::unregisterModuleWindow(QStringLiteral("F599ATL"));
        Sincronizacao::registraJanelas();
        QVERIFY(ModuleFrame::isModuleWindowRegistered(QStringLiteral("F599ATL")));
        ModuleFrame::unregisterModuleWindow(QStringLiteral("F599ATL"));
    }
};

QTEST_MAIN(TstF599ATL)
#include "tst_f599atl.moc"
