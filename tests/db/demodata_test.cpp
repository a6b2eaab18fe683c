// Runs korvex-demodata (built next to this test) for a fixed day and checks that the file it
// writes lets a demonstration reach every commercial rule, with consistent figures.

#include "D500DAT.h"
#include "FirebirdConnection.h"
#include "PastaDemo.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

const QDate kToday(2026, 12, 9); // a Wednesday in week 2 of its month

QString generatorPath()
{
    return PastaDemo::gerador();
}

// Runs the generator; returns its output, or fails the test.
QString generate(const QString &folder, const QString &seed)
{
    QString error;
    const QString output = PastaDemo::gera(folder, kToday, seed, &error);
    if (output.isEmpty())
        ADD_FAILURE() << error.toStdString();
    return output;
}

using Row = QVariantMap;

double num(const QVariant &value, int scale = 2)
{
    const double factor = std::pow(10.0, scale);
    return std::round(value.toDouble() * factor) / factor;
}

class DemoData : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Each suite works on its own copy: the embedded engine lets one process at a time open a file.
        s_dir = new QTemporaryDir();
        QString error;
        if (!PastaDemo::copia(kToday, s_dir->path(), &error))
            ADD_FAILURE() << error.toStdString();
    }

    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(generatorPath())) << "build korvex-demodata first";
        m_cnx = std::make_unique<FirebirdConnection>(QStringLiteral("demodata_test"));
        m_cnx->setDatabaseName(s_dir->filePath(QStringLiteral("ORVALIS.FDB")));
        m_cnx->open();
    }

    QList<Row> select(const QString &sql, const QVariantMap &params = {})
    {
        QList<Row> rows;
        QSqlQuery q = m_cnx->query();
        if (!q.prepare(sql)) {
            ADD_FAILURE() << q.lastError().text().toStdString() << "\n" << sql.toStdString();
            return rows;
        }
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            q.bindValue(u':' + it.key(),
                        it.value().typeId() == QMetaType::QDate ? it.value() : QVariant(it.value().toString()));
        if (!q.exec()) {
            ADD_FAILURE() << q.lastError().text().toStdString() << "\n" << sql.toStdString();
            return rows;
        }
        // record() asks the catalogue on this driver: once per statement, not per row.
        const QSqlRecord record = q.record();
        while (q.next()) {
            Row row;
            for (int i = 0; i < record.count(); ++i)
                row.insert(record.fieldName(i).toUpper(), q.value(i));
            rows << row;
        }
        return rows;
    }

    QSet<QString> texts(const QString &sql)
    {
        QSet<QString> set;
        for (const Row &r : select(sql))
            set.insert(r.first().toString().trimmed());
        return set;
    }

    int count(const QString &sql) { return select(sql).value(0).first().toInt(); }

    static QTemporaryDir *s_dir;
    std::unique_ptr<FirebirdConnection> m_cnx;
};

QTemporaryDir *DemoData::s_dir = nullptr;

} // namespace

// Guards the demo login: user MARCOS with password "venda123" scrambled as the login reads it,
// the session values of the brief, and a flex balance equal to what order entry computes.
TEST_F(DemoData, UserLogsInAsMarcosWithItsSession)
{
    const QList<Row> users = select(QStringLiteral("SELECT * FROM F599USU"));
    ASSERT_EQ(users.size(), 1);
    const Row &u = users[0];
    EXPECT_EQ(u["NOMUSU"].toString(), QStringLiteral("MARCOS"));
    EXPECT_EQ(D500DAT::embaralhaSenha(u["SENUSU"].toString()), QStringLiteral("venda123"));
    EXPECT_EQ(num(u["CODUSU"], 0), 7);
    EXPECT_EQ(num(u["CODVEN"], 0), 12);
    EXPECT_EQ(num(u["CODSUP"], 0), 3);
    EXPECT_EQ(num(u["CODEMP"], 0), 1);
    EXPECT_EQ(num(u["CODCCU"], 0), 1);
    EXPECT_EQ(u["USASUP"].toString(), QStringLiteral("S"));
    EXPECT_EQ(u["HSTSRV"].toString(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(u["DATATL"].toDate(), kToday);
    EXPECT_DOUBLE_EQ(num(u["ACRTAB"]), 2.00);
    EXPECT_DOUBLE_EQ(num(u["DESRET"]), 3.00);
    EXPECT_EQ(u["ESTCID"].toString(), QStringLiteral("SP"));
    EXPECT_EQ(u["EXPSEN"].toString(), QStringLiteral("N"));
    EXPECT_EQ(u["EXPANT"].toString(), QStringLiteral("N"));
    EXPECT_TRUE(u["SENANT"].toString().isEmpty());

    const QList<Row> flex = select(QStringLiteral(
        "SELECT COALESCE(U.CNTSAL,0) - COALESCE(A.FLXABERTO,0) SALDOFLX FROM F512VEN U, (SELECT SUM(I.USOFLX) "
        "FLXABERTO FROM F530PDF P, F530IPF I WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODINT = "
        "I.CODINT AND P.SITFLX = 'N' AND P.CODEMP = '1' AND P.CODVEN = '12') A where U.CODEMP = '1' AND U.CODVEN = '12'"));
    ASSERT_EQ(flex.size(), 1);
    EXPECT_DOUBLE_EQ(num(flex[0]["SALDOFLX"]), num(u["SLDFLX"]));
    EXPECT_GT(num(u["SLDFLX"]), 0);
}

// Guards the registry: every stored CPF/CNPJ passes the registry's own check (a demo customer
// must not be refused when saved), and the credit figures agree with the titles.
TEST_F(DemoData, CustomersCarryValidTaxNumbersAndConsistentTitles)
{
    const QList<Row> customers = select(QStringLiteral("SELECT CODCLI, CODNOV, CPFCGC, ABTCLI, ATRCLI FROM F510CLI"));
    ASSERT_GT(customers.size(), 100);
    int persons = 0;
    for (const Row &c : customers) {
        const QString number = c["CPFCGC"].toString();
        const bool person = number.size() <= 14;
        persons += person;
        EXPECT_EQ(number.size(), person ? 14 : 18) << number.toStdString();
        EXPECT_TRUE(D500DAT::validaCpfCnpj(person ? QStringLiteral("F") : QStringLiteral("J"), number))
            << number.toStdString();
    }
    EXPECT_GT(persons, 0);
    const QList<Row> mismatched = select(QStringLiteral(
        "SELECT C.CODCLI FROM F510CLI C LEFT JOIN (SELECT CODCLI, SUM(VLRTRC) ABERTO, "
        "SUM(IIF(DIAVCT > 0, VLRTRC, 0)) VENCIDO FROM F550TRC GROUP BY CODCLI) T ON T.CODCLI = C.CODCLI "
        "WHERE C.CODCLI > 0 AND (COALESCE(T.ABERTO, 0) <> C.ABTCLI OR COALESCE(T.VENCIDO, 0) <> C.ATRCLI)"));
    EXPECT_TRUE(mismatched.isEmpty());
}

// Guards the showcase customers the README names: blocked, inactive, warning, overdue, chain,
// exclusive condition, near the credit limit, another seller's, CPF, checkouts, another state,
// consumer sale only, changed here, and the two registered on the notebook.
TEST_F(DemoData, ShowcaseCustomersHaveTheirRules)
{
    QMap<int, Row> c;
    for (const Row &r : select(QStringLiteral("SELECT * FROM F510CLI WHERE CODCLI BETWEEN 1 AND 14")))
        c.insert(r["CODCLI"].toInt(), r);
    ASSERT_EQ(c.size(), 14);
    EXPECT_EQ(c[2]["SITCLI"].toString(), QStringLiteral("B"));
    EXPECT_EQ(c[3]["SITCLI"].toString(), QStringLiteral("I"));
    EXPECT_EQ(c[4]["EMIAVS"].toString(), QStringLiteral("S"));
    EXPECT_FALSE(c[4]["OBSCLI"].toString().isEmpty());
    EXPECT_GT(num(c[5]["ATRCLI"]), 0);
    EXPECT_EQ(c[6]["REDE"].toString(), QStringLiteral("S"));
    EXPECT_EQ(num(c[6]["CODRED"], 0), 1);
    EXPECT_GT(num(c[8]["ABTCLI"]) + 200, num(c[8]["LIMCRE"]));
    EXPECT_EQ(num(c[9]["CODVEN"], 0), 15);
    EXPECT_EQ(c[10]["CPFCGC"].toString().size(), 14);
    EXPECT_EQ(c[11]["DESCHK"].toString(), QStringLiteral("5 A 9"));
    EXPECT_EQ(c[14]["STUCLI"].toString(), QStringLiteral("A"));
    EXPECT_EQ(select(QStringLiteral("SELECT C.CODCLI FROM F510CLI C, F501CID D WHERE C.CODCID = D.CODCID "
                                    "AND C.CODCLI = 12 AND D.ESTCID = 'MG'")).size(), 1);
    EXPECT_EQ(texts(QStringLiteral("SELECT CODNOV FROM F510CLI WHERE CODCLI = 0 AND STUCLI = 'N'")),
              (QSet<QString>{QStringLiteral("9900001"), QStringLiteral("9900002")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F510OPC WHERE CODCLI = 0")), 3);
}

// Guards the header rules: conditions offered (exclusive ones hide the other normal ones), the
// no-debit conditions, bonus and title transactions, and an operation one cost centre refuses.
TEST_F(DemoData, CommercialRulesAreAllReachable)
{
    const QString conditions = QStringLiteral(
        "SELECT CODCON FROM F513CON WHERE TIPCON = 'N' AND SEMDBT = 'S' AND CODEMP = :PCODEMP UNION "
        "SELECT CODCON FROM F513CON WHERE TIPCON = 'N' AND CODEMP = :PCODEMP AND (SELECT COUNT(*) FROM F510CPC P, "
        "F513CON C WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI "
        "AND P.CODEMP = :PCODEMP) = 0 UNION SELECT P.CODCON FROM F510CPC P, F513CON C WHERE P.CODCON = C.CODCON "
        "AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI AND P.CODEMP = :PCODEMP");
    auto offered = [&](const QString &customer) {
        QSet<int> set;
        for (const Row &r : select(conditions, {{"PCODEMP", "1"}, {"PCODCLI", customer}}))
            set.insert(r["CODCON"].toInt());
        return set;
    };
    EXPECT_EQ(offered("6"), (QSet<int>{7, 8, 9}));
    EXPECT_EQ(offered("7"), (QSet<int>{7, 8, 10}));
    EXPECT_EQ(offered("1"), (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    const QSet<QString> days = texts(QStringLiteral("SELECT CAST(MAXDIA AS INTEGER) FROM F513CON"));
    for (const char *d : {"0", "28", "30", "60"})
        EXPECT_TRUE(days.contains(QString::fromLatin1(d))) << d;
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F513CON WHERE PDVMIN > 0")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F513TRA WHERE GERBON = 'S'")), 1);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F513TRA WHERE GERTIT = 'S'")), 0);
    EXPECT_EQ(texts(QStringLiteral("SELECT TEMFLU FROM F513OPE")), (QSet<QString>{"S", "N"}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F513OCU WHERE CODCCU = 2 AND CODOPE = 3")), 0);
    const QList<Row> allowed = select(QStringLiteral(
        "SELECT DISTINCT O.NOMOPE FROM F513OPE O, F510OPC C WHERE O.CODOPE = C.CODOPE AND O.CODEMP = C.CODEMP AND "
        "C.CODCLI = '13' AND O.CODOPE IN (SELECT CODOPE FROM F513OCU WHERE CODEMP = '1' AND CODCCU = '2')"));
    ASSERT_EQ(allowed.size(), 1);
    EXPECT_EQ(allowed[0]["NOMOPE"].toString().trimmed(), QStringLiteral("REMESSA EM BONIFICAÇÃO"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F513DES WHERE PORDES IS NULL")), 1);
}

// Guards the pricing rules on the showcase products as the product picker reads them (table 1,
// with the commission maxima and today's promotions), and that no product of a table is lost to
// a commission scale without steps.
TEST_F(DemoData, ProductPickerFindsThePricingRules)
{
    const QString sql = QStringLiteral(
        "SELECT P.CODPRO, P.FATPRO, P.DISPRO, T.RJTTAB, T.SITALT, T.DATALT, IIF(C.MAXDCT = 0,T.MAXDCT,C.MAXDCT) MAXDCT, "
        "R.PRZMAX, R.VLRPRM, F.RETPDV FROM F511PRO P, F511FAM F, F511TAB T LEFT JOIN (SELECT * FROM F511PRM WHERE "
        "DATINI <= :HOJE AND DATFIM >= :HOJE) R ON T.CODEMP = R.CODEMP AND T.CODCCU = R.CODCCU AND T.CODPRO = R.CODPRO, "
        "F511GFA G, F511IFA I, (SELECT CODEMP, CODCOS, MAX(PCTDCT) MAXDCT FROM F512COS GROUP BY CODEMP, CODCOS) C "
        "WHERE T.CODEMP = P.CODEMP AND T.CODCCU = P.CODCCU AND T.CODPRO = P.CODPRO AND P.CODFAM = F.CODFAM AND "
        "P.CODCCU = F.CODCCU AND P.CODEMP = F.CODEMP AND F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU AND F.CODEMP = "
        "I.CODEMP AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA AND T.CODCOS = C.CODCOS "
        "AND T.CODEMP = C.CODEMP AND P.CODEMP = 1 AND T.CODTAB = 1");
    QMap<int, Row> p;
    for (const Row &r : select(sql, {{"HOJE", kToday}}))
        p.insert(r["CODPRO"].toInt(), r);
    EXPECT_EQ(p.size(), count(QStringLiteral("SELECT COUNT(*) FROM F511TAB WHERE CODTAB = 1")));
    ASSERT_TRUE(p.contains(12));
    EXPECT_EQ(num(p[1]["PRZMAX"], 0), 28);                  // refused under 30 days, fine under 28
    EXPECT_DOUBLE_EQ(num(p[1]["VLRPRM"], 3), 22.90);
    EXPECT_EQ(p[1]["RETPDV"].toString(), QStringLiteral("S")); // pick-up discount family
    EXPECT_EQ(num(p[2]["PRZMAX"], 0), 60);
    EXPECT_DOUBLE_EQ(num(p[2]["MAXDCT"]), 7.00);             // scale whose maximum is 0
    EXPECT_EQ(num(p[2]["FATPRO"], 0), 12);
    EXPECT_LT(num(p[3]["RJTTAB"]), 0);                       // no discount allowed
    EXPECT_TRUE(p[4]["VLRPRM"].isNull());                    // its promotion starts later
    EXPECT_EQ(num(p[5]["DISPRO"]), 0);
    EXPECT_EQ(p[5]["SITALT"].toString(), QStringLiteral("S"));
    EXPECT_LT(num(p[6]["DISPRO"]), 0);
    EXPECT_EQ(num(p[9]["PRZMAX"], 0), 60);                   // starts today
    EXPECT_EQ(p[11]["DATALT"].toDate(), kToday.addDays(-5)); // listed by "Alterações de Preço"
    EXPECT_EQ(p[12]["DATALT"].toDate(), kToday.addDays(-6)); // not listed

    const QSet<QString> factors = texts(QStringLiteral("SELECT CAST(FATPRO AS INTEGER) FROM F511PRO"));
    for (const char *f : {"1", "6", "12", "24"})
        EXPECT_TRUE(factors.contains(QString::fromLatin1(f))) << f;
    const QList<Row> coming = select(
        QStringLiteral("SELECT R.CODPRO FROM F511PRO P, F511PRM R WHERE P.CODEMP = R.CODEMP AND P.CODCCU = R.CODCCU "
                       "AND P.CODPRO = R.CODPRO AND P.CODEMP = :PCODEMP AND R.DATINI >= :PDATINI AND R.DATINI <= :PDATFIM"),
        {{"PCODEMP", "1"}, {"PDATINI", kToday}, {"PDATFIM", kToday.addYears(100)}});
    QSet<int> comingCodes;
    for (const Row &r : coming)
        comingCodes.insert(r["CODPRO"].toInt());
    EXPECT_TRUE(comingCodes.contains(4));
    EXPECT_TRUE(comingCodes.contains(9));
    EXPECT_FALSE(comingCodes.contains(1));
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F511IMP WHERE ALISTR > 0 AND ESTCID = 'SP'")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F511IMP WHERE ALISTR > 0 AND ESTCID = 'MG'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT CODTAB) FROM F511TAB")), 3);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(DISTINCT CODCCU) FROM F511PRO")), 1);
}

// Guards the orders: every state, budgets, partial invoicing, headers whose totals and flex are
// the sums of their items, items of known products, promotional items at the promotion price.
TEST_F(DemoData, OrdersCoverEveryStateWithConsistentTotals)
{
    EXPECT_EQ(texts(QStringLiteral("SELECT DISTINCT SITPDF FROM F530PDF")),
              (QSet<QString>{"D", "L", "E", "O", "A", "F", "C"}));
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'S' AND SITPDF = 'D' AND CODINT = 0")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'N' AND SITPDF = 'D' AND CODINT = 0")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF P JOIN F530IPF I ON I.CODEMP = P.CODEMP AND "
                                   "I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT WHERE P.SITPDF = 'F' AND "
                                   "I.SITIPF <> 'C' AND I.QTDFAT <> I.QTDPRO")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE SITPDF = 'E' AND EXISTS (SELECT 1 FROM F530IPF I "
                                   "WHERE I.CODEMP = F530PDF.CODEMP AND I.CODPDF = F530PDF.CODPDF AND I.QTDPRO > I.QTDFAT "
                                   "AND I.QTDFAT > 0)")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE VENSUB = 12 AND CODVEN <> 12")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE RETPDV = 'S'")), 0);
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM F530PDF P WHERE P.TOTPDF <> (SELECT CAST(SUM(I.VLRTOT) AS NUMERIC(15,2)) FROM F530IPF I "
                  "WHERE I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT) OR P.TOTFLX <> (SELECT "
                  "SUM(I.USOFLX) FROM F530IPF I WHERE I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT)")),
              0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF I WHERE NOT EXISTS (SELECT 1 FROM F511PRO P WHERE "
                                   "P.CODEMP = I.CODEMP AND P.CODCCU = I.CODCCU AND P.CODPRO = I.CODPRO)")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE ITMPRM = 'S' AND (VLRUNT <> VLRPRM OR USOFLX <> 0)")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE ITMPRM = 'S'")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE VLRSTB > 0")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE USOFLX > 0")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE GERFLX > 0")), 0);
    // Items in a bonus transaction exist, so the last prices have something to leave out.
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF P, F513TRA T WHERE P.CODTRA = T.CODTRA AND T.GERBON = 'S'")), 0);
}

// Guards the route: every weekday 1..7 in every week 1..5 lists customers; today's slot lists the
// showcase customers but not the blocked one, and customers with an order today come first.
TEST_F(DemoData, RouteCoversEveryDayAndWeek)
{
    const QString route = QStringLiteral(
        "SELECT DISTINCT C.CODCLI, COALESCE(P.CODCLI,0) TEMPED FROM F510CLI C LEFT JOIN (SELECT CODEMP, CODCLI FROM "
        "F530PDF WHERE SITPDF <> 'C' AND DATPDF = :PDATPDV) P ON C.CODEMP = P.CODEMP AND C.CODCLI = P.CODCLI, F510ROT R "
        "WHERE C.CODCLI = R.CODCLI AND C.CODEMP = R.CODEMP AND C.SITCLI <> 'B' AND R.DIASEM LIKE :PDIASEM AND "
        "R.SEMMES LIKE :PSEMMES order by TEMPED desc");
    for (int day = 1; day <= 7; ++day)
        for (int week = 1; week <= 5; ++week)
            EXPECT_FALSE(select(route, {{"PDATPDV", kToday}, {"PDIASEM", day}, {"PSEMMES", week}}).isEmpty())
                << day << "/" << week;

    const QList<Row> today = select(route, {{"PDATPDV", kToday}, {"PDIASEM", kToday.dayOfWeek()}, {"PSEMMES", (kToday.day() - 1) / 7 + 1}});
    QSet<int> codes;
    for (const Row &r : today)
        codes.insert(r["CODCLI"].toInt());
    for (int code : {1, 4, 5, 6})
        EXPECT_TRUE(codes.contains(code)) << code;
    EXPECT_FALSE(codes.contains(2));
    ASSERT_FALSE(today.isEmpty());
    EXPECT_GT(today[0]["TEMPED"].toInt(), 0);
}

// Guards the supervisor console, messages, goals and pending items: pending and decided bonus
// orders with items, movements still deletable, an advance, unread and read messages, sent and
// unsent ones with their recipients, thirteen goal months across a year change, pending rows of
// products without stock.
TEST_F(DemoData, SupervisorMessagesGoalsAndPending)
{
    EXPECT_EQ(texts(QStringLiteral("SELECT DISTINCT AUTBON FROM F530BON")), (QSet<QString>{"P", "A", "N"}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530BON B WHERE NOT EXISTS (SELECT 1 FROM F530IBO I WHERE "
                                   "I.CODEMP = B.CODEMP AND I.CODCCU = B.CODCCU AND I.CODPDV = B.CODPDV)")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F512MTF WHERE SITMOV = 'D' AND CODSUP = 3")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F512MTF WHERE TIPMOV = 'A' AND VENDES IS NULL")), 0);

    EXPECT_EQ(texts(QStringLiteral("SELECT DISTINCT SITMSG FROM F599MSG WHERE ENVMSG = 'R'")),
              (QSet<QString>{"N", "A", "L"}));
    const QList<Row> sent = select(QStringLiteral(
        "SELECT DISTINCT M.CODMSG, P.nomdst, M.ENVMSG FROM F599MSG M, prc_lista_dst P WHERE M.CODEMP = P.CODEMP AND "
        "M.CODMSG = P.CODMSG AND M.CODEMP = '1' AND M.USUREM = '7' AND M.ENVMSG in ('N','E') ORDER BY M.CODMSG"));
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[2]["ENVMSG"].toString(), QStringLiteral("N"));
    EXPECT_FALSE(sent[0]["NOMDST"].toString().isEmpty());

    const QSet<QString> months = texts(QStringLiteral("SELECT DISTINCT MESMET FROM F500RSV WHERE CODVEN = 12"));
    EXPECT_EQ(months.size(), 13);
    EXPECT_TRUE(months.contains(QStringLiteral("12/2025")));
    EXPECT_TRUE(months.contains(QStringLiteral("01/2026")));
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F500RSV WHERE CODSUP = 3 AND MESMET = '12/2026'")), 1);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM F500RPE P, F511PRO R WHERE P.CODEMP = R.CODEMP AND "
                                   "P.CODCCU = R.CODCCU AND P.CODPRO = R.CODPRO AND R.DISPRO <= 0")), 0);
}

// Guards SisCon.ini: the three keys, Windows-1252 bytes for the accented company name (not UTF-8),
// Windows line ends.
TEST_F(DemoData, ConfigurationFileIsWindows1252)
{
    QFile file(s_dir->filePath(QStringLiteral("SisCon.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("[CONFIG]\r\n"));
    EXPECT_TRUE(bytes.contains("PORTA_KQX=5111\r\n"));
    EXPECT_TRUE(bytes.contains("EMPRESA=Horizonte Distribui\xE7\xE3o de Alimentos Ltda\r\n"));
    EXPECT_TRUE(bytes.contains("COR=clSkyBlue\r\n"));
    EXPECT_FALSE(bytes.contains('\xC3'));
}

// Guards determinism: the same seed and day give the same rows; another seed other rows.
TEST_F(DemoData, SameSeedSameRows)
{
    auto digest = [](const QString &folder) {
        FirebirdConnection cnx(QStringLiteral("demodata_digest"));
        cnx.setDatabaseName(QDir(folder).filePath(QStringLiteral("ORVALIS.FDB")));
        cnx.open();
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (const char *sql : {"SELECT * FROM F510CLI ORDER BY CODCLI, CODNOV",
                                "SELECT * FROM F511TAB ORDER BY CODPRO, CODTAB",
                                "SELECT * FROM F530IPF ORDER BY CODPDF, CODCCU, CODPRO"}) {
            QSqlQuery q = cnx.query();
            EXPECT_TRUE(q.exec(QString::fromLatin1(sql)));
            const int columns = q.record().count();
            while (q.next())
                for (int i = 0; i < columns; ++i)
                    hash.addData(q.value(i).toString().toUtf8() + '|');
        }
        return hash.result();
    };
    QTemporaryDir same, other;
    generate(same.path(), QStringLiteral("1"));
    generate(other.path(), QStringLiteral("2"));
    m_cnx.reset(); // one attachment at a time keeps the embedded engine simple
    const QByteArray first = digest(s_dir->path());
    EXPECT_EQ(digest(same.path()), first);
    EXPECT_NE(digest(other.path()), first);
}
