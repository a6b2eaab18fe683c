#pragma once

#include <QString>

// The release code a supervisor gives a seller for one order: the same routine order saving
// uses to check the code the seller types.
class LiberacaoPedido
{
public:
    struct Resultado
    {
        QString senha;  // empty when nothing was generated
        QString recusa; // the message for an impossible date
    };

    // pedido: the typed order number (nothing happens when empty); data: typed dd/mm/yyyy.
    static Resultado gera(const QString &pedido, const QString &codVen, const QString &data);
};
