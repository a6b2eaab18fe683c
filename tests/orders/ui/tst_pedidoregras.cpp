#include "TesteJanelaPedido.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "GradeDados.h"
#include "PaginaPesquisa.h"
#include "PainelCabecalho.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "ScriptedAnswerer.h"
#include "SeletorProdutos.h"
#include "SqlText.h"
#include "StatementRun.h"
#include "TestDatabase.h"
#include "U500CAD.h"
#include "U530PDV.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

// The rules of the order window one by one: list filters and sort, header defaults and status,
// item entry checks, re-pricing and the checks of "Salvar".
class TstPedidoRegras : public TesteJanelaPedido
{
    Q_OBJECT

private slots:
    void init() { preparaAmbiente(); }
    void cleanup() { desfazAmbiente(); }

    void listaFiltraSituacaoEOrcamentos();
    void gradeDaListaComMascarasOrdenaUmaVez();
    void vendedorDoClienteComSubVendedor();
    void pedidoEnviadoSomenteLeitura();
    void retirarSomenteComDescontoDeRetirada();
    void fatorDoProdutoEPassoDaQuantidade();
    void produtoRepetidoSubstituiOItem();
    void alteracaoNaVisaoDeItensMantemPrecosDoItem();
    void trocaDeGradeRecarregaCamposDaEntrada();
    void mudancaDeCondicaoCorrigePrecos();
    void flexInsuficienteRecusaOPedido();
    void pedidoMinimoPorCentroDeCusto();

private:
    void pedidoGravado(int numero, const char *situacao, const char *orcamento, int codint = 0);
};

void TstPedidoRegras::pedidoGravado(int numero, const char *situacao, const char *orcamento, int codint)
{
    exec(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, "
                        "CODCON, CODOPE, SITPDF, CODVEN, SITFLX, PDFORC) VALUES (1, %1, %5, 2, %2, 50, 0, %1, 0, 1, 1, 2, "
                        "'%3', 7, 'S', %4)")
             .arg(numero)
             .arg(SqlText::dateLiteral(QDate::currentDate().addDays(-numero)), QLatin1String(situacao),
                  orcamento ? SqlText::quoted(QLatin1String(orcamento)) : QStringLiteral("NULL"))
             .arg(codint));
    exec(QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, QTDFAT, "
                        "VLRFAT, USOFLX, GERFLX) VALUES (1, 1, %1, 12, %2, 'SUCO D''UVA', 1, %1, %1, 0, 0, 0, 0)")
             .arg(numero)
             .arg(codint));
}

// "Enviado" must not list 'L' orders; "Orçamentos" lists every budget whatever the period; a
// second click on "Total" sorts descending.
void TstPedidoRegras::listaFiltraSituacaoEOrcamentos()
{
    pedidoGravado(1, "E", "N");
    pedidoGravado(2, "L", "N");
    pedidoGravado(3, "D", "S");
    pedidoGravado(4, "D", nullptr);
    m_cad->codCliPedido.clear();
    F530PDV w;
    PaginaPesquisa *p = w.tbsPesquisa;
    TClientDataSetPlus *lista = w.dados()->cdsPesPedido;
    QAbstractItemModelTester tester(lista, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(lista->recordCount(), 0); // the period starts on today
    p->cbPeriodo->setChecked(false);
    p->cbSituacao->setCurrentIndex(p->cbSituacao->findText(QStringLiteral("Enviado")));
    p->btPesquisar->click();
    QCOMPARE(lista->recordCount(), 1);
    QCOMPARE(lista->asString(QStringLiteral("CODPDF")), QStringLiteral("1"));
    p->cbSituacao->setCurrentIndex(p->cbSituacao->findText(QStringLiteral("Todos")));
    p->cbPeriodo->setChecked(true);
    p->cbOrcamentos->setChecked(true);
    p->btPesquisar->click();
    QCOMPARE(lista->recordCount(), 1);
    QCOMPARE(lista->asString(QStringLiteral("CODPDF")), QStringLiteral("3"));
    p->cbOrcamentos->setChecked(false);
    p->cbPeriodo->setChecked(false);
    p->btPesquisar->click();
    QCOMPARE(lista->recordCount(), 4);
    const int total = lista->columnOfField(QStringLiteral("TOTPDF"));
    p->dbgPesquisaTitleClick(total);
    p->dbgPesquisaTitleClick(total);
    lista->first();
    QCOMPARE(lista->asString(QStringLiteral("CODPDF")), QStringLiteral("4"));
}

// The list's grid shows number and total in their masks and not the budget flag, and one title
// click sorts once (the grid must not sort again behind the window's handler).
void TstPedidoRegras::gradeDaListaComMascarasOrdenaUmaVez()
{
    pedidoGravado(2, "D", "N");
    pedidoGravado(1, "D", "N");
    m_cad->codCliPedido.clear();
    F530PDV w;
    PaginaPesquisa *p = w.tbsPesquisa;
    TClientDataSetPlus *lista = w.dados()->cdsPesPedido;
    p->cbPeriodo->setChecked(false);
    p->btPesquisar->click();
    QVERIFY(p->dbgPesquisa->isColumnHidden(lista->columnOfField(QStringLiteral("PDFORC"))));
    emit p->dbgPesquisa->horizontalHeader()->sectionClicked(lista->columnOfField(QStringLiteral("TOTPDF")));
    const QAbstractItemModel *grade = p->dbgPesquisa->model();
    QCOMPARE(grade->index(0, lista->columnOfField(QStringLiteral("CODPDF"))).data().toString(), QStringLiteral("00001"));
    QCOMPARE(grade->index(1, lista->columnOfField(QStringLiteral("TOTPDF"))).data().toString(), QStringLiteral("2,00"));
}

// A customer of another seller: the order is his, with the logged seller as sub-seller.
void TstPedidoRegras::vendedorDoClienteComSubVendedor()
{
    exec(QStringLiteral("INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL) VALUES (1, 8, 'PAULO', 0)"));
    pedidoGravado(3, "D", "N");
    auto w = novoPedido(QStringLiteral("50"), QStringLiteral("8"));
    TClientDataSetPlus *cab = w->dados()->cdsCADPEDIDO;
    QCOMPARE(cab->asString(QStringLiteral("CODPDF")), QStringLiteral("4"));
    QCOMPARE(cab->asString(QStringLiteral("CODVEN")), QStringLiteral("8"));
    QCOMPARE(cab->asString(QStringLiteral("VENSUB")), QStringLiteral("7"));
    QCOMPARE(w->cabecalho->lblRepresentante->text(), QStringLiteral("PAULO"));
    QCOMPARE(w->cabecalho->lblSubVend->text(), QStringLiteral("MARCOS"));
    QCOMPARE(w->cabecalho->lblSituacao->text(), QStringLiteral("Digitado"));
}

// A sent order opens read-only, cannot be saved, and "Voltar" asks nothing; an empty budget
// flag is rewritten 'N' on edit.
void TstPedidoRegras::pedidoEnviadoSomenteLeitura()
{
    pedidoGravado(1, "L", nullptr);
    m_cad->codCliPedido.clear();
    F530PDV w;
    w.show();
    w.tbsPesquisa->cbPeriodo->setChecked(false);
    w.tbsPesquisa->btPesquisarClick();
    w.tbsPesquisa->dbgPesquisaDblClick();
    QCOMPARE(w.paginas->currentWidget(), w.tbsCadastro);
    QCOMPARE(w.cabecalho->lblSituacao->text(), QStringLiteral("Enviado"));
    QVERIFY(!w.btSalvar->isEnabled());
    QVERIFY(!w.cabecalho->isEnabled());
    QCOMPARE(w.dados()->cdsCADPEDIDO->asString(QStringLiteral("PDFORC")), QStringLiteral("N"));
    w.pgPedido->setCurrentIndex(1);
    QVERIFY(!w.itens->btIncluirITM->isEnabled());
    QVERIFY(w.itens->dbgItem->isVisible());
    w.btVoltar->click();
    QVERIFY(m_respostas.shown.isEmpty());
    QCOMPARE(w.paginas->currentWidget(), static_cast<QWidget *>(w.tbsPesquisa));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC IS NULL")), 1);
}

// "RETIRAR" can be changed only when the seller has a pick-up discount.
void TstPedidoRegras::retirarSomenteComDescontoDeRetirada()
{
    {
        auto w = novoPedido(QStringLiteral("50"));
        w->pgPedido->setCurrentIndex(1);
        w->pgPedido->setCurrentIndex(0);
        QVERIFY(!w->cabecalho->gbRetirar->isEnabled());
        m_respostas.answers = {RespostaMensagem::Sim};
        w->btVoltar->click();
    }
    m_dat->sessao.DESRET = 3;
    auto w = novoPedido(QStringLiteral("50"));
    QVERIFY(w->cabecalho->gbRetirar->isEnabled());
}

// Factor 12: 25 is refused with the factor's message, the step from 13 gives 24.
void TstPedidoRegras::fatorDoProdutoEPassoDaQuantidade()
{
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("1234567"), QStringLiteral("10,000"), QStringLiteral("25"));
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Quantidade digitada inválida! Fator do Produto : 12"));
    QCOMPARE(w->dados()->cdsCADITEM->recordCount(), 0);
    w->itens->edQTDE->setText(QStringLiteral("13"));
    w->itens->lblqtde->click();
    QCOMPARE(w->itens->edQTDE->text(), QStringLiteral("24,00"));
    // Typing 9.000 and writing at once adjusts the price and says so.
    w->itens->edPRECO->setText(QStringLiteral("9,000"));
    w->itens->btIncluirITM->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Desconto acima do PERMITIDO, preço do item foi ajustado!"));
    QCOMPARE(w->dados()->cdsCADITEM->recordCount(), 1);
    QCOMPARE(w->dados()->cdsCADITEM->asFloat(QStringLiteral("VLRUNT")), 9.5);
}

// The same product twice is one item whose quantity is replaced; the summaries follow.
void TstPedidoRegras::produtoRepetidoSubstituiOItem()
{
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("2"));
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("5"));
    TClientDataSetPlus *itens = w->dados()->cdsCADITEM;
    QCOMPARE(itens->recordCount(), 1);
    QCOMPARE(itens->asFloat(QStringLiteral("QTDPRO")), 5.0);
    QCOMPARE(itens->sum(QStringLiteral("VLRTOT")), 100.0);
}

// Changing an item in the item view keeps the prices it was written with, while its tax
// substitution follows an operation chosen after the item and the new quantity; removal asks.
void TstPedidoRegras::alteracaoNaVisaoDeItensMantemPrecosDoItem()
{
    exec(QStringLiteral("UPDATE F513OPE SET TEMFLU = 'S'"));
    exec(QStringLiteral("INSERT INTO F511IMP (CODEMP, CODCCU, CODPRO, ESTCID, ALISTR, ALIICM, ALIINA, CFTICM) "
                        "VALUES (1, 1, 12, 'PR', 40, 12, 18, 1)"));
    auto w = novoPedido(QStringLiteral("50"));
    QComboBox *operacao = w->cabecalho->DBLookupComboBox2;
    for (QComboBox *lista : {w->cabecalho->DBLookupComboBox1, w->cabecalho->DBLookupComboBox3}) {
        lista->setCurrentIndex(0);
        emit lista->activated(0);
    }
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("2"));
    TClientDataSetPlus *itens = w->dados()->cdsCADITEM;
    QCOMPARE(itens->asFloat(QStringLiteral("VLRSTB")), 0.0); // no operation yet
    w->pgPedido->setCurrentIndex(0);
    operacao->setCurrentIndex(0);
    emit operacao->activated(0);
    QCOMPARE(itens->asFloat(QStringLiteral("VLRSTB")), 5.28); // 40,00: 10,08 - 4,80
    w->pgPedido->setCurrentIndex(1);
    exec(QStringLiteral("UPDATE F511TAB SET PRCVEN = 30 WHERE CODPRO = 12"));
    QComboBox *seletor = w->itens->cbTabela;
    seletor->setCurrentIndex(seletor->findText(QStringLiteral("Itens do Pedido")));
    emit seletor->activated(seletor->currentIndex());
    itens->first();
    // A commission list that cannot load is reported, not silently skipped, and the item still loads.
    TClientDataSetPlus *comissoes = w->dados()->cdsComissao;
    comissoes->setCommandText(QStringLiteral("SELECT CODCOS, PCTDCT FROM F512COS_AUSENTE WHERE CODCOS LIKE :PCODCOS "
                                             "AND CODEMP = :PCODEMP"));
    const int mensagens = m_respostas.shown.size();
    w->itens->carregaItem();
    QCOMPARE(m_respostas.shown.size(), mensagens + 1);
    comissoes->setCommandText(PedidoDados::kSelectComissao);
    QCOMPARE(w->itens->edPRECO->text(), QStringLiteral("20,000"));
    w->itens->edPRECO->setText(QStringLiteral("19,500"));
    w->itens->edQTDE->setText(QStringLiteral("4"));
    w->itens->btIncluirITM->click();
    QCOMPARE(itens->recordCount(), 1);
    QCOMPARE(itens->asFloat(QStringLiteral("QTDPRO")), 4.0);
    QCOMPARE(itens->asFloat(QStringLiteral("VLRUNT")), 19.5);
    QCOMPARE(itens->asFloat(QStringLiteral("PRCTAB")), 20.0);
    QCOMPARE(itens->asFloat(QStringLiteral("MAXDCT")), 4.0);
    QCOMPARE(itens->asFloat(QStringLiteral("VLRSTB")), 10.3); // 78,00: 19,66 - 9,36
    m_respostas.answers = {RespostaMensagem::Nao};
    w->itens->btExcluirITM->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Deseja excluir o produto SUCO D'UVA do Pedido ?"));
    QCOMPARE(itens->recordCount(), 1);
    m_respostas.answers = {RespostaMensagem::Sim};
    w->itens->btExcluirITM->click();
    QCOMPARE(itens->recordCount(), 0);
}

// Guards the switch of grids: the entry fields follow the grid just shown, so Enter in the
// quantity after switching to the order's items never writes the product list's price into
// the current item.
void TstPedidoRegras::trocaDeGradeRecarregaCamposDaEntrada()
{
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("3"));
    TClientDataSetPlus *produtos = w->dados()->cdsPESPRODUTO;
    QVERIFY(produtos->locate({QStringLiteral("CODPRO"), QStringLiteral("VERFAM")},
                             {QStringLiteral("1234567"), QStringLiteral("N")}));
    QCOMPARE(w->itens->edPRECO->text(), QStringLiteral("10,000")); // the listed product's price

    QComboBox *grade = w->itens->cbTabela;
    grade->setFocus();
    QTest::keyClick(grade, Qt::Key_Down);
    QCOMPARE(grade->currentText(), QStringLiteral("Itens do Pedido"));
    QCOMPARE(w->itens->edPRECO->text(), QStringLiteral("20,000")); // the current item's
    QCOMPARE(w->itens->edQTDE->text(), QStringLiteral("3,00"));

    m_respostas.shown.clear();
    w->itens->edQTDE->setText(QStringLiteral("5"));
    QTest::keyClick(w->itens->edQTDE, Qt::Key_Return);
    TClientDataSetPlus *itens = w->dados()->cdsCADITEM;
    QCOMPARE(itens->recordCount(), 1);
    QCOMPARE(itens->asFloat(QStringLiteral("QTDPRO")), 5.0);
    QCOMPARE(itens->asFloat(QStringLiteral("VLRUNT")), 20.0);
    QVERIFY(m_respostas.shown.isEmpty());

    QTest::keyClick(grade, Qt::Key_Up); // back to the products: their row again
    QCOMPARE(grade->currentText(), QStringLiteral("Tabela de Vendas"));
    QCOMPARE(w->itens->edPRECO->text(), QStringLiteral("10,000"));

    // A search the engine fails (a price overflowing its factors) leaves the fields following.
    exec(QStringLiteral("UPDATE F511TAB SET PRCVEN = 99999999999999.999 WHERE CODPRO = 12"));
    const int mensagens = m_respostas.shown.size();
    w->itens->seletor->btPESPRO->click();
    QCOMPARE(m_respostas.shown.size(), mensagens + 1);
    QTest::keyClick(grade, Qt::Key_Down);
    QCOMPARE(w->itens->edPRECO->text(), QStringLiteral("20,000"));
}

// A condition whose discount raises the minimum price corrects the items and tells it once; an
// item whose product left the prices keeps its values but is marked and named, also at "Salvar".
void TstPedidoRegras::mudancaDeCondicaoCorrigePrecos()
{
    exec(QStringLiteral("INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) "
                        "VALUES (1, 2, 'ACRESCIMO', 0, 30, 'N', 'N')"));
    exec(QStringLiteral("INSERT INTO F513DES (CODEMP, CODOPE, CODCON, PORDES) VALUES (1, 2, 2, -10.00)"));
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("1234567"), QStringLiteral("9,500"), QStringLiteral("12"));
    QCOMPARE(w->dados()->cdsCADITEM->asFloat(QStringLiteral("VLRUNT")), 9.5);
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("1"));
    exec(QStringLiteral("DELETE FROM F511TAB WHERE CODPRO = 12"));
    w->pgPedido->setCurrentIndex(0);
    QComboBox *condicao = w->cabecalho->DBLookupComboBox3;
    const int i = condicao->findText(QStringLiteral("ACRESCIMO"));
    condicao->setCurrentIndex(i);
    emit condicao->activated(i);
    const QString semPreco = QStringLiteral("Os itens abaixo não constam da tabela de preços destas condições e "
                                            "mantiveram os valores anteriores:\r12 - SUCO D'UVA");
    QVERIFY(m_respostas.shown.size() >= 2);
    QCOMPARE(m_respostas.shown.at(m_respostas.shown.size() - 2).text,
             QStringLiteral("Alguns ITENS tiveram seu VALORES CORRIGIDOS. Verifique"));
    QCOMPARE(m_respostas.lastText(), semPreco + QStringLiteral("\rVerifique!"));
    TClientDataSetPlus *itens = w->dados()->cdsCADITEM;
    QVERIFY(itens->locate({QStringLiteral("CODPRO")}, {QStringLiteral("1234567")}));
    QCOMPARE(itens->asFloat(QStringLiteral("VLRUNT")), 10.45);
    QCOMPARE(itens->asString(QStringLiteral("VLDITM")), QStringLiteral("S"));
    QVERIFY(itens->locate({QStringLiteral("CODPRO")}, {QStringLiteral("12")}));
    QCOMPARE(itens->asFloat(QStringLiteral("VLRUNT")), 20.0);
    QCOMPARE(itens->asString(QStringLiteral("VLDITM")), QStringLiteral("S"));
    w->btSalvar->click(); // answered No
    QCOMPARE(m_respostas.lastText(), semPreco + QStringLiteral("\rDeseja Continuar?"));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
}

// An order using more flex than the seller has is refused and nothing is written.
void TstPedidoRegras::flexInsuficienteRecusaOPedido()
{
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("1234567"), QStringLiteral("9,500"), QStringLiteral("240"));
    QCOMPARE(w->dados()->cdsCADITEM->asFloat(QStringLiteral("USOFLX")), 120.0);
    QCOMPARE(w->cabecalho->lblTotalFlex->text(), QStringLiteral("-20,00"));
    w->btSalvar->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Saldo de FLEX insuficiente para SALVAR pedido. Verifique!"));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
    QCOMPARE(w->paginas->currentWidget(), w->tbsCadastro);
}

// The minimum order of the condition is checked per cost centre, with its own total; a condition
// the newly chosen customer is not offered is no choice, so its minimum cannot read as zero.
void TstPedidoRegras::pedidoMinimoPorCentroDeCusto()
{
    exec(QStringLiteral("UPDATE F513CON SET PDVMIN = 500 WHERE CODCON = 1"));
    auto w = novoPedido(QStringLiteral("50"));
    escolheListas(*w);
    digitaItem(*w, QStringLiteral("12"), QStringLiteral("20,000"), QStringLiteral("3"));
    w->btSalvar->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Para BEBIDAS, nessa condição de pagamento, o pedido mínimo é de "
                                                    "R$ 500,00Total nesse pedido R$ 60,00. Verifique!"));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF")), 0);

    exec(QStringLiteral("INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) "
                        "VALUES (1, 3, 'ESPECIAL', 0, 10, 'N', 'E')"));
    exec(QStringLiteral("INSERT INTO F510CPC (CODEMP, CODCLI, CODCON) VALUES (1, 60, 3)"));
    w->cabecalho->escolheCliente = [](QString &codigo, QString &) {
        codigo = QStringLiteral("60");
        return true;
    };
    w->pgPedido->setCurrentIndex(0);
    w->cabecalho->SpeedButton1->click();
    QCOMPARE(w->cabecalho->DBLookupComboBox3->currentIndex(), -1);
    w->btSalvar->click();
    QCOMPARE(m_respostas.lastText(), QStringLiteral("Informe a CONDIÇÃO DE PAGAMENTO!"));
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
}

QTEST_MAIN(TstPedidoRegras)
#include "tst_pedidoregras.moc"
