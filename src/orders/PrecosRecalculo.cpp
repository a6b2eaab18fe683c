#include "PrecosRecalculo.h"

#include "ConsultaProdutos.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "StatementRun.h"

#include <QSqlError>
#include <QSet>

namespace {

// Column positions of the re-pricing statements, known from the statement itself:
// QSqlQuery::record() asks the catalogue on every call.
struct Columns
{
    int CODCCU = ConsultaProdutos::colunaRecalculo(QStringLiteral("CODCCU"));
    int CODPRO = ConsultaProdutos::colunaRecalculo(QStringLiteral("CODPRO"));
    int PRCTAB = ConsultaProdutos::colunaRecalculo(QStringLiteral("PRCTAB"));
    int PRCVEN = ConsultaProdutos::colunaRecalculo(QStringLiteral("PRCVEN"));
    int MAXDCT = ConsultaProdutos::colunaRecalculo(QStringLiteral("MAXDCT"));
    int FATPRO = ConsultaProdutos::colunaRecalculo(QStringLiteral("FATPRO"));
    int RJTTAB = ConsultaProdutos::colunaRecalculo(QStringLiteral("RJTTAB"));
    int VLRPRM = ConsultaProdutos::colunaRecalculo(QStringLiteral("VLRPRM"));
    int PRZMAX = ConsultaProdutos::colunaRecalculo(QStringLiteral("PRZMAX"));
};

Decimal numeric(const QSqlQuery &rows, int column, int scale)
{
    return Decimal::fromText(rows.value(column).toString(), scale);
}

qint64 code(const QSqlQuery &rows, int column)
{
    return numeric(rows, column, 0).toInteger(Decimal::Rounding::HalfAwayFromZero);
}

void adicionaLinhas(PrecosRecalculo &prices, QSqlQuery &rows, const Columns &c)
{
    while (rows.next()) {
        BasePreco row;
        row.PRCTAB = numeric(rows, c.PRCTAB, 3);
        row.PRCVEN = numeric(rows, c.PRCVEN, 3);
        row.MAXDCT = numeric(rows, c.MAXDCT, 2);
        row.FATPRO = numeric(rows, c.FATPRO, 3);
        row.RJTTAB = numeric(rows, c.RJTTAB, 2);
        if (!rows.value(c.VLRPRM).isNull())
            row.VLRPRM = numeric(rows, c.VLRPRM, 3);
        row.PRZMAX = code(rows, c.PRZMAX);
        prices.adiciona(code(rows, c.CODCCU), code(rows, c.CODPRO), row);
    }
}

} // namespace

PrecosRecalculo PrecosRecalculo::carrega(FirebirdConnection &connection, const ConsultaProdutos &query)
{
    PrecosRecalculo prices;
    QSqlQuery rows = StatementRun::run(connection, query.instrucaoRecalculo());
    adicionaLinhas(prices, rows, Columns());
    return prices;
}

PrecosRecalculo PrecosRecalculo::carrega(FirebirdConnection &connection, const ConsultaProdutos &query,
                                      const QList<QPair<qint64, qint64>> &products)
{
    PrecosRecalculo prices;
    if (products.isEmpty())
        return prices;
    QSqlQuery rows = connection.query();
    rows.setForwardOnly(true);
    if (!rows.prepare(query.instrucaoRecalculoProduto()))
        throw DatabaseError(engineMessage(rows.lastError()));
    const Columns columns;
    QSet<QPair<qint64, qint64>> done;
    for (const QPair<qint64, qint64> &product : products) {
        if (done.contains(product))
            continue;
        done.insert(product);
        rows.bindValue(QStringLiteral(":PCODCCU"), QString::number(product.first));
        rows.bindValue(QStringLiteral(":PCODPRO"), QString::number(product.second));
        if (!rows.exec())
            throw DatabaseError(engineMessage(rows.lastError()));
        adicionaLinhas(prices, rows, columns);
    }
    return prices;
}

void PrecosRecalculo::adiciona(qint64 CODCCU, qint64 CODPRO, const BasePreco &row)
{
    const QPair<qint64, qint64> key(CODCCU, CODPRO);
    if (!m_rows.contains(key))
        m_rows.insert(key, row);
}

std::optional<BasePreco> PrecosRecalculo::procura(qint64 CODCCU, qint64 CODPRO) const
{
    const auto it = m_rows.constFind(QPair<qint64, qint64>(CODCCU, CODPRO));
    if (it == m_rows.cend())
        return std::nullopt;
    return *it;
}
