#include "AmbienteClientes.h"
#include "CadastroCliente.h"
#include "ClientDataSetPlus.h"
#include "GradeDados.h"
#include "U510CLI.h"

#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

class TstClientes : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AmbienteClientes> amb;

    static bool abre(F510CLI &janela, const QString &codCli)
    {
        TClientDataSetPlus &c = janela.cadastro().cdsClientes();
        if (!c.locate({QStringLiteral("CODCLI"), QStringLiteral("CODNOV")}, {codCli, QStringLiteral("0")}))
            return false;
        janela.dbgPesquisaDblClick();
        return janela.paginas->currentWidget() == janela.tbsCadastro;
    }

    static void preencheNovo(F510CLI &janela)
    {
        janela.edRazao->setText(QStringLiteral("NOVO MERCADO"));
        janela.rbfisica->click();
        janela.edCpfCnpj->setText(QStringLiteral("52998224725"));
        janela.edInscricao->setText(QStringLiteral("1234567"));
        janela.edDdd->setText(QStringLiteral("41"));
        janela.edTelefone->setText(QStringLiteral("99998888"));
        janela.edEmail->setText(QStringLiteral("compras@novo.com.br"));
        janela.cblEstado->setCurrentIndex(janela.cblEstado->findText(QStringLiteral("PR")));
        janela.cblEstadoClick();
        janela.cblCidade->setCurrentIndex(janela.cblCidade->findText(QStringLiteral("LONDRINA")));
    }

private slots:
    void init() { amb = std::make_unique<AmbienteClientes>(); }
    void cleanup() { amb.reset(); }

    // Guards the opening of the window: every customer of the company counted and listed,
    // the ones registered here first, codes and credit limits in their display forms, and a
    // grid model that follows the model rules.
    void opensWithTheCompanysCustomers()
    {
        F510CLI janela;
        QAbstractItemModelTester tester(janela.dbgPesquisa->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(janela.lblTotalCli->text(), QStringLiteral("4"));
        QCOMPARE(janela.paginas->currentWidget(), janela.tbsPesquisa);
        TClientDataSetPlus &c = janela.cadastro().cdsClientes();
        QVERIFY(c.locate({QStringLiteral("CODCLI")}, {QStringLiteral("12")}));
        auto celula = [&](const char *campo) {
            return janela.dbgPesquisa->model()->index(c.recNo(), c.columnOfField(QLatin1String(campo))).data().toString();
        };
        QCOMPARE(celula("CODCLI"), QStringLiteral("00012"));
        QCOMPARE(celula("LIMCRE"), QStringLiteral("5.000,00"));
        janela.edDes->setText(QStringLiteral("O'BRIEN"));
        janela.btPesquisarClick();
        QCOMPARE(janela.cadastro().cdsClientes().recordCount(), 1);
        QCOMPARE(janela.lblTotalCli->text(), QStringLiteral("4")); // counted only when opened
    }

    // Guards registering: refusals with their texts and focus (a character the database cannot
    // hold named with its field, not the engine's text), then 9900001 and 9900002 saved with the
    // new-customer values, and the search page shown again.
    void registersNewCustomers()
    {
        F510CLI janela;
        janela.show();
        janela.btNovoClick();
        QCOMPARE(janela.paginas->currentWidget(), janela.tbsCadastro);
        QVERIFY(!janela.edRazao->isReadOnly());
        janela.SpeedButton2Click();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Razão Social é obrigatório. Verifique!"));
        QCOMPARE(amb->respostas.shown.last().kind, TipoMensagem::Informacao);
        QCOMPARE(janela.paginas->currentWidget(), janela.tbsCadastro);

        preencheNovo(janela);
        janela.edCpfCnpj->setText(QStringLiteral("52998224726"));
        janela.SpeedButton2Click();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("CNPJ ou CPF INVÁLIDO. Verifique!"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODNOV > 0")), QStringLiteral("0"));

        janela.edCpfCnpj->setText(QStringLiteral("52998224725"));
        janela.edRazao->setText(QStringLiteral(u"NOVO MERCADO 😀"));
        amb->dat->executaAcao([&] { janela.SpeedButton2Click(); });
        QCOMPARE(amb->respostas.lastText(), QStringLiteral(u"O campo Razão Social não aceita o caractere \"😀\"."));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODNOV > 0")), QStringLiteral("0"));

        janela.edRazao->setText(QStringLiteral("NOVO MERCADO"));
        janela.SpeedButton2Click();
        QCOMPARE(janela.paginas->currentWidget(), janela.tbsPesquisa);
        QCOMPARE(amb->valor(QStringLiteral(
                     "SELECT CODCLI||'/'||STUCLI||'/'||SITCLI||'/'||CODTAB||'/'||CODVEN||'/'||CPFCGC||'/'||CODCID"
                     " FROM F510CLI WHERE CODNOV = 9900001")),
                 QStringLiteral("0/N/A/1/7/529.982.247-25/11"));

        janela.btNovoClick();
        QCOMPARE(janela.cadastro().cdsClientes().asString(QStringLiteral("CODNOV")), QStringLiteral("9900002"));
        janela.SpeedButton3Click(); // "Voltar" drops the unsaved customer
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODNOV > 0")), QStringLiteral("1"));
    }

    // Guards editing a server customer: identification read-only, unchanged save keeps STUCLI
    // (also with blanks around a stored text or a checkout text the list lacks), a trade name
    // typed into a null one sets "A", and a failed write leaves nothing logged for a later save.
    void editsAServerCustomer()
    {
        F510CLI janela;
        QVERIFY(abre(janela, QStringLiteral("120")));
        QVERIFY(janela.cbCheckout->isEnabled());
        janela.SpeedButton2Click();
        QCOMPARE(amb->valor(QStringLiteral(
                     "SELECT COALESCE(STUCLI, 'nulo')||'/'||FANCLI||'/'||DESCHK FROM F510CLI WHERE CODCLI = 120")),
                 QStringLiteral("nulo/ BOA VISTA /2 A 3"));

        QVERIFY(abre(janela, QStringLiteral("12")));
        QVERIFY(janela.edRazao->isReadOnly());
        QVERIFY(!janela.gbPessoa->isEnabled());
        QVERIFY(janela.rbjuridica->isChecked()); // 18 characters: a CNPJ
        QCOMPARE(janela.lblSituacao->text(), QStringLiteral("Ativo"));
        QCOMPARE(janela.lblRede->text(), QStringLiteral("REDE"));
        QCOMPARE(janela.edAberto->text(), QStringLiteral("150,35"));
        QVERIFY(!janela.cbCheckout->isEnabled()); // type FARMACIA has no checkouts
        janela.SpeedButton2Click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT STUCLI FROM F510CLI WHERE CODEMP = 1 AND CODCLI = 12")),
                 QStringLiteral("S"));

        QVERIFY(abre(janela, QStringLiteral("12")));
        janela.edFantasia->setText(QStringLiteral("ZE"));
        janela.SpeedButton2Click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT STUCLI||FANCLI FROM F510CLI WHERE CODEMP = 1 AND CODCLI = 12")),
                 QStringLiteral("AZE"));
        QVERIFY(amb->respostas.shown.isEmpty());

        // The row changed behind the list: the write fails, the seller's text stays on the page,
        // the log is empty, "Voltar" drops the edit, and another customer still saves.
        QCOMPARE(janela.edFantasia->maxLength(), 50);
        QVERIFY(abre(janela, QStringLiteral("12")));
        QVERIFY(amb->dat->cnxFirebird.query().exec(
            QStringLiteral("UPDATE F510CLI SET FANCLI = 'OUTRO' WHERE CODEMP = 1 AND CODCLI = 12")));
        janela.edFantasia->setText(QStringLiteral("ZEZE"));
        QVERIFY(!amb->dat->executaAcao([&janela] { janela.SpeedButton2Click(); }));
        TClientDataSetPlus &c = janela.cadastro().cdsClientes();
        QCOMPARE(janela.paginas->currentWidget(), janela.tbsCadastro);
        QCOMPARE(c.changeCount(), 0);
        QCOMPARE(c.asString(QStringLiteral("FANCLI")), QStringLiteral("ZEZE"));
        janela.SpeedButton3Click();
        QCOMPARE(c.asString(QStringLiteral("FANCLI")), QStringLiteral("ZE"));
        QVERIFY(abre(janela, QStringLiteral("120")));
        janela.edFantasia->setText(QStringLiteral("BOA VISTA"));
        QVERIFY(amb->dat->executaAcao([&janela] { janela.SpeedButton2Click(); }));
        QCOMPARE(amb->valor(QStringLiteral("SELECT STUCLI||FANCLI FROM F510CLI WHERE CODCLI = 120")),
                 QStringLiteral("ABOA VISTA"));
    }

    // Guards the warning: opening a customer marked EMIAVS shows its remark in the warning box.
    void warnsWhenOpeningAMarkedCustomer()
    {
        F510CLI janela;
        QVERIFY(abre(janela, QStringLiteral("14")));
        QCOMPARE(amb->respostas.shown.size(), 1);
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("@@@@ AVISO @@@@\n\rCOBRAR DUPLICATA"));
        QCOMPARE(amb->respostas.shown.last().kind, TipoMensagem::Aviso);
        QCOMPARE(amb->respostas.shown.last().colour, CorMensagem::Vermelho);
    }

    // Guards "Pedido de Venda": a blocked customer refused first (even with an expired update),
    // the expired update refused next, and otherwise the warning then the order window opened
    // for the customer with its seller (the session's when it has none).
    void startsAnOrderForTheCustomer()
    {
        F510CLI janela;
        TClientDataSetPlus &c = janela.cadastro().cdsClientes();
        amb->dat->sessao.atualizacaoExpirada = true;
        QVERIFY(c.locate({QStringLiteral("CODCLI")}, {QStringLiteral("13")}));
        janela.SpeedButton1Click();
        QCOMPARE(amb->textos(), QStringList{QStringLiteral("Não é permitido Emitir Pedido cliente Bloqueado.")});
        QVERIFY(c.locate({QStringLiteral("CODCLI")}, {QStringLiteral("12")}));
        janela.SpeedButton1Click();
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Não é permitido Emitir Pedido com ATUALIZAÇÃO EXPIRADA."));
        QVERIFY(amb->pedidos.isEmpty());

        amb->dat->sessao.atualizacaoExpirada = false;
        amb->respostas.shown.clear();
        QVERIFY(c.locate({QStringLiteral("CODCLI")}, {QStringLiteral("14")}));
        janela.SpeedButton1Click();
        QCOMPARE(amb->textos(), QStringList{QStringLiteral("@@@@ AVISO @@@@\n\rCOBRAR DUPLICATA")});
        QCOMPARE(amb->pedidos.size(), 1);
        QCOMPARE(amb->pedidos.at(0).codCli, QStringLiteral("14"));
        QCOMPARE(amb->pedidos.at(0).codNov, QStringLiteral("0"));
        QCOMPARE(amb->pedidos.at(0).codVen, QStringLiteral("7"));

        QVERIFY(c.locate({QStringLiteral("CODCLI")}, {QStringLiteral("120")}));
        janela.SpeedButton1Click();
        QCOMPARE(amb->pedidos.size(), 2);
        QCOMPARE(amb->pedidos.at(1).codCli, QStringLiteral("120"));
    }
};

QTEST_MAIN(TstClientes)
#include "tst_clientes.moc"
