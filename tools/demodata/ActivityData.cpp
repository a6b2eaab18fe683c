#include "ActivityData.h"

#include "DemoContext.h"
#include "DemoRandom.h"
#include "DemoValues.h"
#include "DemoVocabulary.h"
#include "RowWriter.h"

#include <QSet>

#include <algorithm>
#include <cmath>

using namespace DemoValues;

ActivityData::ActivityData(DemoContext &context)
    : m_context(context)
{
}

void ActivityData::write()
{
    writeBonusOrders();
    writeFlexMovements();
    writeMessages();
    writeSummaries();
    writePending();
}

void ActivityData::writeBonusOrders()
{
    DemoRandom &random = m_context.random;
    RowWriter headers(m_context.loader, QStringLiteral("F530BON"),
                      {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPDV"),
                       QStringLiteral("DATPDF"), QStringLiteral("CODCLI"), QStringLiteral("RAZCLI"),
                       QStringLiteral("TOTPDF"), QStringLiteral("AUTBON"), QStringLiteral("CODVEN"),
                       QStringLiteral("CODTRA"), QStringLiteral("CODOPE"), QStringLiteral("CODCON")});
    RowWriter items(m_context.loader, QStringLiteral("F530IBO"),
                    {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPDV"),
                     QStringLiteral("CODPRO"), QStringLiteral("DESPRO"), QStringLiteral("UNDPRO"),
                     QStringLiteral("QTDPRO"), QStringLiteral("VLRUNT"), QStringLiteral("VLRTOT"),
                     QStringLiteral("USOFLX"), QStringLiteral("QTDFAT"), QStringLiteral("VLRFAT"),
                     QStringLiteral("FATPRO"), QStringLiteral("MAXDCT"), QStringLiteral("PRCVEN"),
                     QStringLiteral("PRCTAB")});
    const int count = m_context.scale.large ? 200 : 10;
    const QList<int> sellers = m_context.sellers.keys();
    for (int n = 0; n < count; ++n) {
        const int order = 900001 + n;
        // Pending first (the console opens on them), then decided ones of both kinds.
        const QString decision = n < count * 6 / 10 ? QStringLiteral("P") : n % 2 ? QStringLiteral("A") : QStringLiteral("N");
        const DemoCustomer *customer = nullptr;
        while (!customer || customer->codcli == 0 || customer->situation != u"A")
            customer = &m_context.customers.at(random.between(0, int(m_context.customers.size()) - 1));
        const int seller = n % 3 == 0 ? m_context.userSeller : random.pick(sellers);
        const int ccu = random.between(1, 3);
        QList<int> pool;
        for (int i = 0; i < m_context.products.size(); ++i)
            if (m_context.products[i].ccu == ccu)
                pool << i;
        double total = 0;
        QSet<int> chosen;
        const int lines = random.between(1, 4);
        for (int l = 0; l < lines; ++l) {
            const int productIndex = random.pick(pool);
            if (chosen.contains(productIndex))
                continue;
            chosen.insert(productIndex);
            const DemoProduct &p = m_context.products[productIndex];
            const double price = p.tablePrice[0];
            const double quantity = p.factor * random.between(1, 4);
            const double itemTotal = round(price * quantity, 3);
            total += itemTotal;
            items.add({code(m_context.company), code(ccu), code(order), code(p.code), text(p.description),
                       text(p.unit), dec(quantity, 2), dec(price, 3), dec(itemTotal, 3), dec(0, 2),
                       dec(decision == u"A" ? quantity : 0.0, 2), dec(decision == u"A" ? price : 0.0, 2),
                       dec(p.factor, 3), dec(0, 2), dec(price, 3), dec(price, 3)});
        }
        headers.add({code(m_context.company), code(ccu), code(order),
                     date(m_context.today.addDays(-random.between(0, 20))), code(customer->codcli),
                     text(customer->name), dec(total, 2), text(decision), code(seller), code(2), code(4), code(7)});
    }
}

void ActivityData::writeFlexMovements()
{
    RowWriter rows(m_context.loader, QStringLiteral("F512MTF"),
                   {QStringLiteral("CODMOV"), QStringLiteral("CODEMP"), QStringLiteral("CODSUP"),
                    QStringLiteral("DATMOV"), QStringLiteral("VENORI"), QStringLiteral("VENDES"),
                    QStringLiteral("TIPMOV"), QStringLiteral("SITMOV"), QStringLiteral("VLRMOV"),
                    QStringLiteral("CCUORI"), QStringLiteral("CCUDES")});
    const QDate today = m_context.today;
    const struct { int days, from, to; const char *kind, *state; double value; bool server; } moves[] = {
        {40, 12, 14, "M", "R", 150.00, true},  // transfer recorded by the central system
        {25, 21, 12, "M", "R", 300.00, true},
        {18, 15, 0, "A", "R", 80.00, true},    // advance, no destination
        {10, 14, 23, "M", "N", 200.00, true},  // refused by the central system
        {6, 12, 15, "M", "E", 50.00, true},    // sent, awaiting the central system
        {1, 21, 12, "M", "D", 120.00, false},  // typed on the notebook, can still be deleted
        {0, 23, 0, "A", "D", 60.00, false},
    };
    int number = 1;
    for (const auto &m : moves)
        rows.add({code(number++), code(m_context.company), code(m_context.supervisor), date(today.addDays(-m.days)),
                  code(m.from), m.to ? code(m.to) : null(), text(QString::fromLatin1(m.kind)),
                  text(QString::fromLatin1(m.state)), dec(m.value, 2), m.server ? code(1) : null(),
                  m.server && m.to ? code(1) : null()});
}

void ActivityData::writeMessages()
{
    RowWriter messages(m_context.loader, QStringLiteral("F599MSG"),
                       {QStringLiteral("CODEMP"), QStringLiteral("CODMSG"), QStringLiteral("USUREM"),
                        QStringLiteral("TITMSG"), QStringLiteral("DESMSG"), QStringLiteral("DATMSG"),
                        QStringLiteral("SITMSG"), QStringLiteral("ENVMSG"), QStringLiteral("CODINT")});
    RowWriter recipients(m_context.loader, QStringLiteral("F599MDT"),
                         {QStringLiteral("CODEMP"), QStringLiteral("CODMSG"), QStringLiteral("CODUSU")});
    const QDate today = m_context.today;
    const int senders[] = {3, 1, 3, 3, 2, 1, 3, 0};
    // Newest first: three unread, one read here and not yet reported, the rest read.
    const char *states[] = {"N", "N", "N", "A", "L", "L", "L", "L"};
    const int ages[] = {0, 1, 2, 4, 7, 12, 20, 33};
    const QList<DemoVocabulary::MessageText> received = DemoVocabulary::receivedMessages();
    int number = 1;
    for (int i = 0; i < received.size(); ++i)
        messages.add({code(m_context.company), code(number++), code(senders[i]), text(received[i].title),
                      text(received[i].text), date(today.addDays(-ages[i])), text(QString::fromLatin1(states[i])),
                      text(QStringLiteral("R")), code(88001 + i)});

    const QList<DemoVocabulary::MessageText> written = DemoVocabulary::writtenMessages();
    const QList<QList<int>> to = {{3}, {3, 1, 2, 9, 10, 11, 12}, {3, 9}};
    const char *sent[] = {"E", "E", "N"};
    const int writtenAges[] = {9, 3, 0};
    for (int i = 0; i < written.size(); ++i) {
        const int message = number++;
        messages.add({code(m_context.company), code(message), code(m_context.userCode), text(written[i].title),
                      text(written[i].text), date(today.addDays(-writtenAges[i])), text(QStringLiteral("L")),
                      text(QString::fromLatin1(sent[i])), null()});
        for (int user : to[i])
            recipients.add({code(m_context.company), code(message), code(user)});
    }
}

void ActivityData::writeSummaries()
{
    DemoRandom &random = m_context.random;
    RowWriter rows(m_context.loader, QStringLiteral("F500RSV"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODVEN"), QStringLiteral("NOMVEN"),
                    QStringLiteral("CODSUP"), QStringLiteral("NOMSUP"), QStringLiteral("MESMET"),
                    QStringLiteral("METVEN"), QStringLiteral("GERVEN"), QStringLiteral("GERDEZ"),
                    QStringLiteral("METEQP"), QStringLiteral("GEREQP"), QStringLiteral("VLRCOS"),
                    QStringLiteral("DESDIF"), QStringLiteral("METDIF"), QStringLiteral("GERDIF"),
                    QStringLiteral("FLXDSP"), QStringLiteral("FLXGER"), QStringLiteral("METCLI"),
                    QStringLiteral("GERCLI"), QStringLiteral("GERNOV"), QStringLiteral("SUBVEN"),
                    QStringLiteral("SUBCLI"), QStringLiteral("METPRO"), QStringLiteral("GERPRO")});
    const QStringList lines = {QStringLiteral("LINHA DE LIMPEZA PROFISSIONAL"), QStringLiteral("BEBIDAS"),
                               QStringLiteral("MATINAIS"), QStringLiteral("MERCEARIA SECA")};
    const QMap<int, double> baseGoal = {{12, 120000}, {14, 95000}, {15, 80000}, {21, 110000}, {23, 60000}};
    const QDate today = m_context.today;
    // Thirteen months up to the current one, so a year change is among them.
    for (int back = 12; back >= 0; --back) {
        const QDate month = QDate(today.year(), today.month(), 1).addMonths(-back);
        const bool current = back == 0;
        const double progress = current ? double(today.day()) / month.daysInMonth() : 1.0;
        const int tenDay = current ? std::min(2, (today.day() - 1) / 10) : 2;
        const double tenDayShare = current ? (today.day() - tenDay * 10) / 10.0 : 1.0;
        struct Line { int seller; double goal, sales; };
        QList<Line> team;
        double teamGoal = 0, teamSales = 0;
        for (auto it = baseGoal.cbegin(); it != baseGoal.cend(); ++it) {
            const double goal = std::round(it.value() * (1.0 + 0.08 * std::sin(month.month())) / 1000.0) * 1000.0;
            const double sales = round(goal * random.real(0.72, 1.15) * progress, 2);
            team << Line{it.key(), goal, sales};
            teamGoal += goal;
            teamSales += sales;
        }
        for (const Line &l : team) {
            const DemoSeller &seller = m_context.sellers[l.seller];
            const double tenDaySales = round(l.goal / 3.0 * random.real(0.6, 1.2) * std::min(1.0, tenDayShare), 2);
            const double lineGoal = std::round(l.goal * 0.12 / 100.0) * 100.0;
            const int customerGoal = random.between(110, 180);
            // The seller's goal window and summaries show a month beyond its goal (last month)
            // and a month without a sales goal (the oldest).
            double goal = l.goal, sales = l.sales;
            if (l.seller == m_context.userSeller && back == 1)
                sales = round(goal * 1.12, 2);
            if (l.seller == m_context.userSeller && back == 12)
                goal = 0;
            rows.add({code(m_context.company), code(l.seller), text(seller.name), code(m_context.supervisor),
                      text(QStringLiteral("ROBERTO CARLOS MOREIRA")),
                      text(month.toString(QStringLiteral("MM/yyyy"))), dec(goal, 2), dec(sales, 2),
                      dec(tenDaySales, 2), dec(teamGoal, 2), dec(teamSales, 2), dec(sales * 0.031, 2),
                      text(lines[month.month() % lines.size()]), dec(lineGoal, 2),
                      dec(lineGoal * random.real(0.5, 1.2) * progress, 2),
                      dec(l.seller == m_context.userSeller ? m_context.flexTarget : seller.balance, 2),
                      dec(seller.accumulated, 2), code(customerGoal),
                      code(int(customerGoal * random.real(0.6, 1.05) * progress)), code(random.between(0, 8)),
                      dec(random.chance(0.5) ? random.between(0, 3000) : 0, 2), code(random.between(0, 4)),
                      dec(random.between(55, 65), 2), dec(random.real(35, 75) * progress, 2)});
        }
    }
}

void ActivityData::writePending()
{
    DemoRandom &random = m_context.random;
    RowWriter rows(m_context.loader, QStringLiteral("F500RPE"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCLI"), QStringLiteral("CODCCU"),
                    QStringLiteral("CODPRO"), QStringLiteral("QTDPEN"), QStringLiteral("VLRPEN"),
                    QStringLiteral("DATPEN")});
    for (int n = 0; n < m_context.scale.pendingRows; ++n) {
        const DemoCustomer &c = m_context.customers.at(random.between(0, int(m_context.customers.size()) - 3));
        // Showcase products 5 and 6 (no stock) appear too, for the "Somente em Estoque" filter.
        const int productIndex = n < 2 ? 4 + n : random.between(0, int(m_context.products.size()) - 1);
        const DemoProduct &p = m_context.products[productIndex];
        rows.add({code(m_context.company), code(c.codcli), code(p.ccu), code(p.code),
                  dec(p.factor * random.between(1, 5), 2), dec(p.tablePrice[0], 3),
                  date(m_context.today.addDays(-random.between(0, 60)))});
    }
}
