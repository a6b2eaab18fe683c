#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A user the central database accepted: the codes the dialogue tells the notebook.
struct UsuarioServidor
{
    QString CODEMP;
    QString CODUSU;
    QString NOMUSU;

    // "ORVA" + company + "_" + user: the script and the database file carry it.
    QString nomePacote() const { return QStringLiteral("ORVA") + CODEMP + QLatin1Char('_') + CODUSU; }
};

// What the server's side of the dialogue asks of the central database. Every call throws
// (DatabaseError or another std::exception) on a failure of the server's own; the dialogue then
// answers "#ERRO#". executaScript and geraPacote may be called from several threads at once.
class ServicosServidor
{
public:
    virtual ~ServicosServidor() = default;

    // The user of that name (any letter case) and scrambled password; nothing when refused.
    virtual std::optional<UsuarioServidor> autentica(const QString &nome, const QString &senha) = 0;
    // "#GRV_SERVER#": the address the notebook reaches the server by, kept in the user's row.
    virtual void gravaServidor(const UsuarioServidor &usuario, const QString &endereco) = 0;
    // Executes the uploaded script, all lines or none. Returns the number of statements.
    virtual int executaScript(const UsuarioServidor &usuario, const QStringList &linhas) = 0;
    // Writes the user's package at `pacote`: a ZIP archive whose one entry, named
    // nomePacote() + ".FDB", is the user's database file. Work files go beside `pacote`.
    virtual void geraPacote(const UsuarioServidor &usuario, const QString &pacote) = 0;
};
