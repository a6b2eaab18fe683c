#pragma once

#include <QString>

// The warning of a customer marked EMIAVS "S": shown whenever the customer is opened in the
// registry or an order is started for it.
class AvisoCliente
{
public:
    static bool temAviso(const QString &emiavs) { return emiavs == QLatin1String("S"); }
    // "@@@@ AVISO @@@@", a line feed, a carriage return and the remark.
    static QString texto(const QString &obscli);
};
