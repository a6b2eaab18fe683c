#pragma once

#include <QString>

// The filters shared by the product lists (the price-table window and the order's "Itens"
// tab): each condition is empty when its value is, otherwise " AND …" with the value quoted.
// Codes are compared as the seller reads them, written with leading zeros, so a typed prefix
// "00012" finds the products 1200 to 1299.
namespace FiltrosProdutos {

// The product code, 7 digits, starts with the prefix.
QString codigo(const QString &coluna, const QString &prefixo);
// The family code, 4 digits, starts with the prefix.
QString familia(const QString &coluna, const QString &prefixo);
// The group code, 5 digits, starts with the prefix.
QString grupo(const QString &coluna, const QString &prefixo);
// The description holds the text, upper or lower case alike.
QString descricao(const QString &coluna, const QString &texto);

} // namespace FiltrosProdutos
