#pragma once

#include "DemoModel.h"
#include "DemoScale.h"

#include <QDate>
#include <QTime>

class BulkLoader;
class DemoRandom;

// Everything the parts of the generator share: where rows go, the random source, the scale,
// the day the data is built around, the session's fixed values and the rows remembered so far.
struct DemoContext
{
    DemoContext(BulkLoader &loader_, DemoRandom &random_, const DemoScale &scale_, const QDate &today_,
                const QTime &now_)
        : loader(loader_), random(random_), scale(scale_), today(today_), now(now_)
    {
    }

    BulkLoader &loader;
    DemoRandom &random;
    DemoScale scale;
    QDate today;
    QTime now;

    // The demo user's session.
    int company = 1;
    int userCode = 7;
    int userSeller = 12;
    int supervisor = 3;
    int userCostCentre = 1;
    QString userState = QStringLiteral("SP");
    double surcharge = 2.00;      // ACRTAB, over price table 1
    double pickUpDiscount = 3.00; // DESRET
    double flexTarget = 650.00;   // flex left to the user after his unsettled orders

    QMap<int, QString> costCentres;
    QMap<int, QList<double>> scales;       // F512COS steps per CODCOS
    QMap<int, QString> scaleNames;         // DESCOS
    QMap<int, DemoCondition> conditions;
    QMap<int, DemoOperation> operations;
    QHash<int, double> discounts;          // F513DES: operation * 1000 + condition -> PORDES
    QList<DemoCity> cities;
    QList<DemoProduct> products;
    QHash<QString, DemoTax> taxes;         // "product|state"
    QList<DemoCustomer> customers;
    QMap<int, DemoSeller> sellers;
    QList<DemoMessageUser> messageUsers;
    double userOpenFlex = 0;               // flex of the user's orders with SITFLX 'N'

    const DemoCity &city(int code) const
    {
        for (const DemoCity &c : cities)
            if (c.code == code)
                return c;
        return cities.front();
    }
    static QString taxKey(int product, const QString &state)
    {
        return QString::number(product) + u'|' + state;
    }
    double discount(int operation, int condition) const
    {
        return discounts.value(operation * 1000 + condition, 0.0);
    }
    double scaleMaximum(int scale) const
    {
        double m = 0;
        for (double step : scales.value(scale))
            m = qMax(m, step);
        return m;
    }
};
