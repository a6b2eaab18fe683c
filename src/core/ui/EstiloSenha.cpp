#include "EstiloSenha.h"

#include <QLineEdit>

int EstiloSenha::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                           QStyleHintReturn *returnData) const
{
    if (hint == SH_LineEdit_PasswordCharacter)
        return u'#';
    if (hint == SH_LineEdit_PasswordMaskDelay)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void EstiloSenha::aplica(QLineEdit *edit)
{
    auto *estilo = new EstiloSenha();
    estilo->setParent(edit);
    edit->setStyle(estilo);
    edit->setEchoMode(QLineEdit::Password);
}
