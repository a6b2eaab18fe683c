#include "AvisoCliente.h"
#include "CadastroCliente.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DadosClientes.h"
#include "InicioPedido.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"
#include "U500CAD.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

class CadastroClienteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.runScript(scriptClientes(QDate::currentDate()));
        dat.setMessagePresenter(&respostas);
        db.open(dat.cnxFirebird);
        cadastro = std::make_unique<CadastroCliente>(dat.cnxFirebird);
    }

    QString valorNoBanco(const QString &sql)
    {
        QSqlQuery q = dat.cnxFirebird.query();
        EXPECT_TRUE(q.exec(sql));
        return q.next() ? q.value(0).toString() : QStringLiteral("<sem linha>");
    }

    bool abreCliente(const QString &codCli)
    {
        cadastro->pesquisa(QStringLiteral("1"), {});
        return cadastro->cdsClientes().locate({QStringLiteral("CODCLI")}, {codCli});
    }

    void preencheNovoValido()
    {
        auto &c = cadastro->cdsClientes();
        c.setValue(QStringLiteral("RAZCLI"), QStringLiteral("NOVO MERCADO"));
        c.setValue(QStringLiteral("CPFCGC"), QStringLiteral("529.982.247-25"));
        c.setValue(QStringLiteral("NUMIES"), QStringLiteral("1234567"));
        c.setValue(QStringLiteral("DDAEND"), QStringLiteral("41"));
        c.setValue(QStringLiteral("TEAEND"), QStringLiteral("99998888"));
        c.setValue(QStringLiteral("EMLEMB"), QStringLiteral("compras@novo.com.br"));
        c.setValue(QStringLiteral("CODCID"), 10);
    }

    TestDatabase db;
    ScriptedAnswerer respostas;
    D500DAT dat;
    std::unique_ptr<CadastroCliente> cadastro;
};

} // namespace

// Guards the numbering and defaults of customers registered here: the first gets 9900001,
// the next one the number after it, with the new-customer values written to the table.
TEST_F(CadastroClienteTest, RegisteringCustomersNumbersFrom9900001WithTheirDefaults)
{
    cadastro->pesquisa(QStringLiteral("1"), {});
    cadastro->novoCliente(dat, QStringLiteral("1"), QStringLiteral("7"));
    auto &c = cadastro->cdsClientes();
    EXPECT_EQ(c.asString(QStringLiteral("CODNOV")), QStringLiteral("9900001"));
    preencheNovoValido();
    EXPECT_FALSE(cadastro->valida(false).has_value());
    cadastro->salva();
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT CODCLI||'/'||SITCLI||'/'||STUCLI||'/'||EMIAVS||'/'||CODTAB||'/'||CODVEN"
                                          "||'/'||LIMCRE||'/'||ABTCLI||'/'||ATRCLI FROM F510CLI WHERE CODNOV = 9900001")),
              QStringLiteral("0/A/N/N/1/7/0.00/0.00/0.00"));

    cadastro->novoCliente(dat, QStringLiteral("1"), QStringLiteral("7"));
    EXPECT_EQ(c.asString(QStringLiteral("CODNOV")), QStringLiteral("9900002"));
    // Another company's numbering does not move this company's.
    EXPECT_EQ(CadastroCliente::numeroNovoCliente(QStringLiteral("1")), 9900001);
    EXPECT_EQ(CadastroCliente::numeroNovoCliente(QStringLiteral("9900005")), 9900005);
}

// Guards the checks of a new customer: their order, their texts and where the focus goes;
// nothing is written while a check fails.
TEST_F(CadastroClienteTest, NewCustomerIsRefusedWithTheFirstFailingCheck)
{
    cadastro->pesquisa(QStringLiteral("1"), {});
    cadastro->novoCliente(dat, QStringLiteral("1"), QStringLiteral("7"));
    auto recusa = cadastro->valida(false);
    ASSERT_TRUE(recusa.has_value());
    EXPECT_EQ(recusa->mensagem, QStringLiteral("Razão Social é obrigatório. Verifique!"));
    EXPECT_EQ(recusa->campo, CadastroCliente::Campo::RazaoSocial);

    preencheNovoValido();
    auto &c = cadastro->cdsClientes();
    c.clearValue(QStringLiteral("DDAEND")); // a phone without its area code
    recusa = cadastro->valida(false);
    ASSERT_TRUE(recusa.has_value());
    EXPECT_EQ(recusa->mensagem, QStringLiteral("Telefone é obrigatório. Verifique!"));
    EXPECT_EQ(recusa->campo, CadastroCliente::Campo::Ddd);

    c.setValue(QStringLiteral("DDAEND"), QStringLiteral("41"));
    c.setValue(QStringLiteral("CPFCGC"), QStringLiteral("529.982.247-26"));
    recusa = cadastro->valida(false);
    ASSERT_TRUE(recusa.has_value());
    EXPECT_EQ(recusa->mensagem, QStringLiteral("CNPJ ou CPF INVÁLIDO. Verifique!"));
    // A valid CPF typed while "Jurídica" is chosen is checked as a CNPJ and refused.
    c.setValue(QStringLiteral("CPFCGC"), QStringLiteral("529.982.247-25"));
    EXPECT_TRUE(cadastro->valida(true).has_value());
    EXPECT_FALSE(cadastro->valida(false).has_value());
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODNOV > 0")), QStringLiteral("0"));
}

// Guards the upload state of a server customer: saving it unchanged keeps STUCLI, a changed
// tracked field (null to value included) sets "A", and a field changed back compares equal.
TEST_F(CadastroClienteTest, EditingAServerCustomerMarksItOnlyWhenATrackedFieldChanged)
{
    ASSERT_TRUE(abreCliente(QStringLiteral("12")));
    cadastro->editaCliente();
    // The box of a null field shows an empty text; writing it back leaves the null alone.
    cadastro->atribui(QStringLiteral("FANCLI"), QString());
    cadastro->atribui(QStringLiteral("ENDEND"), QStringLiteral("RUA B"));
    cadastro->atribui(QStringLiteral("ENDEND"), QStringLiteral("RUA A"));
    EXPECT_FALSE(cadastro->valida(false).has_value()); // server customers are not checked
    cadastro->salva();
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT STUCLI FROM F510CLI WHERE CODCLI = 12 AND CODEMP = 1")),
              QStringLiteral("S"));

    ASSERT_TRUE(abreCliente(QStringLiteral("12")));
    cadastro->editaCliente();
    cadastro->atribui(QStringLiteral("FANCLI"), QStringLiteral("ZE"));
    cadastro->salva();
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT STUCLI||FANCLI FROM F510CLI WHERE CODCLI = 12 AND CODEMP = 1")),
              QStringLiteral("AZE"));
    // The other company's customer 12 is untouched.
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT STUCLI FROM F510CLI WHERE CODCLI = 12 AND CODEMP = 2")),
              QStringLiteral("S"));

    // A null STUCLI is "unchanged" as well, and a change of a non-tracked field does not mark.
    ASSERT_TRUE(abreCliente(QStringLiteral("120")));
    cadastro->editaCliente();
    cadastro->atribui(QStringLiteral("NUMIES"), QStringLiteral("999"));
    cadastro->salva();
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT COALESCE(STUCLI, 'nulo')||NUMIES FROM F510CLI WHERE CODCLI = 120")),
              QStringLiteral("nulo999"));
}

// Guards a customer registered here: later saves keep "N" even when tracked fields change.
TEST_F(CadastroClienteTest, CustomerRegisteredHereKeepsN)
{
    cadastro->pesquisa(QStringLiteral("1"), {});
    cadastro->novoCliente(dat, QStringLiteral("1"), QStringLiteral("7"));
    preencheNovoValido();
    cadastro->salva();
    cadastro->pesquisa(QStringLiteral("1"), {});
    ASSERT_TRUE(cadastro->cdsClientes().locate({QStringLiteral("CODNOV")}, {QStringLiteral("9900001")}));
    EXPECT_EQ(cadastro->cdsClientes().recNo(), 0); // customers registered here come first
    cadastro->editaCliente();
    cadastro->atribui(QStringLiteral("FANCLI"), QStringLiteral("OUTRO"));
    cadastro->salva();
    EXPECT_EQ(valorNoBanco(QStringLiteral("SELECT STUCLI FROM F510CLI WHERE CODNOV = 9900001")), QStringLiteral("N"));
}

// Guards the search filters: a code is a prefix of the code's text and letters in it are
// refused by the program, a quote typed in the name finds the literal text, a name no column
// can hold finds nothing without an engine error, and the situation filter keeps its customers.
TEST_F(CadastroClienteTest, SearchFiltersReachTheStatementSafely)
{
    CadastroCliente::Filtro filtro;
    filtro.codigo = QStringLiteral("012");
    EXPECT_TRUE(cadastro->pesquisa(QStringLiteral("1"), filtro).isEmpty());
    EXPECT_EQ(cadastro->cdsClientes().recordCount(), 2); // 12 and 120
    filtro.codigo = QStringLiteral(u"1ç");
    EXPECT_TRUE(cadastro->pesquisa(QStringLiteral("1"), filtro).startsWith(QStringLiteral(u"Código : \"1ç\" não é")));

    for (const QString &nome : {QStringLiteral(u"€ÿ😀"), QString(300, u'Ç')}) {
        filtro = {};
        filtro.razaoSocial = nome;
        filtro.cpfCnpj = nome;
        EXPECT_TRUE(cadastro->pesquisa(QStringLiteral("1"), filtro).isEmpty());
        EXPECT_EQ(cadastro->cdsClientes().recordCount(), 0);
    }

    filtro = {};
    filtro.razaoSocial = QStringLiteral("O'BRIEN");
    cadastro->pesquisa(QStringLiteral("1"), filtro);
    ASSERT_EQ(cadastro->cdsClientes().recordCount(), 1);
    EXPECT_EQ(cadastro->cdsClientes().asString(QStringLiteral("CODCLI")), QStringLiteral("14"));

    filtro = {};
    filtro.situacao = CadastroCliente::Situacao::Bloqueados;
    cadastro->pesquisa(QStringLiteral("1"), filtro);
    ASSERT_EQ(cadastro->cdsClientes().recordCount(), 1);
    EXPECT_EQ(cadastro->cdsClientes().asString(QStringLiteral("RAZCLI")), QStringLiteral("BAR BLOQUEADO"));
}

// Guards the financial figures: they are the customer's own row of the company, not the
// first row of any company with that code.
TEST_F(CadastroClienteTest, FinancialFiguresOfTheCustomerItself)
{
    cadastro->abreDadosFinanceiros(QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("0"));
    ASSERT_EQ(cadastro->cdsDadosFinan().recordCount(), 1);
    EXPECT_DOUBLE_EQ(cadastro->cdsDadosFinan().asFloat(QStringLiteral("ABERTO")), 150.35);
    EXPECT_DOUBLE_EQ(cadastro->cdsDadosFinan().asFloat(QStringLiteral("VENCIDO")), 50.25);
}

// Guards the warning text and the order refusals: blocked first, then expired update.
TEST(InicioPedidoTest, WarningTextAndRefusals)
{
    EXPECT_EQ(AvisoCliente::texto(QStringLiteral("COBRAR")), QStringLiteral("@@@@ AVISO @@@@\n\rCOBRAR"));
    EXPECT_TRUE(AvisoCliente::temAviso(QStringLiteral("S")));
    EXPECT_FALSE(AvisoCliente::temAviso(QStringLiteral("N")));

    InicioPedido::Cliente bloqueado{QStringLiteral("13"), QStringLiteral("0"), QStringLiteral("8"), QStringLiteral("B")};
    EXPECT_EQ(InicioPedido::recusaCadastro(bloqueado, true), InicioPedido::mensagemBloqueado());
    bloqueado.sitCli = QStringLiteral("A");
    EXPECT_EQ(InicioPedido::recusaCadastro(bloqueado, true), InicioPedido::mensagemExpirada());
    EXPECT_TRUE(InicioPedido::recusaCadastro(bloqueado, false).isEmpty());
    EXPECT_EQ(InicioPedido::recusaRoteiro(true), InicioPedido::mensagemExpirada());
}

// Guards the seller of an order started for a customer: its own seller, else the session's,
// never a value left by an earlier hand-over.
TEST(InicioPedidoTest, HandOverNamesTheCustomersSeller)
{
    FirebirdConnection cnx(QStringLiteral("inicio_pedido"));
    D500CAD cad(cnx);
    cad.codVenPedido = QStringLiteral("99");
    InicioPedido::entrega(cad, {QStringLiteral("14"), QString(), QString(), QStringLiteral("A")}, QStringLiteral("7"));
    EXPECT_EQ(cad.codCliPedido, QStringLiteral("14"));
    EXPECT_EQ(cad.codNovPedido, QStringLiteral("0"));
    EXPECT_EQ(cad.codVenPedido, QStringLiteral("7"));
    InicioPedido::entrega(cad, {QStringLiteral("0"), QStringLiteral("9900001"), QStringLiteral("8"), QStringLiteral("A")},
                          QStringLiteral("7"));
    EXPECT_EQ(cad.codNovPedido, QStringLiteral("9900001"));
    EXPECT_EQ(cad.codVenPedido, QStringLiteral("8"));
}
