#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "ModuleFrame.h"
#include "MostradorVelocimetro.h"
#include "PastaDemo.h"
#include "RegistroJanelasRelatorios.h"
#include "ScriptedAnswerer.h"
#include "TermometroComissao.h"
#include "TextCodec.h"
#include "U500REL.h"
#include "U599REL.h"
#include "U599VEL.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <memory>

// The report catalogue and the goal window on a copy of the demonstration data, as MARCOS
// (seller 12, supervisor 3, USASUP 'S') sees them.
class TstRelatorios : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void quatroRelatoriosNaTelaNaPlanilhaENoPapel();
    void arvoreSemVendedorESemSupervisor();
    void relatorioPeloTerminal();
    void metasDosCasosDoVendedor();
    void metasFechamDuranteAAnimacao();

private:
    QString pagina() const;
    QString escalar(const QString &sql) const;
    void abre(F599REL &janela, const QString &texto);

    QTemporaryDir m_pasta;
    QString m_pastaAnterior;
    ScriptedAnswerer m_respostas;
    std::unique_ptr<D500DAT> m_dat;
    std::unique_ptr<D500REL> m_rel;
    std::unique_ptr<QMdiArea> m_area;
    std::unique_ptr<ModuleFrame> m_frame;
    QWidget m_menu, m_sair;
};

void TstRelatorios::init()
{
    QString erro;
    QVERIFY2(PastaDemo::copia(QDate::currentDate(), m_pasta.path(), &erro), qPrintable(erro));
    m_pastaAnterior = QDir::currentPath();
    QDir::setCurrent(m_pasta.path());
    m_dat = std::make_unique<D500DAT>();
    m_dat->setMessagePresenter(&m_respostas);
    m_dat->cnxFirebird.setDatabaseName(QDir(m_pasta.path()).filePath(QStringLiteral("ORVALIS.FDB")));
    m_dat->cnxFirebird.open();
    m_dat->carregaUsuario();
    m_rel = std::make_unique<D500REL>();
    m_rel->abreArquivo = [](const QString &) { return true; };
    m_area = std::make_unique<QMdiArea>();
    m_frame = std::make_unique<ModuleFrame>(m_area.get(), &m_menu, &m_sair, [] {});
    Relatorios::registraJanelas();
    m_respostas.shown.clear();
}

void TstRelatorios::cleanup()
{
    m_frame.reset();
    m_area.reset();
    m_rel.reset();
    m_dat.reset();
    QDir::setCurrent(m_pastaAnterior);
}

QString TstRelatorios::pagina() const
{
    QFile f(QDir(m_pasta.path()).filePath(QStringLiteral("Relatorio.htm")));
    return f.open(QIODevice::ReadOnly) ? TextCodec::fromWindows1252(f.readAll()) : QString();
}

QString TstRelatorios::escalar(const QString &sql) const
{
    QSqlQuery q = m_dat->cnxFirebird.query();
    return q.exec(sql) && q.next() ? q.value(0).toString() : QString();
}

void TstRelatorios::abre(F599REL &janela, const QString &texto)
{
    const auto itens = janela.treeRelatorios->findItems(texto, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!itens.isEmpty());
    janela.treeRelatorios->setCurrentItem(itens.first());
    janela.treeRelatoriosDblClick();
}

// Guards the catalogue end to end: each report page opens from the tree, writes its page and
// shows it in the viewer, back returns to the page; a budget order prints its header with the
// budget words; the team summary goes to a workbook; the page prints to a PDF file.
void TstRelatorios::quatroRelatoriosNaTelaNaPlanilhaENoPapel()
{
    F599REL janela;
    QCOMPARE(janela.treeRelatorios->topLevelItem(0)->childCount(), 3);
    QCOMPARE(janela.treeRelatorios->topLevelItem(1)->childCount(), 1);
    QCOMPARE(janela.paginas->currentWidget(), janela.tbsPrincipal);
    QVERIFY(!janela.paginas->isTabVisible(janela.paginas->indexOf(janela.tbsVisualizar)));

    janela.treeRelatorios->setCurrentItem(janela.treeRelatorios->topLevelItem(0));
    janela.treeRelatoriosDblClick();
    QCOMPARE(janela.paginas->currentWidget(), janela.tbsPrincipal);

    abre(janela, QStringLiteral("R511RSV - Resumo de Vendas"));
    QCOMPARE(janela.paginas->currentWidget(), janela.R511RSV);
    QVERIFY(!janela.paginas->isTabVisible(janela.paginas->indexOf(janela.tbsPrincipal)));
    const QString ultimoMes = QDate::currentDate().toString(QStringLiteral("MM/yyyy"));
    QCOMPARE(janela.DBLMESMETA->currentText(), ultimoMes);
    janela.btresumoClick();
    QCOMPARE(janela.paginas->currentWidget(), janela.tbsVisualizar);
    QVERIFY(janela.Browser->toPlainText().contains(QStringLiteral("VENDAS GERAL")));
    QVERIFY(pagina().contains(QStringLiteral("<B>VENDEDOR : MARCOS ANTÔNIO PEREIRA - ") + ultimoMes));
    janela.SpeedButton2Click();
    QCOMPARE(janela.paginas->currentWidget(), janela.R511RSV);
    janela.fechaRel();
    QCOMPARE(janela.paginas->currentWidget(), janela.tbsPrincipal);

    abre(janela, QStringLiteral("R511PEN - Relatório de Pendência"));
    QCOMPARE(janela.edDATINI->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    janela.edDATINI->setText(QDate::currentDate().addDays(-60).toString(QStringLiteral("dd/MM/yyyy")));
    janela.btPendenciaClick();
    QCOMPARE(janela.paginas->currentWidget(), janela.tbsVisualizar);
    QVERIFY(pagina().contains(QStringLiteral("Total Geral de Pendência : ")));
    janela.fechaRel();

    const QString orcamento = escalar(QStringLiteral(
        "SELECT FIRST 1 P.CODPDF FROM F530PDF P WHERE P.PDFORC = 'S' AND P.CODEMP = 1 AND "
        "EXISTS (SELECT 1 FROM F530IPF I WHERE I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT)"));
    QVERIFY(!orcamento.isEmpty());
    abre(janela, QStringLiteral("R530PDF - Impressão de Pedido"));
    janela.edPedido->setText(orcamento);
    janela.btImpressaoClick();
    QCOMPARE(janela.paginas->currentWidget(), janela.tbsVisualizar);
    QVERIFY2(pagina().contains(QRegularExpression(QStringLiteral("<B>PEDIDO : %1          DATA : \\d{1,2}/\\d{1,2}/\\d{4}"
                                                                 "    -    O R Ç A M E N T O </B><BR>").arg(orcamento))),
             qPrintable(pagina().left(800)));
    QVERIFY(pagina().contains(QStringLiteral("Total Geral de Tot. Item : ")));

    QTemporaryDir papel;
    QPrinter impressora;
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(papel.filePath(QStringLiteral("pedido.pdf")));
    janela.WBPrintWithDialog(&impressora);
    QFile pdf(impressora.outputFileName());
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF") && bytes.contains("/Type /Page"));

    janela.SpeedButton2Click();
    janela.edPedido->clear();
    janela.btImpressaoClick(); // no number: no rows, no viewer, no message
    QCOMPARE(janela.paginas->currentWidget(), janela.R530PDF);
    QVERIFY(pagina().isEmpty());
    janela.fechaRel();

    abre(janela, QStringLiteral("R516SIN - Relatório Sintético de Vendas"));
    janela.btsinteticoClick();
    QVERIFY(pagina().contains(QStringLiteral("Total Geral de VENDAS REAL. : ")));
    janela.SpeedButton2Click();
    janela.R516SINrgTipoSaida->button(1)->click();
    janela.btsinteticoClick();
    QCOMPARE(janela.paginas->currentWidget(), janela.R516SIN);
    QCOMPARE(QDir(m_pasta.filePath(QStringLiteral("Relatorios"))).entryList(QDir::Files).size(), 1);
    QVERIFY(m_respostas.shown.isEmpty());
}

// Guards the tree of a user without a seller code and without USASUP: no report under either
// parent, and no goal window from "Meta Visual".
void TstRelatorios::arvoreSemVendedorESemSupervisor()
{
    m_dat->sessao.CODVEN.clear();
    m_dat->sessao.usuarioSupervisor = false;
    F599REL janela;
    QCOMPARE(janela.treeRelatorios->topLevelItem(0)->text(0), QStringLiteral("Representante"));
    QCOMPARE(janela.treeRelatorios->topLevelItem(0)->childCount(), 0);
    QCOMPARE(janela.treeRelatorios->topLevelItem(1)->childCount(), 0);
    janela.btVelocimetroClick(); // no seller, no goals
    QVERIFY(m_area->subWindowList().isEmpty());
}

// Guards the terminal command: the page it writes is the one the window writes, byte for byte;
// a report without rows leaves no file (status 2); a report the tree hides is refused (status 1).
void TstRelatorios::relatorioPeloTerminal()
{
    const QString korvex = QCoreApplication::applicationDirPath() + QStringLiteral("/korvex");
    auto executa = [&](const QStringList &argumentos) {
        QProcess p;
        p.setWorkingDirectory(m_pasta.path());
        p.start(korvex, QStringList{QStringLiteral("relatorio")} + argumentos);
        p.waitForFinished(120000);
        return p.exitCode();
    };
    const QString orcamento = escalar(QStringLiteral("SELECT FIRST 1 CODPDF FROM F530PDF WHERE PDFORC = 'S' AND CODEMP = 1"));
    {
        F599REL janela;
        abre(janela, QStringLiteral("R530PDF - Impressão de Pedido"));
        janela.edPedido->setText(orcamento);
        janela.btImpressaoClick();
    }
    const QString pelaJanela = pagina();
    QVERIFY(!pelaJanela.isEmpty());
    m_dat->cnxFirebird.close(); // the command opens the file itself
    QCOMPARE(executa({QStringLiteral("R530PDF"), QStringLiteral("--pedido"), orcamento, QStringLiteral("--saida"),
                      QStringLiteral("pedido.htm")}), 0);
    QFile arquivo(m_pasta.filePath(QStringLiteral("pedido.htm")));
    QVERIFY(arquivo.open(QIODevice::ReadOnly));
    QCOMPARE(TextCodec::fromWindows1252(arquivo.readAll()), pelaJanela);
    QCOMPARE(executa({QStringLiteral("R530PDF"), QStringLiteral("--pedido"), QStringLiteral("999999999"),
                      QStringLiteral("--saida"), QStringLiteral("vazio.xlsx")}), 2);
    QVERIFY(!QFile::exists(m_pasta.filePath(QStringLiteral("vazio.xlsx"))));
    QCOMPARE(executa({QStringLiteral("R511RSV"), QStringLiteral("--saida"), QStringLiteral("resumo.xlsx")}), 0);
    QVERIFY(QFileInfo(m_pasta.filePath(QStringLiteral("resumo.xlsx"))).size() > 0);

    m_dat->cnxFirebird.open();
    m_dat->cnxFirebird.execute(QStringLiteral("UPDATE F599USU SET USASUP = 'N'"));
    m_dat->cnxFirebird.close();
    QCOMPARE(executa({QStringLiteral("R516SIN"), QStringLiteral("--saida"), QStringLiteral("equipe.htm")}), 1);
    QVERIFY(!QFile::exists(m_pasta.filePath(QStringLiteral("equipe.htm"))));
}

// Guards the goal values: the latest month by date (not by text), 150 % beyond the scale,
// a long line name cut on the dial and whole in the heading, a goal of 0, and no rows at all.
void TstRelatorios::metasDosCasosDoVendedor()
{
    m_dat->cnxFirebird.execute(QStringLiteral(
        "INSERT INTO F500RSV (CODEMP, CODVEN, MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS, DESDIF, METDIF, GERDIF) "
        "VALUES (1, 901, '12/2025', 1000, 500, 0, 0, 0, 0, 'ANTIGO', 0, 0)"));
    m_dat->cnxFirebird.execute(QStringLiteral(
        "INSERT INTO F500RSV (CODEMP, CODVEN, MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS, DESDIF, METDIF, GERDIF) "
        "VALUES (1, 901, '01/2026', 100000, 150000, 40000, 500000, 400000, 4500, 'LINHA DE LIMPEZA PESADA', 20000, -1500)"));
    m_dat->cnxFirebird.execute(QStringLiteral(
        "INSERT INTO F500RSV (CODEMP, CODVEN, MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS, DESDIF, METDIF, GERDIF) "
        "VALUES (1, 902, '01/2026', 0, 800, 300, 0, 0, 0, NULL, 0, 0)"));
    struct Caso
    {
        QString vendedor;
        double mensal, dezena, equipe, comissao, meta, realizado, realizadoDif;
        QString legenda, titulo;
    };
    const QList<Caso> casos = {
        {QStringLiteral("901"), 150, 120, 80, 3, 100000, 150000, -1500, QStringLiteral("LINHA DE LI"),
         QStringLiteral("LINHA DE LIMPEZA PESADA")},
        {QStringLiteral("902"), 0, 0, 0, 0, 0, 800, 0, QStringLiteral("DIFERENCIAD."), QStringLiteral("DIFERENCIADOS")},
        {QStringLiteral("903"), 0, 0, 0, 0, 0, 0, 0, QStringLiteral("DIFERENCIAD."), QStringLiteral("DIFERENCIADOS")},
    };
    for (const Caso &c : casos) {
        m_dat->sessao.CODVEN = c.vendedor;
        F599VEL janela;
        janela.FormActivate();
        janela.concluiAnimacao();
        QCOMPARE(janela.rlMensal->valor(), c.mensal);
        QCOMPARE(janela.rldezena->valor(), c.dezena);
        QCOMPARE(janela.rlEquipe->valor(), c.equipe);
        QCOMPARE(janela.mdcomissao->valor(), c.comissao);
        QCOMPARE(janela.ltMeta->value(), c.meta);
        QCOMPARE(janela.ltRealiz->value(), c.realizado);
        QCOMPARE(janela.ltRealizDif->value(), c.realizadoDif);
        QCOMPARE(janela.rlDiferenciado->legenda(), c.legenda);
        QCOMPARE(janela.lblDIF->text(), c.titulo);
    }
}

// Guards "Meta Visual" and the animation: digit displays land before the dials start, the window answers while
// it plays, and closing it mid-way neither crashes nor touches the freed instruments.
void TstRelatorios::metasFechamDuranteAAnimacao()
{
    m_area->show();
    F599REL catalogo;
    catalogo.btVelocimetroClick(); // "Meta Visual"
    QCOMPARE(m_area->subWindowList().size(), 1);
    QPointer<F599CAD> janela = qobject_cast<F599CAD *>(m_area->subWindowList().constFirst());
    auto *metas = qobject_cast<F599VEL *>(janela.data());
    QVERIFY(metas);
    QTRY_VERIFY(metas->rldezena->valor() > 0);
    QVERIFY(metas->animando());
    QCOMPARE(metas->ltRealiz->value(), double(std::llround(metas->valores().DISPL)));
    QCOMPARE(metas->rlEquipe->valor(), 0.0);
    janela->close();
    QTRY_VERIFY(janela.isNull());
    QTest::qWait(300);
}

QTEST_MAIN(TstRelatorios)
#include "tst_relatorios.moc"
