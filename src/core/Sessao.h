#pragma once

#include <QString>

// The logged user's values (first row of F599USU) plus the run-time values of the frame and
// the synchronisation. Codes are held as integer texts because statements embed them as text.
struct Sessao
{
    QString CODUSU, NOMUSU, SENUSU, HSTSRV, CODCCU, CODVEN, CODSUP, CODEMP, ESTCID, SENANT;
    double SLDFLX = 0, ACRTAB = 0, DESRET = 0;
    QString EXPSEN = QStringLiteral("N"), EXPANT = QStringLiteral("N");
    bool usuarioSupervisor = false;

    bool atualizacaoExpirada = false;
    int horasValidade = 24;
    bool editaRecuperados = false;
    bool mostraMetas = false;
    QString portaServidor;
};
