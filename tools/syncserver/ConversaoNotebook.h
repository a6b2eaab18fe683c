#pragma once

#include <QStringList>

class FirebirdConnection;

// Turns a copy of a notebook's database into the central server's starting data. What the
// notebook had not sent yet is taken out, because the notebook itself sends it at its next
// synchronisation: typed orders and budgets (server number 0), customers registered there,
// unsent messages and flex movements; customers changed there keep their server state. The
// notebook's shapes become the server's: a received message is addressed to the notebook's
// user, a sent one becomes one row per recipient, bonus orders move to F030PDV awaiting a
// decision, and the other sellers whose customers the notebook held become sellers it may
// stand in for (F030SUB).
class ConversaoNotebook
{
public:
    explicit ConversaoNotebook(FirebirdConnection &conexao);

    // Runs after EsquemaCentral::prepara, in one transaction. Throws DatabaseError.
    void converte();

private:
    void convertePedidos();
    void converteClientes();
    void converteMensagens();
    void converteBonificacoes();
    void converteMovimentos();
    void registraSubstitutos();

    FirebirdConnection &m_conexao;
    QStringList m_empresasMensagens;
};
