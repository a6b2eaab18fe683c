#include "OrderData.h"

#include "DemoContext.h"
#include "DemoRandom.h"
#include "DemoValues.h"
#include "DemoVocabulary.h"
#include "RowWriter.h"

#include <QSet>

#include <algorithm>
#include <cmath>

using namespace DemoValues;

OrderData::OrderData(DemoContext &context)
    : m_context(context)
{
}

QList<int> OrderData::orderSizes() const
{
    // Sizes vary around the average in pairs, so the total is exactly orders * average.
    DemoRandom &random = m_context.random;
    const int average = m_context.scale.itemsPerOrder;
    QList<int> sizes;
    for (int i = 0; i < m_context.scale.orders; i += 2) {
        const int spread = random.between(0, std::max(0, average - 2));
        sizes << average + spread;
        if (i + 1 < m_context.scale.orders)
            sizes << average - spread;
        else
            sizes.last() = average;
    }
    return sizes;
}

QList<int> OrderData::orderDays() const
{
    // Days before today of each order, oldest first; the last few are today.
    DemoRandom &random = m_context.random;
    const int count = m_context.scale.orders;
    QList<int> days;
    for (int i = 0; i < count; ++i) {
        // Denser towards today, as a seller's recent orders are the ones still moving.
        const double u = random.real(0.0, 1.0);
        days << int(u * u * (m_context.scale.historyDays + 1));
    }
    std::sort(days.begin(), days.end(), std::greater<int>());
    const int today = std::max(4, std::min(30, count / 40));
    for (int i = std::max(0, count - today); i < count; ++i)
        days[i] = 0;
    return days;
}

QString OrderData::statusFor(int daysAgo)
{
    const int roll = m_context.random.between(1, 100);
    if (daysAgo == 0)
        return roll <= 75 ? QStringLiteral("D") : QStringLiteral("L");
    if (daysAgo <= 3)
        return roll <= 15 ? QStringLiteral("L") : roll <= 55 ? QStringLiteral("E") : roll <= 80 ? QStringLiteral("O")
                                                                                                 : QStringLiteral("A");
    if (daysAgo <= 10)
        return roll <= 25 ? QStringLiteral("E") : roll <= 35 ? QStringLiteral("O") : roll <= 42 ? QStringLiteral("A")
                 : roll <= 95 ? QStringLiteral("F") : QStringLiteral("C");
    return roll <= 88 ? QStringLiteral("F") : roll <= 96 ? QStringLiteral("C") : QStringLiteral("E");
}

QString OrderData::missingStatus(const QSet<QString> &seen)
{
    for (const char *s : {"E", "O", "A", "F", "C", "L"})
        if (!seen.contains(QString::fromLatin1(s)))
            return QString::fromLatin1(s);
    return {};
}

const DemoCustomer &OrderData::pickCustomer(int index, int daysAgo)
{
    const QList<DemoCustomer> &customers = m_context.customers;
    // The first orders of today go to the showcase customers of today's route and to the
    // customer registered on the notebook.
    const int fromEnd = m_context.scale.orders - 1 - index;
    if (daysAgo == 0 && fromEnd < 3) {
        const int wanted[] = {1, 4, 6};
        for (const DemoCustomer &c : customers)
            if (c.codcli == wanted[fromEnd])
                return c;
    }
    if (daysAgo == 0 && fromEnd == 3)
        for (const DemoCustomer &c : customers)
            if (c.codnov == 9900001)
                return c;
    for (;;) {
        const DemoCustomer &c = customers.at(m_context.random.between(0, int(customers.size()) - 1));
        if (c.codcli == 0)
            continue;
        // A blocked customer may have old orders, from before the block, but no recent ones.
        if (c.situation == u"B" && daysAgo < 30)
            continue;
        return c;
    }
}

void OrderData::write()
{
    DemoRandom &random = m_context.random;
    const QDate today = m_context.today;
    const int emp = m_context.company;

    m_byTableAndCentre = QList<QList<int>>(9);
    for (int i = 0; i < m_context.products.size(); ++i) {
        const DemoProduct &p = m_context.products[i];
        for (int t = 0; t < 3; ++t)
            if (p.tablePrice[t] > 0)
                m_byTableAndCentre[t * 3 + p.ccu - 1] << i;
    }

    RowWriter headers(m_context.loader, QStringLiteral("F530PDF"),
                      {QStringLiteral("CODEMP"), QStringLiteral("CODPDF"), QStringLiteral("CODINT"),
                       QStringLiteral("CODTAB"), QStringLiteral("DATPDF"), QStringLiteral("CODCLI"),
                       QStringLiteral("CODNOV"), QStringLiteral("TOTPDF"), QStringLiteral("TOTFLX"),
                       QStringLiteral("CODTRA"), QStringLiteral("CODCON"), QStringLiteral("CODOPE"),
                       QStringLiteral("SITPDF"), QStringLiteral("CODVEN"), QStringLiteral("VENSUB"),
                       QStringLiteral("OBSCLI"), QStringLiteral("MOTCAN"), QStringLiteral("SITFLX"),
                       QStringLiteral("DATFAT"), QStringLiteral("DATENT"), QStringLiteral("PDFORC"),
                       QStringLiteral("RETPDV")});
    RowWriter items(m_context.loader, QStringLiteral("F530IPF"),
                    {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPDF"),
                     QStringLiteral("CODPRO"), QStringLiteral("CODINT"), QStringLiteral("DESPRO"),
                     QStringLiteral("UNDPRO"), QStringLiteral("QTDPRO"), QStringLiteral("VLRUNT"),
                     QStringLiteral("VLRTOT"), QStringLiteral("USOFLX"), QStringLiteral("GERFLX"),
                     QStringLiteral("QTDFAT"), QStringLiteral("VLRFAT"), QStringLiteral("FATPRO"),
                     QStringLiteral("MAXDCT"), QStringLiteral("PRCVEN"), QStringLiteral("PRCTAB"),
                     QStringLiteral("VLRSTB"), QStringLiteral("TABCOS"), QStringLiteral("CODCOS"),
                     QStringLiteral("ITMPRM"), QStringLiteral("PRZMAX"), QStringLiteral("VLRPRM"),
                     QStringLiteral("SITIPF"), QStringLiteral("SITFLX"), QStringLiteral("CODPDV")});

    const QList<int> sizes = orderSizes();
    const QList<int> days = orderDays();
    const QStringList remarks = DemoVocabulary::orderRemarks();
    const QStringList reasons = DemoVocabulary::cancelReasons();
    int internal = 700001;
    int invoicing = 400001;
    int budgets = 0;
    QSet<QString> seen;

    for (int index = 0; index < m_context.scale.orders; ++index) {
        const int daysAgo = days[index];
        const QDate orderDate = today.addDays(-daysAgo);
        const DemoCustomer &customer = pickCustomer(index, daysAgo);
        const int fromEnd = m_context.scale.orders - 1 - index;

        QString status = statusFor(daysAgo);
        bool budget = random.chance(0.03);
        // Showcase: the reference customer's order of today stays typed; the overdue customer
        // and the notebook customer get budgets.
        if (daysAgo == 0 && fromEnd < 4)
            status = QStringLiteral("D");
        if (customer.codcli == 5 || customer.codnov == 9900001)
            budget = true;
        if (budget) {
            status = QStringLiteral("D");
            ++budgets;
        }
        if (budgets == 0 && index == m_context.scale.orders - 5) { // at least one budget
            status = QStringLiteral("D");
            budget = true;
            ++budgets;
        }
        // Every state the order list shows occurs at least once, among the recent orders.
        if (!budget && daysAgo > 0 && daysAgo <= 10) {
            const QString missing = missingStatus(seen);
            if (!missing.isEmpty())
                status = missing;
        }
        seen.insert(status);

        // Transaction, operation and condition as the header lists offer them.
        int transaction = 1;
        const int transactionRoll = random.between(1, 100);
        if (transactionRoll <= 5)
            transaction = 2;
        else if (transactionRoll <= 9)
            transaction = 3;
        else if (transactionRoll <= 13)
            transaction = 4;
        int operation = 4;
        int condition = 7;
        if (transaction == 2 || transaction == 3) {
            condition = transaction == 2 ? 7 : 8;
            if (transaction == 3) {
                QList<int> sales;
                for (int op : customer.operations)
                    if (op != 4)
                        sales << op;
                operation = sales.isEmpty() ? 4 : random.pick(sales);
            }
        } else {
            QList<int> sales;
            for (int op : customer.operations)
                if (op != 4)
                    sales << op;
            operation = sales.isEmpty() ? 4 : random.pick(sales);
            QList<int> offered;
            if (!customer.exclusive.isEmpty())
                offered = customer.exclusive;
            else
                for (const DemoCondition &c : std::as_const(m_context.conditions))
                    if (!c.exclusive && !c.withoutDebit)
                        offered << c.code;
            condition = random.pick(offered);
        }
        const DemoCondition &cond = m_context.conditions[condition];
        const DemoOperation &op = m_context.operations[operation];

        // Items: one or two cost centres where the operation is allowed.
        QList<int> centres = op.costCentres.values();
        std::sort(centres.begin(), centres.end());
        const int firstCentre = random.pick(centres);
        QList<int> orderCentres = {firstCentre};
        if (centres.size() > 1 && random.chance(0.3)) {
            const int second = random.pick(centres);
            if (second != firstCentre)
                orderCentres << second;
        }

        const bool pickUp = m_context.pickUpDiscount > 0 && random.chance(0.06);
        const double a = 1.0 - round(m_context.discount(operation, condition), 2) / 100.0;
        const double b = 1.0 - round(m_context.pickUpDiscount, 2) / 100.0;
        const double c = customer.table == 1 ? 1.0 - round(m_context.surcharge, 2) / 100.0 : 1.0;
        const QString itemStatus = status == u"D" ? QStringLiteral("D")
                                 : status == u"F" ? QStringLiteral("F")
                                 : status == u"C" ? QStringLiteral("C")
                                 : status == u"O" ? QStringLiteral("O")
                                 : status == u"A" ? QStringLiteral("A")
                                                  : QStringLiteral("E");
        const bool settled = status == u"C" || (status == u"F" && daysAgo > 5);
        const QString flexState = settled ? QStringLiteral("S") : QStringLiteral("N");
        const bool partlyInvoiced = status == u"F" || (status == u"E" && random.chance(0.4));
        const int codpdf = index + 1;
        const int codint = status == u"D" ? 0 : internal++;
        const int invoice = (status == u"F" || status == u"E") ? invoicing++ : 0;

        qint64 totalMilli = 0, flexCents = 0; // exact sums, as the database adds the stored values
        QSet<int> chosen;
        const int size = sizes[index];
        for (int n = 0; n < size; ++n) {
            const QList<int> &pool = m_byTableAndCentre[(customer.table - 1) * 3 + orderCentres[n % orderCentres.size()] - 1];
            if (pool.isEmpty())
                break;
            int productIndex = -1;
            for (int attempt = 0; attempt < 50 && productIndex < 0; ++attempt) {
                const int candidate = pool[random.between(0, int(pool.size()) - 1)];
                if (!chosen.contains(candidate))
                    productIndex = candidate;
            }
            if (productIndex < 0)
                continue;
            chosen.insert(productIndex);
            const DemoProduct &p = m_context.products[productIndex];

            const double tablePrice = p.tablePrice[customer.table - 1];
            const double prctab = round(pickUp && p.pickUpDiscount ? tablePrice * a * b : tablePrice * a, 3);
            const double prcven = round(prctab / c, 3);
            const double scaleMax = m_context.scaleMaximum(p.scale);
            const double maxEffective = scaleMax == 0 ? p.maxdct : scaleMax;
            const double maxdct = p.rjttab >= 0 ? maxEffective : 0.0;
            const QList<double> steps = m_context.scales.value(p.scale);
            const double tabcos = random.chance(0.7) ? 0.0 : steps.at(random.between(0, int(steps.size()) - 1));

            const DemoPromotion *promotion = p.promotionOn(orderDate);
            const int quantitySteps = p.factor > 1 ? random.between(1, 8) : random.between(1, 30);
            const double quantity = p.factor * quantitySteps;
            double price;
            bool promotional = false;
            if (promotion && promotion->przmax >= cond.maxDays && random.chance(0.6)) {
                price = promotion->price;
                promotional = true;
            } else {
                const int roll = random.between(1, 100);
                if (roll <= 50)
                    price = prcven;
                else if (roll <= 80)
                    price = round(prctab * (1.0 - random.real(0.0, maxdct) / 100.0), 3);
                else
                    price = round(prcven * random.real(1.01, 1.05), 3);
            }
            const double itemTotal = round(quantity * price, 3);
            double used = 0, generated = 0;
            if (!promotional) {
                const double reference = prctab * (1.0 - tabcos / 100.0);
                if (reference - price > 0)
                    used = round(quantity * (reference - price), 2);
                else
                    generated = round(quantity * (price - reference), 2);
            }
            double substitution = 0;
            if (op.substitution) {
                const auto tax = m_context.taxes.constFind(DemoContext::taxKey(p.code, customer.state));
                if (tax != m_context.taxes.cend() && tax->alistr > 0) {
                    const double own = round(tax->aliicm / 100.0 * (tax->cfticm * itemTotal), 2);
                    const double base = round(itemTotal * (tax->alistr / 100.0 + 1.0), 3);
                    const double st = round(tax->aliina / 100.0 * base, 2);
                    substitution = round(st - own, 2);
                }
            }
            QString state = itemStatus;
            double invoiced = 0;
            if (partlyInvoiced) {
                const int roll = random.between(1, 100);
                if (status == u"F" && roll <= 4) {
                    state = QStringLiteral("C"); // item cut from the invoice
                } else if (roll <= (status == u"F" ? 82 : 40)) {
                    invoiced = quantity;
                } else {
                    invoiced = std::max(0.0, quantity - p.factor * random.between(1, std::max(1, quantitySteps)));
                }
            }
            totalMilli += std::llround(itemTotal * 1000.0);
            flexCents += std::llround(used * 100.0);
            items.add({code(emp), code(p.ccu), code(codpdf), code(p.code), code(codint), text(p.description),
                       text(p.unit), dec(quantity, 2), dec(price, 3), dec(itemTotal, 3), dec(used, 2),
                       dec(generated, 2), dec(invoiced, 2), dec(invoiced > 0 ? price : 0.0, 2), dec(p.factor, 3),
                       dec(maxdct, 2), dec(prcven, 3), dec(prctab, 3), dec(substitution, 2), dec(tabcos, 2),
                       code(p.scale), text(promotional ? QStringLiteral("S") : QStringLiteral("N")),
                       promotion ? code(promotion->przmax) : null(), promotion ? dec(promotion->price, 3) : null(),
                       text(state), text(flexState), invoice > 0 ? code(invoice) : null()});
        }

        const double total = double((totalMilli + 5) / 10) / 100.0;
        const double flexUsed = double(flexCents) / 100.0;
        const int seller = customer.codnov > 0 ? m_context.userSeller : customer.seller;
        if (!settled && seller == m_context.userSeller)
            m_context.userOpenFlex += round(flexUsed, 2);
        QDate invoiced, delivered;
        if (status == u"F") {
            invoiced = std::min(orderDate.addDays(random.between(1, 2)), today);
            delivered = std::min(invoiced.addDays(random.between(1, 3)), today);
        } else if (status == u"E" && random.chance(0.2)) {
            invoiced = delivered = QDate(1899, 12, 30); // the central system's empty date
        }
        headers.add({code(emp), code(codpdf), code(codint), code(customer.table), date(orderDate),
                     code(customer.codcli), code(customer.codnov), dec(total, 2), dec(flexUsed, 2), code(transaction),
                     code(condition), code(operation), text(status), code(seller),
                     seller != m_context.userSeller ? code(m_context.userSeller) : null(),
                     text(random.chance(0.25) ? random.pick(remarks) : QString()),
                     text(status == u"C" ? random.pick(reasons) : QString()), text(flexState), date(invoiced),
                     date(delivered), text(budget ? QStringLiteral("S") : QStringLiteral("N")),
                     text(pickUp ? QStringLiteral("S") : QStringLiteral("N"))});
    }
}
