#pragma once

#include <QString>
#include <QStringList>

// The ZIP archives of a synchronisation: the outbound package (one deflated entry named by the
// file name alone) and the received package, from which one named entry is extracted. The
// extraction reads the entry to its end, so the library checks its CRC, and the destination
// appears only when every byte was verified.
class ArquivoZip
{
public:
    enum class Situacao {
        Ok,
        OrigemAusente,     // the file to compress cannot be read
        ArquivoInvalido,   // not a ZIP archive, truncated, or inconsistent
        SemEntradas,       // an archive with no entry
        EntradaAusente,    // no entry of the requested name
        DadosCorrompidos,  // the entry's data fail to inflate or their CRC or size is wrong
        ErroGravacao,      // the destination cannot be written
    };

    struct Resultado
    {
        Situacao situacao = Situacao::Ok;
        QString detalhe; // the library's or the file system's message
        bool ok() const { return situacao == Situacao::Ok; }
    };

    // Writes the archive with `arquivo` as its one entry, named by the file name alone.
    // An existing archive is replaced only when the new one is complete. `nivel`: deflate's
    // level, zlib's usual 6 unless a caller trades size for time.
    static Resultado compacta(const QString &arquivo, const QString &arquivoZip, int nivel = 6);

    // Names of the entries, in archive order.
    static Resultado listaEntradas(const QString &arquivoZip, QStringList &entradas);

    // Extracts the entry named `nomeEntrada` to `destino`, replacing a file of that name only
    // when the whole entry was read and verified.
    static Resultado extrai(const QString &arquivoZip, const QString &nomeEntrada, const QString &destino);
};
