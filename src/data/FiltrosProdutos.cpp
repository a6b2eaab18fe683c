#include "FiltrosProdutos.h"

#include "SqlText.h"

namespace FiltrosProdutos {

namespace {

QString comecaCom(const QString &coluna, int digitos, const QString &prefixo)
{
    // An empty prefix matches every row: the padded comparison would only cost time per row.
    if (prefixo.isEmpty())
        return {};
    return QStringLiteral(" AND ") + SqlText::zeroPaddedColumn(coluna, digitos) + QStringLiteral(" LIKE ")
        + SqlText::likePrefix(prefixo);
}

} // namespace

QString codigo(const QString &coluna, const QString &prefixo)
{
    return comecaCom(coluna, 7, prefixo);
}

QString familia(const QString &coluna, const QString &prefixo)
{
    return comecaCom(coluna, 4, prefixo);
}

QString grupo(const QString &coluna, const QString &prefixo)
{
    return comecaCom(coluna, 5, prefixo);
}

QString descricao(const QString &coluna, const QString &texto)
{
    if (texto.isEmpty())
        return {};
    return QStringLiteral(" AND UPPER(") + coluna + QStringLiteral(") LIKE UPPER(") + SqlText::likeContains(texto)
        + u')';
}

} // namespace FiltrosProdutos
