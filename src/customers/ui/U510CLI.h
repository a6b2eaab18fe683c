#pragma once

#include "U599CAD.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <utility>

class CadastroCliente;
class GradeDados;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// "Clientes": the customer search, the registry form of one customer (editing and
// registering) and the start of an order for the customer found.
class F510CLI : public F599CAD
{
    Q_OBJECT
public:
    explicit F510CLI(QWidget *parent = nullptr);
    ~F510CLI() override;

    CadastroCliente &cadastro() const { return *m_cadastro; }

    // Handlers, named as the window's events.
    void btPesquisarClick();
    void dbgPesquisaDblClick();
    void btNovoClick();
    void SpeedButton1Click(); // "Pedido de Venda"
    void SpeedButton2Click(); // "Salvar"
    void SpeedButton3Click(); // "Voltar"
    void rbfisicaClick();
    void cblEstadoClick();
    void lcbTipoCloseUp();

    // Pages and controls (tests reach them by these names).
    QStackedWidget *paginas = nullptr;
    QWidget *tbsPesquisa = nullptr;
    QWidget *tbsCadastro = nullptr;
    QLineEdit *edCod = nullptr, *edDes = nullptr, *edCNPJ = nullptr;
    QButtonGroup *rgSituacao = nullptr;
    GradeDados *dbgPesquisa = nullptr;
    QLabel *lblTotalCli = nullptr;

    QLineEdit *edCodigo = nullptr, *edRazao = nullptr, *edFantasia = nullptr, *edEndereco = nullptr,
              *edNumero = nullptr, *edBairro = nullptr, *edCep = nullptr, *edDdd = nullptr, *edTelefone = nullptr,
              *edInscricao = nullptr, *edCpfCnpj = nullptr, *edTelContato = nullptr, *edContato = nullptr,
              *edEmail = nullptr, *edLimite = nullptr, *edAberto = nullptr, *edAtraso = nullptr;
    QComboBox *cblEstado = nullptr, *cblCidade = nullptr, *lcbTipo = nullptr, *cbCheckout = nullptr;
    QGroupBox *gbPessoa = nullptr;
    QRadioButton *rbjuridica = nullptr, *rbfisica = nullptr;
    QLabel *lblSituacao = nullptr, *lblRede = nullptr;

private:
    QWidget *montaPesquisa();
    QWidget *montaCadastro();
    void tbsCadastroShow();
    void liberaIdentificacao(bool libera);
    void aplicaCheckout();
    void carregaCampos();
    void gravaCampos();
    void preencheCidades(const QString &estado);
    void mostraAviso();
    // The boxes bound to text columns of the customer.
    QList<std::pair<QString, QLineEdit *>> caixasDigitadas() const;
    // What each editable control showed when the customer was loaded, to write only the edits.
    void lembraMostrado();

    std::unique_ptr<CadastroCliente> m_cadastro;
    QHash<const QObject *, QString> m_mostrado;
};
