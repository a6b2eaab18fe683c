#pragma once

#include "ArquivoZip.h"

#include <QString>

class QFile;

// Zips a file that is a copy of a reference file with some of its parts changed or added, as a
// user's database file is a copy of the user's history with the user's rows written into it.
// The reference is deflated once, in pieces that each start afresh and end on a byte boundary
// (prepare); zipping the copy reuses the deflated piece wherever the copy's bytes equal the
// reference's and deflates only the other pieces. Pieces deflated apart still make one deflate
// stream, so the archive is the plain one-entry ZIP that ArquivoZip::compacta writes and
// ArquivoZip::extrai reads.
class IncrementalZip
{
public:
    static constexpr qint64 kPieceSize = 256 * 1024;

    // Writes `pieces` (replacing it only when complete): `reference` deflated at `level`, piece by
    // piece, with each piece's CRC.
    static ArquivoZip::Resultado prepare(const QString &reference, const QString &pieces, int level);

    // Writes `zipFile` with `file` as its one entry, named by the file name alone. `reference`
    // and `pieces` are open for reading (a file being replaced meanwhile keeps its open copy) or
    // null: then every piece is deflated. A piece is reused only when its bytes equal the
    // reference's and their CRC the one stored with the piece, so a stale or foreign pieces file
    // costs time, never content.
    static ArquivoZip::Resultado compress(const QString &file, QFile *reference, QFile *pieces, const QString &zipFile,
                                          int level);
};
