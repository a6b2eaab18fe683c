#pragma once

#include <QString>
#include <QStringList>

class FirebirdConnection;

// The local-database work the server's tokens ask for: emptying every user table (a user the
// server refuses, and the sync window's reset) and marking the orders and messages the server
// has just processed as sent. Failures reach the caller as DatabaseError.
class BaseLocalSincronizacao
{
public:
    static const QString kSelectTabelas;
    static const QString kUpdatePedidosEnviados;
    static const QString kUpdateMensagensEnviadas;
    // Only the typed orders the package could hold: those with items.
    static const QString kUpdatePedidosComItensEnviados;

    explicit BaseLocalSincronizacao(FirebirdConnection &conexao);

    // User tables of the local file, names as the catalogue gives them (blank-padded).
    QStringList tabelas() const;
    // Deletes the rows of every user table, the user table included; the tables stay. All or
    // nothing: a failure leaves every row in place.
    void esvaziaTabelas();
    // "#GERANDO#": typed orders that are not budgets become 'L', outgoing messages 'E'.
    void marcaEnviados();
    // The same for what the package really carried: orders (with items) only when they went
    // into the script without a failure, messages likewise. An order left out stays typed and
    // goes with the next synchronisation.
    void marcaEnviados(bool pedidos, bool mensagens);

private:
    FirebirdConnection &m_conexao;
};
