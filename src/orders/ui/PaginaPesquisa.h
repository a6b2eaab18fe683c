#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class GradeDados;
class PedidoDados;

// The search page "Pesquisa" of the order window: the order list with its filters and colours,
// and the actions on the selected order (open, copy, delete, close).
class PaginaPesquisa : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaPesquisa(PedidoDados &dados, QWidget *parent = nullptr);

    void btPesquisarClick();
    void btCopiarClick();
    void btexcluirClick();
    void dbgPesquisaDblClick();
    void dbgPesquisaTitleClick(int coluna);

    QCheckBox *cbPedido;
    QLineEdit *edPedido;
    QCheckBox *cbCliente;
    QLineEdit *edCliente;
    QCheckBox *cbPeriodo;
    QLineEdit *edDataIni;
    QLineEdit *edDataFim;
    QCheckBox *cbOrcamentos;
    QComboBox *cbSituacao;
    QPushButton *btPesquisar;
    GradeDados *dbgPesquisa;
    QPushButton *btCopiar;
    QPushButton *btexcluir;
    QPushButton *btFechar;

signals:
    // Open the order on the order page (opened from the list, or the copy just written).
    void abrePedido(const QString &CODEMP, const QString &CODPDF, const QString &CODINT, bool copia);
    void fecha();

private:
    PedidoDados &m_dados;
};
