#include "U550TRC.h"

#include "CaixaAlta.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "GradeDados.h"
#include "LigaAcao.h"
#include "TitulosReceber.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

F550TRC::F550TRC(QWidget *parent)
    : F599CAD(parent)
    , m_titulos(std::make_unique<TitulosReceber>(dat().cnxFirebird))
{
    setWindowTitle(QStringLiteral("Informações Financeiras"));
    edcod = new QLineEdit;
    edDes = new QLineEdit;
    for (QLineEdit *e : {edcod, edDes})
        CaixaAlta::aplica(e);
    cbData = new QCheckBox;
    edDataIni = new QLineEdit;
    edDataFim = new QLineEdit;
    for (QLineEdit *e : {edDataIni, edDataFim})
        e->setInputMask(QStringLiteral("00/00/0000"));
    auto *situacao = new QGroupBox(QStringLiteral("Situação :"));
    auto *radios = new QHBoxLayout(situacao);
    rgSituacao = new QButtonGroup(this);
    auto *todos = new QRadioButton(QStringLiteral("Todos"));
    auto *vencidos = new QRadioButton(QStringLiteral("Vencidos"));
    rgSituacao->addButton(todos, 0);
    rgSituacao->addButton(vencidos, 1);
    radios->addWidget(todos);
    radios->addWidget(vencidos);
    auto *btPesquisar = new QPushButton(QStringLiteral("Pesquisar"));

    // Two rows, so the dates and the customer stay readable inside the main window.
    for (QLineEdit *e : {edDataIni, edDataFim})
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    edcod->setMinimumWidth(edcod->fontMetrics().horizontalAdvance(QStringLiteral("000000000")));
    auto *linhaCliente = new QHBoxLayout;
    linhaCliente->addWidget(new QLabel(QStringLiteral("Cliente :")));
    linhaCliente->addWidget(edcod, 1);
    linhaCliente->addWidget(edDes, 4);
    auto *linhaVencimento = new QHBoxLayout;
    linhaVencimento->addWidget(new QLabel(QStringLiteral("Vencto. :")));
    linhaVencimento->addWidget(cbData);
    linhaVencimento->addWidget(edDataIni);
    linhaVencimento->addWidget(new QLabel(QStringLiteral("á")));
    linhaVencimento->addWidget(edDataFim);
    linhaVencimento->addStretch();
    auto *filtros = new QVBoxLayout;
    filtros->addLayout(linhaCliente);
    filtros->addLayout(linhaVencimento);
    auto *topo = new QHBoxLayout;
    topo->addLayout(filtros, 1);
    topo->addWidget(situacao);
    topo->addWidget(btPesquisar);

    TClientDataSetPlus &ds = m_titulos->cdsFinanceiro();
    dbgPesquisa = new GradeDados(ds, {{QStringLiteral("NUMTRC"), QStringLiteral("Títulos")},
                                      {QStringLiteral("PARTRC"), QStringLiteral("Parc.")},
                                      {QStringLiteral("DATEMI"), QStringLiteral("Emissão")},
                                      {QStringLiteral("CODCLI"), QStringLiteral("Código")},
                                      {QStringLiteral("RAZCLI"), QStringLiteral("Razão Social")},
                                      {QStringLiteral("DATVCT"), QStringLiteral("Vencimento")},
                                      {QStringLiteral("VLRTRC"), QStringLiteral("Valor")},
                                      {QStringLiteral("CODPDV"), QStringLiteral("Num. Pedido")},
                                      {QStringLiteral("DIAVCT"), QStringLiteral("Dias Atraso")}});
    dbgPesquisa->setEstilo([this](int linha, const QString &campo, int role) -> QVariant {
        if (role != Qt::BackgroundRole)
            return {};
        if (TitulosReceber::vencido(dbgPesquisa->valor(linha, QStringLiteral("DIAVCT")).toDouble()))
            return QColor(217, 151, 149);
        static const QStringList destacadas = {QStringLiteral("NUMTRC"), QStringLiteral("PARTRC"),
                                               QStringLiteral("DATVCT"), QStringLiteral("VLRTRC")};
        if (destacadas.contains(campo))
            return QApplication::palette().color(QPalette::ToolTipBase);
        return {};
    });

    lblTotal = new QLabel;
    lblTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotal->setMinimumWidth(120);
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(new QLabel(QStringLiteral("Total : ")));
    rodape->addWidget(lblTotal);
    rodape->addWidget(btFechar);

    auto *layout = new QVBoxLayout(conteudo());
    layout->addLayout(topo);
    layout->addWidget(dbgPesquisa, 1);
    layout->addLayout(rodape);

    ligaAcao(btPesquisar, &QPushButton::clicked, this, &F550TRC::btPesquisarClick);
    ligaAcao(rgSituacao, &QButtonGroup::idClicked, this, &F550TRC::btPesquisarClick);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);

    // FormCreate
    const QString hoje = Formatos::formatDate(QDate::currentDate());
    edDataIni->setText(hoje);
    edDataFim->setText(hoje);
    todos->setChecked(true);
    btPesquisarClick();
}

F550TRC::~F550TRC() = default;

void F550TRC::btPesquisarClick()
{
    TitulosReceber::Filtro filtro;
    filtro.codigo = edcod->text();
    filtro.razaoSocial = edDes->text();
    filtro.periodo = cbData->isChecked();
    filtro.inicio = edDataIni->text();
    filtro.fim = edDataFim->text();
    filtro.vencidos = rgSituacao->checkedId() == 1;
    const QString recusa = m_titulos->pesquisa(dat().sessao.CODEMP, filtro, QDate::currentDate());
    if (!recusa.isEmpty()) {
        dat().exibeMensagem(recusa, TipoMensagem::Aviso, CorMensagem::Vermelho);
        return;
    }
    lblTotal->setText(m_titulos->totalTitulos());
}
