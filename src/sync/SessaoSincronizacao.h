#pragma once

#include <QString>

// The session values one synchronisation speaks with. The owner fills them from D500DAT when
// the exchange starts; the server may replace the company and user codes during the dialogue
// (the protocol reports each change through AcoesSincronizacao::codigosAlterados).
struct SessaoSincronizacao
{
    QString CODEMP;
    QString CODUSU;             // empty on a notebook without user
    QString HSTSRV;             // server address, echoed in "#GRV_SERVER#"
    QString usuarioAtualizacao; // user name sent to the server
    QString senhaAtualizacao;   // scrambled password sent to the server
    QString versao;             // program version answered to "#VERSAO#", e.g. 1.0.2.6

    // "ORVA" + company + "_" + user: the name of the script, the outbound archive and the
    // database inside the received archive.
    QString nomePacote() const { return QStringLiteral("ORVA") + CODEMP + QLatin1Char('_') + CODUSU; }
};
