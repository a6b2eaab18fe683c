#include "IncrementalZip.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Situacao = ArquivoZip::Situacao;
using Resultado = ArquivoZip::Resultado;

// The pieces file: the deflated pieces one after the other, then per piece its CRC and deflated
// length (4 bytes each), then the reference's size (8), the piece size (4), the number of
// pieces (4) and kMagic.
constexpr char kMagic[8] = {'K', 'X', 'P', 'E', 'C', 'A', 'S', '1'};
constexpr qint64 kFooterSize = 8 + 4 + 4 + sizeof kMagic;
// Sizes and offsets of the plain ZIP format; larger files go through libzip, which writes ZIP64.
constexpr qint64 kLimiteZip = 0xFFFFFFFFll;

Resultado falha(Situacao situacao, const QString &detalhe)
{
    return Resultado{situacao, detalhe};
}

void poe16(QByteArray &destino, quint32 valor)
{
    destino.append(static_cast<char>(valor & 0xFF));
    destino.append(static_cast<char>((valor >> 8) & 0xFF));
}

void poe32(QByteArray &destino, quint32 valor)
{
    poe16(destino, valor & 0xFFFF);
    poe16(destino, valor >> 16);
}

void poe64(QByteArray &destino, quint64 valor)
{
    poe32(destino, static_cast<quint32>(valor & 0xFFFFFFFFu));
    poe32(destino, static_cast<quint32>(valor >> 32));
}

quint32 le32(const char *origem)
{
    const auto *b = reinterpret_cast<const unsigned char *>(origem);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

quint64 le64(const char *origem)
{
    return quint64(le32(origem)) | quint64(le32(origem + 4)) << 32;
}

bool leTudo(QFile &arquivo, char *destino, qint64 tamanho)
{
    qint64 lidos = 0;
    while (lidos < tamanho) {
        const qint64 n = arquivo.read(destino + lidos, tamanho - lidos);
        if (n <= 0)
            return false;
        lidos += n;
    }
    return true;
}

// A raw deflate stream started afresh for each piece.
class Deflate
{
public:
    explicit Deflate(int nivel)
    {
        m_ok = deflateInit2(&m_z, nivel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflate()
    {
        if (m_ok)
            deflateEnd(&m_z);
    }
    Deflate(const Deflate &) = delete;
    Deflate &operator=(const Deflate &) = delete;

    bool ok() const { return m_ok; }

    // The piece deflated on its own, ending on a byte boundary with the stream left open, so
    // any such piece may follow any other.
    bool peca(const char *dados, qint64 tamanho, QByteArray &saida)
    {
        if (!m_ok || deflateReset(&m_z) != Z_OK)
            return false;
        saida.resize(static_cast<qsizetype>(deflateBound(&m_z, static_cast<uLong>(tamanho))) + 64);
        m_z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(dados));
        m_z.avail_in = static_cast<uInt>(tamanho);
        qsizetype produzidos = 0;
        for (;;) {
            m_z.next_out = reinterpret_cast<Bytef *>(saida.data() + produzidos);
            m_z.avail_out = static_cast<uInt>(saida.size() - produzidos);
            const int codigo = deflate(&m_z, Z_SYNC_FLUSH);
            if (codigo != Z_OK && codigo != Z_BUF_ERROR)
                return false;
            produzidos = saida.size() - m_z.avail_out;
            // The flush is complete once deflate leaves room in the output.
            if (m_z.avail_in == 0 && m_z.avail_out > 0)
                break;
            saida.resize(saida.size() * 2);
        }
        saida.resize(produzidos);
        return true;
    }

private:
    z_stream m_z{};
    bool m_ok = false;
};

struct TabelaPecas
{
    qint64 tamanhoReferencia = 0;
    std::vector<quint32> crc;
    std::vector<quint32> comprimento;
    std::vector<qint64> posicao;
};

bool leTabela(QFile &pecas, TabelaPecas &tabela)
{
    const qint64 tamanho = pecas.size();
    if (tamanho < kFooterSize || !pecas.seek(tamanho - kFooterSize))
        return false;
    char rodape[kFooterSize];
    if (!leTudo(pecas, rodape, kFooterSize) || std::memcmp(rodape + 16, kMagic, sizeof kMagic) != 0)
        return false;
    tabela.tamanhoReferencia = static_cast<qint64>(le64(rodape));
    const quint32 tamanhoPeca = le32(rodape + 8);
    const qint64 quantidade = le32(rodape + 12);
    const qint64 inicioTabela = tamanho - kFooterSize - quantidade * 8;
    if (tamanhoPeca != IncrementalZip::kPieceSize || inicioTabela < 0
        || quantidade != (tabela.tamanhoReferencia + IncrementalZip::kPieceSize - 1) / IncrementalZip::kPieceSize
        || !pecas.seek(inicioTabela))
        return false;
    QByteArray bytes(quantidade * 8, Qt::Uninitialized);
    if (!leTudo(pecas, bytes.data(), bytes.size()))
        return false;
    qint64 posicao = 0;
    for (qint64 i = 0; i < quantidade; ++i) {
        tabela.crc.push_back(le32(bytes.constData() + i * 8));
        tabela.comprimento.push_back(le32(bytes.constData() + i * 8 + 4));
        tabela.posicao.push_back(posicao);
        posicao += tabela.comprimento.back();
    }
    return posicao == inicioTabela;
}

// The local header (signature 0x04034b50) or the central directory's entry (0x02014b50).
QByteArray cabecalho(bool central, const QByteArray &nome, const QDateTime &momento, quint32 crc, quint32 compactado,
                     quint32 tamanho)
{
    const QDate dia = momento.date().year() < 1980 ? QDate(1980, 1, 1) : momento.date();
    const QTime hora = momento.date().year() < 1980 ? QTime(0, 0) : momento.time();
    QByteArray b;
    poe32(b, central ? 0x02014b50u : 0x04034b50u);
    if (central)
        poe16(b, (3u << 8) | 20u); // made on Unix, ZIP 2.0
    poe16(b, 20);                  // needed to extract: ZIP 2.0 (deflate)
    poe16(b, 0);                   // flags
    poe16(b, 8);                   // deflate
    poe16(b, static_cast<quint32>(hora.hour() << 11 | hora.minute() << 5 | hora.second() / 2));
    poe16(b, static_cast<quint32>((dia.year() - 1980) << 9 | dia.month() << 5 | dia.day()));
    poe32(b, crc);
    poe32(b, compactado);
    poe32(b, tamanho);
    poe16(b, static_cast<quint32>(nome.size()));
    poe16(b, 0); // extra field
    if (central) {
        poe16(b, 0);                // comment
        poe16(b, 0);                // disk
        poe16(b, 0);                // internal attributes
        poe32(b, 0100644u << 16);   // a regular file, rw-r--r--
        poe32(b, 0);                // the local header's offset
    }
    b.append(nome);
    return b;
}

} // namespace

ArquivoZip::Resultado IncrementalZip::prepare(const QString &reference, const QString &pieces, int level)
{
    QFile entrada(reference);
    if (!entrada.open(QIODevice::ReadOnly))
        return falha(Situacao::OrigemAusente, entrada.errorString());
    QSaveFile saida(pieces);
    if (!saida.open(QIODevice::WriteOnly))
        return falha(Situacao::ErroGravacao, saida.errorString());
    Deflate deflate(level);
    if (!deflate.ok())
        return falha(Situacao::ErroGravacao, QStringLiteral("zlib"));
    const qint64 tamanho = entrada.size();
    QByteArray bloco(kPieceSize, Qt::Uninitialized);
    QByteArray compactado;
    QByteArray tabela;
    for (qint64 posicao = 0; posicao < tamanho; posicao += kPieceSize) {
        const qint64 n = std::min(kPieceSize, tamanho - posicao);
        if (!leTudo(entrada, bloco.data(), n))
            return falha(Situacao::OrigemAusente, entrada.errorString());
        if (!deflate.peca(bloco.constData(), n, compactado))
            return falha(Situacao::ErroGravacao, QStringLiteral("zlib"));
        if (saida.write(compactado) != compactado.size())
            return falha(Situacao::ErroGravacao, saida.errorString());
        poe32(tabela, static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef *>(bloco.constData()), static_cast<uInt>(n))));
        poe32(tabela, static_cast<quint32>(compactado.size()));
    }
    poe64(tabela, static_cast<quint64>(tamanho));
    poe32(tabela, static_cast<quint32>(kPieceSize));
    poe32(tabela, static_cast<quint32>((tamanho + kPieceSize - 1) / kPieceSize));
    tabela.append(kMagic, sizeof kMagic);
    if (saida.write(tabela) != tabela.size() || !saida.commit())
        return falha(Situacao::ErroGravacao, saida.errorString());
    return {};
}

ArquivoZip::Resultado IncrementalZip::compress(const QString &file, QFile *reference, QFile *pieces,
                                               const QString &zipFile, int level)
{
    QFile entrada(file);
    if (!entrada.open(QIODevice::ReadOnly))
        return falha(Situacao::OrigemAusente, QStringLiteral("arquivo inexistente: ") + file);
    const qint64 tamanho = entrada.size();
    if (tamanho >= kLimiteZip)
        return ArquivoZip::compacta(file, zipFile, level);

    TabelaPecas tabela;
    const bool reaproveita = reference && pieces && leTabela(*pieces, tabela) && tabela.tamanhoReferencia == reference->size();

    QSaveFile saida(zipFile);
    if (!saida.open(QIODevice::WriteOnly))
        return falha(Situacao::ErroGravacao, saida.errorString());
    const QByteArray nome = QFileInfo(file).fileName().toUtf8();
    const QDateTime momento = QFileInfo(file).lastModified();
    // Written again with the CRC and sizes once the data are out.
    if (saida.write(cabecalho(false, nome, momento, 0, 0, 0)) < 0)
        return falha(Situacao::ErroGravacao, saida.errorString());

    Deflate deflate(level);
    if (!deflate.ok())
        return falha(Situacao::ErroGravacao, QStringLiteral("zlib"));
    QByteArray bloco(kPieceSize, Qt::Uninitialized);
    QByteArray daReferencia(kPieceSize, Qt::Uninitialized);
    QByteArray compactado;
    uLong crc = crc32(0, nullptr, 0);
    qint64 tamanhoCompactado = 0;
    for (qint64 posicao = 0, i = 0; posicao < tamanho; posicao += kPieceSize, ++i) {
        const qint64 n = std::min(kPieceSize, tamanho - posicao);
        if (!leTudo(entrada, bloco.data(), n))
            return falha(Situacao::OrigemAusente, entrada.errorString());
        const uLong crcPeca = crc32(0, reinterpret_cast<const Bytef *>(bloco.constData()), static_cast<uInt>(n));
        bool reaproveitada = false;
        if (reaproveita && i < static_cast<qint64>(tabela.crc.size()) && tabela.crc.at(i) == crcPeca
            && n == std::min(kPieceSize, tabela.tamanhoReferencia - posicao) && reference->seek(posicao)
            && leTudo(*reference, daReferencia.data(), n) && std::memcmp(bloco.constData(), daReferencia.constData(), n) == 0
            && pieces->seek(tabela.posicao.at(i))) {
            compactado.resize(tabela.comprimento.at(i));
            reaproveitada = leTudo(*pieces, compactado.data(), compactado.size());
        }
        if (!reaproveitada && !deflate.peca(bloco.constData(), n, compactado))
            return falha(Situacao::ErroGravacao, QStringLiteral("zlib"));
        if (saida.write(compactado) != compactado.size())
            return falha(Situacao::ErroGravacao, saida.errorString());
        tamanhoCompactado += compactado.size();
        crc = crc32_combine(crc, crcPeca, static_cast<z_off_t>(n));
    }
    // The last block: empty, fixed codes, marked final.
    static const char kFim[2] = {0x03, 0x00};
    if (saida.write(kFim, sizeof kFim) != sizeof kFim)
        return falha(Situacao::ErroGravacao, saida.errorString());
    tamanhoCompactado += sizeof kFim;
    if (tamanhoCompactado >= kLimiteZip) {
        saida.cancelWriting();
        return ArquivoZip::compacta(file, zipFile, level);
    }

    const auto c32 = [](qint64 v) { return static_cast<quint32>(v); };
    const QByteArray local = cabecalho(false, nome, momento, c32(crc), c32(tamanhoCompactado), c32(tamanho));
    const QByteArray central = cabecalho(true, nome, momento, c32(crc), c32(tamanhoCompactado), c32(tamanho));
    QByteArray fim;
    poe32(fim, 0x06054b50u);
    poe16(fim, 0);
    poe16(fim, 0);
    poe16(fim, 1);
    poe16(fim, 1);
    poe32(fim, c32(central.size()));
    poe32(fim, c32(local.size() + tamanhoCompactado));
    poe16(fim, 0);
    if (saida.write(central) != central.size() || saida.write(fim) != fim.size() || !saida.seek(0)
        || saida.write(local) != local.size() || !saida.commit())
        return falha(Situacao::ErroGravacao, saida.errorString());
    return {};
}
