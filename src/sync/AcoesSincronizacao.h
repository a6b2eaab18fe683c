#pragma once

#include <QString>
#include <QStringList>

// How the replacement of the local database ended; each outcome has its status line.
enum class ResultadoSubstituicao {
    Sucesso,       // new file open and session reloaded
    ErroExtraindo, // archive without entries or extraction failed; local database unchanged
    ErroAbrindo,   // the swap, the opening or the reload failed
};

// What the protocol asks of its owner (the data module, or a fake in tests). The calls run
// synchronously inside the protocol's handling of a server token. None of them may throw: a
// failure is reported by the owner (the generic error box) and signalled by the result.
class AcoesSincronizacao
{
public:
    virtual ~AcoesSincronizacao() = default;

    // The session's CODEMP and CODUSU changed: the hello of a notebook without user ("0", "0"),
    // "#END_SERVER#" or "#DADOS#". The owner writes them into its session before the protocol
    // goes on, so the package is built with them.
    virtual void codigosAlterados(const QString &codigoEmpresa, const QString &codigoUsuario) = 0;

    // "#DADOS#": geraPacoteEnvio; true when scriptEnvio holds at least one statement.
    virtual bool geraPacoteEnvio() = 0;
    // "#ENVIAR#": the statements to upload, one per line.
    virtual QStringList scriptEnvio() const = 0;
    // "#RECEBIDO#": the server holds the script.
    virtual void esvaziaScriptEnvio() = 0;

    // "#USOINCORRETO#": delete the rows of every table, COMMIT, carregaUsuario. False when it
    // failed (already reported); the protocol then stops that token's action.
    virtual bool esvaziaBaseLocal() = 0;
    // "#GERANDO#": mark the typed orders 'L' and the outgoing messages 'E'. False as above.
    virtual bool marcaEnviados() = 0;

    // Download complete: `arquivoRecebido` is ORVALIS.KXD in the program folder, the socket is
    // already closed; extract the entry `nomePacote` + ".FDB", swap it in, reload the session,
    // restore the budget orders.
    virtual ResultadoSubstituicao substituiBase(const QString &arquivoRecebido, const QString &nomePacote) = 0;
};
