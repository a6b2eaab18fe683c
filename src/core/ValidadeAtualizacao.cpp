#include "ValidadeAtualizacao.h"

#include <QDateTime>

bool ValidadeAtualizacao::expirada(const QDate &dataAtualizacao, const QTime &horaAtualizacao,
                                   int horasValidade, const QDateTime &agora)
{
    if (!dataAtualizacao.isValid())
        return true;
    const QTime hora = horaAtualizacao.isValid() ? QTime(horaAtualizacao.hour(), horaAtualizacao.minute())
                                                 : QTime(0, 0);
    const QDateTime momento(dataAtualizacao, hora);
    return agora.addSecs(-static_cast<qint64>(horasValidade) * 3600) > momento;
}
