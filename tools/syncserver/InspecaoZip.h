#pragma once

#include <QString>

// What an archive says about one of its entries before anything is extracted, so that an
// entry too large to accept is refused without writing it.
class InspecaoZip
{
public:
    // The uncompressed size the archive declares for the entry; -1 when the archive cannot be
    // read or has no entry of that name.
    static qint64 tamanhoDeclarado(const QString &arquivoZip, const QString &nomeEntrada);
};
