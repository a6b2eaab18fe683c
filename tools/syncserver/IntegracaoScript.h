#pragma once

class FirebirdConnection;

// What the server does with the rows a script has just inserted, inside the script's
// transaction. Items arrive with the notebook's order number 0 and take the server number of
// their order (same company, order number, seller and package moment). A customer the central
// database already holds is updated from the uploaded row instead of being duplicated; its
// seller stays, since the notebook sends its own seller code. A new customer gets the defaults
// the notebook gives it but does not send. An order or flex movement already received from an
// earlier package (the notebook sends again when a synchronisation broke after the script ran)
// is dropped with its items.
class IntegracaoScript
{
public:
    explicit IntegracaoScript(FirebirdConnection &conexao);

    void integra();

private:
    void integraPedidos();
    void integraClientes();
    void integraMovimentos();

    FirebirdConnection &m_conexao;
};
