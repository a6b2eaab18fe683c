#pragma once

#include "FirebirdConnection.h"
#include "ServicosServidor.h"
#include "TraducaoScript.h"

#include <QHash>
#include <QString>
#include <QVariantMap>

#include <mutex>

// The central database of the reference server (CENTRAL.FDB in its data folder, or a
// Firebird server's database): the
// client's contract plus the server's own columns, tables, trigger and sequences. It accepts
// the users, executes their uploaded scripts and hands the building of each user's file to
// GeradorBaseUsuario. The template of that file (MODELO.FDB) is made from the contract, and
// made again whenever the contract is newer than it.
class GeradorBaseUsuario;
class QFile;

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

    // Opens the central database and brings its own structure up to date; builds the template
    // from the contract in `esquema` when it is missing or older. The central database is
    // CENTRAL.FDB of `pasta` unless `base` names another, a file or a Firebird server's
    // "host:path" (then `senha` is SYSDBA's password there). `pasta` keeps the template and the
    // work files. Throws DatabaseError.
    BaseCentral(const QString &pasta, const QString &esquema, const QString &base = QString(),
                const QString &senha = QString());
    ~BaseCentral() override;

    std::optional<UsuarioServidor> autentica(const QString &nome, const QString &senha) override;
    void gravaServidor(const UsuarioServidor &usuario, const QString &endereco) override;
    int executaScript(const UsuarioServidor &usuario, const QStringList &linhas) override;
    void geraPacote(const UsuarioServidor &usuario, const QString &pacote) override;
    // Writes the user's database file at `arquivo` (closed on return). Throws DatabaseError.
    void geraBase(const UsuarioServidor &usuario, const QString &arquivo);

    // Builds each company's catalogue file (CATALOGO<emp>.FDB) and each user's history (the
    // catalogue with the user's closed orders, HISTORICO<emp>_<usu>.FDB, deflated in pieces
    // beside it for the user's packages) now, so that the first user's file after a start does
    // not wait for them. Each is built again after a change to what it holds.
    void preparaCatalogos();

    // Adds or replaces a user of the central database; the password is given in clear and
    // stored scrambled as the notebook sends it.
    void cadastraUsuario(const QString &empresa, const QString &usuario, const QString &nome,
                         const QString &senha, const QString &vendedor);

    FirebirdConnection &conexao() { return m_conexao; }
    QString pasta() const { return m_pasta; }
    TraducaoScript::TipoColuna tipoColuna(const QString &tabela, const QString &coluna) const;

private:
    void leTiposColunas();
    // A connection of the calling thread to the central database, open.
    void preparaConexao(FirebirdConnection &conexao) const;
    // Brings the user's history up to date and copies it to `destino` (when not empty). When
    // given, `historico` and `pecas` are opened on the history copied and its deflated pieces, as
    // they were at the copy, for the package made from `destino`.
    void copiaHistorico(GeradorBaseUsuario &gerador, FirebirdConnection &conexao, const UsuarioServidor &usuario,
                        const QString &destino, QFile *historico = nullptr, QFile *pecas = nullptr);
    void geraBase(const UsuarioServidor &usuario, const QString &arquivo, QFile *historico, QFile *pecas);
    // Brings the company's catalogue up to date and copies it to `destino` (when not empty).
    void copiaCatalogo(GeradorBaseUsuario &gerador, FirebirdConnection &conexao, const QString &empresa,
                       const QString &destino);

    QString m_pasta;
    QString m_base;
    QString m_senha;
    std::mutex m_scripts;
    std::mutex m_catalogo;
    std::mutex m_historico;
    QHash<QString, QString> m_versoesHistorico; // company_user -> counts its history was built at
    QHash<QString, qlonglong> m_versoesCatalogo; // company -> change count its catalogue was built at
    QString m_modelo;
    FirebirdConnection m_conexao;
    QHash<QString, TraducaoScript::TipoColuna> m_tipos; // "TABELA.COLUNA"
};
