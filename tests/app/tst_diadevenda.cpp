#include "CadastroCliente.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "PainelCabecalho.h"
#include "PainelItens.h"
#include "PaginaPesquisa.h"
#include "PastaDemo.h"
#include "PedidoDados.h"
#include "RegistroJanelasClientes.h"
#include "RegistroJanelasPedidos.h"
#include "RegistroJanelasSincronizacao.h"
#include "RoteiroClientes.h"
#include "ScriptedAnswerer.h"
#include "SeletorProdutos.h"
#include "StatementRun.h"
#include "U500CAD.h"
#include "U500LOG.h"
#include "U500PRI.h"
#include "U510CLI.h"
#include "U510ROT.h"
#include "U530PDV.h"
#include "U599ATL.h"
#include "FirebirdConnection.h"
#include "LinhasStatus.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTcpServer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

// A seller's visit in the program, on the demonstration data: logged in as MARCOS through the
// login window, a customer found in "Clientes" or in the day's "Roteiro", an order typed with
// the keyboard in the real order window, saved and found in the order list.
class TstDiaDeVenda : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pedidoDoCadastroDigitadoSalvoEListado();
    void pedidoDoRoteiroAbreComOClienteDaLinha();
    void pedidoExistenteCopiadoAlteradoESalvo();
    void conexaoAtualizaEMostraNovoHorario();

private:
    struct Produto
    {
        QString codigo;
        qint64 fator = 1;
    };

    QMdiArea *area() const { return m_pri->findChild<QMdiArea *>(QStringLiteral("mdiArea")); }
    template<typename Janela>
    Janela *janela() const
    {
        const auto subjanelas = area()->subWindowList();
        for (QMdiSubWindow *sub : subjanelas)
            if (auto *j = qobject_cast<Janela *>(sub)) // a module window is its own sub-window
                return j;
        return nullptr;
    }
    void clica(const char *botao);
    static QPushButton *botao(QWidget *janela, const QString &texto);
    QString valor(const QString &sql);
    QString mensagens() const;
    Produto produtoDaTabela(const QString &codCli);
    void digitaPedido(F530PDV &pdv, const Produto &produto);

    quint16 iniciaServidor();

    QTemporaryDir m_pasta;
    QProcess m_servidor;
    QString m_pastaAnterior;
    ScriptedAnswerer m_respostas;
    std::unique_ptr<D500DAT> m_dat;
    std::unique_ptr<D500CAD> m_cad;
    std::unique_ptr<F500PRI> m_pri;
};

void TstDiaDeVenda::init()
{
    QString erro;
    QVERIFY2(PastaDemo::copia(QDate::currentDate(), m_pasta.path(), &erro), qPrintable(erro));
    m_pastaAnterior = QDir::currentPath();
    QDir::setCurrent(m_pasta.path());
    if (QTest::currentTestFunction() == QByteArrayLiteral("conexaoAtualizaEMostraNovoHorario")) {
        // Yesterday's update, so the header visibly changes when today's arrives.
        FirebirdConnection base(QStringLiteral("envelhece"));
        base.setDatabaseName(m_pasta.filePath(QStringLiteral("ORVALIS.FDB")));
        base.open();
        base.execute(QStringLiteral("UPDATE F599USU SET DATATL = CURRENT_DATE - 1, HORATL = '07:15'"));
        base.close();
    }
    Pedidos::registraJanelas();
    Clientes::registraJanelas();
    Sincronizacao::registraJanelas();
    m_respostas = ScriptedAnswerer();
    m_dat = std::make_unique<D500DAT>();
    m_dat->setMessagePresenter(&m_respostas);
    m_cad = std::make_unique<D500CAD>(m_dat->cnxFirebird);
    D500CAD *cad = m_cad.get();
    F500PRI::ganchos().login = [](QWidget *parent) {
        F500LOG login(parent);
        const auto edits = login.findChildren<QLineEdit *>();
        if (edits.size() < 2)
            return false;
        edits.at(0)->setText(QStringLiteral("marcos"));
        edits.at(1)->setText(QStringLiteral("venda123"));
        login.BitBtn1Click();
        return login.result() == QDialog::Accepted;
    };
    F500PRI::ganchos().mensagensNovas = [cad](const QString &codEmp) { return cad->existemMensagensNovas(codEmp); };
    F500PRI::ganchos().limpaClientePedido = [cad] {
        cad->codCliPedido.clear();
        cad->codNovPedido.clear();
    };
    m_pri = std::make_unique<F500PRI>();
    m_pri->show();
    QCoreApplication::sendPostedEvents(m_pri.get(), QEvent::MetaCall);
    QVERIFY(QTest::qWaitForWindowActive(m_pri.get()));
    QCOMPARE(m_dat->sessao.CODVEN, QStringLiteral("12"));
    m_respostas.shown.clear(); // the start-up reminders of the demo's unread messages
}

void TstDiaDeVenda::cleanup()
{
    if (m_servidor.state() != QProcess::NotRunning) {
        m_servidor.terminate();
        if (!m_servidor.waitForFinished(10000))
            m_servidor.kill();
    }
    m_pri.reset();
    F500PRI::restauraGanchos();
    m_cad.reset();
    m_dat->cnxFirebird.close();
    m_dat.reset();
    QDir::setCurrent(m_pastaAnterior);
}

void TstDiaDeVenda::clica(const char *nome)
{
    auto *b = m_pri->findChild<QToolButton *>(QString::fromLatin1(nome));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

QPushButton *TstDiaDeVenda::botao(QWidget *janela, const QString &texto)
{
    const auto botoes = janela->findChildren<QPushButton *>();
    for (QPushButton *b : botoes)
        if (b->text() == texto && b->isVisible())
            return b;
    return nullptr;
}

QString TstDiaDeVenda::mensagens() const
{
    QString texto;
    for (const auto &m : m_respostas.shown)
        texto += m.text + u'\n';
    return texto;
}

QString TstDiaDeVenda::valor(const QString &sql)
{
    QSqlQuery q = StatementRun::run(m_dat->cnxFirebird, sql);
    return q.next() ? q.value(0).toString() : QString();
}

TstDiaDeVenda::Produto TstDiaDeVenda::produtoDaTabela(const QString &codCli)
{
    QSqlQuery q = StatementRun::run(
        m_dat->cnxFirebird,
        QStringLiteral("SELECT FIRST 1 P.CODPRO, P.FATPRO FROM F511PRO P JOIN F511TAB T ON T.CODEMP = P.CODEMP AND "
                       "T.CODCCU = P.CODCCU AND T.CODPRO = P.CODPRO JOIN F510CLI C ON C.CODEMP = T.CODEMP AND "
                       "C.CODTAB = T.CODTAB WHERE C.CODEMP = 1 AND C.CODCLI = %1 AND C.CODNOV = 0 AND P.DISPRO > 0 "
                       "AND T.PRCVEN > 1 AND P.CODCCU = 1 AND NOT EXISTS (SELECT 1 FROM F511PRM R WHERE R.CODEMP = "
                       "P.CODEMP AND R.CODCCU = P.CODCCU AND R.CODPRO = P.CODPRO) ORDER BY P.CODPRO")
            .arg(codCli));
    if (!q.next())
        return {};
    return {q.value(0).toString(), qMax<qint64>(1, q.value(1).toLongLong())};
}

// The seller's keys: the transaction, operation and condition chosen in the header, then the
// product code and Enter, the price and Enter, the quantity and Enter, with no click on the
// item panel.
void TstDiaDeVenda::digitaPedido(F530PDV &pdv, const Produto &produto)
{
    for (QComboBox *lista : {pdv.cabecalho->DBLookupComboBox1, pdv.cabecalho->DBLookupComboBox2,
                             pdv.cabecalho->DBLookupComboBox3}) {
        QVERIFY(lista->count() > 0);
        lista->setFocus();
        QTest::keyClick(lista, Qt::Key_Down);
        QVERIFY(lista->currentIndex() >= 0);
    }
    pdv.pgPedido->setCurrentIndex(1);
    SeletorProdutos *seletor = pdv.itens->seletor;
    seletor->EDCODPRO->setFocus();
    QTest::keyClicks(seletor->EDCODPRO, produto.codigo.rightJustified(7, u'0'));
    QTest::keyClick(seletor->EDCODPRO, Qt::Key_Return);
    QCOMPARE(pdv.dados()->cdsPESPRODUTO->asString(QStringLiteral("CODPRO")), produto.codigo);
    QCOMPARE(QApplication::focusWidget(), pdv.itens->edPRECO);
    QVERIFY(!pdv.itens->edPRECO->text().isEmpty());
    QTest::keyClick(pdv.itens->edPRECO, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), pdv.itens->edQTDE);
    pdv.itens->edQTDE->selectAll();
    QTest::keyClicks(pdv.itens->edQTDE, QString::number(produto.fator * 40));
    QTest::keyClick(pdv.itens->edQTDE, Qt::Key_Return);
    QCOMPARE(pdv.dados()->cdsCADITEM->recordCount(), 1);
    QCOMPARE(QApplication::focusWidget(), seletor->EDCODPRO);
}

// From "Clientes": the customer found, "Pedido de Venda", the order typed and saved; the order
// reaches the database with its item and shows in the list, and the recovery copy is gone.
void TstDiaDeVenda::pedidoDoCadastroDigitadoSalvoEListado()
{
    const QString codCli = valor(QStringLiteral(
        "SELECT FIRST 1 C.CODCLI FROM F510CLI C WHERE C.CODEMP = 1 AND C.CODVEN = 12 AND C.CODNOV = 0 AND "
        "C.SITCLI = 'A' AND C.ATRCLI = 0 AND C.EMIAVS = 'N' AND EXISTS (SELECT 1 FROM F510OPC O WHERE O.CODEMP = "
        "C.CODEMP AND O.CODCLI = C.CODCLI) ORDER BY C.CODCLI"));
    QVERIFY(!codCli.isEmpty());
    const Produto produto = produtoDaTabela(codCli);
    QVERIFY(!produto.codigo.isEmpty());
    const QString pedidosAntes = valor(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODCLI = %1").arg(codCli));

    clica("btClientes");
    F510CLI *cli = janela<F510CLI>();
    QVERIFY2(cli, qPrintable(mensagens()));
    cli->edCod->setText(codCli);
    QTest::keyClick(cli->edCod, Qt::Key_Return);
    QVERIFY(cli->cadastro().cdsClientes().locate({QStringLiteral("CODCLI")}, {codCli}));
    QPushButton *pedido = botao(cli, QStringLiteral("Pedido de Venda"));
    QVERIFY(pedido);
    pedido->click();

    F530PDV *pdv = janela<F530PDV>();
    QVERIFY2(pdv, qPrintable(mensagens()));
    QCOMPARE(pdv->paginas->currentWidget(), pdv->tbsCadastro);
    QCOMPARE(pdv->cabecalho->lblCODCLI->text(), codCli);
    QCOMPARE(pdv->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODVEN")), QStringLiteral("12"));
    const QString codPdf = pdv->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODPDF"));
    digitaPedido(*pdv, produto);
    QVERIFY(QFile::exists(F530PDV::arquivoItens()));

    m_respostas.shown.clear();
    pdv->btSalvar->click();
    QVERIFY2(pdv->paginas->currentWidget() == pdv->tbsPesquisa, qPrintable(mensagens()));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODCLI = %1").arg(codCli)).toInt(),
             pedidosAntes.toInt() + 1);
    QCOMPARE(valor(QStringLiteral("SELECT SITPDF||PDFORC FROM F530PDF WHERE CODPDF = %1 AND CODINT = 0").arg(codPdf)),
             QStringLiteral("DN"));
    QCOMPARE(valor(QStringLiteral("SELECT CODPRO FROM F530IPF WHERE CODPDF = %1 AND CODINT = 0").arg(codPdf)),
             produto.codigo);
    QVERIFY(!QFile::exists(F530PDV::arquivoItens()));
    QVERIFY(pdv->dados()->cdsPesPedido->locate({QStringLiteral("CODPDF")}, {codPdf}));
}

// From "Roteiro": today's route lists the seller's customers; "Pedido de Venda" opens the order
// window on the customer of the current row, with that customer's own seller.
void TstDiaDeVenda::pedidoDoRoteiroAbreComOClienteDaLinha()
{
    clica("btRoteiro");
    F510ROT *rot = janela<F510ROT>();
    QVERIFY2(rot, qPrintable(mensagens()));
    TClientDataSetPlus &linhas = rot->roteiro().cdsRoteiro();
    QVERIFY2(linhas.recordCount() > 0, "the demo has a route for every weekday");
    linhas.last();
    const QString codCli = linhas.asString(QStringLiteral("CODCLI"));
    const QString codVen = valor(QStringLiteral("SELECT CODVEN FROM F510CLI WHERE CODEMP = 1 AND CODCLI = %1 AND CODNOV = 0")
                                     .arg(codCli));
    QPushButton *pedido = botao(rot, QStringLiteral("Pedido de Venda"));
    QVERIFY(pedido);
    pedido->click();

    F530PDV *pdv = janela<F530PDV>();
    QVERIFY2(pdv, qPrintable(mensagens()));
    QCOMPARE(pdv->cabecalho->lblCODCLI->text(), codCli);
    QCOMPARE(pdv->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODVEN")), codVen);
    QCOMPARE(pdv->dados()->cdsCADPEDIDO->asString(QStringLiteral("SITPDF")), QStringLiteral("D"));
}

// From "Pedidos": an order of the list copied (pending items only, when asked), an item's
// quantity changed with the keyboard, saved as a new typed order that shows in the list while
// the original is untouched.
void TstDiaDeVenda::pedidoExistenteCopiadoAlteradoESalvo()
{
    clica("btPedido");
    F530PDV *pdv = janela<F530PDV>();
    QVERIFY2(pdv, qPrintable(mensagens()));
    QCOMPARE(pdv->paginas->currentWidget(), static_cast<QWidget *>(pdv->tbsPesquisa));
    TClientDataSetPlus *lista = pdv->dados()->cdsPesPedido;
    QVERIFY(lista->recordCount() > 0);
    const QString original = lista->asString(QStringLiteral("CODPDF"));
    const QString codInt = lista->asString(QStringLiteral("CODINT"));
    const QString itensOriginais = valor(
        QStringLiteral("SELECT SUM(QTDPRO) FROM F530IPF WHERE CODEMP = 1 AND CODPDF = %1 AND CODINT = %2").arg(original, codInt));
    const int pedidosAntes = valor(QStringLiteral("SELECT COUNT(*) FROM F530PDF")).toInt();

    m_respostas.answers = {RespostaMensagem::Sim, RespostaMensagem::Sim};
    pdv->tbsPesquisa->btCopiar->click();
    QVERIFY2(pdv->paginas->currentWidget() == pdv->tbsCadastro, qPrintable(mensagens()));
    const QString copia = pdv->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODPDF"));
    QVERIFY(copia != original);
    TClientDataSetPlus *itens = pdv->dados()->cdsCADITEM;
    QVERIFY(itens->recordCount() > 0);

    pdv->pgPedido->setCurrentIndex(1);
    QComboBox *grade = pdv->itens->cbTabela;
    grade->setFocus();
    QTest::keyClick(grade, Qt::Key_Down);
    QCOMPARE(grade->currentText(), QStringLiteral("Itens do Pedido"));
    itens->first();
    const QString produto = itens->asString(QStringLiteral("CODPRO"));
    const qint64 quantidade = itens->asString(QStringLiteral("QTDPRO")).toDouble();
    pdv->itens->edQTDE->setFocus();
    pdv->itens->edQTDE->selectAll();
    QTest::keyClicks(pdv->itens->edQTDE, QString::number(quantidade * 2));
    QTest::keyClick(pdv->itens->edQTDE, Qt::Key_Return);

    m_respostas.shown.clear();
    m_respostas.answers.clear();
    pdv->btSalvar->click();
    QVERIFY2(pdv->paginas->currentWidget() == pdv->tbsPesquisa, qPrintable(mensagens()));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM F530PDF")).toInt(), pedidosAntes + 1);
    QCOMPARE(valor(QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODEMP = 1 AND CODPDF = %1 AND CODINT = 0").arg(copia)),
             QStringLiteral("D"));
    QCOMPARE(valor(QStringLiteral("SELECT QTDPRO FROM F530IPF WHERE CODEMP = 1 AND CODPDF = %1 AND CODINT = 0 AND CODPRO = %2")
                       .arg(copia, produto))
                 .toDouble(),
             double(quantidade * 2));
    QCOMPARE(valor(QStringLiteral("SELECT SUM(QTDPRO) FROM F530IPF WHERE CODEMP = 1 AND CODPDF = %1 AND CODINT = %2")
                       .arg(original, codInt)),
             itensOriginais);
    QVERIFY(pdv->dados()->cdsPesPedido->locate({QStringLiteral("CODPDF")}, {copia}));
}

// The reference server of the demo on a free loopback port, its central database made from this
// copy of the demo file; 0 when it did not start.
quint16 TstDiaDeVenda::iniciaServidor()
{
    QTcpServer livre;
    if (!livre.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 porta = livre.serverPort();
    livre.close();
    m_servidor.setProcessChannelMode(QProcess::MergedChannels);
    m_servidor.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvex-syncserver"),
                     {QStringLiteral("--data"), m_pasta.filePath(QStringLiteral("servidor")), QStringLiteral("--init-from"),
                      m_pasta.filePath(QStringLiteral("ORVALIS.FDB")), QStringLiteral("--port"), QString::number(porta)});
    QByteArray saida;
    while (m_servidor.waitForReadyRead(60000)) {
        saida += m_servidor.readAll();
        if (saida.contains("Servidor de sincroniza"))
            return porta;
    }
    qWarning() << "korvex-syncserver:" << saida;
    return 0;
}

// "Conexão" then "Atualizar" against the reference server: the day's orders go up, the new
// database comes down and replaces the file, and the main window shows the new update time.
void TstDiaDeVenda::conexaoAtualizaEMostraNovoHorario()
{
    auto *lblAtualizado = m_pri->findChild<QLabel *>(QStringLiteral("lblatualizado"));
    QVERIFY(lblAtualizado);
    const QString ontem = QDate::currentDate().addDays(-1).toString(QStringLiteral("dd/MM/yyyy"));
    QCOMPARE(lblAtualizado->text(), ontem + QStringLiteral(" - 07:15"));
    m_pri->close(); // the server builds its central base from the file: nobody may hold it
    m_pri.reset();
    m_dat->cnxFirebird.close();
    const quint16 porta = iniciaServidor();
    QVERIFY(porta);
    m_pri = std::make_unique<F500PRI>();
    m_pri->show();
    QCoreApplication::sendPostedEvents(m_pri.get(), QEvent::MetaCall);
    m_dat->sessao.portaServidor = QString::number(porta);
    m_respostas.shown.clear();
    lblAtualizado = m_pri->findChild<QLabel *>(QStringLiteral("lblatualizado"));

    const QTime antes = QTime::currentTime();
    clica("btconexao");
    F599ATL *atl = janela<F599ATL>();
    QVERIFY2(atl, qPrintable(mensagens()));
    auto *status = atl->findChild<QPlainTextEdit *>(QStringLiteral("mStatus"));
    QVERIFY(status);
    atl->btAtualizarClick();
    QTRY_VERIFY2_WITH_TIMEOUT(status->toPlainText().contains(LinhasStatus::sucesso),
                              qPrintable(status->toPlainText() + u'\n' + mensagens()), 180000);
    auto *fechar = atl->findChild<QPushButton *>(QStringLiteral("btFechar"));
    QTRY_COMPARE(fechar->text(), QStringLiteral("Fechar")); // the exchange has wound down
    fechar->click();
    QTRY_VERIFY(!janela<F599ATL>());
    const QString hoje = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    QTRY_VERIFY2(lblAtualizado->text().startsWith(hoje + QStringLiteral(" - ")), qPrintable(lblAtualizado->text()));
    const QTime hora = QTime::fromString(lblAtualizado->text().mid(13), QStringLiteral("HH:mm"));
    QVERIFY(hora.isValid());
    QVERIFY(hora >= QTime(antes.hour(), antes.minute()));
    QCOMPARE(m_dat->sessao.CODVEN, QStringLiteral("12"));
}

QTEST_MAIN(TstDiaDeVenda)
#include "tst_diadevenda.moc"
