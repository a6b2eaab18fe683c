#pragma once

class QDate;
class QDateTime;
class QTime;

// Whether the data delivered by the last synchronisation is too old to take orders with.
class ValidadeAtualizacao
{
public:
    // The last update (date and time, counted to the minute) is expired when now minus
    // horasValidade hours is later than it. A missing date counts as expired.
    static bool expirada(const QDate &dataAtualizacao, const QTime &horaAtualizacao,
                         int horasValidade, const QDateTime &agora);
};
