#pragma once

#include <QString>

// The payment conditions offered to a customer: the general conditions without debit, every
// general condition when the customer has no exclusive condition, and the customer's exclusive
// conditions. Columns CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT; no order is imposed.
class CondicoesCliente
{
public:
    // Bound with PCODEMP and PCODCLI.
    static QString instrucao();
    // PCODCLI for the customer being loaded: its code for a synchronised customer; -1 (no
    // exclusive conditions, so every general condition) for a customer registered on the
    // notebook or when there is no customer.
    static QString parametroCliente(const QString &codigo, bool clienteNovo);
};
