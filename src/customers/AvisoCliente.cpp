#include "AvisoCliente.h"

QString AvisoCliente::texto(const QString &obscli)
{
    return QStringLiteral("@@@@ AVISO @@@@") + QLatin1Char('\n') + QLatin1Char('\r') + obscli;
}
