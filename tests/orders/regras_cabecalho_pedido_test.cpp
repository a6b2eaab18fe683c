#include "CondicoesCliente.h"
#include "ConsultasValidacaoGravacao.h"
#include "FirebirdConnection.h"
#include "RegrasCabecalhoPedido.h"
#include "StatementRun.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Company 1: normal conditions 1 (with debit) and 2 (no debit), exclusive conditions 3 and 4;
// customer 50 holds the exclusive condition 3, customer 60 holds none. Company 2 has its own
// normal condition 9. Cost centres 1 and 2; operation 2 ("VENDA") is allowed for cost centre 1
// only; operations 2 and 4 ("TROCA") are the customer's, 4 is allowed for cost centre 2.
class HeaderData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDatabase>();
        cnx = std::make_unique<FirebirdConnection>(QStringLiteral("header"));
        db->open(*cnx);
        const QStringList rows = {
            "INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 1, 'A PRAZO', 100, 30, 'N', 'N')",
            "INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 2, 'BONIFICACAO', 0, 0, 'S', 'N')",
            "INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 3, 'ESPECIAL 60', 0, 60, 'N', 'E')",
            "INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 4, 'ESPECIAL 90', 0, 90, 'N', 'E')",
            "INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (2, 9, 'OUTRA', 0, 0, 'N', 'N')",
            "INSERT INTO F510CPC (CODEMP, CODCLI, CODCON) VALUES (1, 50, 3)",
            "INSERT INTO F515CCU (CODEMP, CODCCU, DESCCU) VALUES (1, 1, 'BEBIDAS')",
            "INSERT INTO F515CCU (CODEMP, CODCCU, DESCCU) VALUES (1, 2, 'LIMPEZA')",
            "INSERT INTO F513OPE (CODEMP, CODOPE, NOMOPE, TEMFLU) VALUES (1, 2, 'VENDA', 'S')",
            "INSERT INTO F513OPE (CODEMP, CODOPE, NOMOPE, TEMFLU) VALUES (1, 4, 'TROCA', 'N')",
            "INSERT INTO F513OCU (CODEMP, CODCCU, CODOPE) VALUES (1, 1, 2)",
            "INSERT INTO F513OCU (CODEMP, CODCCU, CODOPE) VALUES (1, 2, 4)",
            "INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 50, 2)",
            "INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 50, 4)",
        };
        for (const QString &sql : rows)
            cnx->execute(sql);
    }

    QStringList conditions(const QString &customer)
    {
        QStringList names;
        QSqlQuery q = StatementRun::run(*cnx, CondicoesCliente::instrucao(),
                                        {{"PCODEMP", "1"}, {"PCODCLI", customer}});
        while (q.next())
            names.append(q.value(2).toString());
        names.sort();
        return names;
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<FirebirdConnection> cnx;
};

} // namespace

// Guards the three-way union: exclusive conditions replace the normal ones, except those without debit.
TEST_F(HeaderData, ConditionsWithAndWithoutExclusiveConditions)
{
    EXPECT_EQ(conditions(QStringLiteral("50")), QStringList({"BONIFICACAO", "ESPECIAL 60"}));
    EXPECT_EQ(conditions(QStringLiteral("60")), QStringList({"A PRAZO", "BONIFICACAO"}));
    EXPECT_EQ(conditions(CondicoesCliente::parametroCliente(QStringLiteral("9900001"), true)),
              QStringList({"A PRAZO", "BONIFICACAO"}));
}

// Guards the per-cost-centre statements: the operation allowed, and the alternatives named.
TEST_F(HeaderData, CostCentreChecksComeFromTheDatabase)
{
    const QVector<ValidacaoGravacaoPedido::CentroCusto> centres =
        ConsultasValidacaoGravacao::carrega(*cnx, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("50"), {1, 2});
    ASSERT_EQ(centres.size(), 2);
    for (const ValidacaoGravacaoPedido::CentroCusto &centre : centres) {
        if (centre.CODCCU == 1) {
            EXPECT_TRUE(centre.operacaoPermitida);
        } else {
            EXPECT_EQ(centre.DESCCU, QStringLiteral("LIMPEZA"));
            EXPECT_FALSE(centre.operacaoPermitida);
            EXPECT_EQ(centre.nomesOperacoesPermitidas, QStringList({"TROCA"}));
        }
    }
    // A cost centre without items of the order is not asked about; an empty operation binds as 0.
    const QVector<ValidacaoGravacaoPedido::CentroCusto> onlyFirst =
        ConsultasValidacaoGravacao::carrega(*cnx, QStringLiteral("1"), QString(), QStringLiteral("50"), {2});
    for (const ValidacaoGravacaoPedido::CentroCusto &centre : onlyFirst)
        EXPECT_EQ(centre.operacaoPermitida, centre.CODCCU == 1);
}

// Guards the sub-seller rule of a new order.
TEST(HeaderRules, SellerAndSubSeller)
{
    const RegrasCabecalhoPedido::Vendedores same = RegrasCabecalhoPedido::vendedores(QStringLiteral("7"), QStringLiteral("7"));
    EXPECT_EQ(same.CODVEN, QStringLiteral("7"));
    EXPECT_TRUE(same.VENSUB.isEmpty());
    const RegrasCabecalhoPedido::Vendedores other = RegrasCabecalhoPedido::vendedores(QStringLiteral("7"), QStringLiteral("9"));
    EXPECT_EQ(other.CODVEN, QStringLiteral("9"));
    EXPECT_EQ(other.VENSUB, QStringLiteral("7"));
    const RegrasCabecalhoPedido::Vendedores none = RegrasCabecalhoPedido::vendedores(QStringLiteral("7"), QString());
    EXPECT_EQ(none.CODVEN, QStringLiteral("7"));
    EXPECT_TRUE(none.VENSUB.isEmpty());
}

// Guards the parameters a customer is loaded with, per kind of customer.
TEST(HeaderRules, CustomerParametersPerKind)
{
    const RegrasCabecalhoPedido::ParametrosCliente existing = RegrasCabecalhoPedido::parametrosCliente(QStringLiteral("50"), false);
    EXPECT_EQ(existing.clienteCODCLI, QStringLiteral("50"));
    EXPECT_EQ(existing.clienteCODNOV, QStringLiteral("0"));
    EXPECT_EQ(existing.condicoesCODCLI, QStringLiteral("50"));
    const RegrasCabecalhoPedido::ParametrosCliente created = RegrasCabecalhoPedido::parametrosCliente(QStringLiteral("9900001"), true);
    EXPECT_EQ(created.clienteCODCLI, QStringLiteral("0"));
    EXPECT_EQ(created.clienteCODNOV, QStringLiteral("9900001"));
    EXPECT_EQ(created.operacoesCODCLI, QStringLiteral("0"));
    EXPECT_EQ(created.condicoesCODCLI, QStringLiteral("-1"));
    EXPECT_EQ(created.financeiroCODCLI, QStringLiteral("0"));
    const RegrasCabecalhoPedido::ParametrosCliente empty = RegrasCabecalhoPedido::parametrosCliente(QString(), false);
    EXPECT_EQ(empty.clienteCODCLI, QStringLiteral("-1"));
    EXPECT_EQ(empty.operacoesCODCLI, QStringLiteral("-1"));
    EXPECT_EQ(empty.ultimasComprasCODCLI, QStringLiteral("0"));
}

// Guards the edit normalisation of PDFORC/RETPDV and the status label.
TEST(HeaderRules, FlagsAndStatus)
{
    EXPECT_EQ(RegrasCabecalhoPedido::marcaNormalizada(QString()), QStringLiteral("N"));
    EXPECT_EQ(RegrasCabecalhoPedido::marcaNormalizada(QStringLiteral("x")), QStringLiteral("N"));
    EXPECT_EQ(RegrasCabecalhoPedido::marcaNormalizada(QStringLiteral("S")), QStringLiteral("S"));
    EXPECT_EQ(RegrasCabecalhoPedido::situacao(QStringLiteral("L"))->rotulo, QStringLiteral("Enviado"));
    EXPECT_EQ(RegrasCabecalhoPedido::situacao(QStringLiteral("F"))->cor, RegrasCabecalhoPedido::CorSituacao::AzulMarinho);
    EXPECT_FALSE(RegrasCabecalhoPedido::situacao(QStringLiteral("X")).has_value());
    EXPECT_TRUE(RegrasCabecalhoPedido::editavel(QStringLiteral("D")));
    EXPECT_FALSE(RegrasCabecalhoPedido::editavel(QStringLiteral("L")));
}
