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
struct Colunas
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

Decimal numerico(const QSqlQuery &linhas, int coluna, int escala)
{
    return Decimal::fromText(linhas.value(coluna).toString(), escala);
}

qint64 codigo(const QSqlQuery &linhas, int coluna)
{
    return numerico(linhas, coluna, 0).toInteger(Decimal::Rounding::HalfAwayFromZero);
}

void adicionaLinhas(PrecosRecalculo &precos, QSqlQuery &linhas, const Colunas &c)
{
    while (linhas.next()) {
        BasePreco linha;
        linha.PRCTAB = numerico(linhas, c.PRCTAB, 3);
        linha.PRCVEN = numerico(linhas, c.PRCVEN, 3);
        linha.MAXDCT = numerico(linhas, c.MAXDCT, 2);
        linha.FATPRO = numerico(linhas, c.FATPRO, 3);
        linha.RJTTAB = numerico(linhas, c.RJTTAB, 2);
        if (!linhas.value(c.VLRPRM).isNull())
            linha.VLRPRM = numerico(linhas, c.VLRPRM, 3);
        linha.PRZMAX = codigo(linhas, c.PRZMAX);
        precos.adiciona(codigo(linhas, c.CODCCU), codigo(linhas, c.CODPRO), linha);
    }
}

} // namespace

PrecosRecalculo PrecosRecalculo::carrega(FirebirdConnection &connection, const ConsultaProdutos &consulta)
{
    PrecosRecalculo precos;
    QSqlQuery linhas = StatementRun::run(connection, consulta.instrucaoRecalculo());
    adicionaLinhas(precos, linhas, Colunas());
    return precos;
}

PrecosRecalculo PrecosRecalculo::carrega(FirebirdConnection &connection, const ConsultaProdutos &consulta,
                                      const QList<QPair<qint64, qint64>> &produtos)
{
    PrecosRecalculo precos;
    if (produtos.isEmpty())
        return precos;
    QSqlQuery linhas = connection.query();
    linhas.setForwardOnly(true);
    if (!linhas.prepare(consulta.instrucaoRecalculoProduto()))
        throw DatabaseError(engineMessage(linhas.lastError()));
    const Colunas columns;
    QSet<QPair<qint64, qint64>> done;
    for (const QPair<qint64, qint64> &produto : produtos) {
        if (done.contains(produto))
            continue;
        done.insert(produto);
        linhas.bindValue(QStringLiteral(":PCODCCU"), QString::number(produto.first));
        linhas.bindValue(QStringLiteral(":PCODPRO"), QString::number(produto.second));
        if (!linhas.exec())
            throw DatabaseError(engineMessage(linhas.lastError()));
        adicionaLinhas(precos, linhas, columns);
    }
    return precos;
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
