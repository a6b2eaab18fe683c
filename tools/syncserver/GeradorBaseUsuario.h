#pragma once

#include "ServicosServidor.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class FirebirdConnection;

// Builds the database file one user receives: a copy of the contract template filled from the
// central database with what that user may see. The user's own row carries the moment of the
// update (DATATL, HORATL) and, as EXPANT and SENANT, the expiry flag and password the server
// holds, so a password changed on the notebook logs in with the old one until the server has
// the new. The company's rules and catalogue go whole; customers are the seller's and those of
// the sellers it stands in for, with their routes, conditions, operations, titles and pending
// items; orders are the seller's (as seller or substitute) under their server numbers, typed
// and released ones shown as sent ('E'); messages to the user arrive as received ('R'), those
// the user sent as sent ('E') with their recipients; bonus orders are those awaiting a
// decision (the seller's, or the company's for a supervisor); flex movements are those of the
// supervisor; goals are the seller's, and the team's for a supervisor.
//
// Most of a file is the company's catalogue and rules, the same for all its users: that part is
// built once into a catalogue file (geraCatalogo), and each user's file is a copy of it with
// the user's rows added (gera).
class GeradorBaseUsuario
{
public:
    GeradorBaseUsuario(FirebirdConnection &central, const QString &modelo);

    // Tables whose rows depend on the user; every other table of the file is the company's.
    static bool tabelaDoUsuario(const QString &tabela);

    // Writes `destino` (replacing it): the template with the company's tables filled.
    // Throws DatabaseError.
    void geraCatalogo(const QString &empresa, const QString &destino);
    // Adds to `destino`, a copy of the company's catalogue, the user's orders (with their items)
    // that the back office has closed (every state but 'D' and 'L'): the bulk of a seller's rows,
    // which change only when the back office changes them. Throws DatabaseError.
    void geraHistorico(const UsuarioServidor &usuario, const QString &destino);
    // Adds the user's rows to `destino`, a copy of the user's company's catalogue (or of the
    // user's history when `comHistorico`: then only the open orders are added), and turns its
    // forced writes on. Throws DatabaseError.
    void gera(const UsuarioServidor &usuario, const QString &destino, const QDateTime &momento, bool comHistorico = false);

    // The condition of a closed order on alias `alias`.
    static QString pedidoFechado(const QString &alias);

private:
    // Which of the user's orders (with their items) a fill takes.
    enum class Pedidos { Todos, Fechados, Abertos };

    struct Usuario
    {
        QString CODEMP, CODUSU, CODVEN, CODSUP;
        bool supervisor = false;
        Pedidos pedidos = Pedidos::Todos;
    };
    // One SELECT feeding a table of the user's file: columns by their names in that file.
    struct Origem
    {
        QString tabela;                      // central table behind alias T
        QString de;                          // FROM (and joins); empty: tabela T
        QString onde;                        // WHERE, may be empty
        QHash<QString, QString> expressoes;  // column -> expression replacing T.column
        QString agrupamento;                 // GROUP BY; columns without expression become NULL
        bool distinto = false;
    };

    Usuario leUsuario(const UsuarioServidor &usuario) const;
    QList<Origem> origens(const QString &tabela, const Usuario &usuario) const;
    QStringList colunasCentrais(const QString &tabela);
    void copiaTabela(FirebirdConnection &destino, const QString &tabela, const Usuario &usuario,
                     const QVariantMap &parametros);
    // Fills the tables of `destino` that `incluida` accepts.
    void preenche(const QString &destino, const Usuario &usuario, const QVariantMap &parametros,
                  const std::function<bool(const QString &)> &incluida);

    FirebirdConnection &m_central;
    QString m_modelo;
    QHash<QString, QStringList> m_colunasCentrais;
};
