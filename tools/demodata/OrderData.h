#pragma once

#include <QList>
#include <QSet>
#include <QString>

struct DemoContext;
struct DemoCustomer;
struct DemoProduct;

// Writes the seller's orders and their items over the history period: typed today and not sent,
// budgets, sent, collected, waiting, invoiced (some only in part) and cancelled, priced by the
// same rules as order entry (operation-and-condition discount, pick-up discount, surcharge of
// table 1, maximum discount, promotions, flex, substitution tax).
class OrderData
{
public:
    explicit OrderData(DemoContext &context);
    void write();

private:
    QList<int> orderSizes() const;
    QList<int> orderDays() const;
    const DemoCustomer &pickCustomer(int index, int daysAgo);
    QString statusFor(int daysAgo);
    static QString missingStatus(const QSet<QString> &seen);

    DemoContext &m_context;
    QList<QList<int>> m_byTableAndCentre; // product indexes per (table - 1) * 3 + (centre - 1)
};
