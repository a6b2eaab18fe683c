#include "CaixaAlta.h"

#include <QLineEdit>

namespace CaixaAlta {

void aplica(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &texto) {
        const QString maiusculo = texto.toUpper();
        if (maiusculo == texto)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(maiusculo);
        edit->setCursorPosition(cursor);
    });
}

} // namespace CaixaAlta
