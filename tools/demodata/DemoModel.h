#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

// What the demo generator remembers of the rows it wrote, so that later tables (orders, titles,
// bonus orders, summaries) stay consistent with earlier ones.

struct DemoPromotion
{
    QDate start;
    QDate end;
    int przmax = 0;
    double price = 0;
};

struct DemoProduct
{
    int ccu = 0;
    int code = 0;
    int family = 0;
    QString description;
    QString unit;
    double factor = 1;
    double stock = 0;
    int weight = 1;
    int scale = 1;           // F512COS.CODCOS
    double maxdct = 5;       // F511TAB.MAXDCT
    double rjttab = 0;
    bool pickUpDiscount = false; // the family's RETPDV
    bool substitution = false;   // has F511IMP rows with ALISTR > 0
    double tablePrice[3] = {0, 0, 0}; // price tables 1..3; 0 = not in that table
    QList<DemoPromotion> promotions;

    const DemoPromotion *promotionOn(const QDate &day) const
    {
        for (const DemoPromotion &p : promotions)
            if (p.start <= day && p.end >= day)
                return &p;
        return nullptr;
    }
};

struct DemoTax
{
    double alistr = 0;
    double aliicm = 0;
    double aliina = 0;
    double cfticm = 1;
};

struct DemoCondition
{
    int code = 0;
    QString name;
    double minimum = 0;
    int maxDays = 0;
    bool withoutDebit = false;
    bool exclusive = false;
};

struct DemoOperation
{
    int code = 0;
    QString name;
    bool substitution = false; // TEMFLU
    QSet<int> costCentres;     // F513OCU
};

struct DemoCity
{
    int code = 0;
    QString name;
    QString state;
    QString areaCode;
};

struct DemoCustomer
{
    int codcli = 0;
    int codnov = 0;
    int seller = 12;
    QString name;
    QString tradeName;
    QString state;
    int city = 0;
    QString situation = QStringLiteral("A");
    int table = 1;
    QList<int> operations;   // F510OPC
    QList<int> exclusive;    // F510CPC
    bool chain = false;
    int chainCode = 0;       // CODRED
    double credit = 0;
    double open = 0;
    double overdue = 0;
};

struct DemoSeller
{
    int code = 0;
    QString name;
    QString areaCode;
    double balance = 0;     // CNTSAL
    double accumulated = 0; // CNTACU
};

struct DemoMessageUser
{
    int code = 0;
    QString name;
};
