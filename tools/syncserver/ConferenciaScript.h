#pragma once

#include "FormaScript.h"
#include "ServicosServidor.h"
#include "TraducaoScript.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class FirebirdConnection;

// Decides whether an uploaded script may run for the user who sent it, before any of it runs:
// every line must have one of the notebook's shapes (FormaScript) and every row it writes or
// changes must belong to the user's company and to the user, its seller, the sellers it stands
// in for or, for a supervisor, the company's sellers. Each accepted line becomes a statement of
// the server's own with the values bound as parameters; inserted rows carry the sender (USUENV).
class ConferenciaScript
{
public:
    struct Comando
    {
        QString sql;
        QVariantMap parametros;
    };

    // Throws DatabaseError when the user is not in the central database.
    ConferenciaScript(FirebirdConnection &central, const UsuarioServidor &usuario, TraducaoScript::TiposColuna tipos);

    // Throws DatabaseError "linha N: reason: text" at the first line refused.
    QList<Comando> confere(const QStringList &linhas);

private:
    Comando comando(const FormaScript::Comando &lido);
    Comando insercao(const FormaScript::Comando &lido, const QString &sequencia) const;
    void confereCliente(const FormaScript::Comando &lido) const;
    bool permitido(const std::optional<QString> &vendedor) const;

    FirebirdConnection &m_central;
    UsuarioServidor m_usuario;
    TraducaoScript::TiposColuna m_tipos;
    QString m_vendedor;
    QString m_supervisor;
    bool m_usaSupervisor = false;
    QSet<QString> m_vendedores;       // sellers whose rows the user may write
    QSet<QString> m_pedidosDoScript;  // "CODPDF|CODNOW" of the orders read so far
};
