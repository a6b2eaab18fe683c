#pragma once

#include "U599CAD.h"

#include <functional>
#include <memory>

class GradeDados;
class ListaSuspensa;
class QCheckBox;
class QLineEdit;
class TabelaVendas;

// "Tabela de Vendas": the products of a price table under their groups and families, with
// stock, price-change state and new price, and the coming promotions.
class F511PRO : public F599CAD
{
    Q_OBJECT
public:
    explicit F511PRO(QWidget *parent = nullptr);
    ~F511PRO() override;

    TabelaVendas &tabela() const { return *m_tabela; }

    void btPesquisarClick();
    void btpromocaoClick();

    // Shows the promotions window; tests replace it to look at the list without a nested loop.
    std::function<void(F511PRO &)> mostraPromocoes;

    ListaSuspensa *cbTabelas = nullptr;
    QLineEdit *edCod = nullptr;
    QLineEdit *edDes = nullptr;
    QCheckBox *cbFamilias = nullptr;
    ListaSuspensa *lcbFamilias = nullptr;
    QCheckBox *cbGrupo = nullptr;
    ListaSuspensa *lcbGrupo = nullptr;
    QCheckBox *cbAtualizado = nullptr;
    GradeDados *dbgTabela = nullptr;
    QLineEdit *edComissao = nullptr;
    QLineEdit *edFator = nullptr;
    QLineEdit *edPeso = nullptr;

private:
    void preencheFamilias();
    void mostraLinhaAtual();

    std::unique_ptr<TabelaVendas> m_tabela;
};
