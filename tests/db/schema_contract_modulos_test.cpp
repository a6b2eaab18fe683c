// The statements of the customer, route, titles, products, messages, supervisor, report and
// sync windows against the seeded contract.

#include "SchemaContract.h"

#include <QMap>
#include <QSet>

// --------------------------------------------------------------------------- customers and route

// Guards the customer list (numeric codes matched with LIKE on text), the city lists, and the
// route: SEMANA_MES feeds SEMMES, blocked customers are left out, customers with an order that day
// come first and cancelled orders do not count.
TEST_F(SchemaContract, CustomerListAndRouteOfTheDay)
{
    seed();
    const QString customers = QStringLiteral(
        "SELECT C.*, D.NOMCID, D.ESTCID FROM F510CLI C, F501CID D WHERE C.CODCID = D.CODCID AND C.CODEMP = "
        ":PCODEMP AND C.CODCLI LIKE :PCODCLI AND C.RAZCLI LIKE :PRAZCLI AND C.SITCLI LIKE :PSITCLI AND "
        "C.CPFCGC LIKE :PCPFCGC ORDER BY C.CODNOV DESC, C.RAZCLI");
    const QList<Row> byCode = select(customers, {{"PCODEMP", "1"}, {"PCODCLI", "12%"}, {"PRAZCLI", "%"},
                                                 {"PSITCLI", "%"}, {"PCPFCGC", "%"}});
    EXPECT_EQ(byCode.size(), 2); // 12 and 120
    const QList<Row> all = select(
        QStringLiteral("SELECT C.*, D.NOMCID, D.ESTCID FROM F510CLI C, F501CID D WHERE C.CODCID = D.CODCID AND "
                       "C.CODEMP = :PCODEMP AND C.CODCLI LIKE :PCODCLI AND C.RAZCLI LIKE :PRAZCLI AND "
                       "C.SITCLI LIKE :PSITCLI ORDER BY C.CODNOV DESC, C.RAZCLI"),
        {{"PCODEMP", "1"}, {"PCODCLI", "%"}, {"PRAZCLI", "%"}, {"PSITCLI", "%"}});
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(num(all[0]["CODNOV"], 0), 9900001); // notebook customers first

    EXPECT_EQ(select(QStringLiteral("SELECT DISTINCT ESTCID FROM F501CID WHERE CODEMP = :PCODEMP"),
                     {{"PCODEMP", "1"}}).size(), 2);
    const QList<Row> cities = select(
        QStringLiteral("SELECT DISTINCT CODCID, TRIM(NOMCID)||'-'||ESTCID CIDADE, NOMCID, ESTCID FROM F501CID "
                       "WHERE CODEMP = :PCODEMP AND ESTCID LIKE :PESTCID"),
        {{"PCODEMP", "1"}, {"PESTCID", "MG"}});
    ASSERT_EQ(cities.size(), 1);
    EXPECT_EQ(text(cities[0]["CIDADE"]), QStringLiteral("BELO HORIZONTE-MG"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F510TIP ORDER BY DESTIP")).size(), 2);

    QSqlQuery week = m_cnx->query();
    ASSERT_TRUE(week.exec(QStringLiteral("EXECUTE PROCEDURE SEMANA_MES('03/15/2024')"))); // a Friday
    ASSERT_TRUE(week.next());
    const QString semana = QString::number(week.value(0).toInt());

    const QList<Row> route = select(
        QStringLiteral("SELECT DISTINCT C.CODCLI, C.RAZCLI, C.OBSCLI, C.EMIAVS, '('||C.DDAEND||') '||C.TEAEND TELEND, "
                       "C.ENDEND||','||C.NUMEND ENDCLI, COALESCE(P.CODCLI,0) TEMPED, "
                       "(SELECT NOMCID FROM f501CID A WHERE A.CODCID = C.CODCID AND A.CODEMP = C.CODEMP) NOMCID "
                       "FROM F510CLI C LEFT JOIN (SELECT CODEMP, CODCLI FROM F530PDF WHERE SITPDF <> 'C' AND "
                       "DATPDF = :PDATPDV) P ON C.CODEMP = P.CODEMP AND C.CODCLI = P.CODCLI, F510ROT R "
                       "WHERE C.CODCLI = R.CODCLI AND C.CODEMP = R.CODEMP AND C.SITCLI <> 'B' AND "
                       "R.DIASEM LIKE :PDIASEM AND R.SEMMES LIKE :PSEMMES order by TEMPED desc"),
        {{"PDATPDV", QDate(2024, 3, 15)}, {"PDIASEM", "5"}, {"PSEMMES", semana}});
    ASSERT_EQ(route.size(), 2);
    EXPECT_EQ(route[0]["CODCLI"].toInt(), 12);
    EXPECT_EQ(route[0]["TEMPED"].toInt(), 12);
    EXPECT_EQ(text(route[0]["TELEND"]), QStringLiteral("(11) 33334444"));
    EXPECT_EQ(route[1]["CODCLI"].toInt(), 120);
    EXPECT_EQ(route[1]["TEMPED"].toInt(), 0); // its only order of the day is cancelled
}

// Guards the titles window: overdue filter on DIAVCT, period on DATVCT, customer code as typed.
TEST_F(SchemaContract, TitlesQueryFiltersOverdueAndPeriod)
{
    seed();
    const QString sql = QStringLiteral(
        "SELECT T.*, C.RAZCLI FROM F550TRC T, F510CLI C WHERE T.CODEMP = C.CODEMP AND T.CODCLI = C.CODCLI "
        "AND T.CODEMP = :PCODEMP AND T.CODCLI LIKE :PCODCLI AND C.RAZCLI LIKE :PRAZCLI AND T.DATVCT >= :PDATINI "
        "AND T.DATVCT <= :PDATFIM AND IIF(T.DIAVCT > 0,'S','N') LIKE :PSITVCT");
    QVariantMap p = {{"PCODEMP", "1"}, {"PCODCLI", "%"}, {"PRAZCLI", "%"}, {"PDATINI", QDate(1900, 1, 1)},
                     {"PDATFIM", QDate(2124, 12, 31)}, {"PSITVCT", "%"}};
    EXPECT_EQ(select(sql, p).size(), 2);
    p["PSITVCT"] = "S";
    const QList<Row> overdue = select(sql, p);
    ASSERT_EQ(overdue.size(), 1);
    EXPECT_EQ(overdue[0]["CODCLI"].toInt(), 120);
    p["PSITVCT"] = "%";
    p["PCODCLI"] = "12";
    EXPECT_EQ(select(sql, p).size(), 1);
    p["PCODCLI"] = "%";
    p["PDATINI"] = QDate(2024, 3, 1);
    p["PDATFIM"] = QDate(2024, 3, 31);
    EXPECT_EQ(select(sql, p).size(), 2);
    p["PDATFIM"] = QDate(2024, 3, 30);
    EXPECT_EQ(select(sql, p).size(), 1);
}

// Guards the products window's own statements: table list, groups, families of a group and the
// coming promotions.
TEST_F(SchemaContract, CatalogueWindowStatements)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT CODTAB, DESTAB FROM F511TAB GROUP BY CODTAB, DESTAB ORDER BY CODTAB")).size(), 2);
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F511GFA ORDER BY DESGFA")).size(), 1);
    const QString families = QStringLiteral(
        "SELECT F.CODFAM, F.DESFAM, G.CODGFA FROM F511FAM F, F511IFA G WHERE F.CODEMP = G.CODEMP AND F.CODCCU = "
        "G.CODCCU AND F.CODFAM = G.CODFAM AND EXISTS (SELECT CODGFA FROM f511IFA I WHERE I.CODFAM = F.CODFAM AND "
        "I.CODCCU = F.CODCCU AND I.CODEMP = F.CODEMP AND SUBSTRING('00000'||I.CODGFA FROM "
        "(CHAR_LENGTH('00000'||I.CODGFA)-4) FOR 5)LIKE :CODGFA ||'%') ORDER BY F.DESFAM");
    EXPECT_EQ(select(families, {{"CODGFA", "00001"}}).size(), 2);
    EXPECT_EQ(select(families, {{"CODGFA", ""}}).size(), 2);
    EXPECT_TRUE(select(families, {{"CODGFA", "00002"}}).isEmpty());
    const QList<Row> promotions = select(
        QStringLiteral("SELECT P.CODEMP, P.CODCCU, P.CODPRO, P.DESPRO, R.DATINI, R.DATFIM, R.PRZMAX, R.VLRPRM "
                       "FROM F511PRO P, F511PRM R WHERE P.CODEMP = R.CODEMP AND P.CODCCU = R.CODCCU AND "
                       "P.CODPRO = R.CODPRO AND P.CODEMP = :PCODEMP AND R.DATINI >= :PDATINI AND R.DATINI <= :PDATFIM "),
        {{"PCODEMP", "1"}, {"PDATINI", QDate(2024, 3, 15)}, {"PDATFIM", QDate(2124, 3, 15)}});
    ASSERT_EQ(promotions.size(), 1);
    EXPECT_EQ(promotions[0]["CODPRO"].toInt(), 46);
}

// --------------------------------------------------------------------------- messages

// Guards the message lists: received with the sender's name, sent with the recipients joined by
// prc_lista_dst (a message without recipients is not listed), and the recipient grid.
TEST_F(SchemaContract, MessageListsJoinNamesAndRecipients)
{
    seed();
    const QList<Row> received = select(
        QStringLiteral("SELECT M.CODMSG, M.USUREM , U.NOMUSU, M.TITMSG, M.DATMSG, M.SITMSG, M.DESMSG FROM F599MSG M, "
                       "F599MSU U WHERE M.USUREM = U.CODUSU AND M.CODEMP = U.CODEMP AND M.ENVMSG = 'R' AND "
                       "M.CODEMP = :PCODEMP AND M.SITMSG LIKE :PSITMSG ORDER BY M.DATMSG DESC"),
        {{"PCODEMP", "1"}, {"PSITMSG", "%"}});
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(text(received[0]["NOMUSU"]), QStringLiteral("ROBERTO"));
    EXPECT_EQ(text(received[0]["TITMSG"]), QStringLiteral("META DE MARÇO"));

    const QList<Row> sent = select(
        QStringLiteral("SELECT DISTINCT M.CODMSG, P.nomdst, M.TITMSG, M.DATMSG, M.ENVMSG, M.DESMSG FROM F599MSG M, "
                       "prc_lista_dst P WHERE M.CODEMP = P.CODEMP AND M.CODMSG = P.CODMSG AND M.CODEMP = :PCODEMP "
                       "AND M.USUREM = :PCODUSU AND M.ENVMSG in ('N','E') ORDER BY M.DATMSG DESC"),
        {{"PCODEMP", "1"}, {"PCODUSU", "7"}});
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0]["CODMSG"].toInt(), 3);
    EXPECT_EQ(text(sent[0]["NOMDST"]), QStringLiteral("ANA, ROBERTO"));
    EXPECT_EQ(text(sent[1]["NOMDST"]), QStringLiteral("ROBERTO"));

    const QList<Row> recipients = select(
        QStringLiteral("SELECT M.*, U.NOMUSU FROM F599MDT M, F599MSU U WHERE M.CODUSU = U.CODUSU AND M.CODEMP = "
                       "U.CODEMP AND M.CODEMP = :PCODEMP AND M.CODMSG = :PCODMSG ORDER BY U.NOMUSU"),
        {{"PCODEMP", "1"}, {"PCODMSG", "3"}});
    EXPECT_EQ(recipients.size(), 2);
    EXPECT_EQ(select(QStringLiteral("SELECT CODUSU, NOMUSU FROM F599MSU WHERE CODUSU > 0 AND CODEMP = :PCODEMP "
                                    "ORDER BY NOMUSU"),
                     {{"PCODEMP", "1"}}).size(), 3);

    EXPECT_EQ(execute(QStringLiteral("DELETE FROM F599MSG WHERE CODEMP = 1 AND CODMSG = 3")), 1);
    EXPECT_EQ(execute(QStringLiteral(" INSERT INTO F599MSG (CODMSG, CODEMP ,USUREM, TITMSG, DESMSG, DATMSG, SITMSG, "
                                     "ENVMSG)  VALUES (3,1,7,'VISITA','Texto com ''aspas''','03-16-2024','L','N')")),
              1);
    EXPECT_EQ(execute(QStringLiteral("UPDATE F599MSG SET SITMSG = 'A' WHERE SITMSG = 'N' AND CODEMP = 1 AND CODMSG = 1")), 1);
}

// A recipient list longer than NOMDST is shortened, never an error that empties the sent list.
TEST_F(SchemaContract, RecipientNamesAreCutToTheColumnWidth)
{
    seed();
    for (int user = 100; user < 130; ++user) {
        execute(QStringLiteral("INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, %1, 'USUARIO NUMERO %1')")
                    .arg(user));
        execute(QStringLiteral("INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 4, %1)").arg(user));
    }
    const QList<Row> rows =
        select(QStringLiteral("SELECT NOMDST FROM PRC_LISTA_DST WHERE CODEMP = 1 AND CODMSG = 4"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]["NOMDST"].toString().size(), 200);
}

// --------------------------------------------------------------------------- supervisor, reports, sync

// Guards the supervisor console's statements: bonus search and header with the rule tables,
// bonus items, sellers, and the flex movements with the two seller names (advance without
// destination still listed).
TEST_F(SchemaContract, SupervisorConsoleStatements)
{
    seed();
    const QList<Row> bonus = select(
        QStringLiteral("SELECT P.CODEMP, P.CODCCU, P.CODPDV, P.DATPDF, P.CODCLI, P.RAZCLI, P.TOTPDF, P.AUTBON, "
                       "P.CODVEN, V.NOMVEN FROM F530BON P, F512VEN V WHERE P.CODVEN = V.CODVEN AND P.CODEMP = "
                       ":PCODEMP AND P.CODVEN LIKE :PCODVEN AND P.DATPDF >= :PDATINI AND P.DATPDF <= :PDATFIM "
                       "AND P.AUTBON LIKE :PAUTBON ORDER BY P.DATPDF, p.codpdv"),
        {{"PCODEMP", "1"}, {"PCODVEN", "%"}, {"PDATINI", QDate(1900, 1, 1)}, {"PDATFIM", QDate(2124, 12, 31)}, {"PAUTBON", "P"}});
    ASSERT_EQ(bonus.size(), 1);
    const QList<Row> header = select(
        QStringLiteral("SELECT P.CODPDV, P.DATPDF, P.CODCLI, P.RAZCLI, P.codtra, T.DESTRA, P.codope, O.NOMOPE, "
                       "P.codcon,  C.DESCON FROM F530BON P, f513tra T, f513ope O, f513con C WHERE P.CODTRA = "
                       "T.CODTRA AND P.CODOPE = O.CODOPE AND P.CODCON = C.CODCON AND P.CODEMP = :PCODEMP AND "
                       "P.CODPDV = :PCODPDV AND P.CODCCU = :PCODCCU"),
        {{"PCODEMP", "1"}, {"PCODPDV", "9001"}, {"PCODCCU", "1"}});
    ASSERT_EQ(header.size(), 1);
    EXPECT_EQ(text(header[0]["DESCON"]), QStringLiteral("BONIFICAÇÃO"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F530IBO WHERE CODEMP = :PCODEMP AND CODPDV = :PCODPDV AND "
                                    "CODCCU = :PCODCCU"),
                     {{"PCODEMP", "1"}, {"PCODPDV", "9001"}, {"PCODCCU", "1"}}).size(), 1);
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F512VEN WHERE CODEMP = :PCODEMP ORDER BY NOMVEN"),
                     {{"PCODEMP", "1"}}).size(), 2);
    const QList<Row> moves = select(
        QStringLiteral("SELECT M.*, O.NOMVEN \"NOMORI\", D.NOMVEN \"NOMDES\" FROM F512MTF M LEFT JOIN F512VEN D ON "
                       "M.VENDES = D.CODVEN , F512VEN O WHERE M.VENORI = O.CODVEN AND M.CODEMP = :PCODEMP AND "
                       "M.CODSUP = :PCODSUP ORDER BY M.DATMOV DESC"),
        {{"PCODEMP", "1"}, {"PCODSUP", "3"}});
    ASSERT_EQ(moves.size(), 2);
    EXPECT_TRUE(moves[0]["NOMDES"].isNull());
    EXPECT_EQ(execute(QStringLiteral(" UPDATE F530BON SET AUTBON = 'A' WHERE CODPDV = 9001 AND CODCCU = 1 AND CODEMP = 1")), 1);
}

// Guards the report queries and the goal window: sales summary union, pending items, order print
// with its seven-table join, synthetic report, months in text order and gauges in date order.
TEST_F(SchemaContract, ReportAndGoalQueries)
{
    seed();
    QStringList parts;
    const QStringList refs = {"'VENDAS GERAL', METVEN, GERVEN, FLXDSP, FLXGER", "DESDIF, METDIF, GERDIF, 0, 0",
                              "'CLIENTES GERAL', METCLI, GERCLI, 0, 0", "'CLIENTES NOVOS', 0, GERNOV, 0, 0",
                              "'VENDAS SUB.', 0, SUBVEN, 0, 0", "'CLIENTES SUB.', 0, SUBCLI, 0, 0",
                              "'MIX PRODUTOS(%)', METPRO, GERPRO, 0, 0"};
    for (int i = 0; i < refs.size(); ++i) {
        const QStringList c = refs[i].split(QStringLiteral(", "));
        parts << QStringLiteral("SELECT %1 REFERENCIA, %2 \"OBJETIVO#(2)#\", %3 \"REALIZADO#(2)#\", %4 \"SALDO FLEX#(2)#\", "
                                "%5 \"ACUM. FLEX#(2)#\", NOMVEN||' - '||MESMET \"VENDEDOR_OCULT\", %6 \"ORDEM_OCULT\" "
                                "FROM F500RSV WHERE CODVEN = '12' AND   CODEMP = '1' AND MESMET = '12/2010'")
                     .arg(c[0], c[1], c[2], c[3], c[4])
                     .arg(i + 1);
    }
    EXPECT_EQ(select(parts.join(QStringLiteral(" UNION ")) + QStringLiteral(" ORDER BY 6, 7 ")).size(), 7);

    const QList<Row> pending = select(QStringLiteral(
        "SELECT P.CODCLI \"Cliente\", C.RAZCLI \"Razão Social\", P.CODPRO \"Produto\", R.DESPRO \"Descrição\", "
        "R.UNDPRO \"Und.\", R.DISPRO \"Estoque#(2)#\", P.QTDPEN \"Qtde.#(2)#\", P.VLRPEN \"Vl. Unit.#(3)#\", "
        "P.DATPEN \"DATA_OCULT\", (P.QTDPEN*P.VLRPEN) \"Pendência_OCULT\" FROM F500RPE P, F510CLI C, F511PRO R "
        "WHERE P.CODEMP = R.CODEMP AND P.CODCLI = C.CODCLI AND P.CODCCU = R.CODCCU AND P.CODPRO = R.CODPRO "
        "AND   P.DATPEN BETWEEN '01.03.2024' AND '31.03.2024' AND R.DISPRO > 0 "
        "ORDER BY P.DATPEN DESC, P.CODCLI, P.CODPRO "));
    ASSERT_EQ(pending.size(), 1);
    EXPECT_DOUBLE_EQ(num(pending[0][QStringLiteral("PENDÊNCIA_OCULT")], 3), 117.0);

    const QList<Row> print = select(QStringLiteral(
        "SELECT P.CODPDF||'          DATA : '||EXTRACT(DAY FROM P.DATPDF)||'/'||EXTRACT(MONTH FROM P.DATPDF)||'/'||"
        "EXTRACT(YEAR FROM P.DATPDF)||IIF(P.PDFORC = 'S','    -    O R Ç A M E N T O ',' ') \"PEDIDO_OCULT\", "
        "C.CODCLI||' - '||C.RAZCLI \"CLIENTE_OCULT\", trim(D.NOMCID)||'-'||D.ESTCID \"CIDADE_OCULT\", "
        "trim(N.DESCON)||' - '||trim(O.NOMOPE)||' - '||T.DESTRA \"COND. PAGTO._OCULT\", "
        "SUBSTRING('0000000'||I.CODPRO FROM (CHAR_LENGTH('0000000'||I.CODPRO)-6) FOR 7) \"Produto\", "
        "I.DESPRO \"Descrição\", I.UNDPRO \"Und.\", I.QTDPRO \"Quant.#(2)#\", I.VLRUNT \"Vl. Unitário#(3)#\", "
        "I.VLRTOT \"Tot. Item#(3)#\", IIF(I.VLRSTB IS NULL,0,I.VLRSTB) \"Subs. Trib.#(2)#\" "
        "FROM F530PDF P, F530IPF I, F510CLI C, F513TRA T, F513CON N, F513OPE O, F501CID D "
        "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODCLI = C.CODCLI AND P.CODNOV = C.CODNOV "
        "AND P.CODEMP = T.CODEMP AND P.CODTRA = T.CODTRA AND P.CODEMP = N.CODEMP AND P.CODCON = N.CODCON "
        "AND P.CODEMP = O.CODEMP AND P.CODOPE = O.CODOPE AND C.CODCID = D.CODCID AND P.CODEMP = D.CODEMP "
        "AND   P.CODEMP = '1' AND P.CODPDF = '4'"));
    ASSERT_EQ(print.size(), 1);
    EXPECT_TRUE(text(print[0]["PEDIDO_OCULT"]).contains(QStringLiteral("O R Ç A M E N T O")));
    EXPECT_EQ(text(print[0]["PRODUTO"]), QStringLiteral("0000046"));

    EXPECT_EQ(select(QStringLiteral(
                  "SELECT CODVEN||'-'||NOMVEN \"VENDEDOR\", METVEN \"META VENDAS#(2)#\", GERVEN \"VENDAS REAL.#(2)#\", "
                  "METCLI \"META CLIENTES#(2)#\", GERCLI \"CLIENTES REAL.#(2)#\", GERNOV \"CLIENTES NOVOS#(2)#\", "
                  "METPRO \"META MIX#(2)#\", GERPRO \"MIX REALI.#(2)#\", NOMSUP||'-'||MESMET \"SUPERVISOR_OCULT\" "
                  "FROM F500RSV WHERE CODSUP = '3' AND   CODEMP = '1' ORDER BY 3 desc, 1 ")).size(),
              2);

    const QList<Row> months = select(QStringLiteral("SELECT DISTINCT MESMET, DESDIF FROM F500RSV ORDER BY MESMET DESC"));
    ASSERT_EQ(months.size(), 2);
    EXPECT_EQ(text(months[0]["MESMET"]), QStringLiteral("12/2010"));
    const QList<Row> gauges = select(
        QStringLiteral("SELECT DISTINCT MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS, DESDIF, METDIF, GERDIF, "
                       "CAST('01/'||MESMET AS DATE) FROM F500RSV WHERE CODEMP = :PCODEMP AND CODVEN = :PCODVEN "
                       "ORDER BY CAST('01/'||MESMET AS DATE) DESC"),
        {{"PCODEMP", "1"}, {"PCODVEN", "12"}});
    ASSERT_EQ(gauges.size(), 2);
    EXPECT_EQ(text(gauges[0]["MESMET"]), QStringLiteral("01/2011"));
}

// Guards the outbound package's selects: typed orders with items, their items, changed customers
// with the seller literal as a quoted alias, unsent messages per recipient, read receipts, typed
// flex movements and decided bonus orders.
TEST_F(SchemaContract, OutboundPackageSelects)
{
    seed();
    const QString orders = QStringLiteral(
        "SELECT DISTINCT P.CODEMP, P.CODPDF, P.CODTAB, P.DATPDF, P.CODCLI, P.CODNOV, P.TOTPDF, P.TOTFLX, P.CODTRA, "
        "P.CODCON, P.CODOPE, 'D' AS SITPDF, P.CODVEN, P.OBSCLI, P.MOTCAN, P.SITFLX, P.RETPDV, P.VENSUB "
        "FROM F530PDF P, F530IPF I WHERE P.CODEMP = I.CODEMP AND   P.CODPDF = I.CODPDF AND   P.SITPDF = 'D' "
        "AND   P.PDFORC = 'N'");
    EXPECT_EQ(select(orders).size(), 1);
    EXPECT_EQ(select(QStringLiteral(
                  "SELECT DISTINCT I.CODEMP, I.CODCCU, I.CODPDF, I.CODPRO, P.CODINT, I.DESPRO, I.UNDPRO, I.QTDPRO, "
                  "I.VLRUNT, I.VLRTOT, I.USOFLX, I.QTDFAT, I.VLRFAT, I.FATPRO, I.MAXDCT, I.PRCVEN, I.PRCTAB, P.CODVEN, "
                  "I.VLRSTB, I.TABCOS, I.CODCOS, I.SITIPF, I.SITFLX, I.CODPDV FROM F530PDF P, F530IPF I WHERE "
                  "P.CODEMP = I.CODEMP AND   P.CODPDF = I.CODPDF AND   P.SITPDF = 'D' AND   P.PDFORC = 'N'")).size(),
              2);
    EXPECT_EQ(select(QStringLiteral(
                  "SELECT DISTINCT CODEMP,'12' \"VEN\", CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, CEPEND, "
                  "DDAEND, TEAEND, FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP, DESCHK, "
                  "STUCLI, OBSCLI, CODCID FROM F510CLI WHERE (STUCLI = 'A' OR STUCLI = 'N')")).size(),
              1);
    EXPECT_EQ(select(QStringLiteral(
                  "SELECT DISTINCT '7' USUREM, D.CODUSU, M.TITMSG, M.DESMSG, M.CODEMP, 'N' SITMSG, 'E' ENV "
                  "FROM F599MSG M, F599MDT D WHERE M.CODEMP = D.CODEMP AND   M.CODMSG = D.CODMSG AND   "
                  "M.ENVMSG = 'N' AND   M.CODEMP ='1'")).size(),
              2);
    execute(QStringLiteral("UPDATE F599MSG SET SITMSG = 'A' WHERE SITMSG = 'N' AND CODEMP = 1 AND CODMSG = 1"));
    const QList<Row> read = select(QStringLiteral("SELECT DISTINCT CODINT FROM F599MSG WHERE SITMSG = 'A' AND ENVMSG = 'R'"));
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(num(read[0]["CODINT"], 0), 801);
    EXPECT_EQ(select(QStringLiteral("SELECT DISTINCT CODMOV, CODEMP, CODSUP, CCUORI, VENORI, CCUDES, VENDES, DATMOV, "
                                    "TIPMOV, 'E' AS SITMOV, VLRMOV FROM F512MTF WHERE SITMOV = 'D'")).size(),
              1);
    EXPECT_TRUE(select(QStringLiteral("SELECT DISTINCT P.CODEMP, P.CODCCU, P.CODPDV, P.AUTBON FROM F530BON P "
                                      "WHERE AUTBON <> 'P'")).isEmpty());
    EXPECT_EQ(execute(QStringLiteral("UPDATE F599MSG SET ENVMSG = 'E' WHERE ENVMSG = 'N'")), 2);
}
