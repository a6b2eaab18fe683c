#pragma once

#include <QString>

class D500CAD;

// Starting an order for a customer from the registry or the route: the refusals and the
// values handed over to the order window through D500CAD.
class InicioPedido
{
public:
    struct Cliente
    {
        QString codCli;
        QString codNov;
        QString codVen; // the customer's own seller; may be empty
        QString sitCli;
    };

    static QString mensagemBloqueado();
    static QString mensagemExpirada();

    // The refusal of the registry's "Pedido de Venda", or empty: a blocked customer first,
    // then the expired update.
    static QString recusaCadastro(const Cliente &cliente, bool atualizacaoExpirada);
    // The route lists no blocked customer; only the expired update refuses there.
    static QString recusaRoteiro(bool atualizacaoExpirada);

    // The seller an order carries: the customer's own when known, else the session's. The
    // route hands it over too, so an order started there never inherits the seller of an
    // earlier hand-over.
    static QString vendedorDoPedido(const QString &codVenCliente, const QString &codVenSessao);

    static void entrega(D500CAD &cad, const Cliente &cliente, const QString &codVenSessao);
};
