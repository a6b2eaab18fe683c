#include "InspecaoZip.h"

#include <QFile>

#include <zip.h>

qint64 InspecaoZip::tamanhoDeclarado(const QString &arquivoZip, const QString &nomeEntrada)
{
    int codigo = 0;
    zip_t *arquivo = zip_open(QFile::encodeName(arquivoZip).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codigo);
    if (!arquivo)
        return -1;
    qint64 tamanho = -1;
    zip_stat_t estatistica;
    zip_stat_init(&estatistica);
    if (zip_stat(arquivo, nomeEntrada.toUtf8().constData(), 0, &estatistica) == 0 && (estatistica.valid & ZIP_STAT_SIZE))
        tamanho = static_cast<qint64>(estatistica.size);
    zip_discard(arquivo);
    return tamanho;
}
