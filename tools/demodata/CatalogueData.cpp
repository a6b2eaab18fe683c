#include "CatalogueData.h"

#include "DemoContext.h"
#include "DemoRandom.h"
#include "DemoValues.h"
#include "DemoVocabulary.h"
#include "RowWriter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>

using namespace DemoValues;

namespace {

const QStringList kStates = {QStringLiteral("SP"), QStringLiteral("MG"), QStringLiteral("PR"),
                             QStringLiteral("RJ"), QStringLiteral("SC"), QStringLiteral("RS")};

// Internal ICMS rate of each destination state.
double internalRate(const QString &state)
{
    if (state == u"PR")
        return 19.5;
    if (state == u"RJ")
        return 22.0;
    if (state == u"SC" || state == u"RS")
        return 17.0;
    return 18.0;
}

// Value-added margin (MVA) of the substitution tax per family.
double margin(int family)
{
    switch (family / 100) {
    case 2: return 33.00; // matinais
    case 3: return 35.00; // limpeza
    case 4: return 40.71; // higiene
    case 5: return 40.00; // bebidas não alcoólicas
    default: return 70.00;
    }
}

// A shelf price: two decimals ending in 9.
double shelfPrice(double value)
{
    const double tenths = std::max(0.1, std::floor(value * 10.0) / 10.0);
    return round(tenths + 0.09, 2);
}

struct Pack
{
    const char *suffix;
    int count;
};
const Pack kPacks[] = {{"", 1},        {" C/6", 6},   {" C/12", 12}, {" C/24", 24},
                       {" C/10", 10},  {" C/20", 20}, {" C/30", 30}, {" C/48", 48}};

} // namespace

CatalogueData::CatalogueData(DemoContext &context)
    : m_context(context)
{
}

void CatalogueData::write()
{
    buildShowcase();
    buildRandomProducts();
    addPromotions();
    writeGroupsAndFamilies();
    writeProducts();
    writePriceTables();
    writePromotions();
    writeTaxes();
}

void CatalogueData::buildShowcase()
{
    struct Showcase
    {
        int family;
        const char *description;
        const char *unit;
        double factor, price, stock;
        int scale;
        double maxdct, rjttab;
    };
    // Each row exercises one rule of item entry (see tools/demodata/README.md).
    const Showcase rows[] = {
        {101, "ARROZ TIPO 1 BOM GRÃO 5KG", "PCT", 6, 24.90, 480, 1, 10, 0},
        {107, "ÓLEO DE SOJA VALE VERDE 900ML", "UN", 12, 7.49, 960, 4, 7, 0},
        {102, "FEIJÃO CARIOCA DONA ANA 1KG", "PCT", 1, 8.99, 300, 1, 10, -1},
        {103, "AÇÚCAR CRISTAL SÃO BENTO 5KG", "PCT", 6, 21.90, 200, 3, 5, 0},
        {104, "CAFÉ TORRADO E MOÍDO SERRA AZUL 500G", "PCT", 24, 15.90, 0, 1, 10, 0},
        {105, "MACARRÃO ESPAGUETE SOL NASCENTE 500G", "PCT", 24, 4.29, -12, 1, 10, 0},
        {302, "DETERGENTE LÍQUIDO NEUTRO BRILHO 500ML", "UN", 24, 2.39, 1200, 2, 8, 0},
        {301, "SABÃO EM PÓ MULTIAÇÃO LIMPEZA TOTAL 1KG", "UN", 12, 11.90, 350, 2, 8, 0},
        {501, "REFRIGERANTE COLA GELADO 2L", "UN", 6, 8.49, 600, 3, 5, 2},
        {503, "ÁGUA MINERAL SEM GÁS FONTE PURA 500ML", "UN", 12, 1.79, 2400, 3, 5, 0},
        {201, "BISCOITO RECHEADO CHOCOLATE CAMPO BELO 140G", "PCT", 1, 2.99, 90, 2, 8, 0},
        {203, "LEITE EM PÓ INTEGRAL RECANTO 400G", "UN", 1, 18.90, 45, 3, 5, 0},
    };
    const QList<DemoVocabulary::Family> families = DemoVocabulary::families();
    int code = 1;
    for (const Showcase &s : rows) {
        DemoProduct p;
        p.code = code++;
        p.family = s.family;
        for (const DemoVocabulary::Family &f : families)
            if (f.code == s.family) {
                p.ccu = f.costCentre;
                p.pickUpDiscount = f.pickUpDiscount;
                p.substitution = f.substitution;
            }
        p.description = QString::fromUtf8(s.description);
        p.unit = QString::fromUtf8(s.unit);
        p.factor = s.factor;
        p.stock = s.stock;
        p.weight = 1;
        p.scale = s.scale;
        p.maxdct = s.maxdct;
        p.rjttab = s.rjttab;
        p.tablePrice[0] = s.price;
        p.tablePrice[1] = round(s.price * 0.96, 3);
        p.tablePrice[2] = round(s.price * 0.93, 3);
        m_context.products << p;
    }
}

void CatalogueData::buildRandomProducts()
{
    DemoRandom &random = m_context.random;
    struct Candidate
    {
        int family, base, size, brand, pack;
    };
    const QList<DemoVocabulary::Family> families = DemoVocabulary::families();
    QList<Candidate> candidates;
    for (int f = 0; f < families.size(); ++f) {
        const auto &family = families[f];
        const int brandCount = int(DemoVocabulary::brands(family.costCentre).size());
        const int sizes = int(family.sizes.size());
        for (int b = 0; b < family.bases.size(); ++b)
            for (int s = 0; s < sizes; ++s)
                for (int br = 0; br < brandCount; ++br)
                    for (int pk = 0; pk < int(std::size(kPacks)); ++pk) {
                        // Big packs of the big sizes do not exist (no 5 kg bag comes 48 to a box).
                        const bool largest = sizes > 1 && s == sizes - 1;
                        if ((largest && pk != 0 && pk != 1 && pk != 4) || (s > 0 && !largest && pk > 5))
                            continue;
                        candidates << Candidate{f, b, s, br, pk};
                    }
    }
    // Shuffle deterministically, keep as many as wanted, then give codes in family order.
    for (qsizetype i = candidates.size() - 1; i > 0; --i)
        std::swap(candidates[i], candidates[random.between(0, int(i))]);
    const int wanted = std::max(0, m_context.scale.products - int(m_context.products.size()));
    candidates.resize(std::min<qsizetype>(wanted, candidates.size()));
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return std::tie(a.family, a.base, a.brand, a.size, a.pack) < std::tie(b.family, b.base, b.brand, b.size, b.pack);
    });

    int code = int(m_context.products.size()) + 1;
    for (const Candidate &c : candidates) {
        const auto &family = families[c.family];
        const QStringList brands = DemoVocabulary::brands(family.costCentre);
        const Pack &pack = kPacks[c.pack];
        DemoProduct p;
        p.code = code++;
        p.ccu = family.costCentre;
        p.family = family.code;
        p.pickUpDiscount = family.pickUpDiscount;
        p.substitution = family.substitution;
        QString description = family.bases[c.base] + u' ' + brands[c.brand] + u' ' + family.sizes[c.size]
                              + QString::fromLatin1(pack.suffix);
        p.description = description.left(50);
        if (pack.count == 1) {
            p.unit = family.unit;
            const int roll = random.between(1, 10);
            p.factor = roll <= 5 ? 1 : roll <= 7 ? 6 : roll <= 9 ? 12 : 24;
        } else {
            p.unit = pack.count == 6 ? QStringLiteral("FD") : QStringLiteral("CX");
            p.factor = 1;
        }
        const double position = family.sizes.size() > 1 ? double(c.size) / double(family.sizes.size() - 1) : 0.0;
        const double unitPrice = (family.lowPrice + (family.highPrice - family.lowPrice) * position)
                                 * (0.88 + 0.03 * (c.brand % 8)) * random.real(0.95, 1.05);
        const double price = shelfPrice(unitPrice * pack.count);
        p.tablePrice[0] = price;
        p.tablePrice[1] = round(price * 0.96, 3);
        p.tablePrice[2] = random.chance(0.05) ? 0.0 : round(price * 0.93, 3);
        const int stockRoll = random.between(1, 100);
        p.stock = stockRoll <= 12 ? 0 : stockRoll <= 17 ? -random.between(1, 30) : random.between(1, 800);
        p.weight = std::max(1, int(position * 5 + 1) * pack.count / 2);
        p.scale = random.chance(0.85) ? family.scale : random.between(1, 4);
        const int maxRoll = random.between(1, 3);
        p.maxdct = maxRoll == 1 ? 5 : maxRoll == 2 ? 7 : 10;
        const int rjtRoll = random.between(1, 100);
        p.rjttab = rjtRoll <= 5 ? -1.0 : rjtRoll <= 15 ? 2.0 : 0.0;
        m_context.products << p;
    }
}

void CatalogueData::addPromotions()
{
    DemoRandom &random = m_context.random;
    const QDate today = m_context.today;
    auto promotionPrice = [](const DemoProduct &p, double factor) { return round(p.tablePrice[0] * factor, 2); };
    QList<DemoProduct> &products = m_context.products;
    // Showcase: running with 28 days, running with 60 days, starting later, running plus a later
    // one, starting today.
    products[0].promotions << DemoPromotion{today.addDays(-3), today.addDays(10), 28, 22.90};
    products[1].promotions << DemoPromotion{today.addDays(-7), today.addDays(7), 60, 6.79};
    products[3].promotions << DemoPromotion{today.addDays(3), today.addDays(17), 28, 19.90};
    products[7].promotions << DemoPromotion{today.addDays(-2), today.addDays(5), 28, 10.49}
                           << DemoPromotion{today.addDays(20), today.addDays(35), 60, 10.99};
    products[8].promotions << DemoPromotion{today, today.addDays(7), 60, 7.79};
    // Finished ones, so that older orders carry promotional items too.
    products[0].promotions << DemoPromotion{today.addDays(-60), today.addDays(-40), 28, 22.49};

    const int przmax[] = {28, 28, 30, 45, 60, 60};
    for (int i = 12; i < products.size(); ++i) {
        DemoProduct &p = products[i];
        const int roll = random.between(1, 1000);
        if (roll <= 30) {
            const QDate start = today.addDays(-random.between(0, 10));
            p.promotions << DemoPromotion{start, today.addDays(random.between(1, 20)), przmax[random.between(0, 5)],
                                          promotionPrice(p, random.real(0.85, 0.94))};
        } else if (roll <= 45) {
            const QDate start = today.addDays(random.between(1, 25));
            p.promotions << DemoPromotion{start, start.addDays(random.between(5, 20)), przmax[random.between(0, 5)],
                                          promotionPrice(p, random.real(0.85, 0.94))};
        } else if (roll <= 70) {
            const QDate start = today.addDays(-random.between(20, m_context.scale.historyDays));
            p.promotions << DemoPromotion{start, start.addDays(random.between(5, 15)), przmax[random.between(0, 5)],
                                          promotionPrice(p, random.real(0.85, 0.94))};
        }
    }
}

void CatalogueData::writeGroupsAndFamilies()
{
    RowWriter groups(m_context.loader, QStringLiteral("F511GFA"),
                     {QStringLiteral("CODGFA"), QStringLiteral("CODCCU"), QStringLiteral("CODEMP"),
                      QStringLiteral("DESGFA")});
    for (const DemoVocabulary::Group &g : DemoVocabulary::groups())
        groups.add({code(g.code), code(g.costCentre), code(m_context.company), text(g.name)});

    RowWriter families(m_context.loader, QStringLiteral("F511FAM"),
                       {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODFAM"),
                        QStringLiteral("DESFAM"), QStringLiteral("RETPDV")});
    RowWriter members(m_context.loader, QStringLiteral("F511IFA"),
                      {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODGFA"),
                       QStringLiteral("CODFAM")});
    for (const DemoVocabulary::Family &f : DemoVocabulary::families()) {
        families.add({code(m_context.company), code(f.costCentre), code(f.code), text(f.name),
                      text(f.pickUpDiscount ? QStringLiteral("S") : QStringLiteral("N"))});
        members.add({code(m_context.company), code(f.costCentre), code(f.group), code(f.code)});
    }
}

void CatalogueData::writeProducts()
{
    RowWriter rows(m_context.loader, QStringLiteral("F511PRO"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPRO"),
                    QStringLiteral("CODFAM"), QStringLiteral("DESPRO"), QStringLiteral("UNDPRO"),
                    QStringLiteral("DISPRO"), QStringLiteral("FATPRO"), QStringLiteral("PESPRO")});
    for (const DemoProduct &p : m_context.products)
        rows.add({code(m_context.company), code(p.ccu), code(p.code), code(p.family), text(p.description),
                  text(p.unit), dec(p.stock, 2), dec(p.factor, 3), code(p.weight)});
}

void CatalogueData::writePriceTables()
{
    DemoRandom &random = m_context.random;
    const QDate today = m_context.today;
    const QString tableNames[3] = {QStringLiteral("TABELA PADRÃO"), QStringLiteral("TABELA ATACADO"),
                                   QStringLiteral("TABELA REDES")};
    RowWriter rows(m_context.loader, QStringLiteral("F511TAB"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPRO"),
                    QStringLiteral("CODTAB"), QStringLiteral("DESTAB"), QStringLiteral("PRCVEN"),
                    QStringLiteral("NOVPRV"), QStringLiteral("SITALT"), QStringLiteral("DATALT"),
                    QStringLiteral("CODCOS"), QStringLiteral("DESCOS"), QStringLiteral("MAXDCT"),
                    QStringLiteral("RJTTAB")});
    for (const DemoProduct &p : m_context.products) {
        // Price change: recent ones ('S', within the last five days) and older ones ('N').
        QDate changed;
        QString situation = QStringLiteral("N");
        double announced = 1.0;
        if (p.code == 5 || p.code == 11) {
            changed = today.addDays(p.code == 5 ? -2 : -5);
            situation = QStringLiteral("S");
        } else if (p.code == 12) {
            changed = today.addDays(-6);
        } else if (p.code > 12 && random.chance(0.08)) {
            changed = today.addDays(-random.between(0, 5));
            situation = QStringLiteral("S");
        } else {
            changed = today.addDays(-random.between(10, 300));
            if (random.chance(0.10))
                announced = random.real(1.03, 1.08); // a new price announced, not yet in force
        }
        if (p.code == 5)
            announced = 16.90 / 15.90;
        for (int t = 0; t < 3; ++t) {
            if (p.tablePrice[t] <= 0)
                continue;
            rows.add({code(m_context.company), code(p.ccu), code(p.code), code(t + 1), text(tableNames[t]),
                      dec(p.tablePrice[t], 3), dec(p.tablePrice[t] * announced, 3), text(situation), date(changed),
                      code(p.scale), text(m_context.scaleNames.value(p.scale)), dec(p.maxdct, 2),
                      dec(p.rjttab, 2)});
        }
    }
}

void CatalogueData::writePromotions()
{
    RowWriter rows(m_context.loader, QStringLiteral("F511PRM"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPRO"),
                    QStringLiteral("DATINI"), QStringLiteral("DATFIM"), QStringLiteral("PRZMAX"),
                    QStringLiteral("VLRPRM")});
    for (const DemoProduct &p : m_context.products)
        for (const DemoPromotion &r : p.promotions)
            rows.add({code(m_context.company), code(p.ccu), code(p.code), date(r.start), date(r.end),
                      code(r.przmax), dec(r.price, 3)});
}

void CatalogueData::writeTaxes()
{
    RowWriter rows(m_context.loader, QStringLiteral("F511IMP"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODPRO"),
                    QStringLiteral("ESTCID"), QStringLiteral("ALISTR"), QStringLiteral("ALIICM"),
                    QStringLiteral("ALIINA"), QStringLiteral("CFTICM")});
    for (const DemoProduct &p : m_context.products) {
        if (p.substitution) {
            for (const QString &state : kStates) {
                DemoTax tax;
                tax.alistr = margin(p.family);
                tax.aliicm = state == m_context.userState ? 18.0 : 12.0;
                tax.aliina = internalRate(state);
                tax.cfticm = 1.0;
                m_context.taxes.insert(DemoContext::taxKey(p.code, state), tax);
                rows.add({code(m_context.company), code(p.ccu), code(p.code), text(state), dec(tax.alistr, 2),
                          dec(tax.aliicm, 2), dec(tax.aliina, 2), dec(tax.cfticm, 6)});
            }
        } else {
            // Only the seller's own state, without substitution (basic food with a reduced base).
            DemoTax tax;
            tax.aliicm = 18.0;
            tax.aliina = 18.0;
            tax.cfticm = p.pickUpDiscount ? 0.388889 : 1.0;
            m_context.taxes.insert(DemoContext::taxKey(p.code, m_context.userState), tax);
            rows.add({code(m_context.company), code(p.ccu), code(p.code), text(m_context.userState),
                      dec(tax.alistr, 2), dec(tax.aliicm, 2), dec(tax.aliina, 2), dec(tax.cfticm, 6)});
        }
    }
}
