#include "AmbienteJanela.h"
#include "BonificacoesSupervisor.h"
#include "ClientDataSetPlus.h"
#include "Formatos.h"
#include "GradeDados.h"
#include "ModuleFrame.h"
#include "MovimentacaoFlex.h"
#include "ProximoPacote.h"
#include "RegistroJanelasSupervisor.h"
#include "SenhaLiberacao.h"
#include "U512SUP.h"
#include "ValidacaoGravacaoPedido.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

// What a supervisor does in "Acesso Supervisor" on the demo data (MARCOS, supervisor 3), and
// what the next outbound package then carries.
class TstSupervisor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AmbienteJanela> amb;

    QStringList pacote() const { return proximoPacote(*amb->dat, amb->pasta()); }
    static constexpr auto localiza = &AmbienteJanela::localiza;

    static QVariant fundo(GradeDados *grade, int linha, const QString &campo)
    {
        return grade->model()->index(linha, grade->dataSet().columnOfField(campo)).data(Qt::BackgroundRole);
    }

    static int linhaDoVendedor(const QComboBox *lista, const QString &codVen, TClientDataSetPlus &ds)
    {
        for (int linha = 0; linha < lista->count(); ++linha)
            if (ds.data(ds.index(linha, ds.columnOfField(QStringLiteral("CODVEN"))), Qt::EditRole).toString() == codVen)
                return linha;
        return -1;
    }

private slots:
    void init()
    {
        amb = std::make_unique<AmbienteJanela>(AmbienteJanela::Demo());
        QVERIFY2(amb->erro.isEmpty(), qPrintable(amb->erro));
        QVERIFY(amb->dat->sessao.usuarioSupervisor);
    }
    void cleanup() { amb.reset(); }

    // Guards the bonus search and decision: period and seller filters, an impossible date
    // refused, the decision written to that order, cost centre and company only, the list
    // following the situation filter, the colours, and the decision carried up.
    void pesquisaEAprovacaoDeBonificacoes()
    {
        // The same order number in another cost centre and in another company stays pending.
        amb->dat->cnxFirebird.execute(QStringLiteral(
            "INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, AUTBON, CODVEN, CODTRA, CODOPE, CODCON) "
            "SELECT 2, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, AUTBON, CODVEN, CODTRA, CODOPE, CODCON "
            "FROM F530BON WHERE CODPDV = 900001 AND CODEMP = 1"));
        amb->dat->cnxFirebird.execute(QStringLiteral(
            "INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, AUTBON, CODVEN, CODTRA, CODOPE, CODCON) "
            "SELECT CODEMP, CODCCU + 10, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, AUTBON, CODVEN, CODTRA, CODOPE, CODCON "
            "FROM F530BON WHERE CODPDV = 900001 AND CODEMP = 1"));
        const int pendentes = amb->valor(QStringLiteral("SELECT COUNT(*) FROM F530BON WHERE CODEMP = 1 AND AUTBON = 'P'")).toInt();

        Supervisor::registraJanelas();
        QVERIFY(ModuleFrame::isModuleWindowRegistered(QStringLiteral("F512SUP"))); // the main window's button opens it
        F512SUP janela;
        QCOMPARE(janela.pcSupervisor->currentWidget(), janela.tbsMenu);
        janela.btBonificacoesClick();
        TClientDataSetPlus &pesquisa = janela.bonificacoes().cdsPESBON();
        const int deHoje = amb->valor(QStringLiteral(
            "SELECT COUNT(*) FROM F530BON WHERE CODEMP = 1 AND AUTBON = 'P' AND DATPDF = CURRENT_DATE")).toInt();
        QCOMPARE(pesquisa.recordCount(), deHoje);
        janela.cbData->setChecked(false);
        janela.btPesquisarClick();
        QCOMPARE(pesquisa.recordCount(), pendentes);
        janela.cbVendedor->setChecked(true);
        janela.lcbVendedor->setCurrentIndex(linhaDoVendedor(janela.lcbVendedor, QStringLiteral("12"), janela.bonificacoes().cdsPESVEN()));
        janela.btPesquisarClick();
        QCOMPARE(pesquisa.recordCount(), amb->valor(QStringLiteral(
            "SELECT COUNT(*) FROM F530BON WHERE CODEMP = 1 AND AUTBON = 'P' AND CODVEN = 12")).toInt());
        janela.cbVendedor->setChecked(false);
        janela.cbData->setChecked(true);
        janela.edDataIni->setText(QStringLiteral("31/02/2026"));
        janela.btPesquisarClick();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Data inválida: 31/02/2026"));
        janela.cbData->setChecked(false);
        janela.btPesquisarClick();

        QVERIFY(localiza(pesquisa, QStringLiteral("CODPDV"), QStringLiteral("900001")));
        const QString ccu = pesquisa.asString(QStringLiteral("CODCCU"));
        janela.dbgPesquisaDblClick();
        QCOMPARE(janela.pcBonificacao->currentWidget(), janela.tbsInformacoes);
        QCOMPARE(janela.edTransacao->text().isEmpty(), false);
        QVERIFY(janela.bonificacoes().cdsITMBON().recordCount() > 0);
        janela.btAprovar->click();
        QCOMPARE(janela.pcBonificacao->currentWidget(), janela.tbsPesquisa);
        QCOMPARE(amb->valor(QStringLiteral("SELECT AUTBON FROM F530BON WHERE CODEMP = 1 AND CODPDV = 900001 AND CODCCU = ") + ccu),
                 QStringLiteral("A"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F530BON WHERE CODPDV = 900001 AND AUTBON = 'P'")),
                 QStringLiteral("2"));
        QCOMPARE(pesquisa.recordCount(), pendentes - 1);
        int listada = 0; // the approved one leaves "Pendentes"; its other cost centre stays
        for (pesquisa.first(); !pesquisa.eof(); pesquisa.next())
            listada += pesquisa.asString(QStringLiteral("CODPDV")) == QLatin1String("900001")
                && pesquisa.asString(QStringLiteral("CODCCU")) == ccu;
        QCOMPARE(listada, 0);

        janela.rgSituacao->button(0)->click(); // "Todos"
        janela.btPesquisarClick();
        QVERIFY(localiza(pesquisa, QStringLiteral("AUTBON"), QStringLiteral("A")));
        QCOMPARE(fundo(janela.dbgPesquisa, pesquisa.recNo(), QStringLiteral("RAZCLI")), QVariant(QColor(192, 220, 192)));
        QVERIFY(localiza(pesquisa, QStringLiteral("AUTBON"), QStringLiteral("N")));
        QCOMPARE(fundo(janela.dbgPesquisa, pesquisa.recNo(), QStringLiteral("RAZCLI")), QVariant(QColor(217, 151, 149)));

        pesquisa.close();
        janela.dbgPesquisaDblClick();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Selecione um pedido antes de editar!"));

        QVERIFY(pacote().contains(QStringLiteral("UPDATE F030PDV SET AUTBON = 'A' WHERE CODPDV = 900001 AND   CODEMP = 1")));
    }

    // Guards flex movements: refusals of a missing destination and of a value of 0 or less, a
    // value above the balance accepted, an advance without destination drawn green, the server's
    // states coloured, sent movements kept, typed ones deleted after the question, and the
    // typed ones carried up.
    void movimentacaoDeFlex()
    {
        F512SUP janela;
        janela.btMovimentacaoClick();
        TClientDataSetPlus &vendedores = janela.movimentacao().cdsVendedor();
        TClientDataSetPlus &movimentos = janela.movimentacao().cdsMovFlex();
        QCOMPARE(movimentos.recordCount(), 7);
        QVERIFY(localiza(movimentos, QStringLiteral("SITMOV"), QStringLiteral("R")));
        QCOMPARE(fundo(janela.dbgMovFlex, movimentos.recNo(), QStringLiteral("NOMDES")), QVariant(QColor(192, 220, 192)));
        QVERIFY(localiza(movimentos, QStringLiteral("SITMOV"), QStringLiteral("N")));
        QCOMPARE(fundo(janela.dbgMovFlex, movimentos.recNo(), QStringLiteral("NOMDES")), QVariant(QColor(217, 151, 149)));

        QVERIFY(localiza(vendedores, QStringLiteral("CODVEN"), QStringLiteral("23")));
        janela.edValor->setText(QStringLiteral("500"));
        janela.btIncluir->click(); // no destination
        janela.escolheVendedor = [](QString &codigo, QString &nome) {
            codigo = QStringLiteral("14");
            nome = QStringLiteral("VENDEDOR 14");
            return true;
        };
        janela.btpesven->click();
        QCOMPARE(janela.EDCODIGO->text(), QStringLiteral("14"));
        for (const char *valor : {"0", "-5", "1.5"}) {
            janela.edValor->setText(QLatin1String(valor));
            janela.btIncluir->click();
        }
        QCOMPARE(amb->textos(), (QStringList{QStringLiteral(" Selecione o vendedor que receberá a verba movimentada!"),
                                             QStringLiteral("Valor da movimentação tem que ser maior que zero!"),
                                             QStringLiteral("Valor da movimentação tem que ser maior que zero!"),
                                             QStringLiteral("Valor ") + Formatos::leNumeroDigitado(QStringLiteral("1.5"), 2, 13).mensagem}));
        QCOMPARE(movimentos.recordCount(), 7);
        janela.edValor->setText(QStringLiteral("99.999,50")); // far above seller 23's balance
        janela.btIncluir->click();
        QCOMPARE(movimentos.recordCount(), 8);
        QCOMPARE(janela.EDNOME->text(), QStringLiteral("SELECIONE UM VENDEDOR"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT VENORI || '>' || VENDES || ' ' || TIPMOV || SITMOV || ' ' || VLRMOV "
                                           "FROM F512MTF WHERE CODMOV = 8")),
                 QStringLiteral("23>14 MD 99999.50"));

        janela.rbAdiantamento->click();
        QVERIFY(!janela.btpesven->isEnabled());
        janela.edValor->setText(QStringLiteral("25"));
        janela.btIncluir->click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT COALESCE(VENDES, -1) || TIPMOV FROM F512MTF WHERE CODMOV = 9")),
                 QStringLiteral("-1A"));
        QVERIFY(localiza(movimentos, QStringLiteral("CODMOV"), QStringLiteral("9")));
        const QModelIndex tipo = janela.dbgMovFlex->model()->index(movimentos.recNo(), movimentos.columnOfField(QStringLiteral("TIPMOV")));
        QCOMPARE(tipo.data(Qt::ForegroundRole), QVariant(QColor(0, 128, 0)));
        QVERIFY(tipo.data(Qt::FontRole).value<QFont>().bold());

        amb->respostas.shown.clear();
        for (const char *situacao : {"E", "R", "N"}) {
            QVERIFY(localiza(movimentos, QStringLiteral("SITMOV"), QLatin1String(situacao)));
            janela.btExcluir->click();
        }
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Somente movimentações não enviadas pode ser excluida!"));
        QCOMPARE(amb->respostas.shown.size(), 3);
        QCOMPARE(movimentos.recordCount(), 9);
        QVERIFY(localiza(movimentos, QStringLiteral("CODMOV"), QStringLiteral("8")));
        janela.btExcluir->click(); // answered "Não"
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Confirma a exclusão da movimentação de Flex no valor de 99.999,50 ?"));
        amb->respostas.answers << RespostaMensagem::Sim;
        janela.btExcluir->click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F512MTF")), QStringLiteral("8"));

        // The two typed in the demo and the advance typed here.
        QCOMPARE(pacote().filter(QStringLiteral("F512MTF")).size(), 3);
    }

    // Guards the release code: the code shown is the one order saving accepts for that seller,
    // date and order; a non-numeric order gives the fixed code; an impossible date is refused.
    void senhaDeLiberacaoAceitaPeloPedido()
    {
        F512SUP janela;
        janela.btSenhaClick();
        QCOMPARE(janela.lblSenha->text(), QStringLiteral("Liberação"));
        janela.lcbVendedorSenha->setCurrentIndex(
            linhaDoVendedor(janela.lcbVendedorSenha, QStringLiteral("12"), janela.bonificacoes().cdsPESVEN()));
        janela.btGerarSenhaClick(); // no order number: nothing
        QCOMPARE(janela.lblSenha->text(), QStringLiteral("Liberação"));
        janela.edDataPedido->setText(QStringLiteral("05/03/2026"));
        janela.edNumPedido->setText(QStringLiteral("4521"));
        janela.btGerarSenhaClick();
        const QString senha = janela.lblSenha->text();

        ValidacaoGravacaoPedido validador(&D500DAT::geraSenhaLiberacao);
        ValidacaoGravacaoPedido::Entrada pedido;
        pedido.CODPDF = QStringLiteral("4521");
        pedido.CODVEN = QStringLiteral("12");
        pedido.DATPDF = QDate(2026, 3, 5);
        pedido.PDFORC = QStringLiteral("N");
        pedido.CODTRA = pedido.CODOPE = pedido.CODCON = QStringLiteral("1");
        pedido.GERTIT = QStringLiteral("S");
        pedido.LIMCRE = *Decimal::parse(QStringLiteral("10000"));
        pedido.VENCIDO = *Decimal::parse(QStringLiteral("10"));
        pedido.saldoFlex = *Decimal::parse(QStringLiteral("50"));
        pedido.itens = {{1, *Decimal::parse(QStringLiteral("150")), *Decimal::parse(QStringLiteral("0"))}};
        pedido.centrosCusto = {{1, QStringLiteral("ALIMENTOS"), true, {}}};
        pedido.codigoLiberacao = senha;
        QCOMPARE(validador.valida(pedido).PDFORC, QStringLiteral("N"));
        pedido.CODVEN = QStringLiteral("14"); // another seller's order is not released by it
        QCOMPARE(validador.valida(pedido).PDFORC, QStringLiteral("S"));

        janela.edNumPedido->setText(QStringLiteral("45A1"));
        janela.btGerarSenhaClick();
        QCOMPARE(janela.lblSenha->text(), QString::fromLatin1(kSenhaLiberacaoPadrao));
        janela.edDataPedido->setText(QStringLiteral("30/02/2026"));
        janela.btGerarSenhaClick();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Data inválida: 30/02/2026"));
        QCOMPARE(janela.lblSenha->text(), QString::fromLatin1(kSenhaLiberacaoPadrao));
    }
};

QTEST_MAIN(TstSupervisor)
#include "tst_supervisor.moc"
