#include "OrganisationData.h"

#include "DemoContext.h"
#include "DemoValues.h"
#include "DemoVocabulary.h"
#include "RowWriter.h"

using namespace DemoValues;

OrganisationData::OrganisationData(DemoContext &context)
    : m_context(context)
{
}

void OrganisationData::write()
{
    writeCostCentres();
    writeCommercialRules();
    writeScales();
    writeCustomerTypes();
    writeCities();
    writeMessageUsers();
    defineSellers();
}

void OrganisationData::writeCostCentres()
{
    m_context.costCentres = {{1, QStringLiteral("ALIMENTOS")},
                             {2, QStringLiteral("HIGIENE E LIMPEZA")},
                             {3, QStringLiteral("BEBIDAS")}};
    RowWriter rows(m_context.loader, QStringLiteral("F515CCU"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("DESCCU")});
    for (auto it = m_context.costCentres.cbegin(); it != m_context.costCentres.cend(); ++it)
        rows.add({code(m_context.company), code(it.key()), text(it.value())});
}

void OrganisationData::writeCommercialRules()
{
    const int emp = m_context.company;
    const QString S = QStringLiteral("S"), N = QStringLiteral("N");

    RowWriter transactions(m_context.loader, QStringLiteral("F513TRA"),
                           {QStringLiteral("CODEMP"), QStringLiteral("CODTRA"), QStringLiteral("DESTRA"),
                            QStringLiteral("DESFLX"), QStringLiteral("GERBON"), QStringLiteral("GERTIT")});
    transactions.add({code(emp), code(1), text(QStringLiteral("VENDA MERCANTIL")), text(S), text(N), text(S)});
    transactions.add({code(emp), code(2), text(QStringLiteral("BONIFICAÇÃO")), text(N), text(S), text(N)});
    transactions.add({code(emp), code(3), text(QStringLiteral("TROCA DE MERCADORIA")), text(N), text(N), text(N)});
    transactions.add({code(emp), code(4), text(QStringLiteral("VENDA PARA ENTREGA FUTURA")), text(S), text(N), text(S)});

    // Operation 3 is not allowed in HIGIENE E LIMPEZA, operation 5 not in BEBIDAS.
    m_context.operations = {
        {1, {1, QStringLiteral("VENDA DENTRO DO ESTADO"), true, {1, 2, 3}}},
        {2, {2, QStringLiteral("VENDA FORA DO ESTADO"), true, {1, 2, 3}}},
        {3, {3, QStringLiteral("VENDA A CONSUMIDOR FINAL"), false, {1, 3}}},
        {4, {4, QStringLiteral("REMESSA EM BONIFICAÇÃO"), false, {1, 2, 3}}},
        {5, {5, QStringLiteral("VENDA SIMPLES NACIONAL"), false, {1, 2}}},
    };
    RowWriter operations(m_context.loader, QStringLiteral("F513OPE"),
                         {QStringLiteral("CODEMP"), QStringLiteral("CODOPE"), QStringLiteral("NOMOPE"),
                          QStringLiteral("TEMFLU")});
    RowWriter allowed(m_context.loader, QStringLiteral("F513OCU"),
                      {QStringLiteral("CODEMP"), QStringLiteral("CODCCU"), QStringLiteral("CODOPE")});
    for (const DemoOperation &o : std::as_const(m_context.operations)) {
        operations.add({code(emp), code(o.code), text(o.name), text(o.substitution ? S : N)});
        for (int ccu = 1; ccu <= 3; ++ccu)
            if (o.costCentres.contains(ccu))
                allowed.add({code(emp), code(ccu), code(o.code)});
    }

    const auto condition = [](int c, const char *name, double minimum, int days, bool noDebit, bool exclusive) {
        return DemoCondition{c, QString::fromUtf8(name), minimum, days, noDebit, exclusive};
    };
    const QList<DemoCondition> conditions = {
        condition(1, "À VISTA", 0, 0, false, false),
        condition(2, "7 DIAS", 50, 7, false, false),
        condition(3, "14 DIAS", 100, 14, false, false),
        condition(4, "28 DIAS", 200, 28, false, false),
        condition(5, "30 DIAS", 250, 30, false, false),
        condition(6, "30/60 DIAS", 500, 60, false, false),
        condition(7, "BONIFICAÇÃO SEM DÉBITO", 0, 0, true, false),
        condition(8, "TROCA SEM DÉBITO", 0, 0, true, false),
        condition(9, "ESPECIAL REDES 45 DIAS", 1500, 45, false, true),
        condition(10, "ESPECIAL 21 DIAS", 300, 21, false, true),
    };
    RowWriter rows(m_context.loader, QStringLiteral("F513CON"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCON"), QStringLiteral("DESCON"),
                    QStringLiteral("PDVMIN"), QStringLiteral("MAXDIA"), QStringLiteral("SEMDBT"),
                    QStringLiteral("TIPCON")});
    for (const DemoCondition &c : conditions) {
        m_context.conditions.insert(c.code, c);
        rows.add({code(emp), code(c.code), text(c.name), dec(c.minimum, 2), code(c.maxDays),
                  text(c.withoutDebit ? S : N), text(c.exclusive ? QStringLiteral("E") : N)});
    }

    // Cash and short terms earn a discount over the table price; (1, 4) is stored without a value.
    RowWriter discounts(m_context.loader, QStringLiteral("F513DES"),
                        {QStringLiteral("CODEMP"), QStringLiteral("CODOPE"), QStringLiteral("CODCON"),
                         QStringLiteral("PORDES")});
    const struct { int operation, condition; double value; } rules[] = {
        {1, 1, 3.00}, {2, 1, 3.00}, {5, 1, 3.00}, {3, 1, 5.00}, {1, 2, 2.00}, {2, 2, 2.00},
        {1, 3, 1.00}, {2, 3, 1.00}, {1, 9, 2.50}, {2, 9, 2.50}, {1, 10, 1.50}, {1, 4, -1},
    };
    for (const auto &r : rules) {
        if (r.value >= 0)
            m_context.discounts.insert(r.operation * 1000 + r.condition, r.value);
        discounts.add({code(emp), code(r.operation), code(r.condition), r.value >= 0 ? dec(r.value, 2) : null()});
    }
}

void OrganisationData::writeScales()
{
    m_context.scales = {{1, {0, 1, 2, 3, 4, 5}}, {2, {0, 2, 4, 6, 8}}, {3, {0, 1.5, 3}}, {4, {0}}};
    m_context.scaleNames = {{1, QStringLiteral("ESCALA A (ATÉ 5%)")},
                            {2, QStringLiteral("ESCALA B (ATÉ 8%)")},
                            {3, QStringLiteral("ESCALA C (ATÉ 3%)")},
                            {4, QStringLiteral("SEM ESCALA (MÁXIMO DA TABELA)")}};
    RowWriter rows(m_context.loader, QStringLiteral("F512COS"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCOS"), QStringLiteral("PCTDCT")});
    for (auto it = m_context.scales.cbegin(); it != m_context.scales.cend(); ++it)
        for (double step : it.value())
            rows.add({code(m_context.company), code(it.key()), dec(step, 2)});
}

void OrganisationData::writeCustomerTypes()
{
    RowWriter rows(m_context.loader, QStringLiteral("F510TIP"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODTIP"), QStringLiteral("DESTIP"),
                    QStringLiteral("TEMCHK")});
    const struct { int code; const char *name; bool checkouts; } types[] = {
        {1, "SUPERMERCADO", true},  {2, "MERCEARIA", false},  {3, "PADARIA E CONFEITARIA", false},
        {4, "ATACADO", false},      {5, "HIPERMERCADO", true}, {6, "BAR E LANCHONETE", false},
        {7, "RESTAURANTE", false},  {8, "FARMÁCIA", false},    {9, "LOJA DE CONVENIÊNCIA", true},
    };
    for (const auto &t : types)
        rows.add({code(m_context.company), code(t.code), text(QString::fromUtf8(t.name)),
                  text(t.checkouts ? QStringLiteral("S") : QStringLiteral("N"))});
}

void OrganisationData::writeCities()
{
    RowWriter rows(m_context.loader, QStringLiteral("F501CID"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODCID"), QStringLiteral("NOMCID"),
                    QStringLiteral("ESTCID")});
    int cityCode = 101;
    for (const DemoVocabulary::City &c : DemoVocabulary::cities()) {
        DemoCity city{cityCode++, c.name, c.state, c.areaCode};
        m_context.cities << city;
        rows.add({code(m_context.company), code(city.code), text(city.name), text(city.state)});
    }
}

void OrganisationData::writeMessageUsers()
{
    m_context.messageUsers = {
        {0, QStringLiteral("SISTEMA")},          {1, QStringLiteral("ESCRITÓRIO CENTRAL")},
        {2, QStringLiteral("FINANCEIRO")},       {3, QStringLiteral("ROBERTO MOREIRA")},
        {7, QStringLiteral("MARCOS PEREIRA")},   {9, QStringLiteral("JULIANA LIMA")},
        {10, QStringLiteral("RAFAEL COSTA")},    {11, QStringLiteral("PATRÍCIA ROCHA")},
        {12, QStringLiteral("EDUARDO FARIAS")},
    };
    RowWriter rows(m_context.loader, QStringLiteral("F599MSU"),
                   {QStringLiteral("CODEMP"), QStringLiteral("CODUSU"), QStringLiteral("NOMUSU")});
    for (const DemoMessageUser &u : std::as_const(m_context.messageUsers))
        rows.add({code(m_context.company), code(u.code), text(u.name)});
}

void OrganisationData::defineSellers()
{
    // Written with their flex figures once the orders are known (DemoDataGenerator).
    m_context.sellers = {
        {12, {12, QStringLiteral("MARCOS ANTÔNIO PEREIRA"), QStringLiteral("11"), 0, 1850.40}},
        {14, {14, QStringLiteral("JULIANA SOUZA LIMA"), QStringLiteral("19"), 420.00, 960.15}},
        {15, {15, QStringLiteral("RAFAEL MENDES COSTA"), QStringLiteral("16"), 135.50, 310.00}},
        {21, {21, QStringLiteral("PATRÍCIA ALMEIDA ROCHA"), QStringLiteral("15"), 780.25, 2210.90}},
        {23, {23, QStringLiteral("EDUARDO NUNES FARIAS"), QStringLiteral("13"), -120.00, 45.00}},
    };
}
