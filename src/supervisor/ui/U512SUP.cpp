#include "U512SUP.h"

#include "BonificacoesSupervisor.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "GradeDados.h"
#include "LiberacaoPedido.h"
#include "LigaAcao.h"
#include "MovimentacaoFlex.h"
#include "SqlText.h"
#include "U599PSQ.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const QColor kVerde(192, 220, 192);
const QColor kVermelho(217, 151, 149);

QColor corDica()
{
    return QApplication::palette().color(QPalette::ToolTipBase);
}

QLineEdit *caixaLeitura()
{
    auto *e = new QLineEdit;
    e->setReadOnly(true);
    return e;
}

QLineEdit *caixaData()
{
    auto *e = new QLineEdit;
    e->setInputMask(QStringLiteral("00/00/0000"));
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    e->setMaximumWidth(e->minimumWidth() + 10);
    return e;
}

// Long names yield their room so the value and state columns stay inside the main window.
void estreitaNomes(GradeDados *grade, std::initializer_list<const char *> campos, int largura)
{
    QObject::connect(grade->model(), &QAbstractItemModel::modelReset, grade, [grade, campos = QList<const char *>(campos), largura] {
        for (const char *campo : campos) {
            const int coluna = grade->dataSet().columnOfField(QLatin1String(campo));
            if (coluna >= 0)
                grade->setColumnWidth(coluna, largura);
        }
    });
}

QLabel *titulo(const QString &texto)
{
    auto *l = new QLabel(texto);
    QFont fonte = l->font();
    fonte.setBold(true);
    fonte.setPointSize(fonte.pointSize() + 4);
    l->setFont(fonte);
    return l;
}

} // namespace

F512SUP::F512SUP(QWidget *parent)
    : F599CAD(parent)
    , m_bonificacoes(std::make_unique<BonificacoesSupervisor>(dat().cnxFirebird))
    , m_movimentacao(std::make_unique<MovimentacaoFlex>(dat()))
{
    setWindowTitle(QStringLiteral("Acesso Supervisor"));
    escolheVendedor = [this](QString &codigo, QString &nome) {
        return F599PSQ::abrePesquisa(QStringLiteral("F512VEN"),
                                     {QStringLiteral("CODVEN AS CODIGO"), QStringLiteral("NOMVEN AS \"VENDEDOR\"")},
                                     QStringLiteral(" AND CODEMP = ") + SqlText::quoted(dat().sessao.CODEMP), codigo,
                                     nome, this);
    };
    pcSupervisor = new QStackedWidget;
    tbsMenu = montaMenu();
    tbsBonificacao = montaBonificacao();
    tbsMovimFlex = montaMovimentacao();
    tbsSenha = montaSenha();
    for (QWidget *pagina : {tbsMenu, tbsBonificacao, tbsMovimFlex, tbsSenha})
        pcSupervisor->addWidget(pagina);
    auto *layout = new QVBoxLayout(conteudo());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pcSupervisor);

    // FormCreate
    const QString hoje = Formatos::formatDate(QDate::currentDate());
    edDataIni->setText(hoje);
    edDataFim->setText(hoje);
    cbData->setChecked(true);
    pcSupervisor->setCurrentWidget(tbsMenu);
}

F512SUP::~F512SUP() = default;

void F512SUP::acao(QPushButton *botao, void (F512SUP::*handler)())
{
    ligaAcao(botao, &QPushButton::clicked, this, handler);
}

QWidget *F512SUP::montaMenu()
{
    auto *pagina = new QWidget;
    auto *btBonificacoes = new QPushButton(QStringLiteral("Bonificações"));
    auto *btMovimentacao = new QPushButton(QStringLiteral("Movimentação\nFlex"));
    auto *btSenha = new QPushButton(QStringLiteral("Senha Liberação"));
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    auto *layout = new QVBoxLayout(pagina);
    layout->addWidget(titulo(QStringLiteral("Menu Supervisor")), 0, Qt::AlignHCenter);
    layout->addStretch();
    for (QPushButton *b : {btBonificacoes, btMovimentacao, btSenha, btFechar}) {
        b->setFixedSize(200, 54);
        QFont fonte = b->font();
        fonte.setBold(true);
        fonte.setPointSize(fonte.pointSize() + 2);
        b->setFont(fonte);
        layout->addWidget(b, 0, Qt::AlignHCenter);
    }
    layout->addStretch();
    acao(btBonificacoes, &F512SUP::btBonificacoesClick);
    acao(btMovimentacao, &F512SUP::btMovimentacaoClick);
    acao(btSenha, &F512SUP::btSenhaClick);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);
    return pagina;
}

QWidget *F512SUP::montaBonificacao()
{
    auto *pagina = new QWidget;
    pcBonificacao = new QStackedWidget;
    tbsPesquisa = montaPesquisa();
    tbsInformacoes = montaInformacoes();
    pcBonificacao->addWidget(tbsPesquisa);
    pcBonificacao->addWidget(tbsInformacoes);
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btFechar);
    auto *layout = new QVBoxLayout(pagina);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titulo(QStringLiteral("Aprovar Bonificações")));
    layout->addWidget(pcBonificacao, 1);
    layout->addLayout(rodape);
    acao(btFechar, &F512SUP::voltaAoMenu);
    return pagina;
}

QWidget *F512SUP::montaPesquisa()
{
    auto *pagina = new QWidget;
    cbVendedor = new QCheckBox(QStringLiteral("Representante:"));
    lcbVendedor = new QComboBox;
    lcbVendedor->setModel(&m_bonificacoes->cdsPESVEN());
    cbData = new QCheckBox(QStringLiteral("Período :"));
    edDataIni = caixaData();
    edDataFim = caixaData();
    auto *situacao = new QGroupBox(QStringLiteral("Situação :"));
    auto *radios = new QHBoxLayout(situacao);
    rgSituacao = new QButtonGroup(this);
    const char *nomes[] = {"Todos", "Pendentes", "Aprovados", "Não Aprovados"};
    for (int i = 0; i < 4; ++i) {
        auto *rb = new QRadioButton(QString::fromUtf8(nomes[i]));
        rgSituacao->addButton(rb, i);
        radios->addWidget(rb);
    }
    rgSituacao->button(1)->setChecked(true);
    auto *btPesquisar = new QPushButton(QStringLiteral("Pesquisar"));

    TClientDataSetPlus &pesbon = m_bonificacoes->cdsPESBON();
    dbgPesquisa = new GradeDados(pesbon, {{QStringLiteral("CODPDV"), QStringLiteral("Pedido")},
                                          {QStringLiteral("DATPDF"), QStringLiteral("Data")},
                                          {QStringLiteral("CODCLI"), QStringLiteral("Cliente")},
                                          {QStringLiteral("RAZCLI"), QStringLiteral("Razão Social")},
                                          {QStringLiteral("TOTPDF"), QStringLiteral("Total")},
                                          {QStringLiteral("AUTBON"), QStringLiteral("Sit.")},
                                          {QStringLiteral("NOMVEN"), QStringLiteral("Representante")}});
    estreitaNomes(dbgPesquisa, {"RAZCLI"}, 150);
    dbgPesquisa->setEstilo([this](int linha, const QString &campo, int role) -> QVariant {
        if (role != Qt::BackgroundRole)
            return {};
        const QString autorizacao = dbgPesquisa->valor(linha, QStringLiteral("AUTBON")).toString();
        if (autorizacao == QLatin1String("A"))
            return kVerde;
        if (autorizacao == QLatin1String("N"))
            return kVermelho;
        if (campo == QLatin1String("CODPDV"))
            return corDica();
        if (campo == QLatin1String("TOTPDF"))
            return kVerde;
        return {};
    });

    auto *linha1 = new QHBoxLayout;
    linha1->addWidget(cbVendedor);
    linha1->addWidget(lcbVendedor, 1);
    linha1->addWidget(cbData);
    linha1->addWidget(edDataIni);
    linha1->addWidget(new QLabel(QStringLiteral(" à ")));
    linha1->addWidget(edDataFim);
    auto *linha2 = new QHBoxLayout;
    linha2->addWidget(situacao, 1);
    linha2->addWidget(btPesquisar, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(pagina);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(linha1);
    layout->addLayout(linha2);
    layout->addWidget(dbgPesquisa, 1);
    acao(btPesquisar, &F512SUP::btPesquisarClick);
    ligaAcao(dbgPesquisa, &GradeDados::duploClique, this, &F512SUP::dbgPesquisaDblClick);
    return pagina;
}

QWidget *F512SUP::montaInformacoes()
{
    auto *pagina = new QWidget;
    edPedido = caixaLeitura();
    edData = caixaLeitura();
    edCodCli = caixaLeitura();
    edRazCli = caixaLeitura();
    edTransacao = caixaLeitura();
    edOperacao = caixaLeitura();
    edCondicao = caixaLeitura();
    edCodCli->setMaximumWidth(70);
    dbgItens = new GradeDados(m_bonificacoes->cdsITMBON(), {{QStringLiteral("CODPRO"), QStringLiteral("Código")},
                                                            {QStringLiteral("DESPRO"), QStringLiteral("Descrição")},
                                                            {QStringLiteral("UNDPRO"), QStringLiteral("UND.")},
                                                            {QStringLiteral("QTDPRO"), QStringLiteral("Qtde.")},
                                                            {QStringLiteral("VLRUNT"), QStringLiteral("Vl. Unit.")},
                                                            {QStringLiteral("VLRTOT"), QStringLiteral("Total")}});
    btAprovar = new QPushButton(QStringLiteral("Aprovar"));
    btAprovar->setToolTip(QStringLiteral("Aprova o Pedido de Bonificação"));
    btNaoAprovar = new QPushButton(QStringLiteral("Não Aprovar"));
    btNaoAprovar->setToolTip(QStringLiteral("Não Aprova o Pedido de Bonificação"));
    btVoltar = new QPushButton(QStringLiteral("Voltar"));
    btVoltar->setToolTip(QStringLiteral("Volta para a tela de pesquisa"));

    auto *campos = new QGridLayout;
    campos->addWidget(new QLabel(QStringLiteral("Pedido:")), 0, 0);
    auto *pedidoData = new QHBoxLayout;
    pedidoData->addWidget(edPedido);
    pedidoData->addWidget(new QLabel(QStringLiteral("Data:")));
    pedidoData->addWidget(edData);
    campos->addLayout(pedidoData, 0, 1);
    campos->addWidget(new QLabel(QStringLiteral("Cliente:")), 1, 0);
    auto *cliente = new QHBoxLayout;
    cliente->addWidget(edCodCli);
    cliente->addWidget(edRazCli, 1);
    campos->addLayout(cliente, 1, 1);
    campos->addWidget(new QLabel(QStringLiteral("Transação:")), 2, 0);
    campos->addWidget(edTransacao, 2, 1);
    campos->addWidget(new QLabel(QStringLiteral("Operação:")), 3, 0);
    campos->addWidget(edOperacao, 3, 1);
    campos->addWidget(new QLabel(QStringLiteral("Cond. Pagto.:")), 4, 0);
    campos->addWidget(edCondicao, 4, 1);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btAprovar);
    botoes->addWidget(btNaoAprovar);
    botoes->addWidget(btVoltar);
    auto *layout = new QVBoxLayout(pagina);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(campos);
    layout->addWidget(dbgItens, 1);
    layout->addLayout(botoes);
    ligaAcao(btAprovar, &QPushButton::clicked, this, [this] { decide(QStringLiteral("A")); });
    ligaAcao(btNaoAprovar, &QPushButton::clicked, this, [this] { decide(QStringLiteral("N")); });
    acao(btVoltar, &F512SUP::btVoltarClick);
    return pagina;
}

QWidget *F512SUP::montaMovimentacao()
{
    auto *pagina = new QWidget;
    dbgVendedor = new GradeDados(m_movimentacao->cdsVendedor(), {{QStringLiteral("CODVEN"), QStringLiteral("Código")},
                                                                 {QStringLiteral("NOMVEN"), QStringLiteral("Nome Vendedor")},
                                                                 {QStringLiteral("CNTSAL"), QStringLiteral("Saldo Flex")},
                                                                 {QStringLiteral("CNTACU"), QStringLiteral("Acumulado")},
                                                                 {QStringLiteral("DDAEND"), QStringLiteral("Pref.")},
                                                                 {QStringLiteral("TEAEND"), QStringLiteral("Telefone")}});
    dbgVendedor->setEstilo([](int, const QString &campo, int role) -> QVariant {
        if (role == Qt::BackgroundRole && (campo == QLatin1String("CODVEN") || campo == QLatin1String("NOMVEN")))
            return corDica();
        return {};
    });
    rbMovimentacao = new QRadioButton(QStringLiteral("Movimentação"));
    rbAdiantamento = new QRadioButton(QStringLiteral("Adiantamento"));
    rbMovimentacao->setChecked(true);
    EDCODIGO = caixaLeitura();
    EDCODIGO->setMaximumWidth(60);
    EDNOME = caixaLeitura();
    EDNOME->setText(MovimentacaoFlex::kSemVendedor);
    btpesven = new QPushButton(QStringLiteral("..."));
    btpesven->setFixedWidth(30);
    edValor = new QLineEdit;
    edValor->setAlignment(Qt::AlignRight);
    edValor->setMinimumWidth(100);
    btIncluir = new QPushButton(QStringLiteral("Incluir Movimentação"));
    btIncluir->setToolTip(QStringLiteral("Inclui a movimentação de flex do vendedor selecionado"));
    btExcluir = new QPushButton(QStringLiteral("Excluir Movimentação"));
    btExcluir->setToolTip(QStringLiteral("Exclui a movimentação selecionada, se ainda não foi enviada"));
    dbgMovFlex = new GradeDados(m_movimentacao->cdsMovFlex(), {{QStringLiteral("DATMOV"), QStringLiteral("Data")},
                                                               {QStringLiteral("VENORI"), QStringLiteral("Origem")},
                                                               {QStringLiteral("NOMORI"), QStringLiteral("Vendedor Origem")},
                                                               {QStringLiteral("VENDES"), QStringLiteral("Destino")},
                                                               {QStringLiteral("NOMDES"), QStringLiteral("Vendedor Destino")},
                                                               {QStringLiteral("TIPMOV"), QStringLiteral("Tipo")},
                                                               {QStringLiteral("VLRMOV"), QStringLiteral("Valor")}});
    estreitaNomes(dbgMovFlex, {"NOMORI", "NOMDES"}, 110);
    dbgMovFlex->setEstilo([this](int linha, const QString &campo, int role) -> QVariant {
        const bool ehTipo = campo == QLatin1String("TIPMOV");
        if (role == Qt::FontRole && ehTipo) {
            QFont fonte = dbgMovFlex->font();
            fonte.setBold(true);
            return fonte;
        }
        if (role == Qt::ForegroundRole && ehTipo)
            return dbgMovFlex->valor(linha, QStringLiteral("TIPMOV")).toString() == QLatin1String("A") ? QColor(0, 128, 0)
                                                                                                      : QColor(0, 0, 255);
        if (role != Qt::BackgroundRole)
            return {};
        const QString situacao = dbgMovFlex->valor(linha, QStringLiteral("SITMOV")).toString();
        if (situacao == QLatin1String("R"))
            return kVerde;
        if (situacao == QLatin1String("N"))
            return kVermelho;
        if (campo == QLatin1String("DATMOV") || campo == QLatin1String("VENORI") || campo == QLatin1String("NOMORI"))
            return corDica();
        if (campo == QLatin1String("VLRMOV"))
            return kVerde;
        return {};
    });
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));

    // Three short rows, so the destination's name stays readable inside the main window.
    auto *linhaTipo = new QHBoxLayout;
    linhaTipo->addWidget(new QLabel(QStringLiteral("Tipo de Movimentação :")));
    linhaTipo->addWidget(rbMovimentacao);
    linhaTipo->addWidget(rbAdiantamento);
    linhaTipo->addStretch();
    linhaTipo->addWidget(new QLabel(QStringLiteral("Valor : ")));
    linhaTipo->addWidget(edValor);
    auto *destino = new QHBoxLayout;
    destino->addWidget(new QLabel(QStringLiteral("Destinat.:")));
    destino->addWidget(EDCODIGO);
    destino->addWidget(EDNOME, 1);
    destino->addWidget(btpesven);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btIncluir);
    botoes->addWidget(btExcluir);
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btFechar);
    auto *layout = new QVBoxLayout(pagina);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titulo(QStringLiteral("Movimentação de Flex")));
    layout->addWidget(dbgVendedor, 1);
    layout->addLayout(linhaTipo);
    layout->addLayout(destino);
    layout->addLayout(botoes);
    layout->addWidget(dbgMovFlex, 1);
    layout->addLayout(rodape);

    ligaAcao(rbMovimentacao, &QRadioButton::clicked, this, &F512SUP::rbmovimentacaoClick);
    ligaAcao(rbAdiantamento, &QRadioButton::clicked, this, &F512SUP::rbmovimentacaoClick);
    acao(btpesven, &F512SUP::btpesvenClick);
    acao(btIncluir, &F512SUP::btIncluirClick);
    acao(btExcluir, &F512SUP::btExcluirClick);
    acao(btFechar, &F512SUP::voltaAoMenu);
    return pagina;
}

QWidget *F512SUP::montaSenha()
{
    auto *pagina = new QWidget;
    lcbVendedorSenha = new QComboBox;
    lcbVendedorSenha->setModel(&m_bonificacoes->cdsPESVEN());
    edDataPedido = caixaData();
    edNumPedido = new QLineEdit;
    edNumPedido->setMaximumWidth(120);
    auto *btGerar = new QPushButton(QStringLiteral("Gerar Senha Liberação"));
    lblSenha = new QLabel(QStringLiteral("Liberação"));
    QFont fonte = lblSenha->font();
    fonte.setBold(true);
    fonte.setPointSize(28);
    lblSenha->setFont(fonte);
    lblSenha->setAlignment(Qt::AlignCenter);
    lblSenha->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));

    auto *campos = new QGridLayout;
    campos->addWidget(new QLabel(QStringLiteral("Representante:")), 0, 0);
    campos->addWidget(lcbVendedorSenha, 0, 1);
    campos->addWidget(new QLabel(QStringLiteral("Data Pedido:")), 1, 0);
    campos->addWidget(edDataPedido, 1, 1, Qt::AlignLeft);
    campos->addWidget(new QLabel(QStringLiteral("Pedido:")), 2, 0);
    campos->addWidget(edNumPedido, 2, 1, Qt::AlignLeft);
    campos->addWidget(btGerar, 3, 1, Qt::AlignLeft);
    campos->setColumnStretch(1, 1);
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btFechar);
    auto *layout = new QVBoxLayout(pagina);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titulo(QStringLiteral("Senha Liberação de Pedido")));
    layout->addLayout(campos);
    layout->addWidget(lblSenha, 1);
    layout->addLayout(rodape);
    acao(btGerar, &F512SUP::btGerarSenhaClick);
    acao(btFechar, &F512SUP::voltaAoMenu);
    return pagina;
}

QString F512SUP::vendedorEscolhido(const QComboBox *lista) const
{
    const TClientDataSetPlus &ds = m_bonificacoes->cdsPESVEN();
    if (!ds.active() || ds.rowCount() == 0)
        return {};
    // The first seller by name when none was chosen.
    const int linha = qMax(0, lista->currentIndex());
    return ds.data(ds.index(linha, ds.columnOfField(QStringLiteral("CODVEN"))), Qt::EditRole).toString();
}

void F512SUP::voltaAoMenu()
{
    pcSupervisor->setCurrentWidget(tbsMenu);
}

void F512SUP::btBonificacoesClick()
{
    m_bonificacoes->abreVendedores(dat().sessao.CODEMP);
    lcbVendedor->setModelColumn(m_bonificacoes->cdsPESVEN().columnOfField(QStringLiteral("NOMVEN")));
    pcBonificacao->setCurrentWidget(tbsPesquisa);
    pcSupervisor->setCurrentWidget(tbsBonificacao);
    btPesquisarClick();
}

void F512SUP::btMovimentacaoClick()
{
    pcSupervisor->setCurrentWidget(tbsMovimFlex);
    tbsMovimFlexShow();
}

void F512SUP::btSenhaClick()
{
    pcSupervisor->setCurrentWidget(tbsSenha);
    tbsSenhaShow();
}

void F512SUP::btPesquisarClick()
{
    static const char *const situacoes[] = {"%", "P", "A", "N"};
    BonificacoesSupervisor::Filtro filtro;
    filtro.porVendedor = cbVendedor->isChecked();
    filtro.codVen = vendedorEscolhido(lcbVendedor);
    filtro.porPeriodo = cbData->isChecked();
    filtro.inicio = edDataIni->text();
    filtro.fim = edDataFim->text();
    filtro.situacao = QLatin1String(situacoes[qBound(0, rgSituacao->checkedId(), 3)]);
    const QString recusa = m_bonificacoes->pesquisa(dat().sessao.CODEMP, filtro, QDate::currentDate());
    if (!recusa.isEmpty())
        dat().exibeMensagem(recusa, TipoMensagem::Aviso, CorMensagem::Vermelho);
}

void F512SUP::dbgPesquisaDblClick()
{
    const QString recusa = m_bonificacoes->abrePedido(dat().sessao.CODEMP);
    if (!recusa.isEmpty()) {
        dat().exibeMensagem(recusa, TipoMensagem::Erro, CorMensagem::Vermelho);
        return;
    }
    const TClientDataSetPlus &cab = m_bonificacoes->cdsCADBON();
    const TClientDataSetPlus &pesquisa = m_bonificacoes->cdsPESBON();
    edPedido->setText(pesquisa.displayText(QStringLiteral("CODPDV")));
    edData->setText(pesquisa.displayText(QStringLiteral("DATPDF")));
    edCodCli->setText(pesquisa.displayText(QStringLiteral("CODCLI")));
    edRazCli->setText(pesquisa.asString(QStringLiteral("RAZCLI")));
    const bool temCabecalho = cab.active() && !cab.isEmpty();
    edTransacao->setText(temCabecalho ? cab.asString(QStringLiteral("DESTRA")) : QString());
    edOperacao->setText(temCabecalho ? cab.asString(QStringLiteral("NOMOPE")) : QString());
    edCondicao->setText(temCabecalho ? cab.asString(QStringLiteral("DESCON")) : QString());
    pcBonificacao->setCurrentWidget(tbsInformacoes);
}

void F512SUP::decide(const QString &autorizacao)
{
    m_bonificacoes->decide(autorizacao, dat().sessao.CODEMP);
    btVoltarClick();
}

void F512SUP::btVoltarClick()
{
    pcBonificacao->setCurrentWidget(tbsPesquisa);
    btPesquisarClick();
}

void F512SUP::tbsMovimFlexShow()
{
    m_movimentacao->abre();
}

void F512SUP::rbmovimentacaoClick()
{
    if (rbAdiantamento->isChecked()) {
        EDCODIGO->clear();
        EDNOME->setText(MovimentacaoFlex::kSemVendedor);
        btpesven->setEnabled(false);
    } else {
        btpesven->setEnabled(true);
    }
}

void F512SUP::btpesvenClick()
{
    QString codigo;
    QString nome;
    if (escolheVendedor && escolheVendedor(codigo, nome) && !codigo.isEmpty()) {
        EDCODIGO->setText(codigo);
        EDNOME->setText(nome);
    } else {
        EDCODIGO->clear();
        EDNOME->setText(MovimentacaoFlex::kSemVendedor);
    }
}

void F512SUP::btIncluirClick()
{
    const auto tipo = rbAdiantamento->isChecked() ? MovimentacaoFlex::Tipo::Adiantamento : MovimentacaoFlex::Tipo::Movimentacao;
    // Typed as every number of the program: "," decimals, "." only between thousands.
    const Formatos::NumeroDigitado valor = Formatos::leNumeroDigitado(edValor->text(), 2, 13);
    if (!valor) {
        dat().exibeMensagem(QStringLiteral("Valor ") + valor.mensagem, TipoMensagem::Informacao, CorMensagem::Vermelho);
        edValor->setFocus();
        edValor->selectAll();
        return;
    }
    if (const auto recusa = m_movimentacao->inclui(tipo, EDCODIGO->text(), valor.valor.toDouble(), QDate::currentDate())) {
        dat().exibeMensagem(recusa.texto, TipoMensagem::Informacao, CorMensagem::Vermelho);
        if (recusa.focaValor)
            edValor->setFocus();
        return;
    }
    EDCODIGO->clear();
    EDNOME->setText(MovimentacaoFlex::kSemVendedor);
    edValor->clear();
}

void F512SUP::btExcluirClick()
{
    if (const auto recusa = m_movimentacao->recusaExclusao()) {
        dat().exibeMensagem(recusa.texto, TipoMensagem::Informacao, CorMensagem::Vermelho);
        return;
    }
    if (dat().exibeMensagem(m_movimentacao->perguntaExclusao(), TipoMensagem::Informacao, CorMensagem::Vermelho,
                            BotoesMensagem::SimNao)
        == RespostaMensagem::Sim)
        m_movimentacao->exclui();
}

void F512SUP::tbsSenhaShow()
{
    edNumPedido->clear();
    edDataPedido->setText(Formatos::formatDate(QDate::currentDate()));
    lblSenha->setText(QStringLiteral("Liberação"));
    m_bonificacoes->abreVendedores(dat().sessao.CODEMP);
    lcbVendedorSenha->setModelColumn(m_bonificacoes->cdsPESVEN().columnOfField(QStringLiteral("NOMVEN")));
}

void F512SUP::btGerarSenhaClick()
{
    const LiberacaoPedido::Resultado r =
        LiberacaoPedido::gera(edNumPedido->text(), vendedorEscolhido(lcbVendedorSenha), edDataPedido->text());
    if (!r.recusa.isEmpty()) {
        dat().exibeMensagem(r.recusa, TipoMensagem::Aviso, CorMensagem::Vermelho);
        edDataPedido->setFocus();
        return;
    }
    if (!r.senha.isEmpty())
        lblSenha->setText(r.senha);
}
