#include "ArquivoZip.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

#include <memory>

namespace {

using Situacao = ArquivoZip::Situacao;
using Resultado = ArquivoZip::Resultado;


struct FechaArquivo
{
    void operator()(zip_t *arquivo) const { zip_discard(arquivo); }
};
using ArquivoAberto = std::unique_ptr<zip_t, FechaArquivo>;

struct FechaEntrada
{
    void operator()(zip_file_t *entrada) const { zip_fclose(entrada); }
};
using EntradaAberta = std::unique_ptr<zip_file_t, FechaEntrada>;

Resultado falha(Situacao situacao, const QString &detalhe)
{
    return Resultado{situacao, detalhe};
}

QString mensagemCodigo(int codigo)
{
    zip_error_t erro;
    zip_error_init_with_code(&erro, codigo);
    const QString texto = QString::fromUtf8(zip_error_strerror(&erro));
    zip_error_fini(&erro);
    return texto;
}

// Opens for reading with the consistency checks that catch a truncated or patched archive.
Resultado abreLeitura(const QString &arquivoZip, ArquivoAberto &arquivo)
{
    if (!QFileInfo::exists(arquivoZip))
        return falha(Situacao::ArquivoInvalido, QStringLiteral("arquivo inexistente: ") + arquivoZip);
    int codigo = 0;
    zip_t *aberto = zip_open(QFile::encodeName(arquivoZip).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codigo);
    if (!aberto)
        return falha(Situacao::ArquivoInvalido, mensagemCodigo(codigo));
    arquivo.reset(aberto);
    return {};
}

} // namespace

ArquivoZip::Resultado ArquivoZip::compacta(const QString &arquivo, const QString &arquivoZip, int nivel)
{
    const QFileInfo origem(arquivo);
    if (!origem.isFile() || !origem.isReadable())
        return falha(Situacao::OrigemAusente, QStringLiteral("arquivo inexistente: ") + arquivo);

    int codigo = 0;
    // ZIP_TRUNCATE: the old archive is replaced as a whole, so the package holds one entry only.
    // libzip writes a temporary file and renames it over the old archive on a successful close.
    ArquivoAberto zip(zip_open(QFile::encodeName(arquivoZip).constData(), ZIP_CREATE | ZIP_TRUNCATE, &codigo));
    if (!zip)
        return falha(Situacao::ErroGravacao, mensagemCodigo(codigo));

    zip_source_t *fonte = zip_source_file(zip.get(), QFile::encodeName(arquivo).constData(), 0, -1);
    if (!fonte)
        return falha(Situacao::OrigemAusente, QString::fromUtf8(zip_strerror(zip.get())));
    const zip_int64_t indice =
        zip_file_add(zip.get(), origem.fileName().toUtf8().constData(), fonte, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (indice < 0) {
        zip_source_free(fonte);
        return falha(Situacao::ErroGravacao, QString::fromUtf8(zip_strerror(zip.get())));
    }
    // libzip's default is the best compression, several times slower than zlib's usual level for
    // files of statements or database pages that come out barely smaller.
    if (zip_set_file_compression(zip.get(), static_cast<zip_uint64_t>(indice), ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(nivel)) != 0)
        return falha(Situacao::ErroGravacao, QString::fromUtf8(zip_strerror(zip.get())));

    if (zip_close(zip.get()) != 0)
        return falha(Situacao::ErroGravacao, QString::fromUtf8(zip_strerror(zip.get())));
    zip.release(); // closed: the archive handle is freed by zip_close
    return {};
}

ArquivoZip::Resultado ArquivoZip::listaEntradas(const QString &arquivoZip, QStringList &entradas)
{
    entradas.clear();
    ArquivoAberto zip;
    Resultado aberto = abreLeitura(arquivoZip, zip);
    if (!aberto.ok())
        return aberto;
    const zip_int64_t total = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < total; ++i) {
        const char *nome = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!nome)
            return falha(Situacao::ArquivoInvalido, QString::fromUtf8(zip_strerror(zip.get())));
        entradas.append(QString::fromUtf8(nome));
    }
    return {};
}

ArquivoZip::Resultado ArquivoZip::extrai(const QString &arquivoZip, const QString &nomeEntrada, const QString &destino)
{
    ArquivoAberto zip;
    Resultado aberto = abreLeitura(arquivoZip, zip);
    if (!aberto.ok())
        return aberto;
    if (zip_get_num_entries(zip.get(), 0) <= 0)
        return falha(Situacao::SemEntradas, QStringLiteral("arquivo sem entradas: ") + arquivoZip);

    const zip_int64_t indice = zip_name_locate(zip.get(), nomeEntrada.toUtf8().constData(), ZIP_FL_ENC_GUESS);
    if (indice < 0)
        return falha(Situacao::EntradaAusente, QStringLiteral("entrada inexistente: ") + nomeEntrada);

    zip_stat_t estatistica;
    zip_stat_init(&estatistica);
    if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(indice), 0, &estatistica) != 0
        || !(estatistica.valid & ZIP_STAT_SIZE))
        return falha(Situacao::ArquivoInvalido, QString::fromUtf8(zip_strerror(zip.get())));

    EntradaAberta entrada(zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(indice), 0));
    if (!entrada)
        return falha(Situacao::DadosCorrompidos, QString::fromUtf8(zip_strerror(zip.get())));

    QSaveFile saida(destino);
    if (!saida.open(QIODevice::WriteOnly))
        return falha(Situacao::ErroGravacao, saida.errorString());

    QByteArray bloco(1 << 16, Qt::Uninitialized);
    zip_uint64_t lidos = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(entrada.get(), bloco.data(), static_cast<zip_uint64_t>(bloco.size()));
        if (n < 0)
            return falha(Situacao::DadosCorrompidos, QString::fromUtf8(zip_file_strerror(entrada.get())));
        if (n == 0)
            break;
        lidos += static_cast<zip_uint64_t>(n);
        if (lidos > estatistica.size)
            return falha(Situacao::DadosCorrompidos, QStringLiteral("entrada maior que o tamanho declarado"));
        if (saida.write(bloco.constData(), n) != n)
            return falha(Situacao::ErroGravacao, saida.errorString());
    }
    // libzip reports a CRC mismatch only once the entry is read to its end, which the loop did.
    if (lidos != estatistica.size)
        return falha(Situacao::DadosCorrompidos, QStringLiteral("entrada menor que o tamanho declarado"));
    const int fechamento = zip_fclose(entrada.release());
    if (fechamento != 0)
        return falha(Situacao::DadosCorrompidos, mensagemCodigo(fechamento));
    if (!saida.commit())
        return falha(Situacao::ErroGravacao, saida.errorString());
    return {};
}
