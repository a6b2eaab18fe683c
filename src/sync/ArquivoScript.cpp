#include "ArquivoScript.h"

#include "TextCodec.h"

#include <QSaveFile>

#include <algorithm>

namespace {

// Windows-1252 agrees with Latin-1 everywhere but 0x80-0x9F; lines without those code points
// and without characters beyond Latin-1 (nearly all of a script) take Qt's fast conversion.
bool latin1Equivalente(QStringView linha)
{
    return std::all_of(linha.begin(), linha.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x80 || (u > 0x9F && u <= 0xFF);
    });
}

} // namespace

bool ArquivoScript::grava(const QString &caminho, const QStringList &linhas, QString *erro)
{
    qsizetype tamanho = 0;
    for (const QString &linha : linhas)
        tamanho += linha.size() + 2;
    QByteArray conteudo;
    conteudo.reserve(tamanho);
    for (const QString &linha : linhas) {
        if (latin1Equivalente(linha))
            conteudo.append(linha.toLatin1());
        else
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
