#pragma once

#include "Mensagem.h"

#include <QList>
#include <QString>

// Answers exibeMensagem in tests: records every message and replies from a queue
// (Ok for OK boxes, the queued answer or No for Yes/No boxes).
class ScriptedAnswerer : public MessagePresenter
{
public:
    struct Shown
    {
        QString text;
        TipoMensagem kind;
        CorMensagem colour;
        BotoesMensagem buttons;
    };

    RespostaMensagem present(const QString &text, TipoMensagem kind, CorMensagem colour,
                             BotoesMensagem buttons) override
    {
        shown.append({text, kind, colour, buttons});
        if (buttons == BotoesMensagem::Ok)
            return RespostaMensagem::Ok;
        if (!answers.isEmpty())
            return answers.takeFirst();
        return RespostaMensagem::Nao;
    }

    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;
    QList<RespostaMensagem> answers;
};
