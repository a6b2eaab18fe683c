#include "ArquivoZip.h"
#include "IncrementalZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr qint64 kPeca = IncrementalZip::kPieceSize;

// Bytes that deflate about as a database page does: words from a small vocabulary.
QByteArray dados(qint64 tamanho, unsigned semente)
{
    static const char *const palavras[] = {"CLIENTE ", "PEDIDO ", "\x01\x00\x00\x00", "ITEM ", "\xff\xfe", "TABELA "};
    std::mt19937 gerador(semente);
    QByteArray bytes;
    while (bytes.size() < tamanho)
        bytes.append(palavras[gerador() % 6]);
    bytes.truncate(tamanho);
    return bytes;
}

class IncrementalZipTeste : public ::testing::Test
{
protected:
    QTemporaryDir pasta;

    QString caminho(const QString &nome) const { return QDir(pasta.path()).filePath(nome); }

    void grava(const QString &nome, const QByteArray &bytes) const
    {
        QFile arquivo(caminho(nome));
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
        arquivo.write(bytes);
    }

    // Zips `copia` as ORVA1_7.FDB against the reference and pieces given and returns what a
    // notebook extracts from the archive.
    QByteArray zipaEExtrai(const QByteArray &copia, const QString &referencia, const QString &pecas)
    {
        grava(QStringLiteral("ORVA1_7.FDB"), copia);
        QFile historico(caminho(referencia));
        QFile arquivoPecas(caminho(pecas));
        const bool abertos = historico.open(QIODevice::ReadOnly) && arquivoPecas.open(QIODevice::ReadOnly);
        const ArquivoZip::Resultado zipado =
            IncrementalZip::compress(caminho(QStringLiteral("ORVA1_7.FDB")), abertos ? &historico : nullptr,
                                     abertos ? &arquivoPecas : nullptr, caminho(QStringLiteral("ORVALIS.KXD")), 1);
        EXPECT_TRUE(zipado.ok()) << qPrintable(zipado.detalhe);
        QStringList entradas;
        EXPECT_TRUE(ArquivoZip::listaEntradas(caminho(QStringLiteral("ORVALIS.KXD")), entradas).ok());
        EXPECT_EQ(entradas, QStringList{QStringLiteral("ORVA1_7.FDB")});
        const ArquivoZip::Resultado extraido = ArquivoZip::extrai(caminho(QStringLiteral("ORVALIS.KXD")),
                                                                  QStringLiteral("ORVA1_7.FDB"), caminho(QStringLiteral("extraido")));
        EXPECT_TRUE(extraido.ok()) << qPrintable(extraido.detalhe);
        QFile resultado(caminho(QStringLiteral("extraido")));
        return resultado.open(QIODevice::ReadOnly) ? resultado.readAll() : QByteArray();
    }
};

} // namespace

// Guards against a package that reuses the history's deflated pieces extracting to anything
// but the user's file: pieces changed, added, cut off, or none at all.
TEST_F(IncrementalZipTeste, PacoteExtraiOArquivoDoUsuarioExato)
{
    const QByteArray historico = dados(3 * kPeca + 5000, 1);
    grava(QStringLiteral("HISTORICO.FDB"), historico);
    ASSERT_TRUE(IncrementalZip::prepare(caminho(QStringLiteral("HISTORICO.FDB")), caminho(QStringLiteral("HISTORICO.PECAS")), 1).ok());

    QByteArray alterado = historico;
    alterado[kPeca + 17] = 'X';
    alterado.append(dados(kPeca / 2, 2));
    const QList<QByteArray> copias{historico, alterado, historico.left(2 * kPeca - 8192), QByteArray()};
    for (const QByteArray &copia : copias) {
        EXPECT_EQ(zipaEExtrai(copia, QStringLiteral("HISTORICO.FDB"), QStringLiteral("HISTORICO.PECAS")), copia);
        EXPECT_EQ(zipaEExtrai(copia, QStringLiteral("AUSENTE.FDB"), QStringLiteral("AUSENTE.PECAS")), copia);
    }
    // Deflated apart, the pieces cost little against one deflate of the whole.
    ArquivoZip::compacta(caminho(QStringLiteral("HISTORICO.FDB")), caminho(QStringLiteral("inteiro.zip")), 1);
    zipaEExtrai(historico, QStringLiteral("HISTORICO.FDB"), QStringLiteral("HISTORICO.PECAS"));
    EXPECT_LT(QFile(caminho(QStringLiteral("ORVALIS.KXD"))).size(), QFile(caminho(QStringLiteral("inteiro.zip"))).size() * 1.05);
}

// Guards against pieces left from an earlier history (or damaged) putting old bytes into a
// user's package.
TEST_F(IncrementalZipTeste, PecasDeOutroHistoricoNaoEntramNoPacote)
{
    const QByteArray antigo = dados(2 * kPeca, 3);
    grava(QStringLiteral("HISTORICO.FDB"), antigo);
    ASSERT_TRUE(IncrementalZip::prepare(caminho(QStringLiteral("HISTORICO.FDB")), caminho(QStringLiteral("HISTORICO.PECAS")), 1).ok());
    const QByteArray novo = dados(2 * kPeca, 4);
    grava(QStringLiteral("HISTORICO.FDB"), novo);
    EXPECT_EQ(zipaEExtrai(novo, QStringLiteral("HISTORICO.FDB"), QStringLiteral("HISTORICO.PECAS")), novo);

    QFile pecas(caminho(QStringLiteral("HISTORICO.PECAS")));
    ASSERT_TRUE(pecas.open(QIODevice::ReadWrite));
    pecas.resize(pecas.size() - 3);
    pecas.close();
    EXPECT_EQ(zipaEExtrai(antigo, QStringLiteral("HISTORICO.FDB"), QStringLiteral("HISTORICO.PECAS")), antigo);
}
