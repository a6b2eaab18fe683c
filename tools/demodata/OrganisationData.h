#pragma once

struct DemoContext;

// Writes the company's fixed tables: cost centres, transactions, operations and where they are
// allowed, payment conditions, discounts per operation and condition, commission scales,
// customer types, cities and the message directory; and remembers the sellers.
class OrganisationData
{
public:
    explicit OrganisationData(DemoContext &context);
    void write();

private:
    void writeCostCentres();
    void writeCommercialRules();
    void writeScales();
    void writeCustomerTypes();
    void writeCities();
    void writeMessageUsers();
    void defineSellers();

    DemoContext &m_context;
};
