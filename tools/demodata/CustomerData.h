#pragma once

#include <QString>

struct DemoContext;
struct DemoCustomer;
class RowWriter;

// Writes the customers with their receivable titles, the operations and exclusive conditions
// each may use, and the visit route. Customers 1 to 14 are fixed showcase rows (blocked,
// inactive, warning, overdue titles, chain, exclusive condition, ...; see README.md); two more
// are registered on the notebook and not yet sent.
class CustomerData
{
public:
    explicit CustomerData(DemoContext &context);
    void write();

private:
    DemoCustomer makeCustomer(int codcli);
    void applyShowcase(DemoCustomer &customer, int &type, bool &person, bool &warning, bool &overdue,
                       int &titles);
    void writeCustomer(RowWriter &rows, DemoCustomer &customer, int type, bool person, bool warning,
                       const QString &upload, const QString &checkouts);
    QString phone(const QString &areaCode, bool mobile);
    void writeTitles(RowWriter &rows, DemoCustomer &customer, int count, bool overdue);
    void writeRoute();

    DemoContext &m_context;
    int m_titleNumber = 50001;
    int m_titleOrder = 300001;
};
