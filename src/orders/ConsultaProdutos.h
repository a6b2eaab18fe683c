#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

class FirebirdConnection;

// The statement of the product list of the "Itens" tab, priced for the order being edited:
// the operation-and-condition discount, the pick-up discount of the families that grant it and
// the seller's surcharge on table 1 are written into it as two-decimal factors; the typed
// filters reach it only as quoted literals. Also its re-pricing variant (products only).
class ConsultaProdutos
{
public:
    // The commercial terms the prices are derived from.
    struct Termos
    {
        qint64 CODEMP = 0;             // session company
        std::optional<qint64> CODTAB;  // header's price table; empty lists nothing
        Decimal PORDES;                // operation-and-condition discount, percent (0 when none)
        bool retirada = false;           // header RETPDV is 'S'
        Decimal DESRET;                // session pick-up discount, percent
        Decimal ACRTAB;                // session surcharge, percent (table 1 only)
        QDate hoje;                   // promotions valid on this day
    };

    // The filter panel.
    struct Filtros
    {
        QString codigo;                      // "Código :" as typed: prefix of the 7-digit code
        QString descricao;               // "Descrição :" as typed: part of the description
        std::optional<qint64> familia;      // "Famílias :" checked with a family chosen
        std::optional<qint64> grupo;       // "Grupo :" checked with a group chosen
        std::optional<qint64> grupoFamilia; // "Grupo :" unchecked, "Famílias :" checked: the
                                           // CODGFA of the family list's current row
        // "Somente Ultimo Preço" checked and the customer's last purchases are not empty: the
        // customer (CODCLI as the last purchases were read with). Only the products the customer
        // bought in a transaction other than a bonus are listed.
        std::optional<qint64> ultimasComprasDe;
    };

    // The factors written into the statement, each with two decimals.
    struct Fatores
    {
        Decimal A; // 1 − PORDES/100
        Decimal B; // 1 − DESRET/100 for a pick-up order, else 1.00
        Decimal C; // 1 − ACRTAB/100 on table 1, else 1.00
    };

    explicit ConsultaProdutos(const Termos &termos);

    Fatores fatores() const;
    // The list with group and family header rows, ordered by CODORD and description.
    QString instrucaoPesquisa(const Filtros &filtros) const;
    // Products only, no filters, ordered by company, CODORD and description (re-pricing).
    QString instrucaoRecalculo() const;
    // The same rows for one product of one cost centre, bound as PCODCCU and PCODPRO: found
    // through the price table's product index rather than by reading the whole table.
    QString instrucaoRecalculoProduto() const;
    // Position of a column in the rows of the re-pricing statements (-1 when absent), so that
    // readers need not ask the catalogue for the record of each statement.
    static int colunaRecalculo(const QString &nome);

    // The operation-and-condition discount, bound with PCODOPE, PCODEMP and PCODCON.
    static QString instrucaoDesconto();
    // Its value for the header's operation and condition (empty codes read as "0"): the first
    // row, 0 without a row or with a null value. Throws DatabaseError.
    static Decimal leDesconto(FirebirdConnection &connection, const QString &CODEMP, const QString &CODOPE,
                                const QString &CODCON);
    // A factor 1 − percent/100 with two decimals: 5 gives 0.95, 12.345 gives 0.88.
    static Decimal fator(const Decimal &percentual);

private:
    QString colunasPreco() const;
    QString filtrosProduto(const Filtros &filtros, const QString &produto, const QString &familia) const;
    QString ramoProdutos(const Filtros &filtros) const;
    QString ramoFamilias(const Filtros &filtros) const;
    QString ramoGrupos(const Filtros &filtros) const;
    QString instrucaoRecalculo(const QString &condicao) const;

    Termos m_termos;
};
