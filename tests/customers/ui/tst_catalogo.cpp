#include "AmbienteClientes.h"
#include "ClientDataSetPlus.h"
#include "GradeDados.h"
#include "ListaSuspensa.h"
#include "RoteiroClientes.h"
#include "TabelaVendas.h"
#include "TitulosReceber.h"
#include "U510ROT.h"
#include "U511PRO.h"
#include "U550TRC.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TstCatalogo : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AmbienteClientes> amb;

private slots:
    void init() { amb = std::make_unique<AmbienteClientes>(); }
    void cleanup() { amb.reset(); }

    // Guards the route window: today's weekday and week shown, the customer with an order
    // first and coloured, the blocked one absent, and the order started for the row chosen
    // with the customer's own seller (the session's when it has none).
    void routeOfTodayAndOrderFromIt()
    {
        F510ROT janela;
        const QDate hoje = QDate::currentDate();
        QCOMPARE(janela.lbldia->text(), RoteiroClientes::nomeDia(hoje.dayOfWeek()));
        QCOMPARE(janela.lblsemana->text(), QStringLiteral("0%1").arg((hoje.day() - 1) / 7 + 1));
        TClientDataSetPlus &rot = janela.roteiro().cdsRoteiro();
        QCOMPARE(rot.recordCount(), 2);
        QCOMPARE(janela.dbgPesquisa->model()->index(0, rot.columnOfField(QStringLiteral("RAZCLI"))).data(Qt::BackgroundRole),
                 QVariant(QColor(192, 220, 192)));
        QVERIFY(!janela.dbgPesquisa->model()->index(1, 0).data(Qt::BackgroundRole).isValid());

        rot.first(); // 14: warning, no seller of its own
        janela.SpeedButton1Click();
        QCOMPARE(amb->textos(), QStringList{QStringLiteral("@@@@ AVISO @@@@\n\rCOBRAR DUPLICATA")});
        QCOMPARE(amb->pedidos.size(), 1);
        QCOMPARE(amb->pedidos.at(0).codCli, QStringLiteral("14"));
        QCOMPARE(amb->pedidos.at(0).codNov, QStringLiteral("0"));
        QCOMPARE(amb->pedidos.at(0).codVen, QStringLiteral("7"));

        amb->dat->sessao.atualizacaoExpirada = true;
        rot.next();
        janela.SpeedButton1Click();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Não é permitido Emitir Pedido com ATUALIZAÇÃO EXPIRADA."));
        QCOMPARE(amb->pedidos.size(), 1);

        janela.eddata->setDate(hoje.addDays(1));
        janela.btPesquisarClick();
        QCOMPARE(rot.recordCount(), 0);
    }

    // Guards the titles window: every title listed first with its total, the overdue filter
    // and its total, the overdue colour, and a clear message for an impossible period date.
    void titlesFilterTotalAndDates()
    {
        F550TRC janela;
        TClientDataSetPlus &ds = janela.titulos().cdsFinanceiro();
        QCOMPARE(ds.recordCount(), 3);
        QCOMPARE(janela.lblTotal->text(), QStringLiteral("160,35"));
        janela.rgSituacao->button(1)->click();
        QCOMPARE(ds.recordCount(), 2);
        QCOMPARE(janela.lblTotal->text(), QStringLiteral("60,25"));
        for (int linha = 0; linha < 2; ++linha)
            QCOMPARE(janela.dbgPesquisa->model()->index(linha, 0).data(Qt::BackgroundRole), QVariant(QColor(217, 151, 149)));

        janela.cbData->setChecked(true);
        janela.edDataIni->setText(QStringLiteral("30/02/2024"));
        janela.btPesquisarClick();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Data inválida: 30/02/2024"));
    }

    // Guards the price table window: the first table chosen, a search when the table or family
    // list closes unchanged, rows with their headers, the surcharge of table 1, the bottom panel,
    // and the promotions from today on.
    void priceTableAndPromotions()
    {
        F511PRO janela;
        janela.show();
        QCOMPARE(janela.cbTabelas->currentText(), QStringLiteral("TABELA PADRAO"));
        TClientDataSetPlus &p = janela.tabela().cdsProdutos();
        QVERIFY(!p.active()); // nothing is searched before the user asks
        janela.cbTabelas->showPopup();
        janela.cbTabelas->hidePopup();
        QTRY_VERIFY(p.active());
        p.close();
        janela.lcbFamilias->showPopup();
        janela.lcbFamilias->hidePopup();
        QTRY_VERIFY(p.active());
        QVERIFY(janela.cbFamilias->isChecked());
        janela.cbFamilias->setChecked(false);
        janela.edDes->setText(QStringLiteral("GUARANA"));
        janela.btPesquisarClick();
        QCOMPARE(p.recordCount(), 3);
        QVERIFY(p.locate({QStringLiteral("CODPRO")}, {QStringLiteral("1200")}));
        QCOMPARE(p.displayText(QStringLiteral("PRCVEN")), QStringLiteral("10,000"));
        QCOMPARE(janela.edComissao->text(), QStringLiteral("COMISSAO A"));
        QCOMPARE(janela.edFator->text(), QStringLiteral("06"));

        int mostradas = -1;
        janela.mostraPromocoes = [&mostradas](F511PRO &j) { mostradas = j.tabela().cdsPromocao().recordCount(); };
        janela.btpromocaoClick();
        QCOMPARE(mostradas, 2);

        amb->dat->sessao.CODEMP = QStringLiteral("2");
        mostradas = -1;
        janela.btpromocaoClick();
        QCOMPARE(mostradas, -1);
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Nenhuma Promoção cadastrada para os próximos dias!"));
    }
};

QTEST_MAIN(TstCatalogo)
#include "tst_catalogo.moc"
