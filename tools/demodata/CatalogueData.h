#pragma once

struct DemoContext;

// Writes the catalogue: family groups, families, products in the cost centres, three price
// tables with commission scales, promotions (running today, starting later, finished) and the
// tax rows per state. The first twelve products are fixed showcase rows for the pricing rules.
class CatalogueData
{
public:
    explicit CatalogueData(DemoContext &context);
    void write();

private:
    void buildShowcase();
    void buildRandomProducts();
    void addPromotions();
    void writeGroupsAndFamilies();
    void writeProducts();
    void writePriceTables();
    void writePromotions();
    void writeTaxes();

    DemoContext &m_context;
};
