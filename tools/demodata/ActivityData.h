#pragma once

struct DemoContext;

// Writes what the supervisor and the central system add around the orders: bonus orders awaiting
// approval with their items, flex movements, internal messages (received, read or not, and
// written here, sent or not, with recipients), the monthly goal summaries of the team and the
// pending quantities per customer.
class ActivityData
{
public:
    explicit ActivityData(DemoContext &context);
    void write();

private:
    void writeBonusOrders();
    void writeFlexMovements();
    void writeMessages();
    void writeSummaries();
    void writePending();

    DemoContext &m_context;
};
