#pragma once

#include <QDate>
#include <QString>

class FirebirdConnection;

// Writing whole orders from the order list: the copy of an order into a new number and the
// removal of an order. Each one is a single transaction, so a failure never leaves items
// without their header (or a header without its items).
class GravacaoPedido
{
public:
    // The order a copy or removal starts from.
    struct Chave
    {
        QString CODEMP;
        QString CODPDF;
        QString CODINT;
    };

    // The order has an item with a quantity still to be invoiced (QTDPRO > QTDFAT).
    static bool temItensPendentes(FirebirdConnection &connection, const Chave &origem);

    // The statements of the copy, with the new number N: items (whole or pending quantities
    // only, with proportional flex) and header (status 'D', today's date, flex unsettled).
    static QString instrucaoCopiaItens(const Chave &origem, const QString &N, bool somentePendentes);
    static QString instrucaoCopiaCabecalho(const Chave &origem, const QString &N, const QDate &hoje);

    // Items then header in one transaction. False, with nothing written, when the source order
    // is gone (a list left stale by a refused search). Throws DatabaseError (nothing is written then).
    static bool copia(FirebirdConnection &connection, const Chave &origem, const QString &N, bool somentePendentes,
                     const QDate &hoje);

    // Every item and header row of the company and number, whatever its CODINT, in one
    // transaction. Throws DatabaseError.
    static void exclui(FirebirdConnection &connection, const QString &CODEMP, const QString &CODPDF);
    // Items then header of exactly this order (the copy abandoned by "Voltar").
    static void excluiExato(FirebirdConnection &connection, const Chave &pedido);
};
