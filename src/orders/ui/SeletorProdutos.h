#pragma once

#include <QPair>
#include <QSet>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class ConsultaProdutos;
class GradeDados;
struct PedidoEstado;

// The product picker of the "Itens" tab: the filter panel and the product list of the
// customer's price table, priced for the order, with its group and family header rows.
class SeletorProdutos : public QWidget
{
    Q_OBJECT
public:
    explicit SeletorProdutos(PedidoEstado &estado, QWidget *parent = nullptr);

    // The commercial terms of the order being edited, as the product statement takes them.
    static ConsultaProdutos consultaDoPedido(const PedidoEstado &estado);

    void btPESPROClick();
    static void abreCalculadora(); // "Calculadora"
    void cbGrupoClick();
    void cbFamiliasClick();
    void DBLookupComboBox5CloseUp();
    void abreFiltros();        // groups and families, once when the window is created
    void limpaFiltros();       // code, description, group, family and last-price boxes
    // Products already in the order and bought before by the customer (for the painting).
    void atualizaMarcas();

    bool marcaItem(qint64 CODCCU, qint64 CODPRO) const { return m_itens.contains({CODCCU, CODPRO}); }
    bool marcaCompra(qint64 CODCCU, qint64 CODPRO) const { return m_compras.contains({CODCCU, CODPRO}); }

    QCheckBox *cbFamilias;
    QComboBox *DBLookupComboBox4; // Famílias
    QCheckBox *cbGrupo;
    QComboBox *DBLookupComboBox5; // Grupo
    QLineEdit *EDCODPRO;
    QLineEdit *EDDESPRO;
    QCheckBox *cbUltimoPreco;
    QPushButton *btPESPRO;
    QPushButton *SpeedButton2; // Calculadora
    GradeDados *dbgProdutos;

signals:
    // The list was rebuilt: the entry fields follow its current row.
    void listaAberta();
    // A search from the keyboard found a product and made it the current row.
    void produtoAlcancado();

private:
    void preencheFamilias(const QString &grupo);

    PedidoEstado &m_estado;
    QSet<QPair<qint64, qint64>> m_itens;
    QSet<QPair<qint64, qint64>> m_compras;
};
