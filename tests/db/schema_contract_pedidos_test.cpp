// The order window's statements against the seeded contract: header lists, prices, last
// purchases, save checks, the order list and the budgets' carry-over.

#include "SchemaContract.h"

#include <QMap>
#include <QSet>

// Guards the flex balance statement (parameters used twice): the seller's account minus the flex
// of his orders not yet settled.
TEST_F(SchemaContract, FlexBalanceSubtractsUnsettledOrders)
{
    seed();
    const QString sql = QStringLiteral(
        "SELECT COALESCE(U.CNTSAL,0) - COALESCE(A.FLXABERTO,0) SALDOFLX FROM F512VEN U, "
        "(SELECT SUM(I.USOFLX) FLXABERTO FROM F530PDF P, F530IPF I WHERE P.CODEMP = I.CODEMP AND "
        "P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT AND P.SITFLX = 'N' AND P.CODEMP = :PCODEMP AND "
        "P.CODVEN = :PCODVEN) A where U.CODEMP = :PCODEMP AND U.CODVEN = :PCODVEN");
    const QList<Row> seller12 = select(sql, {{"PCODEMP", "1"}, {"PCODVEN", "12"}});
    ASSERT_EQ(seller12.size(), 1);
    EXPECT_DOUBLE_EQ(num(seller12[0]["SALDOFLX"], 2), 70.00);
    const QList<Row> seller15 = select(sql, {{"PCODEMP", "1"}, {"PCODVEN", "15"}});
    ASSERT_EQ(seller15.size(), 1);
    EXPECT_DOUBLE_EQ(num(seller15[0]["SALDOFLX"], 2), 10.00);
}

// Guards the header lists: transactions, the customer's operations, the three-way union of
// conditions (exclusive ones hide the other normal ones), the customer row with its table and
// city, the seller names (UPPER over a code) and the tax rows of a state.
TEST_F(SchemaContract, OrderHeaderStatementsFollowTheCommercialRules)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F513TRA ORDER BY CODTRA")).size(), 2);

    const QString operations = QStringLiteral(
        "SELECT CODEMP, CODOPE, NOMOPE, TEMFLU FROM F513OPE WHERE CODOPE IN (SELECT CODOPE FROM F510OPC "
        "WHERE CODCLI = :PCODCLI AND CODEMP = :PCODEMP) AND CODEMP = :PCODEMP ORDER BY 3");
    EXPECT_EQ(select(operations, {{"PCODCLI", "12"}, {"PCODEMP", "1"}}).size(), 2);
    EXPECT_EQ(select(operations, {{"PCODCLI", "0"}, {"PCODEMP", "1"}}).size(), 1);

    const QString conditions = QStringLiteral(
        "SELECT CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT FROM F513CON "
        "WHERE TIPCON = 'N' AND SEMDBT = 'S' AND CODEMP = :PCODEMP "
        "UNION "
        "SELECT CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT FROM F513CON "
        "WHERE TIPCON = 'N' AND CODEMP = :PCODEMP AND (SELECT COUNT(*) FROM F510CPC P, F513CON C "
        "WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI "
        "AND P.CODEMP = :PCODEMP) = 0 "
        "UNION "
        "SELECT P.CODEMP, P.CODCON, C.DESCON, C.PDVMIN, C.MAXDIA, C.SEMDBT FROM F510CPC P, F513CON C "
        "WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI "
        "AND P.CODEMP = :PCODEMP");
    auto codes = [&](const QString &customer) {
        QSet<int> set;
        for (const Row &r : select(conditions, {{"PCODEMP", "1"}, {"PCODCLI", customer}}))
            set.insert(r["CODCON"].toInt());
        return set;
    };
    EXPECT_EQ(codes("120"), (QSet<int>{3, 4}));
    EXPECT_EQ(codes("12"), (QSet<int>{1, 2, 3}));
    EXPECT_EQ(codes("-1"), (QSet<int>{1, 2, 3}));

    const QList<Row> customer = select(
        QStringLiteral("SELECT DISTINCT C.CODCLI, C.RAZCLI, C.FANCLI, TRIM(D.NOMCID)||'-'||D.ESTCID CIDADE, "
                       "C.LIMCRE, C.CODTAB, T.DESTAB, D.ESTCID FROM F510CLI C, F511TAB T, F501CID D "
                       "WHERE C.CODTAB = T.CODTAB AND C.CODCID = D.CODCID AND C.CODEMP = :PCODEMP "
                       "AND C.CODCLI = :PCODCLI AND C.CODNOV = :PCODNOV"),
        {{"PCODEMP", "1"}, {"PCODCLI", "12"}, {"PCODNOV", "0"}});
    ASSERT_EQ(customer.size(), 1);
    EXPECT_EQ(text(customer[0]["CIDADE"]), QStringLiteral("SÃO PAULO-SP"));
    EXPECT_EQ(text(customer[0]["DESTAB"]), QStringLiteral("TABELA PADRÃO"));

    const QList<Row> finance = select(
        QStringLiteral("SELECT CODCLI, IIF(ABTCLI IS NULL,0,ABTCLI) AS ABERTO, IIF(ATRCLI IS NULL, 0, ATRCLI) "
                       "AS VENCIDO FROM F510CLI WHERE CODCLI = :PCODCLI"),
        {{"PCODCLI", "120"}});
    ASSERT_EQ(finance.size(), 1);
    EXPECT_DOUBLE_EQ(num(finance[0]["VENCIDO"], 2), 150.00);

    const QList<Row> names = select(
        QStringLiteral("SELECT MAX(VEN) NOMVEN, MAX(SUB) NOMSUB FROM ("
                       "SELECT NOMVEN VEN, '' SUB FROM F512VEN WHERE CODEMP = :PCODEMP AND UPPER(CODVEN) LIKE UPPER(:PCODVEN) "
                       "UNION SELECT '' VEN, NOMVEN SUB FROM F512VEN WHERE CODEMP = :PCODEMP AND UPPER(CODVEN) LIKE UPPER(:PCODSUB))"),
        {{"PCODEMP", "1"}, {"PCODVEN", "15"}, {"PCODSUB", "12"}});
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(text(names[0]["NOMVEN"]), QStringLiteral("JOÃO BATISTA"));
    EXPECT_EQ(text(names[0]["NOMSUB"]), QStringLiteral("MARCOS PEREIRA"));

    const QList<Row> taxes = select(
        QStringLiteral("SELECT * FROM F511IMP WHERE CODEMP = :PCODEMP AND UPPER(ESTCID) LIKE UPPER(:PESTCID)"),
        {{"PCODEMP", "1"}, {"PESTCID", "sp"}});
    ASSERT_EQ(taxes.size(), 2);
    EXPECT_DOUBLE_EQ(num(taxes[0]["CFTICM"], 6) + num(taxes[1]["CFTICM"], 6), 1.6111);

    const QList<Row> discount = select(
        QStringLiteral("SELECT IIF(PORDES = NULL,0,PORDES) PORDES FROM F513DES WHERE CODOPE = :PCODOPE "
                       "AND CODEMP = :PCODEMP AND CODCON = :PCODCON"),
        {{"PCODOPE", "1"}, {"PCODEMP", "1"}, {"PCODCON", "1"}});
    ASSERT_EQ(discount.size(), 1);
    EXPECT_DOUBLE_EQ(num(discount[0]["PORDES"], 2), 5.00);
}

// Guards the customer's last purchases: orders joined to their non-bonus transaction, latest day
// per product.
TEST_F(SchemaContract, LastPurchasesTakeTheLatestDayPerProduct)
{
    seed();
    const QList<Row> rows = select(QStringLiteral(
        "SELECT P.DATPDF, I.CODPRO, I.CODCCU, MAX(I.QTDPRO) QTDPRO, MAX(I.VLRUNT) VLRUNT "
        "FROM F530PDF P, F530IPF I, F513TRA T, "
        "(SELECT MAX(P.DATPDF) ULTIMA_COMPRA, I.CODPRO FROM F530PDF P, F530IPF I, F513TRA T "
        " WHERE P.CODPDF = I.CODPDF AND P.CODEMP = I.CODEMP AND P.CODINT = I.CODINT AND P.CODTRA = T.CODTRA "
        " AND P.CODEMP = T.CODEMP AND T.GERBON = 'N' AND P.CODCLI = :PCODCLI AND I.CODPRO IS NOT NULL "
        " GROUP BY I.CODPRO) X "
        "WHERE P.CODPDF = I.CODPDF AND P.CODEMP = I.CODEMP AND P.CODINT = I.CODINT AND P.CODTRA = T.CODTRA "
        "AND P.CODEMP = T.CODEMP AND T.GERBON = 'N' AND P.CODCLI = :PCODCLI AND I.CODPRO IS NOT NULL "
        "AND I.CODPRO = X.CODPRO AND P.DATPDF = X.ULTIMA_COMPRA GROUP BY P.DATPDF, I.CODPRO, I.CODCCU"),
        {{"PCODCLI", "12"}});
    ASSERT_EQ(rows.size(), 2);
    for (const Row &r : rows)
        EXPECT_EQ(r["DATPDF"].toDate(), QDate(2024, 3, 15));
}

// Guards the product picker's price derivation: product, family, group, table, commission maxima
// and today's promotion joined as the list builds them; a scale whose maximum is 0 falls back to
// the table's MAXDCT, and the pick-up factor only reaches families with RETPDV 'S'.
TEST_F(SchemaContract, ProductPickerStatementPricesTheTable)
{
    seed();
    const QString sql = QStringLiteral(
        "SELECT DISTINCT CODEMP, CODFAM, DESFAM, CODCCU, CODPRO, DESPRO, UNDPRO, PRCVEN, PRCTAB, NOVPRV, SITALT, "
        "DATALT, VERFAM, CODORD, DISPRO, FATPRO, PESPRO, DESCOS, MAXDCT, RJTTAB, CODCOS, PRZMAX, VLRPRM, CODGFA FROM ("
        "SELECT DISTINCT G.CODGFA, P.CODEMP, P.CODFAM, F.DESFAM, P.CODCCU, P.CODPRO, P.DESPRO, P.UNDPRO, P.DISPRO, "
        "P.FATPRO, P.PESPRO, T.DESCOS, T.NOVPRV, T.SITALT, T.DATALT, T.RJTTAB, 'N' AS VERFAM, "
        "((G.CODGFA * 100000) + (F.CODFAM *10) + 1) CODORD, T.CODCOS, IIF(C.MAXDCT = 0,T.MAXDCT,C.MAXDCT) MAXDCT, "
        "IIF(F.RETPDV = 'S',( CAST((T.PRCVEN * 0.95) * 0.97 as numeric(15,3)))/0.98,"
        "(CAST(T.PRCVEN * 0.95 as numeric(15,3)))/0.98) PRCVEN, "
        "IIF(F.RETPDV = 'S',  CAST((T.PRCVEN * 0.95) * 0.97  as numeric(15,3)) ,CAST(T.PRCVEN * 0.95 as numeric(15,3))) PRCTAB, "
        "R.PRZMAX, R.VLRPRM "
        "FROM F511PRO P, F511FAM F, F511TAB T "
        "LEFT JOIN (SELECT * FROM F511PRM WHERE DATINI <= '03/15/2024' AND DATFIM >= '03/15/2024') R "
        "ON T.CODEMP = R.CODEMP AND T.CODCCU = R.CODCCU AND T.CODPRO = R.CODPRO, "
        "F511GFA G, F511IFA I, (SELECT CODEMP, CODCOS, MAX(PCTDCT) MAXDCT FROM F512COS GROUP BY CODEMP, CODCOS) C "
        "WHERE T.CODEMP = P.CODEMP AND T.CODCCU = P.CODCCU AND T.CODPRO = P.CODPRO "
        "AND P.CODFAM = F.CODFAM AND P.CODCCU = F.CODCCU AND P.CODEMP = F.CODEMP "
        "AND F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU AND F.CODEMP = I.CODEMP "
        "AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA "
        "AND T.CODCOS = C.CODCOS AND T.CODEMP = C.CODEMP "
        "AND P.CODEMP = 1 AND T.CODTAB = 1 "
        "AND SUBSTRING('0000000'||P.CODPRO FROM (CHAR_LENGTH('0000000'||P.CODPRO)-6) FOR 7) LIKE '00000%' "
        "AND SUBSTRING('0000'||P.CODFAM FROM (CHAR_LENGTH('0000'||P.CODFAM)-3) FOR 4) LIKE '00%' "
        "AND SUBSTRING('00000'||G.CODGFA FROM (CHAR_LENGTH('00000'||G.CODGFA)-4) FOR 5) LIKE '00001%' "
        "AND UPPER(P.DESPRO) LIKE UPPER('%%') "
        "UNION "
        "SELECT DISTINCT G.CODGFA, F.CODEMP, F.CODFAM, F.DESFAM, F.CODCCU, F.CODFAM, F.DESFAM, '' UND, NULL DISPRO, "
        "NULL FATPRO, NULL PESPRO, '' DESCOS, NULL NOV, '' ATL, NULL DAT, NULL RJTTAB, 'S' AS VERFAM, "
        "((G.CODGFA * 100000) + (F.CODFAM *10)) CODORD, NULL CODCOS, NULL MAXDCT, NULL PRCVEN, NULL PRCTAB, "
        "NULL PRZMAX, NULL VLRPRM "
        "FROM F511FAM F, F511PRO P, F511TAB T, F511GFA G, F511IFA I "
        "WHERE F.CODEMP = P.CODEMP AND F.CODCCU = P.CODCCU AND F.CODFAM = P.CODFAM AND P.CODEMP = T.CODEMP "
        "AND P.CODCCU = T.CODCCU AND P.CODPRO = T.CODPRO AND F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU "
        "AND F.CODEMP = I.CODEMP AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA "
        "AND F.CODEMP = 1 AND T.CODTAB = 1) ORDER BY 14, 6");
    const QList<Row> rows = select(sql);
    ASSERT_EQ(rows.size(), 4); // two family headers, two products
    QMap<int, Row> products;
    for (const Row &r : rows)
        if (text(r["VERFAM"]) == "N")
            products.insert(r["CODPRO"].toInt(), r);
    ASSERT_EQ(products.size(), 2);
    // Rice: family with pick-up discount, scale maximum 5, promotion valid on the day.
    EXPECT_DOUBLE_EQ(num(products[45]["PRCTAB"]), 18.430);
    EXPECT_DOUBLE_EQ(num(products[45]["MAXDCT"], 2), 5.00);
    EXPECT_EQ(num(products[45]["PRZMAX"], 0), 28);
    EXPECT_DOUBLE_EQ(num(products[45]["VLRPRM"]), 18.500);
    // Oil: scale whose maximum is 0 -> table MAXDCT; promotion starts later -> none today.
    EXPECT_DOUBLE_EQ(num(products[46]["PRCTAB"]), 8.075);
    EXPECT_DOUBLE_EQ(num(products[46]["MAXDCT"], 2), 7.00);
    EXPECT_TRUE(products[46]["VLRPRM"].isNull());
    EXPECT_LT(num(products[46]["RJTTAB"], 2), 0);
}

// Guards the save checks: cost centres of the company, the operation per cost centre and the
// names of the customer's operations a cost centre allows.
TEST_F(SchemaContract, SavingChecksPerCostCentre)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT DISTINCT CODCCU, DESCCU FROM F515CCU WHERE CODEMP = :PCODEMP"),
                     {{"PCODEMP", "1"}}).size(), 2);
    const QString allowed = QStringLiteral(
        "SELECT * FROM F513OCU WHERE CODEMP = :PCODEMP AND CODCCU = :PCODCCU AND CODOPE = :PCODOPE");
    EXPECT_EQ(select(allowed, {{"PCODEMP", "1"}, {"PCODCCU", "2"}, {"PCODOPE", "1"}}).size(), 1);
    EXPECT_TRUE(select(allowed, {{"PCODEMP", "1"}, {"PCODCCU", "2"}, {"PCODOPE", "2"}}).isEmpty());
    const QList<Row> names = select(
        QStringLiteral("SELECT DISTINCT O.NOMOPE FROM F513OPE O, F510OPC C WHERE O.CODOPE = C.CODOPE AND "
                       "O.CODEMP = C.CODEMP AND C.CODCLI = :PCODCLI AND O.CODOPE IN (SELECT CODOPE FROM F513OCU "
                       "WHERE CODEMP = :PCODEMP AND CODCCU = :PCODCCU)"),
        {{"PCODCLI", "12"}, {"PCODEMP", "1"}, {"PCODCCU", "2"}});
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(text(names[0]["NOMOPE"]), QStringLiteral("VENDA COM ST"));
}

// Guards the order list (invoiced value from items), the one-order reads, and the copy statements
// whose column lists name every column of header and items.
TEST_F(SchemaContract, OrderListReadAndCopyStatements)
{
    seed();
    const QList<Row> list = select(
        QStringLiteral("SELECT P.CODEMP, P.CODPDF, P.CODINT, P.DATPDF, P.PDFORC, P.CODCLI, C.RAZCLI, P.TOTPDF, "
                       "P.SITPDF, SUM(I.QTDFAT*I.VLRFAT) TOTFAT FROM F530PDF P, F530IPF I, F510CLI C "
                       "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODCLI = C.CODCLI AND "
                       "P.CODNOV = C.CODNOV AND P.CODEMP = :PCODEMP AND P.CODPDF LIKE :PCODPDF AND C.RAZCLI LIKE "
                       ":PRAZCLI AND P.DATPDF >= :PDATINI AND P.DATPDF <= :PDATFIM AND P.SITPDF LIKE :PSITPDF AND "
                       "IIF(P.PDFORC IS NULL,'N',P.PDFORC) LIKE :PPDFORC GROUP BY P.CODEMP, P.CODPDF, P.CODINT, "
                       "P.DATPDF, P.CODCLI, C.RAZCLI, P.TOTPDF, P.SITPDF, P.PDFORC"),
        {{"PCODEMP", "1"}, {"PCODPDF", "%"}, {"PRAZCLI", "%"}, {"PDATINI", QDate(1900, 1, 1)},
         {"PDATFIM", QDate(2124, 12, 31)}, {"PSITPDF", "%"}, {"PPDFORC", "%"}});
    ASSERT_EQ(list.size(), 4);
    for (const Row &r : list) {
        if (r["CODPDF"].toInt() == 2) {
            EXPECT_DOUBLE_EQ(num(r["TOTFAT"], 4), 117.0);
        }
    }

    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F530PDF WHERE CODEMP = :PCODEMP AND CODPDF = :PCODPDF AND "
                                    "CODINT = :PCODINT"),
                     {{"PCODEMP", "1"}, {"PCODPDF", "2"}, {"PCODINT", "5001"}}).size(), 1);
    const QList<Row> items = select(
        QStringLiteral("SELECT 'N' AS VLDITM, I.* FROM F530IPF I WHERE I.CODEMP = :PCODEMP AND I.CODPDF = :PCODPDF "
                       "AND I.CODINT = :PCODINT"),
        {{"PCODEMP", "1"}, {"PCODPDF", "1"}, {"PCODINT", "0"}});
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].size(), 28);

    // Copy of the pending quantities of order 2 into number 10, items before header.
    EXPECT_EQ(execute(QStringLiteral(
                  " INSERT INTO F530IPF (CODEMP,CODCCU,CODPDF,CODPRO,CODINT,DESPRO,UNDPRO,QTDPRO,VLRUNT,VLRTOT,USOFLX,"
                  "QTDFAT,VLRFAT,FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS,GERFLX,ITMPRM,SITFLX,SITIPF)"
                  " SELECT CODEMP,CODCCU,10 AS CODPDF,CODPRO,0 AS CODINT,DESPRO,UNDPRO,(QTDPRO-QTDFAT) QTD,VLRUNT,"
                  "((QTDPRO-QTDFAT) * VLRUNT) TOT,(USOFLX/QTDPRO)*(QTDPRO-QTDFAT) FLX,0 AS QTDFAT,0 AS VLRFAT, "
                  "FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS, (GERFLX/QTDPRO)*(QTDPRO-QTDFAT) GERFLX, ITMPRM, 'S', 'D' "
                  " FROM F530IPF WHERE CODEMP = '1' AND   CODPDF = '2' AND   CODINT = '5001' AND   QTDPRO > QTDFAT ")),
              1);
    EXPECT_EQ(execute(QStringLiteral(
                  " INSERT INTO F530PDF (CODEMP,CODPDF,CODINT,CODTAB,DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,CODCON,"
                  "CODOPE,SITPDF,CODVEN,OBSCLI,MOTCAN,SITFLX,PDFORC,RETPDV,VENSUB)  SELECT CODEMP,10 AS CODPDF,0 AS "
                  "CODINT,CODTAB,'03-15-2024' AS DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,CODCON,CODOPE,'D' AS SITPDF,"
                  "CODVEN,OBSCLI, NULL AS MOTCAN,'N' SITFLX, PDFORC, RETPDV, VENSUB  FROM F530PDF  WHERE CODEMP = '1' "
                  "AND   CODPDF = '2' AND   CODINT = '5001'")),
              1);
    const QList<Row> copy = select(QStringLiteral("SELECT QTDPRO, USOFLX, VLRTOT FROM F530IPF WHERE CODPDF = 10"));
    ASSERT_EQ(copy.size(), 1);
    EXPECT_DOUBLE_EQ(num(copy[0]["QTDPRO"], 2), 6.0);
    EXPECT_DOUBLE_EQ(num(copy[0]["USOFLX"], 2), 20.0);
    EXPECT_DOUBLE_EQ(num(copy[0]["VLRTOT"], 3), 120.0);
}

// Guards the carry-over of budgets across a replacement (text key of header and items).
TEST_F(SchemaContract, BudgetStatementsFindBudgetsAndTheirItems)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F530PDF WHERE PDFORC = 'S'")).size(), 1);
    const QList<Row> items = select(QStringLiteral(
        "SELECT 'N' AS VLDITM, I.* FROM F530IPF I WHERE I.CODEMP||'-'||I.CODPDF||'-'||I.CODINT IN "
        "(SELECT CODEMP||'-'||CODPDF||'-'||CODINT FROM F530PDF WHERE PDFORC = 'S')"));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]["CODPDF"].toInt(), 4);
}
