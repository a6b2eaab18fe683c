#pragma once

#include "SaldoFlex.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TClientDataSetPlus;
struct PedidoEstado;

// The "Pedido" tab: the header form of the order being edited, the customer with its
// operations, conditions and financial figures, the status, the sellers and the flex box.
class PainelCabecalho : public QWidget
{
    Q_OBJECT
public:
    explicit PainelCabecalho(PedidoEstado &estado, QWidget *parent = nullptr);

    // Opens the customer's sets; while the header is edited, writes the customer into it.
    void carregaCliente(const QString &codigo, bool clienteNovo);
    // The header's part of showing the order page: customer, status, dates, seller names.
    void mostraPedido();
    // "..." : choose another customer.
    void SpeedButton1Click();
    // Puts the lists' datasets on the header's transaction, operation and condition.
    void posicionaListas();
    void mostraFlex(const SaldoFlex::Exibicao &flex, const Decimal &totalPedido);
    void habilitaRetirar();

    QString liberacao() const;
    void limpaLiberacao();

    // Chooses a customer (code, description); the search window by default.
    std::function<bool(QString &, QString &)> escolheCliente;

    QLabel *lblCODPDF, *lblDATPDF, *lblCODCLI, *lblRAZCLI, *lblCIDADE, *lblTabela;
    QPushButton *SpeedButton1;
    QComboBox *DBLookupComboBox1; // Transação
    QComboBox *DBLookupComboBox2; // Operação
    QComboBox *DBLookupComboBox3; // Cond. Pagto.
    QLabel *lblSituacao, *lblRepresentante, *lblSubVend, *lblFatur, *lblEntr;
    QPlainTextEdit *edOBSCLI, *edMOTCAN;
    QCheckBox *cbOrcamento;
    QGroupBox *gbRetirar;
    QCheckBox *cbRetirar;
    QLineEdit *edLiberacao;
    QLabel *lblSaldo, *lblPedidoFlex, *lblTotalFlex;
    QLabel *lblLimite, *lblAberto, *lblAtraso;

signals:
    // Transaction, operation or condition chosen: the items are re-priced.
    void termosAlterados();

private:
    void preencheLista(QComboBox *lista, TClientDataSetPlus *ds, const QString &codigo, const QString &nome,
                       const QString &campoCabecalho);
    void listaEscolhida(QComboBox *lista, const QString &campoCabecalho);
    void gravaCabecalho(const QString &campo, const QVariant &valor);
    bool editando() const;

    PedidoEstado &m_estado;
    bool m_carregando = false;
};
