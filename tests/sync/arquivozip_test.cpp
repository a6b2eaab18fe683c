#include "ArquivoScript.h"
#include "ArquivoZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

using Situacao = ArquivoZip::Situacao;

namespace {

class ArquivoZipTeste : public ::testing::Test
{
protected:
    QTemporaryDir pasta;

    QString caminho(const QString &nome) const { return QDir(pasta.path()).filePath(nome); }

    static void grava(const QString &arquivo, const QByteArray &conteudo)
    {
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(conteudo), conteudo.size());
    }

    static QByteArray le(const QString &arquivo)
    {
        QFile f(arquivo);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A database-like content: compressible but not trivial.
    static QByteArray conteudoBase()
    {
        QByteArray dados;
        for (int i = 0; i < 20000; ++i)
            dados.append(QByteArray::number(i * 7919 % 10007)).append(i % 13 ? ';' : '\n');
        return dados;
    }

    // An archive written directly with libzip, so the tests do not depend on the code under test.
    QString arquivoCom(const QString &nomeZip, const QList<QPair<QString, QByteArray>> &entradas,
                       zip_int32_t metodo = ZIP_CM_DEFLATE)
    {
        const QString destino = caminho(nomeZip);
        int erro = 0;
        zip_t *z = zip_open(QFile::encodeName(destino).constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
        EXPECT_NE(z, nullptr);
        std::vector<QByteArray> guardados; // the buffers must live until zip_close
        guardados.reserve(entradas.size());
        for (const auto &[nome, conteudo] : entradas) {
            guardados.push_back(conteudo);
            zip_source_t *fonte = zip_source_buffer(z, guardados.back().constData(), guardados.back().size(), 0);
            const zip_int64_t i = zip_file_add(z, nome.toUtf8().constData(), fonte, 0);
            EXPECT_GE(i, 0);
            zip_set_file_compression(z, static_cast<zip_uint64_t>(i), metodo, 0);
        }
        EXPECT_EQ(zip_close(z), 0);
        return destino;
    }

    // Offset of an entry's data: local header (30 bytes) + name + extra field.
    static qsizetype inicioDosDados(const QByteArray &zip)
    {
        const auto le16 = [&](qsizetype p) {
            return static_cast<unsigned char>(zip[p]) | (static_cast<unsigned char>(zip[p + 1]) << 8);
        };
        return 30 + le16(26) + le16(28);
    }
};

} // namespace

// Guards the outbound archive: one deflated entry named by the file name alone, whole content.
TEST_F(ArquivoZipTeste, CompactaUmaEntradaComNomeSemPasta)
{
    ASSERT_TRUE(QDir(pasta.path()).mkdir(QStringLiteral("sub")));
    const QString script = caminho(QStringLiteral("sub/ORVA1_25.SCP"));
    grava(script, conteudoBase());
    const QString pacote = caminho(QStringLiteral("ORVA1_25.KXD"));
    ASSERT_TRUE(ArquivoZip::compacta(script, pacote).ok());

    QStringList entradas;
    ASSERT_TRUE(ArquivoZip::listaEntradas(pacote, entradas).ok());
    EXPECT_EQ(entradas, QStringList{QStringLiteral("ORVA1_25.SCP")});

    int erro = 0;
    zip_t *z = zip_open(QFile::encodeName(pacote).constData(), ZIP_RDONLY, &erro);
    ASSERT_NE(z, nullptr);
    zip_stat_t st;
    ASSERT_EQ(zip_stat_index(z, 0, 0, &st), 0);
    EXPECT_EQ(st.comp_method, ZIP_CM_DEFLATE);
    EXPECT_LT(st.comp_size, st.size);
    zip_discard(z);

    ASSERT_TRUE(ArquivoZip::extrai(pacote, QStringLiteral("ORVA1_25.SCP"), caminho(QStringLiteral("copia"))).ok());
    EXPECT_EQ(le(caminho(QStringLiteral("copia"))), conteudoBase());
}

// Guards a leftover archive: the new package holds the newer file and nothing else.
TEST_F(ArquivoZipTeste, CompactaSubstituiArquivoAnterior)
{
    const QString pacote = arquivoCom(QStringLiteral("ORVA1_25.KXD"),
                                      {{QStringLiteral("ORVA1_25.SCP"), QByteArray("velho")},
                                       {QStringLiteral("OUTRO.TXT"), QByteArray("sobra")}});
    const QString script = caminho(QStringLiteral("ORVA1_25.SCP"));
    grava(script, QByteArray("novo\r\n"));
    ASSERT_TRUE(ArquivoZip::compacta(script, pacote).ok());
    QStringList entradas;
    ASSERT_TRUE(ArquivoZip::listaEntradas(pacote, entradas).ok());
    EXPECT_EQ(entradas, QStringList{QStringLiteral("ORVA1_25.SCP")});
    ASSERT_TRUE(ArquivoZip::extrai(pacote, QStringLiteral("ORVA1_25.SCP"), caminho(QStringLiteral("x"))).ok());
    EXPECT_EQ(le(caminho(QStringLiteral("x"))), QByteArray("novo\r\n"));
}

// Guards compressing a missing script: a clear failure, no archive.
TEST_F(ArquivoZipTeste, CompactaSemOrigemFalha)
{
    const auto r = ArquivoZip::compacta(caminho(QStringLiteral("nada.SCP")), caminho(QStringLiteral("p.KXD")));
    EXPECT_EQ(r.situacao, Situacao::OrigemAusente);
    EXPECT_FALSE(QFile::exists(caminho(QStringLiteral("p.KXD"))));
}

// Guards the extraction of the one named entry among others, overwriting an older copy.
TEST_F(ArquivoZipTeste, ExtraiSoAEntradaPedida)
{
    const QString recebido = arquivoCom(QStringLiteral("ORVALIS.KXD"),
                                        {{QStringLiteral("LEIAME.TXT"), QByteArray("x")},
                                         {QStringLiteral("ORVA1_25.FDB"), conteudoBase()}});
    const QString destino = caminho(QStringLiteral("ORVA1_25.FDB"));
    grava(destino, QByteArray("antigo"));
    const auto r = ArquivoZip::extrai(recebido, QStringLiteral("ORVA1_25.FDB"), destino);
    ASSERT_TRUE(r.ok()) << r.detalhe.toStdString();
    EXPECT_EQ(le(destino), conteudoBase());
    EXPECT_FALSE(QFile::exists(caminho(QStringLiteral("LEIAME.TXT"))));
}

// Guards an archive whose database carries another name: nothing is extracted.
TEST_F(ArquivoZipTeste, EntradaComOutroNomeRecusada)
{
    const QString recebido =
        arquivoCom(QStringLiteral("ORVALIS.KXD"), {{QStringLiteral("ORVA2_9.FDB"), conteudoBase()}});
    const QString destino = caminho(QStringLiteral("ORVA1_25.FDB"));
    const auto r = ArquivoZip::extrai(recebido, QStringLiteral("ORVA1_25.FDB"), destino);
    EXPECT_EQ(r.situacao, Situacao::EntradaAusente);
    EXPECT_FALSE(r.detalhe.isEmpty());
    EXPECT_FALSE(QFile::exists(destino));
}

// Guards an archive with no entry at all (a bare end-of-central-directory record).
TEST_F(ArquivoZipTeste, ArquivoSemEntradasRecusado)
{
    const QString recebido = caminho(QStringLiteral("ORVALIS.KXD"));
    grava(recebido, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    QStringList entradas;
    EXPECT_TRUE(ArquivoZip::listaEntradas(recebido, entradas).ok());
    EXPECT_TRUE(entradas.isEmpty());
    EXPECT_EQ(ArquivoZip::extrai(recebido, QStringLiteral("ORVA1_25.FDB"), caminho(QStringLiteral("d"))).situacao,
              Situacao::SemEntradas);
}

// Guards a download cut short: a truncated archive is refused and leaves no file behind.
TEST_F(ArquivoZipTeste, ArquivoTruncadoRecusado)
{
    const QString completo =
        arquivoCom(QStringLiteral("completo.KXD"), {{QStringLiteral("ORVA1_25.FDB"), conteudoBase()}});
    const QByteArray bytes = le(completo);
    for (const qsizetype corte : {bytes.size() - 10, bytes.size() / 2, qsizetype(40)}) {
        const QString truncado = caminho(QStringLiteral("ORVALIS.KXD"));
        grava(truncado, bytes.left(corte));
        const QString destino = caminho(QStringLiteral("ORVA1_25.FDB"));
        const auto r = ArquivoZip::extrai(truncado, QStringLiteral("ORVA1_25.FDB"), destino);
        EXPECT_FALSE(r.ok()) << "cut at " << corte;
        EXPECT_FALSE(QFile::exists(destino)) << "cut at " << corte;
    }
    QStringList entradas;
    EXPECT_EQ(ArquivoZip::listaEntradas(caminho(QStringLiteral("nao-existe.KXD")), entradas).situacao,
              Situacao::ArquivoInvalido);
}

// Guards corrupt compressed data: inflate or CRC failure refuses the entry, no partial file.
TEST_F(ArquivoZipTeste, DadosCorrompidosRecusados)
{
    const QString recebido =
        arquivoCom(QStringLiteral("ORVALIS.KXD"), {{QStringLiteral("ORVA1_25.FDB"), conteudoBase()}});
    QByteArray bytes = le(recebido);
    const qsizetype dados = inicioDosDados(bytes);
    for (qsizetype i = dados + 100; i < dados + 400; i += 3)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    grava(recebido, bytes);
    const QString destino = caminho(QStringLiteral("ORVA1_25.FDB"));
    grava(destino, QByteArray("antigo"));
    const auto r = ArquivoZip::extrai(recebido, QStringLiteral("ORVA1_25.FDB"), destino);
    EXPECT_EQ(r.situacao, Situacao::DadosCorrompidos);
    EXPECT_EQ(le(destino), QByteArray("antigo")) << "the older file is untouched";
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

// Guards a stored (uncompressed) entry with one changed byte: only the CRC can catch it.
TEST_F(ArquivoZipTeste, CrcErradoRecusado)
{
    const QString recebido = arquivoCom(QStringLiteral("ORVALIS.KXD"),
                                        {{QStringLiteral("ORVA1_25.FDB"), conteudoBase()}}, ZIP_CM_STORE);
    QByteArray bytes = le(recebido);
    const qsizetype ultimo = inicioDosDados(bytes) + conteudoBase().size() - 1;
    bytes[ultimo] = static_cast<char>(bytes[ultimo] ^ 0x01);
    grava(recebido, bytes);
    const QString destino = caminho(QStringLiteral("ORVA1_25.FDB"));
    const auto r = ArquivoZip::extrai(recebido, QStringLiteral("ORVA1_25.FDB"), destino);
    EXPECT_EQ(r.situacao, Situacao::DadosCorrompidos) << r.detalhe.toStdString();
    EXPECT_FALSE(QFile::exists(destino));
}

// Guards the script file form the server reads: Windows-1252 bytes and CR LF after every line.
TEST_F(ArquivoZipTeste, ScriptEm1252ComCrLf)
{
    const QString script = caminho(QStringLiteral("ORVA1_25.SCP"));
    ASSERT_TRUE(ArquivoScript::grava(script, {QStringLiteral("INSERT 'SÃO PAULO'"), QStringLiteral("UPDATE €")}));
    EXPECT_EQ(le(script), QByteArray("INSERT 'S\xC3O PAULO'\r\nUPDATE \x80\r\n"));
    ASSERT_TRUE(ArquivoScript::grava(script, {}));
    EXPECT_TRUE(le(script).isEmpty());
    QString erro;
    EXPECT_FALSE(ArquivoScript::grava(caminho(QStringLiteral("nao/existe.SCP")), {QStringLiteral("x")}, &erro));
    EXPECT_FALSE(erro.isEmpty());
}
