#include "TesteJanelaPedido.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "ModuleFrame.h"
#include "PaginaPesquisa.h"
#include "PainelCabecalho.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "RegistroJanelasPedidos.h"
#include "ScriptedAnswerer.h"
#include "SeletorProdutos.h"
#include "SqlText.h"
#include "StatementRun.h"
#include "TestDatabase.h"
#include "U500CAD.h"
#include "U530PDV.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

// The order window end to end on the small database of BasePedidos.
class TstF530PDV : public TesteJanelaPedido
{
    Q_OBJECT

private slots:
    void init() { preparaAmbiente(); }
    void cleanup() { desfazAmbiente(); }

    void janelaConhecidaPeloQuadro();
    void novoPedidoDigitadoSalvoEListado();
    void clienteComAtrasoViraOrcamento();
    void senhaDeLiberacaoSalvaComoPedido();
    void copiaSeguidaDeVoltarApagaACopia();
    void copiaSomenteDosItensPendentes();
    void excluiSomentePedidoDigitado();
    void entradaInvalidaNaoGravaNada();
    void pedidoRecuperadoSalvaComoQualquerOutro();
};

// "Pedidos" and the recovered-order path open the window by its name.
void TstF530PDV::janelaConhecidaPeloQuadro()
{
    Pedidos::registraJanelas();
    QVERIFY(ModuleFrame::isModuleWindowRegistered(QStringLiteral("F530PDV")));
}

// A typed order must reach the database with its items and totals and show up in the list.
void TstF530PDV::novoPedidoDigitadoSalvoEListado()
{
    auto w = novoPedido(QStringLiteral("50"));
    QCOMPARE(w->paginas->currentWidget(), w->tbsCadastro);
    QCOMPARE(w->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODPDF")), QStringLiteral("1"));
    QCOMPARE(w->dados()->cdsCADPEDIDO->asString(QStringLiteral("SITPDF")), QStringLiteral("D"));
    QCOMPARE(w->cabecalho->lblRAZCLI->text(), QStringLiteral("MERCADO BOM PRECO"));
    escolheListas(*w);

    // 9.000 under a 5 % maximum over 10.000 becomes 9.500 on Enter, without a message.
    w->pgPedido->setCurrentIndex(1);
    QVERIFY(w->dados()->cdsPESPRODUTO->locate({QStringLiteral("CODPRO")}, {QStringLiteral("1234567")}));
    w->itens->edPRECO->setText(QStringLiteral("9,000"));
    QTest::keyClick(w->itens->edPRECO, Qt::Key_Return);
    QCOMPARE(w->itens->edPRECO->text(), QStringLiteral("9,500"));
    QVERIFY(m_respostas.shown.isEmpty());
    w->itens->edQTDE->setText(QStringLiteral("24"));
    QTest::keyClick(w->itens->edQTDE, Qt::Key_Return);
    QCOMPARE(w->dados()->cdsCADITEM->recordCount(), 1);
    QVERIFY(QFile::exists(F530PDV::arquivoPedido()));
    QVERIFY(QFile::exists(F530PDV::arquivoItens()));

    w->btSalvar->click();
    QCOMPARE(w->paginas->currentWidget(), static_cast<QWidget *>(w->tbsPesquisa));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 1 AND SITPDF = 'D' AND PDFORC = 'N'")), 1);
    QCOMPARE(valor(QStringLiteral("SELECT TOTPDF FROM F530PDF WHERE CODPDF = 1")).toDouble(), 228.0);
    QCOMPARE(valor(QStringLiteral("SELECT VLRUNT FROM F530IPF WHERE CODPDF = 1 AND CODPRO = 1234567")).toDouble(), 9.5);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 1 AND VENSUB IS NULL")), 1);
    QVERIFY(!QFile::exists(F530PDV::arquivoPedido()));
    QVERIFY(w->dados()->cdsPesPedido->locate({QStringLiteral("CODPDF")}, {QStringLiteral("1")}));
}

// A customer with overdue titles gets a budget, never an order that would be sent.
void TstF530PDV::clienteComAtrasoViraOrcamento()
{
    auto w = novoPedido(QStringLiteral("60"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("3"));
    w->btSalvar->click();
    QVERIFY(m_respostas.lastText().contains(QStringLiteral("Pedido será salvo como ORÇAMENTO, pois cliente está com títulos em atraso!")));
    QCOMPARE(valor(QStringLiteral("SELECT PDFORC FROM F530PDF WHERE CODPDF = 1")), QStringLiteral("S"));
}

// The supervisor's release code for this order, seller and date lets the order go as an order.
void TstF530PDV::senhaDeLiberacaoSalvaComoPedido()
{
    auto w = novoPedido(QStringLiteral("60"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("3"));
    w->cabecalho->edLiberacao->setText(
        D500DAT::geraSenhaLiberacao(QStringLiteral("1"), QStringLiteral("7"), QDate::currentDate()));
    w->btSalvar->click();
    QCOMPARE(valor(QStringLiteral("SELECT PDFORC FROM F530PDF WHERE CODPDF = 1")), QStringLiteral("N"));
    for (const auto &m : std::as_const(m_respostas.shown))
        QVERIFY(!m.text.contains(QStringLiteral("ORÇAMENTO")));
}

// "Voltar" on a copy removes the copy, which was stored whole (items and header) before.
void TstF530PDV::copiaSeguidaDeVoltarApagaACopia()
{
    const QString hoje = SqlText::dateLiteral(QDate::currentDate());
    exec(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, "
                        "CODCON, CODOPE, SITPDF, CODVEN, SITFLX, PDFORC, RETPDV) VALUES (1, 5, 0, 2, %1, 50, 0, 60.00, 0, 1, 1, 2, "
                        "'F', 7, 'S', 'N', 'N')").arg(hoje));
    exec(QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, "
                        "USOFLX, GERFLX, QTDFAT, VLRFAT) VALUES (1, 1, 5, 12, 0, 'SUCO D''UVA', 3, 20, 60, 0, 0, 3, 20)"));
    m_cad->codCliPedido.clear();
    m_cad->codNovPedido.clear();
    F530PDV w;
    QCOMPARE(w.paginas->currentWidget(), static_cast<QWidget *>(w.tbsPesquisa));
    QCOMPARE(w.dados()->cdsPesPedido->recordCount(), 1);
    m_respostas.answers = {RespostaMensagem::Sim};
    w.tbsPesquisa->btCopiar->click();
    // Fully invoiced: copied whole, without the pending-only question.
    QCOMPARE(m_respostas.shown.size(), 1);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 6 AND SITPDF = 'D' AND SITFLX = 'N'")), 1);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 6 AND QTDFAT = 0 AND SITFLX = 'S'")), 1);
    QCOMPARE(w.paginas->currentWidget(), w.tbsCadastro);
    QCOMPARE(w.dados()->cdsCADITEM->recordCount(), 1);

    m_respostas.answers = {RespostaMensagem::Sim};
    w.btVoltar->click();
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 6")), 0);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 6")), 0);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 5")), 1);
    QVERIFY(!w.dados()->cdsPesPedido->locate({QStringLiteral("CODPDF")}, {QStringLiteral("6")}));
}

// A sent order partly invoiced can be copied with the pending quantities and proportional flex,
// and the copy's balance adds back only the flex stored for the copy, not the source's whole.
void TstF530PDV::copiaSomenteDosItensPendentes()
{
    const QString hoje = SqlText::dateLiteral(QDate::currentDate());
    exec(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, "
                        "CODCON, CODOPE, SITPDF, CODVEN, SITFLX, PDFORC, RETPDV) VALUES (1, 5, 900, 2, %1, 50, 0, 200.00, 10, 1, 1, 2, "
                        "'E', 7, 'S', 'N', 'N')").arg(hoje));
    exec(QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, "
                        "USOFLX, GERFLX, QTDFAT, VLRFAT) VALUES (1, 1, 5, 12, 900, 'SUCO D''UVA', 10, 20, 200, 10, 0, 4, 20)"));
    m_cad->codCliPedido.clear();
    F530PDV w;
    m_respostas.answers = {RespostaMensagem::Sim, RespostaMensagem::Sim};
    w.tbsPesquisa->btCopiar->click();
    QCOMPARE(m_respostas.shown.size(), 2);
    QCOMPARE(valor(QStringLiteral("SELECT QTDPRO FROM F530IPF WHERE CODPDF = 6")).toDouble(), 6.0);
    QCOMPARE(valor(QStringLiteral("SELECT USOFLX FROM F530IPF WHERE CODPDF = 6")).toDouble(), 6.0);
    QCOMPARE(valor(QStringLiteral("SELECT VLRTOT FROM F530IPF WHERE CODPDF = 6")).toDouble(), 120.0);
    QCOMPARE(w.cabecalho->lblSaldo->text(), QStringLiteral("100,00")); // 100 - 6 stored + 6 of the copy
}

// Only typed orders ('D') can be deleted, items and header together; a deleted order still
// listed cannot be copied into an empty one.
void TstF530PDV::excluiSomentePedidoDigitado()
{
    const QString hoje = SqlText::dateLiteral(QDate::currentDate());
    for (const auto &[numero, situacao] : {std::pair{1, "D"}, std::pair{2, "F"}}) {
        exec(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, CODVEN) "
                            "VALUES (1, %1, 0, %2, 50, 0, 10, '%3', 7)").arg(numero).arg(hoje, QLatin1String(situacao)));
        exec(QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, QTDPRO, VLRUNT, VLRTOT, QTDFAT, VLRFAT) "
                            "VALUES (1, 1, %1, 12, 0, 1, 10, 10, 0, 0)").arg(numero));
    }
    m_cad->codCliPedido.clear();
    F530PDV w;
    TClientDataSetPlus *lista = w.dados()->cdsPesPedido;
    QVERIFY(lista->locate({QStringLiteral("CODPDF")}, {QStringLiteral("2")}));
    w.tbsPesquisa->btexcluir->click();
    QVERIFY(m_respostas.shown.isEmpty());
    QVERIFY(lista->locate({QStringLiteral("CODPDF")}, {QStringLiteral("1")}));
    m_respostas.answers = {RespostaMensagem::Sim};
    w.tbsPesquisa->btexcluir->click();
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 1")), 0);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 1")), 0);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 2")), 1);
    QCOMPARE(lista->recordCount(), 1);

    // A row of a list left stale (a refused search after a deletion): copying it is told and
    // opens no empty order that "Voltar" could not remove.
    exec(QStringLiteral("DELETE FROM F530PDF WHERE CODPDF = 2"));
    m_respostas.answers = {RespostaMensagem::Sim, RespostaMensagem::Nao};
    w.tbsPesquisa->btCopiar->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("O pedido não existe mais. Pesquise novamente."));
    QCOMPARE(w.paginas->currentWidget(), static_cast<QWidget *>(w.tbsPesquisa));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF <> 2")), 0);
}

// A quote in a filter, an impossible date, a zero quantity and malformed numbers are told, and
// nothing is written.
void TstF530PDV::entradaInvalidaNaoGravaNada()
{
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    w->pgPedido->setCurrentIndex(1);
    w->itens->seletor->EDDESPRO->setText(QStringLiteral("D'UVA"));
    QTest::keyClick(w->itens->seletor->EDDESPRO, Qt::Key_Return);
    QVERIFY(m_respostas.shown.isEmpty());
    QVERIFY(w->dados()->cdsPESPRODUTO->locate({QStringLiteral("CODPRO"), QStringLiteral("VERFAM")},
                                              {QStringLiteral("12"), QStringLiteral("N")}));
    QVERIFY(!w->dados()->cdsPESPRODUTO->locate({QStringLiteral("CODPRO")}, {QStringLiteral("1234567")}));

    w->itens->edPRECO->setText(QStringLiteral("20,000"));
    w->itens->edQTDE->setText(QStringLiteral("0"));
    QTest::keyClick(w->itens->edQTDE, Qt::Key_Return);
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Quantidade tem que ser Maior que ZERO!"));
    QCOMPARE(w->dados()->cdsCADITEM->recordCount(), 0);
    QVERIFY(!QFile::exists(F530PDV::arquivoItens()));

    // Typed numbers: a huge one must not end the program on the subtotal, one outside the
    // display form is told and keeps the focus; "1.500" is one thousand five hundred.
    w->itens->edQTDE->setText(QString(40, u'9'));
    QTest::keyClick(w->itens->edQTDE, Qt::Key_Return);
    QVERIFY(m_respostas.lastText().startsWith(QStringLiteral("Qtde.: \"9999")));
    QVERIFY(m_respostas.lastText().contains(QStringLiteral("é grande demais")));
    w->itens->edQTDE->setText(QStringLiteral("1.5"));
    w->itens->edPRECO->setFocus();
    w->itens->btIncluirITM->click();
    QVERIFY(m_respostas.lastText().contains(QStringLiteral("não é um número válido")));
    QCOMPARE(w->focusWidget(), w->itens->edQTDE);
    QCOMPARE(w->dados()->cdsCADITEM->recordCount(), 0);
    w->itens->edQTDE->setText(QStringLiteral("1.500"));
    QTest::keyClick(w->itens->edQTDE, Qt::Key_Return);
    QCOMPARE(w->dados()->cdsCADITEM->asFloat(QStringLiteral("QTDPRO")), 1500.0);
    // A character the database cannot hold in the observation: named by the program.
    w->cabecalho->edOBSCLI->setPlainText(QStringLiteral(u"Entregar 😀"));
    QCOMPARE(m_respostas.lastText(), QStringLiteral(u"O campo Observação não aceita o caractere \"😀\"."));
    // ...said once: the character leaves the box and the next keys are kept.
    const int ditas = m_respostas.shown.size();
    QCOMPARE(w->cabecalho->edOBSCLI->toPlainText(), QStringLiteral("Entregar "));
    w->cabecalho->edOBSCLI->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->cabecalho->edOBSCLI, QStringLiteral("cedo"));
    QCOMPARE(m_respostas.shown.size(), ditas);
    QCOMPARE(w->dados()->cdsCADPEDIDO->asString(QStringLiteral("OBSCLI")), QStringLiteral("Entregar cedo"));

    m_respostas.answers = {RespostaMensagem::Sim};
    w->btVoltar->click();
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
    PaginaPesquisa *busca = w->tbsPesquisa;
    busca->cbPeriodo->setChecked(true);
    busca->edDataIni->setText(QStringLiteral("31/02/2026"));
    const int mensagens = m_respostas.shown.size();
    busca->btPesquisar->click();
    QCOMPARE(m_respostas.shown.size(), mensagens + 1);
    QVERIFY(m_respostas.lastText().startsWith(QStringLiteral("Data inválida")));
    busca->cbPeriodo->setChecked(false);
    busca->cbCliente->setChecked(true); // text no column holds finds nothing, quietly
    for (const QString &cliente : {QStringLiteral(u"€ÿ😀"), QString(300, u'Ç')}) {
        busca->edCliente->setText(cliente);
        busca->btPesquisar->click();
        QCOMPARE(w->dados()->cdsPesPedido->recordCount(), 0);
    }
    QCOMPARE(m_respostas.shown.size(), mensagens + 1);
    busca->cbCliente->setChecked(false);
    busca->cbPedido->setChecked(true);
    busca->edPedido->setText(QStringLiteral("1O"));
    busca->btPesquisar->click();
    QVERIFY(m_respostas.lastText().startsWith(QStringLiteral("Pedido : \"1O\" não é um número válido")));
}

// After a crash the copy of the order being typed comes back with its pending items and saves;
// its flex is not stored yet, so it cannot overdraw the balance that refused it before.
void TstF530PDV::pedidoRecuperadoSalvaComoQualquerOutro()
{
    {
        auto w = novoPedido(QStringLiteral("50"));
        escolheListas(*w);
        digitaItem(*w, QStringLiteral("1234567"), QStringLiteral("9,500"), QStringLiteral("240")); // uses 120,00
        digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("2"));
        QVERIFY(QFile::exists(F530PDV::arquivoItens()));
    } // the window goes away without "Salvar" or "Voltar"
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
    m_cad->codCliPedido.clear();
    m_cad->codNovPedido.clear();
    m_dat->sessao.editaRecuperados = true;
    F530PDV w;
    QCOMPARE(w.paginas->currentWidget(), w.tbsCadastro);
    QCOMPARE(w.dados()->cdsCADITEM->recordCount(), 2);
    QCOMPARE(w.cabecalho->lblSaldo->text(), QStringLiteral("100,00"));
    w.btSalvar->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Saldo de FLEX insuficiente para SALVAR pedido. Verifique!"));
    w.pgPedido->setCurrentIndex(1);
    QComboBox *grade = w.itens->cbTabela;
    grade->setCurrentIndex(grade->findText(QStringLiteral("Itens do Pedido")));
    emit grade->activated(grade->currentIndex());
    QVERIFY(w.dados()->cdsCADITEM->locate({QStringLiteral("CODPRO")}, {QStringLiteral("1234567")}));
    m_respostas.answers = {RespostaMensagem::Sim};
    w.itens->btExcluirITM->click();
    w.btSalvar->click();
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 1")), 1);
    QCOMPARE(valor(QStringLiteral("SELECT QTDPRO FROM F530IPF WHERE CODPDF = 1 AND CODPRO = 12")).toDouble(), 2.0);
    QVERIFY(!m_dat->sessao.editaRecuperados);
    QVERIFY(!QFile::exists(F530PDV::arquivoPedido()));
}

QTEST_MAIN(TstF530PDV)
#include "tst_f530pdv.moc"
