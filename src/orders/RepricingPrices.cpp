#include "RepricingPrices.h"

#include "ProductQuery.h"
#include "StatementRun.h"

#include <QSqlRecord>

namespace {

Decimal numeric(const QSqlRecord &record, const char *field, int scale)
{
    return Decimal::fromText(record.value(QLatin1String(field)).toString(), scale);
}

qint64 code(const QSqlRecord &record, const char *field)
{
    return numeric(record, field, 0).toInteger(Decimal::Rounding::HalfAwayFromZero);
}

} // namespace

RepricingPrices RepricingPrices::load(FirebirdConnection &connection, const ProductQuery &query)
{
    RepricingPrices prices;
    QSqlQuery rows = StatementRun::run(connection, query.repricingStatement());
    while (rows.next()) {
        const QSqlRecord record = rows.record();
        PriceBasis row;
        row.PRCTAB = numeric(record, "PRCTAB", 3);
        row.PRCVEN = numeric(record, "PRCVEN", 3);
        row.MAXDCT = numeric(record, "MAXDCT", 2);
        row.FATPRO = numeric(record, "FATPRO", 3);
        row.RJTTAB = numeric(record, "RJTTAB", 2);
        if (!record.value(QStringLiteral("VLRPRM")).isNull())
            row.VLRPRM = numeric(record, "VLRPRM", 3);
        row.PRZMAX = code(record, "PRZMAX");
        prices.add(code(record, "CODCCU"), code(record, "CODPRO"), row);
    }
    return prices;
}

void RepricingPrices::add(qint64 CODCCU, qint64 CODPRO, const PriceBasis &row)
{
    const QPair<qint64, qint64> key(CODCCU, CODPRO);
    if (!m_rows.contains(key))
        m_rows.insert(key, row);
}

std::optional<PriceBasis> RepricingPrices::find(qint64 CODCCU, qint64 CODPRO) const
{
    const auto it = m_rows.constFind(QPair<qint64, qint64>(CODCCU, CODPRO));
    if (it == m_rows.cend())
        return std::nullopt;
    return *it;
}
