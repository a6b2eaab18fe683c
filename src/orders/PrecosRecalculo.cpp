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

qint64 codigo(const QSqlQuery &rows, int column)
{
    return numeric(rows, column, 0).toInteger(Decimal::Rounding::HalfAwayFromZero);
}

void adicionaLinhas(PrecosRecalculo &prices, QSqlQuery &rows, const Columns &c)
{
    while (rows.next()) {
        BasePreco linha;
        linha.PRCTAB = numeric(rows, c.PRCTAB, 3);
        linha.PRCVEN = numeric(rows, c.PRCVEN, 3);
        linha.MAXDCT = numeric(rows, c.MAXDCT, 2);
        linha.FATPRO = numeric(rows, c.FATPRO, 3);
        linha.RJTTAB = numeric(rows, c.RJTTAB, 2);
        if (!rows.value(c.VLRPRM).isNull())
            linha.VLRPRM = numeric(rows, c.VLRPRM, 3);
        linha.PRZMAX = codigo(rows, c.PRZMAX);
        prices.adiciona(codigo(rows, c.CODCCU), codigo(rows, c.CODPRO), linha);
    }
}

} // namespace

PrecosRecalculo PrecosRecalculo::carrega(FirebirdConnection &connection, const ConsultaProdutos &consulta)
{
    PrecosRecalculo prices;
    QSqlQuery rows = StatementRun::run(connection, consulta.instrucaoRecalculo());
    adicionaLinhas(prices, rows, Columns());
    return prices;
}

PrecosRecalculo PrecosRecalculo::carrega(FirebirdConnection &connection, const ConsultaProdutos &consulta,
                                      const QList<QPair<qint64, qint64>> &produtos)
{
    PrecosRecalculo prices;
    if (produtos.isEmpty())
        return prices;
    QSqlQuery rows = connection.query();
    rows.setForwardOnly(true);
    if (!rows.prepare(consulta.instrucaoRecalculoProduto()))
        throw DatabaseError(engineMessage(rows.lastError()));
    const Columns columns;
    QSet<QPair<qint64, qint64>> done;
    for (const QPair<qint64, qint64> &produto : produtos) {
        if (done.contains(produto))
            continue;
        done.insert(produto);
        rows.bindValue(QStringLiteral(":PCODCCU"), QString::number(produto.first));
        rows.bindValue(QStringLiteral(":PCODPRO"), QString::number(produto.second));
        if (!rows.exec())
            throw DatabaseError(engineMessage(rows.lastError()));
        adicionaLinhas(prices, rows, columns);
    }
    return prices;
}

void PrecosRecalculo::adiciona(qint64 CODCCU, qint64 CODPRO, const BasePreco &linha)
{
    const QPair<qint64, qint64> key(CODCCU, CODPRO);
    if (!m_linhas.contains(key))
        m_linhas.insert(key, linha);
}

std::optional<BasePreco> PrecosRecalculo::procura(qint64 CODCCU, qint64 CODPRO) const
{
    const auto it = m_linhas.constFind(QPair<qint64, qint64>(CODCCU, CODPRO));
    if (it == m_linhas.cend())
        return std::nullopt;
    return *it;
}
