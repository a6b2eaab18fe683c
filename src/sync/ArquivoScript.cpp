#include "ArquivoScript.h"

#include "TextCodec.h"

#include <QSaveFile>

bool ArquivoScript::grava(const QString &caminho, const QStringList &linhas, QString *erro)
{
    QByteArray conteudo;
    for (const QString &linha : linhas) {
        conteudo.append(TextCodec::toWindows1252(linha));
        conteudo.append("\r\n", 2);
    }
    QSaveFile arquivo(caminho);
    if (arquivo.open(QIODevice::WriteOnly) && arquivo.write(conteudo) == conteudo.size() && arquivo.commit())
        return true;
    if (erro)
        *erro = arquivo.errorString();
    return false;
}
