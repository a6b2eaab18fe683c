#pragma once

#include "Mensagem.h"

#include <QString>

// A message an order rule asks the window to show with exibeMensagem, as the rule words it.
struct MensagemPedido
{
    QString text;
    TipoMensagem kind = TipoMensagem::Informacao;
    CorMensagem colour = CorMensagem::Vermelho;
    BotoesMensagem buttons = BotoesMensagem::Ok;

    friend bool operator==(const MensagemPedido &, const MensagemPedido &) = default;
};
