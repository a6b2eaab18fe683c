#pragma once

#include <QProxyStyle>

// Shows the characters of the password edits as "#".
class EstiloSenha : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    // Makes the edit a password edit drawn with this style.
    static void aplica(class QLineEdit *edit);
};
