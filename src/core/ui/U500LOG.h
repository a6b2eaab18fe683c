#pragma once

#include "RegrasLogin.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The login window "LOGIN": the user's name and password, checked by RegrasLogin; the fourth
// wrong try and Cancel end the program.
class F500LOG : public QDialog
{
    Q_OBJECT
public:
    // Takes the user from the first row of D500DAT's cdsLogado.
    explicit F500LOG(QWidget *parent = nullptr);
    // For a given user (its name and scrambled password).
    F500LOG(const QString &nomeUsuario, const QString &senhaEmbaralhada, QWidget *parent = nullptr);
    ~F500LOG() override;

    void BitBtn1Click(); // OK
    void BitBtn2Click(); // Cancel

    int tentativas() const { return m_regras.tentativas(); }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void montaTela();

    RegrasLogin m_regras;
    QLineEdit *edusuario = nullptr;
    QLineEdit *edsenha = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
