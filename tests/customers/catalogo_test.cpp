#include "ClientDataSetPlus.h"
#include "DadosClientes.h"
#include "FirebirdConnection.h"
#include "RoteiroClientes.h"
#include "TabelaVendas.h"
#include "TestDatabase.h"
#include "TitulosReceber.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

class CatalogoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.runScript(scriptClientes(hoje));
        db.open(cnx);
    }

    static QStringList coluna(TClientDataSetPlus &ds, const QString &campo)
    {
        QStringList valores;
        for (ds.first(); !ds.eof(); ds.next())
            valores << ds.asString(campo);
        return valores;
    }

    TabelaVendas::Filtro filtroTabela(const QString &codTab = QStringLiteral("1")) const
    {
        TabelaVendas::Filtro f;
        f.codEmp = QStringLiteral("1");
        f.codTab = codTab;
        f.hoje = hoje;
        return f;
    }

    QDate hoje = QDate::currentDate();
    TestDatabase db;
    FirebirdConnection cnx{QStringLiteral("catalogo")};
};

} // namespace

// Guards the route of a day: blocked customers and other companies never listed, the
// customer with a (not cancelled) order that day first and only once.
TEST_F(CatalogoTest, RouteListsOrderedCustomersFirstAndNeverBlockedOnes)
{
    RoteiroClientes roteiro(cnx);
    const int semana = roteiro.pesquisa(QStringLiteral("1"), hoje);
    EXPECT_EQ(semana, (hoje.day() - 1) / 7 + 1);
    TClientDataSetPlus &rot = roteiro.cdsRoteiro();
    EXPECT_EQ(coluna(rot, QStringLiteral("CODCLI")), (QStringList{QStringLiteral("14"), QStringLiteral("12")}));
    rot.first();
    EXPECT_EQ(rot.asString(QStringLiteral("TEMPED")), QStringLiteral("14"));
    rot.next();
    EXPECT_EQ(rot.asString(QStringLiteral("TEMPED")), QStringLiteral("0")); // only a cancelled order
    EXPECT_EQ(rot.asString(QStringLiteral("TELEND")), QStringLiteral("(41) 32221111"));
    EXPECT_EQ(rot.asString(QStringLiteral("ENDCLI")), QStringLiteral("RUA A,10"));
    EXPECT_EQ(rot.asString(QStringLiteral("NOMCID")), QStringLiteral("CURITIBA"));

    // Another day of the week has no route rows.
    roteiro.pesquisa(QStringLiteral("1"), hoje.addDays(1));
    EXPECT_EQ(rot.recordCount(), 0);
}

// Guards the weekday names and the week of the month as the database numbers it.
TEST_F(CatalogoTest, WeekdayAndWeekOfTheMonth)
{
    RoteiroClientes roteiro(cnx);
    EXPECT_EQ(RoteiroClientes::nomeDia(1), QStringLiteral("Segunda"));
    EXPECT_EQ(RoteiroClientes::nomeDia(7), QStringLiteral("Domigo"));
    EXPECT_EQ(roteiro.semanaMes(QDate(2024, 3, 7)), 1);
    EXPECT_EQ(roteiro.semanaMes(QDate(2024, 3, 8)), 2);
    EXPECT_EQ(roteiro.semanaMes(QDate(2024, 3, 31)), 5);
}

// Guards the titles filters: the overdue filter leaves out DIAVCT 0, the code is exact (12
// is not 120), the period includes its last day, the total follows the listed rows, and a
// name no column holds finds nothing instead of an engine error.
TEST_F(CatalogoTest, TitlesOverdueFilterPeriodAndTotal)
{
    TitulosReceber titulos(cnx);
    TitulosReceber::Filtro f;
    EXPECT_TRUE(titulos.pesquisa(QStringLiteral("1"), f, hoje).isEmpty());
    EXPECT_EQ(titulos.cdsFinanceiro().recordCount(), 3);
    EXPECT_EQ(titulos.totalTitulos(), QStringLiteral("160,35"));

    f.vencidos = true;
    titulos.pesquisa(QStringLiteral("1"), f, hoje);
    EXPECT_EQ(titulos.cdsFinanceiro().recordCount(), 2);
    EXPECT_EQ(titulos.totalTitulos(), QStringLiteral("60,25"));

    f.codigo = QStringLiteral("12");
    titulos.pesquisa(QStringLiteral("1"), f, hoje);
    EXPECT_EQ(titulos.cdsFinanceiro().recordCount(), 1);

    f = {};
    f.periodo = true;
    f.inicio = QStringLiteral("01/05/2024");
    f.fim = QStringLiteral("31/05/2024");
    titulos.pesquisa(QStringLiteral("1"), f, hoje);
    EXPECT_EQ(coluna(titulos.cdsFinanceiro(), QStringLiteral("VLRTRC")).size(), 2); // 01/06 left out

    for (const QString &nome : {QStringLiteral("NINGUEM'"), QStringLiteral(u"€ÿ😀"), QString(300, u'Ç')}) {
        f.razaoSocial = nome;
        EXPECT_TRUE(titulos.pesquisa(QStringLiteral("1"), f, hoje).isEmpty());
        EXPECT_EQ(titulos.cdsFinanceiro().recordCount(), 0);
        EXPECT_TRUE(titulos.totalTitulos().isEmpty());
    }
}

// Guards an impossible period date or a code that is no number: a clear message and no
// statement run with it.
TEST_F(CatalogoTest, TitlesRefuseAnImpossibleDate)
{
    TitulosReceber titulos(cnx);
    TitulosReceber::Filtro f;
    f.codigo = QStringLiteral(u"ç12");
    EXPECT_TRUE(titulos.pesquisa(QStringLiteral("1"), f, hoje).startsWith(QStringLiteral(u"Código : \"ç12\" não é")));
    f.codigo.clear();
    f.periodo = true;
    f.inicio = QStringLiteral("31/02/2024");
    f.fim = QStringLiteral("31/05/2024");
    EXPECT_EQ(titulos.pesquisa(QStringLiteral("1"), f, hoje), QStringLiteral("Data inválida: 31/02/2024"));
    EXPECT_FALSE(titulos.cdsFinanceiro().active());
}

// Guards the product rows: group and family headers before their products, families and
// groups without a product in the table left out, and the surcharge only on table 1.
TEST_F(CatalogoTest, ProductRowsHeadersAndSurcharge)
{
    TabelaVendas tabela(cnx);
    TabelaVendas::Filtro f = filtroTabela();
    f.acrTab = 10;
    tabela.pesquisa(f);
    TClientDataSetPlus &p = tabela.cdsProdutos();
    EXPECT_EQ(coluna(p, QStringLiteral("VERFAM")),
              (QStringList{QStringLiteral("G"), QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("N"),
                           QStringLiteral("N")}));
    EXPECT_EQ(coluna(p, QStringLiteral("DESPRO")),
              (QStringList{QStringLiteral("BEBIDAS"), QStringLiteral("REFRIGERANTES"), QStringLiteral("COPO D'AGUA"),
                           QStringLiteral("GUARANA 2L"), QStringLiteral("SUCO UVA")}));
    ASSERT_TRUE(p.locate({QStringLiteral("DESPRO")}, {QStringLiteral("GUARANA 2L")}));
    EXPECT_EQ(p.displayText(QStringLiteral("PRCVEN")), QStringLiteral("10,000")); // 9.00 / 0.90
    EXPECT_EQ(p.displayText(QStringLiteral("CODPRO")), QStringLiteral("0001200"));
    f.acrTab = 3; // 9.00 / 0.97: the price holds three decimals, not the division's five
    tabela.pesquisa(f);
    ASSERT_TRUE(p.locate({QStringLiteral("DESPRO")}, {QStringLiteral("GUARANA 2L")}));
    EXPECT_EQ(p.asString(QStringLiteral("PRCVEN")), QStringLiteral("9.278"));

    tabela.pesquisa(filtroTabela(QStringLiteral("2")));
    ASSERT_TRUE(p.locate({QStringLiteral("DESPRO")}, {QStringLiteral("GUARANA 2L")}));
    EXPECT_EQ(p.displayText(QStringLiteral("PRCVEN")), QStringLiteral("8,000"));
    EXPECT_EQ(p.recordCount(), 3);

    EXPECT_EQ(TabelaVendas::divisor(QStringLiteral("1"), 2.25), QStringLiteral("0.98"));
    EXPECT_EQ(TabelaVendas::divisor(QStringLiteral("2"), 10), QStringLiteral("1.00"));
}

// Guards the typed filters: a code prefix, a quote in the description found literally, and
// the five-day price-change window.
TEST_F(CatalogoTest, ProductFiltersReachTheStatementQuoted)
{
    TabelaVendas tabela(cnx);
    TClientDataSetPlus &p = tabela.cdsProdutos();
    TabelaVendas::Filtro f = filtroTabela();
    f.codigo = QStringLiteral("00012");
    tabela.pesquisa(f);
    EXPECT_EQ(coluna(p, QStringLiteral("DESPRO")),
              (QStringList{QStringLiteral("BEBIDAS"), QStringLiteral("REFRIGERANTES"), QStringLiteral("COPO D'AGUA"),
                           QStringLiteral("GUARANA 2L")}));

    f = filtroTabela();
    f.descricao = QStringLiteral("d'agua");
    tabela.pesquisa(f);
    EXPECT_EQ(coluna(p, QStringLiteral("DESPRO")).last(), QStringLiteral("COPO D'AGUA"));
    EXPECT_EQ(p.recordCount(), 3);

    f = filtroTabela();
    f.alteracoes = true;
    tabela.pesquisa(f);
    EXPECT_EQ(coluna(p, QStringLiteral("DESPRO")).last(), QStringLiteral("GUARANA 2L")); // 5 days yes, 6 no
    EXPECT_EQ(p.recordCount(), 3);

    f = filtroTabela();
    f.codGfa = QStringLiteral("00002");
    tabela.pesquisa(f);
    EXPECT_EQ(p.recordCount(), 0); // a group whose families have no price in the table
}

// Guards the promotions list: only those starting today or later.
TEST_F(CatalogoTest, PromotionsFromTodayOn)
{
    TabelaVendas tabela(cnx);
    ASSERT_TRUE(tabela.abrePromocoes(QStringLiteral("1"), hoje));
    QStringList produtos = coluna(tabela.cdsPromocao(), QStringLiteral("CODPRO"));
    produtos.sort();
    EXPECT_EQ(produtos, (QStringList{QStringLiteral("1299"), QStringLiteral("1300")}));
    EXPECT_FALSE(tabela.abrePromocoes(QStringLiteral("2"), hoje));
}
