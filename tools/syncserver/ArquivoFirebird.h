#pragma once

#include <QString>

// File-level settings of a Firebird database the server writes in bulk.
class ArquivoFirebird
{
public:
    // Forced writes: off while a file is filled in bulk, on before it is used or handed over.
    // Without gfix the file is only filled more slowly.
    static void escritaSincrona(const QString &arquivo, bool ligada);
};
