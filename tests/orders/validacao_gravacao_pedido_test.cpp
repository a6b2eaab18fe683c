#include "D500DAT.h"
#include "Formatos.h"
#include "ValidacaoGravacaoPedido.h"
#include "ValoresPedido.h"

#include <gtest/gtest.h>

namespace {

class SaveChecks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Formatos::setStatementForm(false);
        input.CODPDF = QStringLiteral("15");
        input.CODVEN = QStringLiteral("7");
        input.CODTRA = QStringLiteral("1");
        input.CODOPE = QStringLiteral("2");
        input.CODCON = QStringLiteral("3");
        input.DATPDF = QDate(2024, 3, 5);
        input.PDFORC = QStringLiteral("N");
        input.GERBON = QStringLiteral("N");
        input.GERTIT = QStringLiteral("S");
        input.SEMDBT = QStringLiteral("N");
        input.PDVMIN = d("100.00");
        input.LIMCRE = d("10000.00");
        input.saldoFlex = d("50.00");
        input.itens = {{1, d("150.000"), d("10.00")}, {2, d("300.000"), d("5.00")}};
        input.centrosCusto = {{1, QStringLiteral(" BEBIDAS  "), true, {}}, {2, QStringLiteral("LIMPEZA"), true, {}},
                             {3, QStringLiteral("SEM ITENS"), false, {}}};
    }

    QString refusal() const
    {
        const ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
        return result.recusa ? result.recusa->texto : QString();
    }

    ValidacaoGravacaoPedido validator{&D500DAT::geraSenhaLiberacao};
    ValidacaoGravacaoPedido::Entrada input;
};

} // namespace

// Guards a sound order: no refusal, no notice, totals written from the items.
TEST_F(SaveChecks, SoundOrderPasses)
{
    const ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
    EXPECT_TRUE(result.aceito());
    EXPECT_TRUE(result.avisos.isEmpty());
    EXPECT_EQ(result.TOTFLX, d("15.00"));
    EXPECT_EQ(result.TOTPDF, d("450.00"));
    EXPECT_EQ(result.PDFORC, QStringLiteral("N"));
}

// Guards the flex check, the first of all: a used flex above the balance stops the save.
TEST_F(SaveChecks, FlexBalanceComesFirst)
{
    input.saldoFlex = d("5.00");
    input.CODTRA.clear();
    const ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
    ASSERT_TRUE(result.recusa.has_value());
    EXPECT_EQ(result.recusa->texto, QStringLiteral("Saldo de FLEX insuficiente para SALVAR pedido. Verifique!"));
    EXPECT_EQ(result.recusa->cor, CorMensagem::Azul);
    input.flexAbertura = d("10.00"); // the order's own stored flex comes back
    EXPECT_EQ(refusal(), QStringLiteral("Informe a TRANSAÇÃO!"));
}

// Guards the header codes: empty or zero transaction, operation and condition, in that order.
TEST_F(SaveChecks, MissingTransactionOperationCondition)
{
    input.CODTRA = QStringLiteral("0");
    input.CODOPE.clear();
    EXPECT_EQ(refusal(), QStringLiteral("Informe a TRANSAÇÃO!"));
    input.CODTRA = QStringLiteral("1");
    EXPECT_EQ(refusal(), QStringLiteral("Informe a OPERAÇÃO!"));
    input.CODOPE = QStringLiteral("2");
    input.CODCON = QStringLiteral("0");
    EXPECT_EQ(refusal(), QStringLiteral("Informe a CONDIÇÃO DE PAGAMENTO!"));
    input.CODCON = QStringLiteral("3");
    input.itens.clear();
    EXPECT_EQ(refusal(), QStringLiteral("Pedido não tem ITENS cadastrados. Verifique!"));
}

// Guards the transaction against the condition: bonus needs no debit, titles need a debit.
TEST_F(SaveChecks, TransactionMustMatchTheCondition)
{
    input.GERBON = QStringLiteral("S");
    input.GERTIT = QStringLiteral("N");
    EXPECT_EQ(refusal(), QStringLiteral("Esta transação NÃO GERA título. Informe uma CONDIÇÃO DE PAGAMENTO valida!"));
    input.SEMDBT = QStringLiteral("S");
    EXPECT_EQ(refusal(), QString());
    input.GERBON = QStringLiteral("N");
    input.GERTIT = QStringLiteral("S");
    EXPECT_EQ(refusal(), QStringLiteral("Esta transação GERA título. Informe uma CONDIÇÃO DE PAGAMENTO valida!"));
}

// Guards the operation per cost centre: the names allowed are listed, two blanks apart.
TEST_F(SaveChecks, OperationNotAllowedForACostCentreListsTheAlternatives)
{
    input.centrosCusto[1].operacaoPermitida = false;
    input.centrosCusto[1].nomesOperacoesPermitidas = {QStringLiteral("VENDA"), QStringLiteral("TROCA")};
    const ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
    ASSERT_TRUE(result.recusa.has_value());
    EXPECT_EQ(result.recusa->texto,
              QStringLiteral("OPERAÇÃO inválida para os itens informados. Verifique!\r\rOperações validas:\rVENDA  TROCA"));
    EXPECT_EQ(result.recusa->tipo, TipoMensagem::Erro);
    EXPECT_EQ(result.recusa->cor, CorMensagem::Vermelho);

    input.centrosCusto[1].nomesOperacoesPermitidas.clear();
    EXPECT_EQ(refusal(), QStringLiteral("OPERAÇÃO inválida para os itens informados. Verifique!\r\rOperações validas:\r"));
}

// Guards the minimum order per cost centre: each centre's own total, its trimmed name, exact text.
TEST_F(SaveChecks, MinimumOrderIsCheckedPerCostCentre)
{
    input.PDVMIN = d("1200.00");
    input.itens = {{1, d("150.000"), d("0")}, {2, d("3000.000"), d("0")}};
    EXPECT_EQ(refusal(), QStringLiteral("Para BEBIDAS, nessa condição de pagamento, o pedido mínimo é de R$ 1.200,00"
                                        "Total nesse pedido R$ 150,00. Verifique!"));
    input.itens[0].VLRTOT = d("1200.000"); // equal to the minimum passes
    EXPECT_EQ(refusal(), QString());
}

// Guards overdue titles: budget with a notice, unless the supervisor's release code is typed.
TEST_F(SaveChecks, OverdueTitlesMakeABudgetUnlessReleased)
{
    input.VENCIDO = d("10.00");
    ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
    EXPECT_TRUE(result.aceito());
    EXPECT_EQ(result.PDFORC, QStringLiteral("S"));
    ASSERT_EQ(result.avisos.size(), 1);
    EXPECT_EQ(result.avisos[0].texto,
              QStringLiteral("Pedido será salvo como ORÇAMENTO, pois cliente está com títulos em atraso!"));

    // The code the supervisor console shows for this order number, seller and date.
    input.codigoLiberacao = D500DAT::geraSenhaLiberacao(QStringLiteral("15"), QStringLiteral("7"), QDate(2024, 3, 5));
    input.PDFORC = QStringLiteral("S"); // a valid code also turns a budget into an order
    result = validator.valida(input);
    EXPECT_EQ(result.PDFORC, QStringLiteral("N"));
    EXPECT_TRUE(result.avisos.isEmpty());
    EXPECT_FALSE(result.limpaCodigoLiberacao);

    input.codigoLiberacao = D500DAT::geraSenhaLiberacao(QStringLiteral("16"), QStringLiteral("7"), QDate(2024, 3, 5));
    result = validator.valida(input);
    EXPECT_EQ(result.PDFORC, QStringLiteral("S"));
    EXPECT_TRUE(result.limpaCodigoLiberacao);
    ASSERT_EQ(result.avisos.size(), 1);
    EXPECT_EQ(result.avisos[0].texto,
              QStringLiteral("Senha de LIBERAÇÂO do pedido Invalida! Pedido será salvo como ORÇAMENTO."));
}

// Guards a budget with overdue titles and no code: saved silently, no title or credit notice.
TEST_F(SaveChecks, CheckedBudgetWithOverdueTitlesSavesSilently)
{
    input.VENCIDO = d("10.00");
    input.PDFORC = QStringLiteral("S");
    input.LIMCRE = d("0");
    const ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
    EXPECT_TRUE(result.aceito());
    EXPECT_EQ(result.PDFORC, QStringLiteral("S"));
    EXPECT_TRUE(result.avisos.isEmpty());
}

// Guards the credit warning: 1000.00 limit, 800.00 open, 300.00 order warns; a budget does not.
TEST_F(SaveChecks, CreditWarningDoesNotStopTheSave)
{
    input.LIMCRE = d("1000.00");
    input.ABERTO = d("800.00");
    input.PDVMIN = d("0");
    input.itens = {{1, d("300.000"), d("0")}};
    ValidacaoGravacaoPedido::Resultado result = validator.valida(input);
    EXPECT_TRUE(result.aceito());
    ASSERT_EQ(result.avisos.size(), 1);
    EXPECT_EQ(result.avisos[0].texto, QStringLiteral("Atenção : Com esse Pedido cliente vai passar seu limite de "
                                                     "crédito e o pedido podera ser CANCELADO!"));
    EXPECT_EQ(result.avisos[0].cor, CorMensagem::Azul);

    input.PDFORC = QStringLiteral("S");
    EXPECT_TRUE(validator.valida(input).avisos.isEmpty());
    input.PDFORC = QStringLiteral("N");
    input.ABERTO = d("700.00"); // 1000 < 1000 is false
    EXPECT_TRUE(validator.valida(input).avisos.isEmpty());
}

// Guards VENSUB: cleared when equal to CODVEN, kept otherwise.
TEST_F(SaveChecks, SubSellerEqualToSellerIsCleared)
{
    input.VENSUB = QStringLiteral("7");
    EXPECT_TRUE(validator.valida(input).VENSUB.isEmpty());
    input.VENSUB = QStringLiteral("9");
    EXPECT_EQ(validator.valida(input).VENSUB, QStringLiteral("9"));
}
