#pragma once

#include "U599CAD.h"

#include <memory>

class GradeDados;
class QLabel;
class QDateEdit;
class RoteiroClientes;

// "Roteiro de Clientes": the customers to visit on a date, those with an order that day
// first, and the start of an order for the one selected.
class F510ROT : public F599CAD
{
    Q_OBJECT
public:
    explicit F510ROT(QWidget *parent = nullptr);
    ~F510ROT() override;

    RoteiroClientes &roteiro() const { return *m_roteiro; }

    void btPesquisarClick();
    void SpeedButton1Click(); // "Pedido de Venda"

    QDateEdit *eddata = nullptr;
    QLabel *lbldia = nullptr;
    QLabel *lblsemana = nullptr;
    GradeDados *dbgPesquisa = nullptr;

private:
    std::unique_ptr<RoteiroClientes> m_roteiro;
};
