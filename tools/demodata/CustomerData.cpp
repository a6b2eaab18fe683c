#include "CustomerData.h"

#include "DemoContext.h"
#include "DemoRandom.h"
#include "DemoValues.h"
#include "DemoVocabulary.h"
#include "RowWriter.h"
#include "TaxNumbers.h"

#include <algorithm>

using namespace DemoValues;

namespace {

QString typePrefix(int type)
{
    switch (type) {
    case 1: return QStringLiteral("SUPERMERCADO");
    case 2: return QStringLiteral("MERCEARIA");
    case 3: return QStringLiteral("PADARIA");
    case 4: return QStringLiteral("ATACADÃO");
    case 5: return QStringLiteral("HIPERMERCADO");
    case 6: return QStringLiteral("BAR E LANCHONETE");
    case 7: return QStringLiteral("RESTAURANTE");
    case 8: return QStringLiteral("DROGARIA");
    default: return QStringLiteral("CONVENIÊNCIA");
    }
}

bool hasCheckouts(int type)
{
    return type == 1 || type == 5 || type == 9;
}

double creditFor(int type, DemoRandom &random)
{
    switch (type) {
    case 1: return random.between(15, 60) * 1000.0;
    case 4: return random.between(30, 90) * 1000.0;
    case 5: return random.between(80, 200) * 1000.0;
    default: return random.between(4, 16) * 500.0;
    }
}

QString digits(DemoRandom &random, int count)
{
    QString t;
    for (int i = 0; i < count; ++i)
        t += QChar(u'0' + random.between(0, 9));
    return t;
}

} // namespace

CustomerData::CustomerData(DemoContext &context)
    : m_context(context)
{
}

DemoCustomer CustomerData::makeCustomer(int codcli)
{
    DemoRandom &random = m_context.random;
    DemoCustomer c;
    c.codcli = codcli;
    // Cities drawn by weight: most customers near the seller, in São Paulo state.
    int total = 0;
    const QList<DemoVocabulary::City> cities = DemoVocabulary::cities();
    for (const auto &city : cities)
        total += city.weight;
    int roll = random.between(1, total);
    int index = 0;
    for (; index < cities.size() - 1; ++index) {
        roll -= cities[index].weight;
        if (roll <= 0)
            break;
    }
    c.city = m_context.cities[index].code;
    c.state = m_context.cities[index].state;
    const int sit = random.between(1, 100);
    c.situation = sit <= 88 ? QStringLiteral("A") : sit <= 94 ? QStringLiteral("I") : QStringLiteral("B");
    const int seller = random.between(1, 100);
    c.seller = seller <= 86 ? 12 : seller <= 95 ? 15 : 14;
    c.table = random.chance(0.65) ? 1 : 2;
    return c;
}

void CustomerData::write()
{
    DemoRandom &random = m_context.random;
    RowWriter customers(m_context.loader, QStringLiteral("F510CLI"),
                        {QStringLiteral("CODEMP"), QStringLiteral("CODCLI"), QStringLiteral("CODNOV"),
                         QStringLiteral("CODVEN"), QStringLiteral("RAZCLI"), QStringLiteral("FANCLI"),
                         QStringLiteral("ENDEND"), QStringLiteral("NUMEND"), QStringLiteral("BAIEND"),
                         QStringLiteral("CEPEND"), QStringLiteral("CODCID"), QStringLiteral("DDAEND"),
                         QStringLiteral("TEAEND"), QStringLiteral("FONEMB"), QStringLiteral("CNTEMB"),
                         QStringLiteral("EMLEMB"), QStringLiteral("FONLIM"), QStringLiteral("CNTLIM"),
                         QStringLiteral("EMLLIM"), QStringLiteral("CPFCGC"), QStringLiteral("NUMIES"),
                         QStringLiteral("CODTIP"), QStringLiteral("DESCHK"), QStringLiteral("SITCLI"),
                         QStringLiteral("STUCLI"), QStringLiteral("LIMCRE"), QStringLiteral("ABTCLI"),
                         QStringLiteral("ATRCLI"), QStringLiteral("EMIAVS"), QStringLiteral("OBSCLI"),
                         QStringLiteral("CODTAB"), QStringLiteral("CODRED"), QStringLiteral("REDE")});
    RowWriter titles(m_context.loader, QStringLiteral("F550TRC"),
                     {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPDV"),
                      QStringLiteral("NUMTRC"), QStringLiteral("PARTRC"), QStringLiteral("CODVEN"),
                      QStringLiteral("CODCLI"), QStringLiteral("DATEMI"), QStringLiteral("DATVCT"),
                      QStringLiteral("VLRTRC"), QStringLiteral("DIAVCT")});
    RowWriter operations(m_context.loader, QStringLiteral("F510OPC"),
                         {QStringLiteral("CODEMP"), QStringLiteral("CODCLI"), QStringLiteral("CODOPE")});
    RowWriter exclusive(m_context.loader, QStringLiteral("F510CPC"),
                        {QStringLiteral("CODEMP"), QStringLiteral("CODCLI"), QStringLiteral("CODCON")});

    const QStringList checkoutChoices = {QStringLiteral("1 A 4"), QStringLiteral("5 A 9"),
                                         QStringLiteral("ACIMA DE 10")};
    for (int codcli = 1; codcli <= m_context.scale.customers; ++codcli) {
        DemoCustomer c = makeCustomer(codcli);
        const int typeRoll = random.between(1, 100);
        int type = typeRoll <= 20 ? 1 : typeRoll <= 45 ? 2 : typeRoll <= 60 ? 3 : typeRoll <= 65 ? 4
                 : typeRoll <= 68 ? 5 : typeRoll <= 83 ? 6 : typeRoll <= 91 ? 7 : typeRoll <= 95 ? 8 : 9;
        bool person = (type == 2 || type == 3 || type == 6 || type == 7) && random.chance(0.2);
        bool warning = random.chance(0.05);
        bool overdue = random.chance(0.12);
        int titleCount = overdue || random.chance(0.40) ? random.between(1, 4) : 0;
        c.chain = (type == 1 || type == 5) && random.chance(0.3);
        if (c.chain) {
            c.chainCode = random.between(1, int(DemoVocabulary::chainNames().size()));
            c.table = 3;
            c.exclusive << 9;
        } else if (random.chance(0.03)) {
            c.exclusive << 10;
        }
        c.operations << (c.state == m_context.userState ? 1 : 2) << 4;
        if (random.chance(0.30))
            c.operations << 3;
        if (random.chance(0.20))
            c.operations << 5;
        c.credit = creditFor(type, random);
        if (codcli <= 14)
            applyShowcase(c, type, person, warning, overdue, titleCount);

        if (titleCount > 0 || overdue)
            writeTitles(titles, c, std::max(titleCount, 1), overdue);
        QString checkouts;
        if (hasCheckouts(type) || codcli == 14)
            checkouts = codcli == 11 ? checkoutChoices[1] : codcli == 14 ? checkoutChoices[0]
                                                                          : random.pick(checkoutChoices);
        writeCustomer(customers, c, type, person, warning, codcli == 14 ? QStringLiteral("A") : QStringLiteral("E"),
                      checkouts);
        for (int op : std::as_const(c.operations))
            operations.add({code(m_context.company), code(c.codcli), code(op)});
        for (int con : std::as_const(c.exclusive))
            exclusive.add({code(m_context.company), code(c.codcli), code(con)});
        m_context.customers << c;
    }
    // Operations offered to customers registered on the notebook (customer code 0).
    for (int op : {1, 3, 4})
        operations.add({code(m_context.company), code(0), code(op)});

    // Two customers registered on the notebook and not yet sent.
    for (int n = 0; n < 2; ++n) {
        DemoCustomer c;
        c.codcli = 0;
        c.codnov = 9900001 + n;
        c.city = m_context.cities[n].code;
        c.state = m_context.cities[n].state;
        c.table = 1;
        c.operations = {1, 3, 4};
        writeCustomer(customers, c, n == 0 ? 3 : 6, n == 1, false, QStringLiteral("N"), QString());
        m_context.customers << c;
    }
    writeRoute();
}

void CustomerData::applyShowcase(DemoCustomer &c, int &type, bool &person, bool &warning, bool &overdue,
                                 int &titles)
{
    // Defaults for every showcase customer: active, São Paulo, the user's own, no titles.
    c.situation = QStringLiteral("A");
    c.seller = m_context.userSeller;
    c.city = m_context.cities[0].code;
    c.state = m_context.cities[0].state;
    c.table = 1;
    c.chain = false;
    c.chainCode = 0;
    c.exclusive.clear();
    c.operations = {1, 3, 4, 5};
    type = 2;
    person = false;
    warning = false;
    overdue = false;
    titles = 0;
    switch (c.codcli) {
    case 1: type = 1; c.credit = 40000; titles = 2; break;           // clean reference customer
    case 2: c.situation = QStringLiteral("B"); break;                 // blocked
    case 3: c.situation = QStringLiteral("I"); break;                 // inactive
    case 4: warning = true; break;                                    // EMIAVS warning
    case 5: overdue = true; titles = 3; break;                        // overdue titles -> budget
    case 6: type = 1; c.chain = true; c.chainCode = 1; c.table = 3; c.exclusive = {9}; c.credit = 80000; break;
    case 7: c.table = 2; c.exclusive = {10}; break;                   // exclusive condition
    case 8: c.credit = 1500; titles = 2; break;                       // close to the credit limit
    case 9: c.seller = 15; break;                                     // another seller's customer
    case 10: type = 6; person = true; break;                          // CPF
    case 11: type = 1; break;                                         // checkouts "5 A 9"
    case 12: c.city = m_context.cities[14].code; c.state = m_context.cities[14].state;
             c.operations = {2, 4}; break;                            // Minas Gerais, substitution tax
    case 13: c.operations = {3, 4}; break;                            // consumer sale only
    case 14: break;                                                   // changed here, not yet sent
    }
}

QString CustomerData::phone(const QString &areaCode, bool mobile)
{
    DemoRandom &random = m_context.random;
    const QString number = mobile ? QStringLiteral("9") + digits(random, 4) + u'-' + digits(random, 4)
                                  : QString::number(random.between(2, 5)) + digits(random, 3) + u'-' + digits(random, 4);
    return areaCode.isEmpty() ? number : QStringLiteral("(") + areaCode + QStringLiteral(") ") + number;
}

void CustomerData::writeCustomer(RowWriter &rows, DemoCustomer &c, int type, bool person, bool warning,
                                 const QString &upload, const QString &checkouts)
{
    DemoRandom &random = m_context.random;
    const DemoCity &city = m_context.city(c.city);
    const QStringList suffixes = {QStringLiteral("LTDA"), QStringLiteral("LTDA ME"), QStringLiteral("EIRELI"),
                                  QStringLiteral("ME"), QStringLiteral("EPP"), QStringLiteral("LTDA EPP")};
    const QString first = random.pick(DemoVocabulary::firstNames());
    const QString surname = random.pick(DemoVocabulary::surnames());
    QString name, trade;
    if (c.codcli == 1) {
        name = QStringLiteral("SUPERMERCADO BOA ESPERANÇA LTDA");
        trade = QStringLiteral("BOA ESPERANÇA");
    } else if (c.chain) {
        const QString chain = DemoVocabulary::chainNames().at(c.chainCode - 1);
        name = QStringLiteral("SUPERMERCADOS ") + chain + QStringLiteral(" LTDA");
        trade = chain + QStringLiteral(" LOJA ") + QString::number(random.between(1, 40)).rightJustified(2, u'0');
    } else if (person) {
        name = first + u' ' + surname + u' ' + random.pick(DemoVocabulary::surnames());
        trade = typePrefix(type) + (first.endsWith(u'A') ? QStringLiteral(" DA ") : QStringLiteral(" DO ")) + first;
    } else {
        const QString word = random.pick(DemoVocabulary::tradeWords());
        name = typePrefix(type) + u' ' + word + u' ' + random.pick(suffixes);
        trade = word;
    }
    if (c.codnov == 9900001) {
        name = QStringLiteral("PADARIA NOVA AURORA LTDA");
        trade = QStringLiteral("NOVA AURORA");
    }
    c.name = name.left(50);
    c.tradeName = trade.left(50);

    const QString domain = asciiWord(trade).left(24) + QStringLiteral(".com.br");
    const QString buyer = random.pick(DemoVocabulary::firstNames()) + u' ' + random.pick(DemoVocabulary::surnames());
    const QString finance = random.pick(DemoVocabulary::firstNames()) + u' ' + random.pick(DemoVocabulary::surnames());
    const QString taxNumber = person ? TaxNumbers::cpf(random) : TaxNumbers::cnpj(random);
    const QString registration = person ? digits(random, 2) + u'.' + digits(random, 3) + u'.' + digits(random, 3)
                                              + u'-' + digits(random, 1)
                                        : digits(random, 3) + u'.' + digits(random, 3) + u'.' + digits(random, 3)
                                              + u'.' + digits(random, 3);
    int postal = 0;
    for (const auto &v : DemoVocabulary::cities())
        if (v.name == city.name)
            postal = v.postalPrefix;
    const QString cep = QString::number(postal).rightJustified(2, u'0') + digits(random, 3) + u'-' + digits(random, 3);
    QString remark;
    if (warning)
        remark = random.pick(DemoVocabulary::warningRemarks());
    if (c.codcli == 4)
        remark = DemoVocabulary::warningRemarks().at(0);

    rows.add({code(m_context.company), code(c.codcli), code(c.codnov), code(c.codnov > 0 ? m_context.userSeller : c.seller),
              text(name.left(50)), text(trade.left(50)), text(random.pick(DemoVocabulary::streets())),
              text(QString::number(random.between(1, 3200))), text(random.pick(DemoVocabulary::districts()).left(20)),
              text(cep), code(city.code), text(city.areaCode), text(phone(QString(), false)),
              text(phone(city.areaCode, true)), text(buyer), text(QStringLiteral("compras@") + domain),
              text(phone(city.areaCode, false)), text(finance), text(QStringLiteral("financeiro@") + domain),
              text(taxNumber), text(registration), code(type), text(checkouts), text(c.situation), text(upload),
              dec(c.credit, 2), dec(c.open, 2), dec(c.overdue, 2), text(warning ? QStringLiteral("S") : QStringLiteral("N")),
              text(remark), code(c.table), c.chain ? code(c.chainCode) : null(),
              text(c.chain ? QStringLiteral("S") : QStringLiteral("N"))});
}

void CustomerData::writeTitles(RowWriter &rows, DemoCustomer &c, int count, bool overdue)
{
    DemoRandom &random = m_context.random;
    const QDate today = m_context.today;
    const int terms[] = {28, 30, 45, 60};
    const int order = m_titleOrder++;
    const int ccu = random.between(1, 3);
    for (int i = 0; i < count; ++i) {
        const int term = terms[random.between(0, 3)] + 15 * i;
        QDate issued;
        if (overdue && i == 0)
            issued = today.addDays(-term - random.between(3, 40)); // due date already past
        else
            issued = today.addDays(-random.between(0, term - 1));  // still to fall due
        const QDate due = issued.addDays(term);
        const int late = std::max<qint64>(0, due.daysTo(today));
        const double value = c.codcli == 8 ? 675.00 : round(random.real(80, 2500), 2);
        c.open += value;
        if (late > 0)
            c.overdue += value;
        rows.add({code(m_context.company), code(ccu), code(order), code(m_titleNumber),
                  text(QStringLiteral("%1/%2").arg(i + 1).arg(count)), code(c.seller), code(c.codcli), date(issued),
                  date(due), dec(value, 2), dec(late, 2)});
    }
    ++m_titleNumber;
}

void CustomerData::writeRoute()
{
    DemoRandom &random = m_context.random;
    RowWriter rows(m_context.loader, QStringLiteral("F510ROT"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCLI"), QStringLiteral("DIASEM"),
                    QStringLiteral("SEMMES")});
    // Today's slot, numbered as SEMANA_MES numbers weeks (days 1-7 are week 1, ...).
    const int todayDay = m_context.today.dayOfWeek();
    const int todayWeek = (m_context.today.day() - 1) / 7 + 1;
    int slot = 0;
    for (const DemoCustomer &c : std::as_const(m_context.customers)) {
        if (c.codcli == 0)
            continue;
        if (c.codcli <= 6) {
            rows.add({code(m_context.company), code(c.codcli), code(todayDay), code(todayWeek)});
            continue;
        }
        int day, week;
        if (slot < 35) {
            // The first customers cover every weekday (1 Monday ... 7 Sunday) of every week 1..5.
            day = slot % 7 + 1;
            week = slot / 7 + 1;
            ++slot;
        } else {
            day = random.chance(0.03) ? 7 : random.between(1, 6);
            week = random.between(1, 5);
        }
        if (random.chance(0.2)) {
            for (int w = 1; w <= 5; ++w) // visited every week
                rows.add({code(m_context.company), code(c.codcli), code(day), code(w)});
        } else {
            rows.add({code(m_context.company), code(c.codcli), code(day), code(week)});
        }
    }
}
