#pragma once

#include "Decimal.h"
#include "PrecificacaoItem.h"
#include "BasePreco.h"

#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class GradeDados;
class SeletorProdutos;
struct PedidoEstado;

// The "Itens" tab: the entry panel (price, discount, quantity, last price, commission table),
// the item grid and the product picker, and the writing and removal of items through the item
// rules.
class PainelItens : public QWidget
{
    Q_OBJECT
public:
    explicit PainelItens(PedidoEstado &estado, QWidget *parent = nullptr);

    void tbsItemShow();
    void cbTabelaSelect();
    void carregaItem();
    void lblprecoClick();
    void lbldescClick();
    void lblqtdeClick();
    void lblultimoClick();
    void lcbComissaoCloseUp();
    void btPromocaoClick();
    void btIncluirITMClick();
    void btExcluirITMClick();
    void mostraVisaoItens(); // the item grid, selector disabled (order page shown)

    // Called after an item was posted or deleted (recovery copy, header TOTFLX, flex display).
    std::function<void(bool postado)> itemAlterado;
    // Refreshes the flex display.
    std::function<void()> atualizaFlex;

    SeletorProdutos *seletor;
    QComboBox *cbTabela;
    GradeDados *dbgItem;
    QPushButton *lblpreco, *lbldesc, *lblqtde, *lblultimo, *lblSubtotal;
    QLineEdit *edPRECO, *edDESC, *edQTDE, *edULTIMO;
    QComboBox *lcbComissao;
    QPushButton *btIncluirITM, *btExcluirITM, *btPromocao;

private:
    bool editavel() const;
    bool visaoProdutos() const;
    std::optional<BasePreco> baseAtual() const;
    qint64 maximoDias() const;
    void aplica(const PrecificacaoItem::Entrada &entrada);
    void abreComissao(const QString &CODCOS);
    void posicionaComissao(const Decimal &percentual);
    Decimal percentualComissao() const;
    QString codigoComissao() const;
    void mostraUltimoPreco(qint64 CODCCU, qint64 CODPRO);
    void atualizaSubtotal();
    void gravaDoProduto(const PrecificacaoItem &precificacao, const PrecificacaoItem::Entrada &entrada, const Decimal &quantidade);

    PedidoEstado &m_estado;
};
