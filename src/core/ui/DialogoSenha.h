#pragma once

#include <QList>
#include <QString>

class QDialog;
class QLineEdit;
class QPushButton;

// The look the login and the password-change windows share: white, a fixed dialog frame, a
// picture on the left and, on the right, labelled edits over a row of buttons.
namespace DialogoSenha {

struct Campo
{
    QString rotulo;
    QString nome;  // object name of the edit
    bool senha;    // characters shown as "#"
};

// A button of the row, with its icon.
QPushButton *botao(QDialog *dialogo, const QString &icone, const QString &texto, const QString &nome);

// Builds the window; returns the edits in the order of `campos`.
QList<QLineEdit *> monta(QDialog *dialogo, const QString &nome, const QString &titulo, const QString &figura,
                         const QList<Campo> &campos, const QList<QPushButton *> &botoes);

} // namespace DialogoSenha
