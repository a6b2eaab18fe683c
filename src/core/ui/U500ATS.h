#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The password change window "ALTERAÇÃO SENHA": the new password twice, checked by
// TrocaSenha and stored for the logged user; the close box leaves without a change.
class F500ATS : public QDialog
{
    Q_OBJECT
public:
    explicit F500ATS(QWidget *parent = nullptr);
    ~F500ATS() override;

    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void recusa(const QString &text);

    QLineEdit *EDSENHA = nullptr;
    QLineEdit *edCONFsenha = nullptr;
    QPushButton *BitBtn1 = nullptr;
};
