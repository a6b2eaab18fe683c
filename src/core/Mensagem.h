#pragma once

#include <QString>

// The vocabulary of exibeMensagem: kind of box, colour of its text, buttons and answer.
enum class TipoMensagem { Aviso, Erro, Informacao, Confirmacao };
enum class CorMensagem { Vermelho, Verde, Azul /* navy */ };
enum class BotoesMensagem { Ok, SimNao };
enum class RespostaMensagem { Ok, Sim, Nao };

// Shows (or answers) the one modal message box. The program installs a window-backed
// presenter; tests and headless commands install their own answerer.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual RespostaMensagem present(const QString &text, TipoMensagem kind, CorMensagem colour,
                                     BotoesMensagem buttons) = 0;
};
