#pragma once

#include "FirebirdConnection.h"
#include "ServicosServidor.h"
#include "TraducaoScript.h"

#include <QHash>
#include <QString>
#include <QVariantMap>

// The central database of the reference server (CENTRAL.FDB in its data folder): the
// client's contract plus the server's own columns, tables, trigger and sequences. It accepts
// the users, executes their uploaded scripts and hands the building of each user's file to
// GeradorBaseUsuario. The template of that file (MODELO.FDB) is made from the contract, and
// made again whenever the contract is newer than it.
class BaseCentral : public ServicosServidor
{
public:
    static QString nomeArquivo() { return QStringLiteral("CENTRAL.FDB"); }
    static QString nomeModelo() { return QStringLiteral("MODELO.FDB"); }

    // Creates CENTRAL.FDB in `pasta` from a notebook database (a demo folder's ORVALIS.FDB):
    // the copy keeps the company's data and users; what the notebook had not sent yet (typed
    // orders, budgets, new customers, unsent messages and movements) is left out, since the
    // notebook sends it at its next synchronisation. Refuses to overwrite an existing file.
    // Throws DatabaseError.
    static void criaDe(const QString &pasta, const QString &origem);

    // Opens the central file of `pasta` and brings its own structure up to date; builds the
    // template from the contract in `esquema` when it is missing or older. `arquivo` names the
    // central database elsewhere (a path or a Firebird server's host:path). Throws DatabaseError.
    BaseCentral(const QString &pasta, const QString &esquema, const QString &arquivo = QString());
    ~BaseCentral() override;

    std::optional<UsuarioServidor> autentica(const QString &nome, const QString &senha) override;
    void gravaServidor(const UsuarioServidor &usuario, const QString &endereco) override;
    int executaScript(const UsuarioServidor &usuario, const QStringList &linhas) override;
    void geraBase(const UsuarioServidor &usuario, const QString &arquivo) override;

    // Adds or replaces a user of the central database; the password is given in clear and
    // stored scrambled as the notebook sends it.
    void cadastraUsuario(const QString &empresa, const QString &usuario, const QString &nome,
                         const QString &senha, const QString &vendedor);

    FirebirdConnection &conexao() { return m_conexao; }
    QString pasta() const { return m_pasta; }
    TraducaoScript::TipoColuna tipoColuna(const QString &tabela, const QString &coluna) const;

private:
    struct Comando
    {
        QString sql;
        QVariantMap parametros;
    };

    void leTiposColunas();
    // One uploaded line, checked and translated. Only inserts and updates of the tables the
    // notebook writes pass; the password change runs as the server's own statement for the
    // logged user, so no script can touch another user's row.
    Comando comandoAceito(const TraducaoScript &traducao, const QString &linha, int numero,
                          const UsuarioServidor &usuario) const;

    QString m_pasta;
    QString m_modelo;
    FirebirdConnection m_conexao;
    QHash<QString, TraducaoScript::TipoColuna> m_tipos; // "TABELA.COLUNA"
};
