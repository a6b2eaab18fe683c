#pragma once

#include "Mensagem.h"

#include <QString>

#include <cstdio>

// What the headless commands share: a line written and flushed at once, and message boxes turned
// into lines on the error output, every question answered No, so nothing that needs a person
// (the download of a new version, printing) happens.
namespace Terminal {

inline void escreve(FILE *saida, const QString &texto)
{
    std::fputs(texto.toUtf8().constData(), saida);
    std::fputc('\n', saida);
    std::fflush(saida);
}

class Apresentador : public MessagePresenter
{
public:
    RespostaMensagem present(const QString &text, TipoMensagem, CorMensagem, BotoesMensagem buttons) override
    {
        if (buttons == BotoesMensagem::SimNao) {
            escreve(stderr, text.trimmed() + QStringLiteral(" Não"));
            return RespostaMensagem::Nao;
        }
        escreve(stderr, text.trimmed());
        return RespostaMensagem::Ok;
    }
};

} // namespace Terminal
