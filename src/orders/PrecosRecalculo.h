#pragma once

#include "BasePreco.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QtGlobal>

#include <optional>

class FirebirdConnection;
class ConsultaProdutos;

// The prices the items are re-priced against: the rows of the re-pricing variant of the
// product statement, found by cost centre and product (the first row of a product counts).
class PrecosRecalculo
{
public:
    // Runs query.instrucaoRecalculo(). Throws DatabaseError.
    static PrecosRecalculo carrega(FirebirdConnection &connection, const ConsultaProdutos &consulta);
    // The same prices for the listed products only (cost centre, product), as re-pricing an
    // order needs them: one indexed look-up per product. Throws DatabaseError.
    static PrecosRecalculo carrega(FirebirdConnection &connection, const ConsultaProdutos &consulta,
                                const QList<QPair<qint64, qint64>> &produtos);

    void adiciona(qint64 CODCCU, qint64 CODPRO, const BasePreco &linha); // a later row of a product is ignored
    std::optional<BasePreco> procura(qint64 CODCCU, qint64 CODPRO) const;
    qsizetype tamanho() const { return m_linhas.size(); }

private:
    QHash<QPair<qint64, qint64>, BasePreco> m_linhas;
};
