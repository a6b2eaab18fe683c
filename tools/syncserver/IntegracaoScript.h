#pragma once

class FirebirdConnection;

// What the server does with the rows a script has just inserted, inside the script's
// transaction. Items arrive with the notebook's order number 0 and take the server number of
// their order (same company, order number, seller and package moment). A customer the central
// database already holds is updated from the uploaded row instead of being duplicated; its
// seller stays, since the notebook sends its own seller code. A new customer gets the defaults
// the notebook gives it but does not send. A row sent again (the notebook sends again when a
// synchronisation broke after the script ran, or after a correction) replaces the earlier copy
// from the same user while the back office has not taken it: orders by their number, flex
// movements by theirs, messages by the notebook's number and recipient; an order or movement
// the back office already took keeps its copy.
class IntegracaoScript
{
public:
    explicit IntegracaoScript(FirebirdConnection &conexao);

    void integra();

private:
    void integraPedidos();
    void integraClientes();
    void integraMovimentos();
    void integraMensagens();

    FirebirdConnection &m_conexao;
};
