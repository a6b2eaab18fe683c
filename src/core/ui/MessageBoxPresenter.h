#pragma once

#include "Mensagem.h"

#include <memory>

class QMessageBox;

// The window-backed exibeMensagem: a modal message box with the kind's icon and title, the
// text in the given colour (10 pt, bold), no title-bar buttons, centred on the screen, Enter on
// Sim/OK and Escape on Não (or OK when it stands alone).
class MessageBoxPresenter : public MessagePresenter
{
public:
    RespostaMensagem present(const QString &text, TipoMensagem kind, CorMensagem colour,
                             BotoesMensagem buttons) override;

    // The box present() shows, built but not shown.
    static std::unique_ptr<QMessageBox> criaCaixa(const QString &text, TipoMensagem kind,
                                                  CorMensagem colour, BotoesMensagem buttons);
};
