#include "U510CLI.h"

#include "AvisoCliente.h"
#include "CadastroCliente.h"
#include "CaixaAlta.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "FormatosColunas.h"
#include "GradeDados.h"
#include "InicioPedido.h"
#include "LigaAcao.h"
#include "ModuleFrame.h"
#include "U500CAD.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const QString kMascaraCnpj = QStringLiteral("00.000.000/0000-00");
const QString kMascaraCpf = QStringLiteral("000.000.000-00");

QLineEdit *caixa(bool maiusculas = false)
{
    auto *e = new QLineEdit;
    if (maiusculas)
        CaixaAlta::aplica(e);
    return e;
}

QLineEdit *somenteLeitura()
{
    auto *e = new QLineEdit;
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    return e;
}

// The text a masked box holds, without the mask's punctuation when no digit was typed.
QString textoMascarado(const QLineEdit *e)
{
    const QString texto = e->text();
    if (D500DAT::somenteNumeros(texto).isEmpty())
        return {};
    return texto.trimmed();
}

class CursorEspera
{
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};

} // namespace

F510CLI::F510CLI(QWidget *parent)
    : F599CAD(parent)
    , m_cadastro(std::make_unique<CadastroCliente>(dat().cnxFirebird))
{
    setWindowTitle(QStringLiteral("Clientes"));
    paginas = new QStackedWidget;
    tbsPesquisa = montaPesquisa();
    tbsCadastro = montaCadastro();
    paginas->addWidget(tbsPesquisa);
    paginas->addWidget(tbsCadastro);
    auto *layout = new QVBoxLayout(conteudo());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(paginas);

    // FormCreate
    paginas->setCurrentWidget(tbsPesquisa);
    const QString codEmp = dat().sessao.CODEMP;
    m_cadastro->abreTipos();
    m_cadastro->abreEstados(codEmp);
    {
        // The checkout rule reads the type list; it must not move it while the list is read.
        const QSignalBlocker semRegra(lcbTipo);
        lcbTipo->clear();
        TClientDataSetPlus &tipos = m_cadastro->cdsTipoCliente();
        for (tipos.first(); !tipos.eof(); tipos.next())
            lcbTipo->addItem(tipos.asString(QStringLiteral("DESTIP")), tipos.asString(QStringLiteral("CODTIP")));
        lcbTipo->setCurrentIndex(-1);
    }
    TClientDataSetPlus &estados = m_cadastro->cdsPESESTADO();
    for (estados.first(); !estados.eof(); estados.next())
        cblEstado->addItem(estados.asString(QStringLiteral("ESTCID")));
    btPesquisarClick();
    lblTotalCli->setText(Formatos::formatMask(m_cadastro->cdsClientes().recordCount(), QStringLiteral("#,##0")));
    // Each box holds what its column holds.
    for (const auto &[campo, e] : caixasDigitadas())
        if (const int tamanho = m_cadastro->tamanho(campo); tamanho > 0 && e->inputMask().isEmpty())
            e->setMaxLength(tamanho);
}

QList<std::pair<QString, QLineEdit *>> F510CLI::caixasDigitadas() const
{
    return {{QStringLiteral("RAZCLI"), edRazao},     {QStringLiteral("FANCLI"), edFantasia},
            {QStringLiteral("ENDEND"), edEndereco},  {QStringLiteral("NUMEND"), edNumero},
            {QStringLiteral("BAIEND"), edBairro},    {QStringLiteral("CEPEND"), edCep},
            {QStringLiteral("DDAEND"), edDdd},       {QStringLiteral("TEAEND"), edTelefone},
            {QStringLiteral("NUMIES"), edInscricao}, {QStringLiteral("CPFCGC"), edCpfCnpj},
            {QStringLiteral("FONEMB"), edTelContato}, {QStringLiteral("CNTEMB"), edContato},
            {QStringLiteral("EMLEMB"), edEmail}};
}

F510CLI::~F510CLI() = default;

QWidget *F510CLI::montaPesquisa()
{
    auto *pagina = new QWidget;
    auto *filtros = new QGridLayout;
    edCod = caixa(true);
    edDes = caixa(true);
    edCNPJ = caixa(true);
    filtros->addWidget(new QLabel(QStringLiteral("Código :")), 0, 0);
    filtros->addWidget(edCod, 0, 1);
    filtros->addWidget(new QLabel(QStringLiteral("Razão Social:")), 1, 0);
    filtros->addWidget(edDes, 1, 1);
    filtros->addWidget(new QLabel(QStringLiteral("CPF / CNPJ :")), 2, 0);
    filtros->addWidget(edCNPJ, 2, 1);

    auto *grupo = new QGroupBox(QStringLiteral("Situação :"));
    auto *radios = new QHBoxLayout(grupo);
    rgSituacao = new QButtonGroup(this);
    const QStringList itens = {QStringLiteral("Todos"), QStringLiteral("Ativos"), QStringLiteral("Inátivos"),
                               QStringLiteral("Bloqueados")};
    for (int i = 0; i < itens.size(); ++i) {
        auto *rb = new QRadioButton(itens.at(i));
        rgSituacao->addButton(rb, i);
        radios->addWidget(rb);
    }
    rgSituacao->button(0)->setChecked(true);
    filtros->addWidget(grupo, 0, 2, 2, 1);
    auto *btPesquisar = new QPushButton(QStringLiteral("Pesquisar"));
    filtros->addWidget(btPesquisar, 2, 2);
    ligaAcao(btPesquisar, &QPushButton::clicked, this, &F510CLI::btPesquisarClick);
    for (QLineEdit *e : {edCod, edDes, edCNPJ})
        ligaAcao(e, &QLineEdit::returnPressed, this, &F510CLI::btPesquisarClick);

    TClientDataSetPlus &clientes = m_cadastro->cdsClientes();
    dbgPesquisa = new GradeDados(clientes,
                                 {{QStringLiteral("CODCLI"), QStringLiteral("Código")},
                                  {QStringLiteral("RAZCLI"), QStringLiteral("Razão Social")},
                                  {QStringLiteral("CPFCGC"), QStringLiteral("CNPJ / CPF")},
                                  {QStringLiteral("LIMCRE"), QStringLiteral("Limite Créd.")},
                                  {QStringLiteral("NOMCID"), QStringLiteral("Cidade")},
                                  {QStringLiteral("ESTCID"), QStringLiteral("UF")},
                                  {QStringLiteral("DDAEND"), QStringLiteral("DDD")},
                                  {QStringLiteral("TEAEND"), QStringLiteral("Telefone")}});
    dbgPesquisa->setEstilo([this](int linha, const QString &campo, int role) -> QVariant {
        switch (role) {
        case Qt::FontRole:
            if ((campo == QLatin1String("CODCLI") || campo == QLatin1String("RAZCLI"))
                && dbgPesquisa->valor(linha, QStringLiteral("EMIAVS")).toString() == QLatin1String("S")) {
                QFont negrito = dbgPesquisa->font();
                negrito.setBold(true);
                return negrito;
            }
            return {};
        case Qt::ForegroundRole:
            if (dbgPesquisa->valor(linha, QStringLiteral("SITCLI")).toString() == QLatin1String("B"))
                return QColor(255, 0, 0);
            return {};
        case GradeDados::FundoFixoRole:
        case Qt::BackgroundRole:
            if (dbgPesquisa->valor(linha, QStringLiteral("STUCLI")).toString() == QLatin1String("N"))
                return QColor(83, 142, 213);
            if (role == GradeDados::FundoFixoRole)
                return {};
            if (campo == QLatin1String("RAZCLI"))
                return QApplication::palette().color(QPalette::ToolTipBase);
            return {};
        default:
            return {};
        }
    });
    ligaAcao(dbgPesquisa, &GradeDados::duploClique, this, &F510CLI::dbgPesquisaDblClick);

    auto *rodape = new QHBoxLayout;
    auto *btPedido = new QPushButton(QStringLiteral("Pedido de Venda"));
    auto *btNovo = new QPushButton(QStringLiteral("Cliente Novo"));
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    lblTotalCli = new QLabel(QStringLiteral("000"));
    rodape->addWidget(btPedido);
    rodape->addWidget(btNovo);
    rodape->addWidget(btFechar);
    rodape->addStretch();
    rodape->addWidget(new QLabel(QStringLiteral("Clientes : ")));
    rodape->addWidget(lblTotalCli);
    ligaAcao(btPedido, &QPushButton::clicked, this, &F510CLI::SpeedButton1Click);
    ligaAcao(btNovo, &QPushButton::clicked, this, &F510CLI::btNovoClick);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QVBoxLayout(pagina);
    layout->addLayout(filtros);
    layout->addWidget(dbgPesquisa, 1);
    layout->addLayout(rodape);
    return pagina;
}

QWidget *F510CLI::montaCadastro()
{
    auto *pagina = new QWidget;
    auto *form = new QGridLayout;
    // Rows and frames as tight as the design's: the whole record fits the main window.
    form->setVerticalSpacing(4);
    int linha = 0;
    auto adiciona = [&](const QString &rotulo, QWidget *campo, int coluna = 0, int span = 1) {
        form->addWidget(new QLabel(rotulo), linha, coluna * 2);
        form->addWidget(campo, linha, coluna * 2 + 1, 1, span);
    };
    edCodigo = new QLineEdit;
    edCodigo->setReadOnly(true);
    adiciona(QStringLiteral("Código:"), edCodigo);
    lblSituacao = new QLabel;
    lblRede = new QLabel;
    auto *situacao = new QGroupBox(QStringLiteral("Situação"));
    auto *situacaoLayout = new QHBoxLayout(situacao);
    situacaoLayout->setContentsMargins(6, 0, 6, 2);
    QFont negrito = lblSituacao->font();
    negrito.setBold(true);
    lblSituacao->setFont(negrito);
    lblRede->setFont(negrito);
    situacaoLayout->addWidget(lblSituacao);
    form->addWidget(situacao, linha, 2, 1, 2);
    form->addWidget(lblRede, linha, 4);
    ++linha;
    edRazao = caixa(true);
    adiciona(QStringLiteral("Razão Social:"), edRazao, 0, 3);
    ++linha;
    edFantasia = caixa(true);
    adiciona(QStringLiteral("Fantasia:"), edFantasia, 0, 3);
    ++linha;
    edEndereco = caixa(true);
    edNumero = caixa();
    adiciona(QStringLiteral("Endereço :"), edEndereco);
    adiciona(QStringLiteral("No.:"), edNumero, 1);
    ++linha;
    edBairro = caixa(true);
    edCep = caixa();
    adiciona(QStringLiteral("Bairro:"), edBairro);
    adiciona(QStringLiteral("C.E.P.:"), edCep, 1);
    ++linha;
    cblEstado = new QComboBox;
    cblCidade = new QComboBox;
    adiciona(QStringLiteral("U.F.:"), cblEstado);
    adiciona(QStringLiteral("Cidade:"), cblCidade, 1);
    ++linha;
    edDdd = caixa();
    edTelefone = caixa();
    auto *telefone = new QHBoxLayout;
    telefone->addWidget(edDdd, 1);
    telefone->addWidget(edTelefone, 3);
    form->addWidget(new QLabel(QStringLiteral("Telefone:")), linha, 0);
    form->addLayout(telefone, linha, 1);
    edInscricao = caixa(true);
    adiciona(QStringLiteral("I.E.:"), edInscricao, 1);
    ++linha;
    edCpfCnpj = caixa();
    adiciona(QStringLiteral("CNPJ/CPF:"), edCpfCnpj);
    gbPessoa = new QGroupBox;
    auto *pessoa = new QHBoxLayout(gbPessoa);
    pessoa->setContentsMargins(6, 2, 6, 2);
    rbjuridica = new QRadioButton(QStringLiteral("Jurídica"));
    rbfisica = new QRadioButton(QStringLiteral("Fisica"));
    pessoa->addWidget(rbjuridica);
    pessoa->addWidget(rbfisica);
    form->addWidget(gbPessoa, linha, 2, 1, 2);
    connect(rbjuridica, &QRadioButton::clicked, this, [this] { rbfisicaClick(); });
    connect(rbfisica, &QRadioButton::clicked, this, [this] { rbfisicaClick(); });
    ++linha;
    lcbTipo = new QComboBox;
    cbCheckout = new QComboBox;
    cbCheckout->addItems({QStringLiteral("1 A 4"), QStringLiteral("5 A 9"), QStringLiteral("ACIMA DE 10")});
    adiciona(QStringLiteral("Tipo:"), lcbTipo);
    form->addWidget(cbCheckout, linha, 2, 1, 2);
    connect(lcbTipo, &QComboBox::activated, this, [this] { lcbTipoCloseUp(); });
    // The checkout rule also follows every change of the type shown (a customer loaded, a new one).
    connect(lcbTipo, &QComboBox::currentIndexChanged, this, [this] { aplicaCheckout(); });
    ligaAcao(cblEstado, &QComboBox::activated, this, &F510CLI::cblEstadoClick);
    ++linha;

    auto *contato = new QGroupBox(QStringLiteral("Contato :"));
    auto *contatoForm = new QFormLayout(contato);
    edTelContato = caixa();
    edContato = caixa(true);
    edEmail = caixa();
    contatoForm->addRow(QStringLiteral("Tel.:"), edTelContato);
    contatoForm->addRow(QStringLiteral("Contato:"), edContato);
    contatoForm->addRow(QStringLiteral("Email:"), edEmail);
    auto *financeiro = new QGroupBox(QStringLiteral("Financeiro:"));
    auto *financeiroForm = new QFormLayout(financeiro);
    edLimite = somenteLeitura();
    edAberto = somenteLeitura();
    edAtraso = somenteLeitura();
    financeiroForm->addRow(QStringLiteral("Limite:"), edLimite);
    financeiroForm->addRow(QStringLiteral("Aberto:"), edAberto);
    financeiroForm->addRow(QStringLiteral("Atraso:"), edAtraso);
    for (QFormLayout *quadro : {contatoForm, financeiroForm}) {
        quadro->setContentsMargins(6, 2, 6, 4);
        quadro->setVerticalSpacing(3);
    }
    form->addWidget(contato, linha, 0, 1, 2);
    form->addWidget(financeiro, linha, 2, 1, 3);

    auto *rodape = new QHBoxLayout;
    auto *btSalvar = new QPushButton(QStringLiteral("Salvar"));
    auto *btVoltar = new QPushButton(QStringLiteral("Voltar"));
    rodape->addStretch();
    rodape->addWidget(btSalvar);
    rodape->addWidget(btVoltar);
    ligaAcao(btSalvar, &QPushButton::clicked, this, &F510CLI::SpeedButton2Click);
    ligaAcao(btVoltar, &QPushButton::clicked, this, &F510CLI::SpeedButton3Click);

    auto *layout = new QVBoxLayout(pagina);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(rodape);
    return pagina;
}

void F510CLI::btPesquisarClick()
{
    CursorEspera espera;
    CadastroCliente::Filtro filtro;
    filtro.codigo = edCod->text();
    filtro.razaoSocial = edDes->text();
    filtro.cpfCnpj = edCNPJ->text();
    filtro.situacao = static_cast<CadastroCliente::Situacao>(qMax(0, rgSituacao->checkedId()));
    const QString recusa = m_cadastro->pesquisa(dat().sessao.CODEMP, filtro);
    if (!recusa.isEmpty()) {
        dat().exibeMensagem(recusa, TipoMensagem::Aviso, CorMensagem::Vermelho);
        edCod->setFocus();
    }
}

void F510CLI::mostraAviso()
{
    TClientDataSetPlus &c = m_cadastro->cdsClientes();
    if (AvisoCliente::temAviso(c.asString(QStringLiteral("EMIAVS"))))
        dat().exibeMensagem(AvisoCliente::texto(c.asString(QStringLiteral("OBSCLI"))), TipoMensagem::Aviso,
                            CorMensagem::Vermelho);
}

void F510CLI::dbgPesquisaDblClick()
{
    TClientDataSetPlus &c = m_cadastro->cdsClientes();
    if (!c.active() || c.isEmpty()
        || (c.isNull(QStringLiteral("CODCLI")) && c.isNull(QStringLiteral("CODNOV"))))
        return;
    const QString codEmp = dat().sessao.CODEMP;
    m_cadastro->abreCidades(codEmp, c.asString(QStringLiteral("ESTCID")));
    m_cadastro->editaCliente();
    paginas->setCurrentWidget(tbsCadastro);
    tbsCadastroShow();
    m_cadastro->abreDadosFinanceiros(codEmp, c.asString(QStringLiteral("CODCLI")), c.asString(QStringLiteral("CODNOV")));
    TClientDataSetPlus &financeiro = m_cadastro->cdsDadosFinan();
    edAberto->setText(financeiro.isEmpty() ? QString() : financeiro.displayText(QStringLiteral("ABERTO")));
    edAtraso->setText(financeiro.isEmpty() ? QString() : financeiro.displayText(QStringLiteral("VENCIDO")));
    liberaIdentificacao(m_cadastro->registradoAqui());
    mostraAviso();
}

void F510CLI::tbsCadastroShow()
{
    TClientDataSetPlus &c = m_cadastro->cdsClientes();
    const qsizetype tamanho = c.asString(QStringLiteral("CPFCGC")).size();
    const bool fisica = tamanho >= 1 && tamanho <= 14;
    rbfisica->setChecked(fisica);
    rbjuridica->setChecked(!fisica);
    carregaCampos();

    QPalette paleta = lblSituacao->palette();
    const QString situacao = c.asString(QStringLiteral("SITCLI"));
    if (situacao == QLatin1String("A")) {
        lblSituacao->setText(QStringLiteral("Ativo"));
        paleta.setColor(QPalette::WindowText, QColor(0, 128, 0));
    } else if (situacao == QLatin1String("B")) {
        lblSituacao->setText(QStringLiteral("Bloqueado"));
        paleta.setColor(QPalette::WindowText, QColor(255, 0, 0));
    } else {
        lblSituacao->setText(QStringLiteral("Inátivo"));
        paleta.setColor(QPalette::WindowText, QColor(128, 128, 0));
    }
    lblSituacao->setPalette(paleta);
    lblRede->setText(c.asString(QStringLiteral("REDE")) == QLatin1String("S") ? QStringLiteral("REDE") : QString());
}

void F510CLI::carregaCampos()
{
    TClientDataSetPlus &c = m_cadastro->cdsClientes();
    auto texto = [&c](const char *campo) { return c.asString(QLatin1String(campo)); };
    edCodigo->setText(FormatosColunas::formata(QStringLiteral("CODCLI"), static_cast<double>(c.asInteger(QStringLiteral("CODCLI")))));
    edRazao->setText(texto("RAZCLI"));
    edFantasia->setText(texto("FANCLI"));
    edEndereco->setText(texto("ENDEND"));
    edNumero->setText(texto("NUMEND"));
    edBairro->setText(texto("BAIEND"));
    edCep->setText(texto("CEPEND"));
    edDdd->setText(texto("DDAEND"));
    edTelefone->setText(texto("TEAEND"));
    edInscricao->setText(texto("NUMIES"));
    edCpfCnpj->setInputMask(rbfisica->isChecked() ? kMascaraCpf : kMascaraCnpj);
    edCpfCnpj->setText(texto("CPFCGC"));
    edTelContato->setText(texto("FONEMB"));
    edContato->setText(texto("CNTEMB"));
    edEmail->setText(texto("EMLEMB"));
    edLimite->setText(FormatosColunas::formata(QStringLiteral("LIMCRE"), c.asFloat(QStringLiteral("LIMCRE"))));

    lcbTipo->setCurrentIndex(lcbTipo->findData(texto("CODTIP")));
    cbCheckout->setCurrentIndex(cbCheckout->findText(texto("DESCHK")));
    const QString estado = texto("ESTCID");
    cblEstado->setCurrentIndex(cblEstado->findText(estado));
    preencheCidades(estado);
    cblCidade->setCurrentIndex(cblCidade->findData(texto("CODCID")));
    aplicaCheckout();
    lembraMostrado();
}

void F510CLI::lembraMostrado()
{
    m_mostrado.clear();
    for (const auto &[campo, e] : caixasDigitadas())
        m_mostrado.insert(e, e->text());
    m_mostrado.insert(lcbTipo, lcbTipo->currentData().toString());
    m_mostrado.insert(cbCheckout, cbCheckout->currentText());
    m_mostrado.insert(cblCidade, cblCidade->currentData().toString());
}

void F510CLI::preencheCidades(const QString &estado)
{
    cblCidade->clear();
    if (estado.isEmpty())
        return;
    TClientDataSetPlus &cidades = m_cadastro->cdsPESCIDADE();
    if (!cidades.active() || cidades.param(QStringLiteral("PESTCID")) != estado)
        m_cadastro->abreCidades(dat().sessao.CODEMP, estado);
    for (cidades.first(); !cidades.eof(); cidades.next())
        cblCidade->addItem(cidades.asString(QStringLiteral("NOMCID")), cidades.asString(QStringLiteral("CODCID")));
}

void F510CLI::aplicaCheckout()
{
    TClientDataSetPlus &tipos = m_cadastro->cdsTipoCliente();
    bool temCheckout = false;
    if (lcbTipo->currentIndex() >= 0
        && tipos.locate({QStringLiteral("CODTIP")}, {lcbTipo->currentData().toString()}))
        temCheckout = tipos.asString(QStringLiteral("TEMCHK")) == QLatin1String("S");
    if (!temCheckout)
        cbCheckout->setCurrentIndex(-1);
    cbCheckout->setEnabled(temCheckout);
}

void F510CLI::lcbTipoCloseUp()
{
    aplicaCheckout();
}

void F510CLI::liberaIdentificacao(bool libera)
{
    for (QLineEdit *e : {edRazao, edInscricao, edCpfCnpj, edEndereco, edNumero, edBairro, edCep})
        e->setReadOnly(!libera);
    cblEstado->setEnabled(libera);
    cblCidade->setEnabled(libera);
    gbPessoa->setEnabled(libera);
}

void F510CLI::rbfisicaClick()
{
    edCpfCnpj->setInputMask(rbfisica->isChecked() ? kMascaraCpf : kMascaraCnpj);
}

void F510CLI::cblEstadoClick()
{
    preencheCidades(cblEstado->currentText());
    cblCidade->setCurrentIndex(-1);
}

void F510CLI::gravaCampos()
{
    // Only what the seller changed since it was shown (or last written) goes into the row: a
    // stored value with blanks at its ends, or a checkout text the list does not offer, stays
    // as the back office sent it.
    auto mudou = [this](const QObject *controle, const QString &agora) { return m_mostrado.value(controle) != agora; };
    for (const auto &[campo, e] : caixasDigitadas())
        if (!e->isReadOnly() && mudou(e, e->text()))
            m_cadastro->atribui(campo, e == edCpfCnpj ? textoMascarado(e) : e->text().trimmed());
    if (lcbTipo->currentIndex() >= 0 && mudou(lcbTipo, lcbTipo->currentData().toString()))
        m_cadastro->atribui(QStringLiteral("CODTIP"), lcbTipo->currentData().toString());
    if (cbCheckout->isEnabled() && mudou(cbCheckout, cbCheckout->currentText()))
        m_cadastro->atribui(QStringLiteral("DESCHK"), cbCheckout->currentText());
    if (m_cadastro->registradoAqui() && mudou(cblCidade, cblCidade->currentData().toString())) {
        if (cblCidade->currentIndex() >= 0) {
            m_cadastro->atribui(QStringLiteral("CODCID"), cblCidade->currentData().toString());
            m_cadastro->atribui(QStringLiteral("NOMCID"), cblCidade->currentText());
            m_cadastro->atribui(QStringLiteral("ESTCID"), cblEstado->currentText());
        } else {
            m_cadastro->atribui(QStringLiteral("CODCID"), QString());
        }
    }
    lembraMostrado();
}

void F510CLI::btNovoClick()
{
    const QString codEmp = dat().sessao.CODEMP;
    m_cadastro->abreDadosFinanceiros(codEmp, QStringLiteral("0"), QStringLiteral("0"));
    m_cadastro->novoCliente(dat(), codEmp, dat().sessao.CODVEN);
    liberaIdentificacao(true);
    paginas->setCurrentWidget(tbsCadastro);
    tbsCadastroShow();
    cblEstado->setCurrentIndex(-1);
    cblCidade->clear();
    lembraMostrado();
    edAberto->setText(FormatosColunas::formata(QStringLiteral("ABERTO"), 0));
    edAtraso->setText(FormatosColunas::formata(QStringLiteral("VENCIDO"), 0));
}

void F510CLI::SpeedButton2Click()
{
    TClientDataSetPlus &c = m_cadastro->cdsClientes();
    if (c.state() != TClientDataSetPlus::State::Edit && c.state() != TClientDataSetPlus::State::Insert)
        return;
    gravaCampos();
    if (const auto recusa = m_cadastro->valida(rbjuridica->isChecked())) {
        dat().exibeMensagem(recusa->mensagem, TipoMensagem::Informacao, CorMensagem::Vermelho);
        QLineEdit *foco = nullptr;
        switch (recusa->campo) {
        case CadastroCliente::Campo::RazaoSocial: foco = edRazao; break;
        case CadastroCliente::Campo::CpfCnpj: foco = edCpfCnpj; break;
        case CadastroCliente::Campo::Inscricao: foco = edInscricao; break;
        case CadastroCliente::Campo::Ddd: foco = edDdd; break;
        case CadastroCliente::Campo::Email: foco = edEmail; break;
        case CadastroCliente::Campo::Cidade: cblCidade->setFocus(); return;
        }
        foco->setFocus();
        return;
    }
    // A failure leaves the customer on its page, in edition with what was typed.
    m_cadastro->salva();
    paginas->setCurrentWidget(tbsPesquisa);
}

void F510CLI::SpeedButton3Click()
{
    paginas->setCurrentWidget(tbsPesquisa);
    m_cadastro->cancela();
}

void F510CLI::SpeedButton1Click()
{
    TClientDataSetPlus &c = m_cadastro->cdsClientes();
    if (!c.active() || c.isEmpty() || c.isNull(QStringLiteral("CODCLI")))
        return;
    const InicioPedido::Cliente cliente{c.asString(QStringLiteral("CODCLI")), c.asString(QStringLiteral("CODNOV")),
                                        c.asString(QStringLiteral("CODVEN")), c.asString(QStringLiteral("SITCLI"))};
    const QString recusa = InicioPedido::recusaCadastro(cliente, dat().sessao.atualizacaoExpirada);
    if (!recusa.isEmpty()) {
        dat().exibeMensagem(recusa, TipoMensagem::Erro, CorMensagem::Vermelho);
        return;
    }
    mostraAviso();
    InicioPedido::entrega(*D500CAD::instance(), cliente, dat().sessao.CODVEN);
    if (ModuleFrame *frame = ModuleFrame::instance())
        frame->abreJanela(QStringLiteral("F530PDV"));
}
