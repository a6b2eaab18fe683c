#include "EnquadramentoBinario.h"

#include <QtEndian>

QByteArray EnquadramentoBinario::cabecalho(qint64 tamanho)
{
    QByteArray bytes(tamanhoCabecalho, Qt::Uninitialized);
    qToLittleEndian<qint64>(tamanho, bytes.data());
    return bytes;
}

QByteArray EnquadramentoBinario::enquadra(const QByteArray &dados)
{
    QByteArray quadro;
    quadro.reserve(tamanhoCabecalho + dados.size());
    quadro.append(cabecalho(dados.size()));
    quadro.append(dados);
    return quadro;
}

qint64 EnquadramentoBinario::leCabecalho(QByteArrayView bytes)
{
    Q_ASSERT(bytes.size() >= tamanhoCabecalho);
    return qFromLittleEndian<qint64>(bytes.data());
}
