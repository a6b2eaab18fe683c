#pragma once

#include "D500DAT.h"
#include "OrcamentosSincronizacao.h"
#include "PacoteEnvio.h"

#include <QDateTime>
#include <QStringList>

// The script lines the next outbound package of the program folder would carry.
inline QStringList proximoPacote(D500DAT &dat, const QString &pasta)
{
    OrcamentosSincronizacao orcamentos(dat.cnxFirebird);
    PacoteEnvio envio(dat, orcamentos, pasta);
    dat.scriptEnvio.clear();
    envio.geraPacoteEnvio(QDateTime::currentDateTime());
    return dat.scriptEnvio;
}
