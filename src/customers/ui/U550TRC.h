#pragma once

#include "U599CAD.h"

#include <memory>

class GradeDados;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class TitulosReceber;

// "Informações Financeiras": the receivable titles by customer, due period and overdue
// state, with the overdue ones marked and the total of the listed amounts.
class F550TRC : public F599CAD
{
    Q_OBJECT
public:
    explicit F550TRC(QWidget *parent = nullptr);
    ~F550TRC() override;

    TitulosReceber &titulos() const { return *m_titulos; }

    void btPesquisarClick();

    QLineEdit *edcod = nullptr;
    QLineEdit *edDes = nullptr;
    QCheckBox *cbData = nullptr;
    QLineEdit *edDataIni = nullptr;
    QLineEdit *edDataFim = nullptr;
    QButtonGroup *rgSituacao = nullptr;
    GradeDados *dbgPesquisa = nullptr;
    QLabel *lblTotal = nullptr;

private:
    std::unique_ptr<TitulosReceber> m_titulos;
};
