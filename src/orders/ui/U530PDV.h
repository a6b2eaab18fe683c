#pragma once

#include "PedidoEstado.h"
#include "U599CAD.h"

#include <QStringList>

class QPushButton;
class QStackedWidget;
class QTabWidget;
class PaginaPesquisa;
class PainelCabecalho;
class PainelFlex;
class PainelItens;
class PedidoDados;

// The order window "Pedidos de Venda": the search page and the order page (header, items,
// totals and flex), opened in search mode, for a new order of the handed-over customer, or on
// a recovered order; it saves and abandons the order being edited.
class F530PDV : public F599CAD
{
    Q_OBJECT
public:
    explicit F530PDV(QWidget *parent = nullptr);
    ~F530PDV() override;

    // The crash-recovery copy of the order being edited, in the program folder.
    static QString arquivoPedido();
    static QString arquivoItens();

    void FormCreate();
    void tbsCadastroShow();
    void pgPedidoChange(int aba);
    bool atualizaSaldoFlex();
    // True when some item was raised to the new minimum; the items whose products are missing
    // from the new prices are left in itensSemPreco().
    bool recalculaItens();
    const QStringList &itensSemPreco() const { return m_itensSemPreco; }
    void btSalvarClick();
    void btVoltarClick();

    PedidoDados *dados() const { return m_dados; }
    PedidoEstado &estado() { return m_estado; }

    QStackedWidget *paginas;
    PaginaPesquisa *tbsPesquisa;
    QWidget *tbsCadastro;
    QTabWidget *pgPedido;
    PainelCabecalho *cabecalho;
    PainelItens *itens;
    PainelFlex *rodape;
    QPushButton *btSalvar;
    QPushButton *btVoltar;

private:
    void cdsCADPEDIDONewRecord();
    void cdsCADITEMNewRecord();
    void editaCabecalho();
    void abrePedido(const QString &CODEMP, const QString &CODPDF, const QString &CODINT, bool copia);
    void mostraCadastro();
    void itemAlterado(bool postado);
    void gravaRecuperacao();
    void voltaParaPesquisa();
    void termosAlterados();
    Decimal flexGravado() const;

    PedidoDados *m_dados;
    PedidoEstado m_estado;
    QStringList m_itensSemPreco;
};
