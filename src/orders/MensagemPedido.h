#pragma once

#include "Mensagem.h"

#include <QString>

// A message an order rule asks the window to show with exibeMensagem, as the rule words it.
struct MensagemPedido
{
    QString texto;
    TipoMensagem tipo = TipoMensagem::Informacao;
    CorMensagem cor = CorMensagem::Vermelho;
    BotoesMensagem botoes = BotoesMensagem::Ok;

    friend bool operator==(const MensagemPedido &, const MensagemPedido &) = default;
};
