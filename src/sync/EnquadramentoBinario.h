#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The framing of the two binary transfers of a synchronisation: an 8-byte signed length,
// least significant byte first, immediately followed by that many bytes.
class EnquadramentoBinario
{
public:
    static constexpr qsizetype tamanhoCabecalho = 8;

    static QByteArray cabecalho(qint64 tamanho);
    static QByteArray enquadra(const QByteArray &dados);
    // Reads the length from the first 8 bytes; the view must hold at least 8.
    static qint64 leCabecalho(QByteArrayView bytes);
};
