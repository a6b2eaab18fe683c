#pragma once

#include "SaldoFlex.h"

#include <QWidget>

class QLabel;
class TClientDataSetPlus;

// The bottom panel's running totals of the item list (total, number of items, substitution
// tax, following the item filter) and its flex box (balance, use, forecast).
class PainelFlex : public QWidget
{
    Q_OBJECT
public:
    explicit PainelFlex(QWidget *parent = nullptr);

    void mostraTotais(const TClientDataSetPlus *itens);
    void mostraFlex(const SaldoFlex::Exibicao &flex, const Decimal &uso);

    QLabel *lblTOTGER, *lblQTDITM, *lblTOTSTB;
    QLabel *lblSaldo, *lblUso, *lblPrevisto;
};
