#pragma once

#include <QDialog>

class GradeDados;
class TClientDataSetPlus;

// "PROMOÇÕES": the modal list of the promotions starting from today on.
class F511PRM : public QDialog
{
    Q_OBJECT
public:
    explicit F511PRM(TClientDataSetPlus &cdsPromocao, QWidget *parent = nullptr);
    ~F511PRM() override;

    GradeDados *dbgPromocao = nullptr;
};
