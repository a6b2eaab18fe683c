#include "U511PRO.h"

#include "CaixaAlta.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "GradeDados.h"
#include "LigaAcao.h"
#include "ListaSuspensa.h"
#include "TabelaVendas.h"
#include "U511PRM.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class CursorEspera
{
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};

// The 16 x 16 shield of the price-change state: green with a check, red with a cross.
QPixmap escudo(bool alterado)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter pintor(&p);
    pintor.setRenderHint(QPainter::Antialiasing);
    QPainterPath contorno;
    contorno.moveTo(8, 1);
    contorno.lineTo(14, 3);
    contorno.lineTo(13, 10);
    contorno.lineTo(8, 15);
    contorno.lineTo(3, 10);
    contorno.lineTo(2, 3);
    contorno.closeSubpath();
    pintor.fillPath(contorno, alterado ? QColor(0, 150, 0) : QColor(200, 0, 0));
    pintor.setPen(QPen(Qt::white, 2));
    if (alterado) {
        pintor.drawLine(5, 8, 7, 11);
        pintor.drawLine(7, 11, 11, 5);
    } else {
        pintor.drawLine(5, 5, 11, 11);
        pintor.drawLine(11, 5, 5, 11);
    }
    return p;
}

} // namespace

F511PRO::F511PRO(QWidget *parent)
    : F599CAD(parent)
    , m_tabela(std::make_unique<TabelaVendas>(dat().cnxFirebird))
{
    setWindowTitle(QStringLiteral("Tabela de Vendas"));
    mostraPromocoes = [](F511PRO &janela) {
        F511PRM promocoes(janela.tabela().cdsPromocao(), &janela);
        promocoes.exec();
    };

    cbTabelas = new ListaSuspensa;
    edCod = new QLineEdit;
    edDes = new QLineEdit;
    for (QLineEdit *e : {edCod, edDes})
        CaixaAlta::aplica(e);
    cbFamilias = new QCheckBox(QStringLiteral("Famílias :"));
    lcbFamilias = new ListaSuspensa;
    cbGrupo = new QCheckBox(QStringLiteral("Grupos :"));
    lcbGrupo = new ListaSuspensa;
    cbAtualizado = new QCheckBox(QStringLiteral("Alterações de Preço"));
    auto *btPesquisar = new QPushButton(QStringLiteral("Pesquisar"));

    // Rows of their own, so the filters keep readable widths inside the main window.
    edCod->setMaximumWidth(edCod->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")));
    auto *topo = new QVBoxLayout;
    auto *linhaTabela = new QHBoxLayout;
    linhaTabela->addWidget(new QLabel(QStringLiteral("Tabela :")));
    linhaTabela->addWidget(cbTabelas, 1);
    linhaTabela->addWidget(new QLabel(QStringLiteral("Código :")));
    linhaTabela->addWidget(edCod);
    linhaTabela->addWidget(cbAtualizado);
    auto *linhaDescricao = new QHBoxLayout;
    linhaDescricao->addWidget(new QLabel(QStringLiteral("Descrição:")));
    linhaDescricao->addWidget(edDes, 1);
    linhaDescricao->addWidget(btPesquisar);
    auto *linhaListas = new QHBoxLayout;
    linhaListas->addWidget(cbGrupo);
    linhaListas->addWidget(lcbGrupo, 1);
    linhaListas->addWidget(cbFamilias);
    linhaListas->addWidget(lcbFamilias, 1);
    topo->addLayout(linhaTabela);
    topo->addLayout(linhaDescricao);
    topo->addLayout(linhaListas);

    TClientDataSetPlus &produtos = m_tabela->cdsProdutos();
    dbgTabela = new GradeDados(produtos, {{QStringLiteral("CODPRO"), QStringLiteral("Código")},
                                          {QStringLiteral("DESPRO"), QStringLiteral("Descrição")},
                                          {QStringLiteral("UNDPRO"), QStringLiteral("Unid.")},
                                          {QStringLiteral("DISPRO"), QStringLiteral("Estoque")},
                                          {QStringLiteral("PRCVEN"), QStringLiteral("Preço Tab.")},
                                          {QStringLiteral("SITALT"), QStringLiteral("Sit.")},
                                          {QStringLiteral("DATALT"), QStringLiteral("Alteração")},
                                          {QStringLiteral("NOVPRV"), QStringLiteral("Novo Preço")}});
    dbgTabela->setEstilo([this](int linha, const QString &campo, int role) -> QVariant {
        const QString tipo = dbgTabela->valor(linha, QStringLiteral("VERFAM")).toString();
        const bool cabecalho = tipo == QLatin1String("S") || tipo == QLatin1String("G");
        switch (role) {
        case Qt::FontRole:
            if (cabecalho || campo == QLatin1String("DISPRO")) {
                QFont f = dbgTabela->font();
                f.setBold(true);
                return f;
            }
            return {};
        case Qt::ForegroundRole:
            if (cabecalho)
                return QColor(Qt::white);
            if (campo == QLatin1String("DISPRO"))
                return dbgTabela->valor(linha, QStringLiteral("DISPRO")).toDouble() > 0 ? QColor(0, 128, 0)
                                                                                        : QColor(255, 0, 0);
            if (campo == QLatin1String("DATALT")
                && dbgTabela->valor(linha, QStringLiteral("SITALT")).toString() == QLatin1String("N"))
                return QColor(255, 0, 0);
            return QColor(Qt::black);
        case Qt::BackgroundRole:
            if (tipo == QLatin1String("S"))
                return QColor(Qt::black);
            if (tipo == QLatin1String("G"))
                return QColor(128, 128, 128);
            // The first row (record 1) is white, the next one the tooltip colour, and so on.
            return linha % 2 == 0 ? QColor(Qt::white) : QApplication::palette().color(QPalette::ToolTipBase);
        case Qt::DecorationRole:
            if (campo == QLatin1String("SITALT") && tipo == QLatin1String("N"))
                return QIcon(escudo(dbgTabela->valor(linha, QStringLiteral("SITALT")).toString() == QLatin1String("S")));
            return {};
        case Qt::DisplayRole:
            // The state of a product row is its icon alone.
            if (campo == QLatin1String("SITALT") && tipo == QLatin1String("N"))
                return QString();
            return {};
        default:
            return {};
        }
    });

    edComissao = new QLineEdit;
    edFator = new QLineEdit;
    edPeso = new QLineEdit;
    for (QLineEdit *e : {edComissao, edFator, edPeso})
        e->setReadOnly(true);
    auto *btPromocao = new QPushButton(QStringLiteral("Promoções"));
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    auto *valores = new QHBoxLayout;
    valores->addWidget(new QLabel(QStringLiteral("Comissão :")));
    valores->addWidget(edComissao, 2);
    valores->addWidget(new QLabel(QStringLiteral("Fator :")));
    valores->addWidget(edFator, 1);
    valores->addWidget(new QLabel(QStringLiteral("Peso :")));
    valores->addWidget(edPeso, 1);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btPromocao);
    botoes->addWidget(btFechar);
    auto *rodape = new QVBoxLayout;
    rodape->addLayout(valores);
    rodape->addLayout(botoes);

    auto *layout = new QVBoxLayout(conteudo());
    layout->addLayout(topo);
    layout->addWidget(dbgTabela, 1);
    layout->addLayout(rodape);

    auto pesquisa = [this] { dat().executaAcao([this] { btPesquisarClick(); }); };
    ligaAcao(btPesquisar, &QPushButton::clicked, this, &F511PRO::btPesquisarClick);
    // Closing the table or family list searches, whether or not the choice changed.
    ligaAcao(cbTabelas, &ListaSuspensa::fechada, this, &F511PRO::btPesquisarClick);
    connect(lcbFamilias, &ListaSuspensa::aberta, cbFamilias, [this] { cbFamilias->setChecked(true); });
    ligaAcao(lcbFamilias, &ListaSuspensa::fechada, this, &F511PRO::btPesquisarClick);
    connect(cbFamilias, &QCheckBox::clicked, this, [this, pesquisa](bool marcado) {
        if (!marcado) {
            lcbFamilias->setCurrentIndex(-1);
            pesquisa();
        }
    });
    connect(lcbGrupo, &ListaSuspensa::aberta, cbGrupo, [this] { cbGrupo->setChecked(true); });
    connect(lcbGrupo, &ListaSuspensa::fechada, this, [this, pesquisa] {
        dat().executaAcao([this] {
            m_tabela->abreFamilias(lcbGrupo->currentIndex() >= 0
                                       ? Formatos::formatMask(lcbGrupo->currentData().toDouble(), QStringLiteral("00000"))
                                       : QString());
            preencheFamilias();
        });
        pesquisa();
    });
    connect(cbGrupo, &QCheckBox::clicked, this, [this, pesquisa](bool marcado) {
        if (!marcado) {
            lcbGrupo->setCurrentIndex(-1);
            dat().executaAcao([this] {
                m_tabela->abreFamilias(QString());
                preencheFamilias();
            });
            pesquisa();
        }
    });
    connect(&produtos, &TClientDataSetPlus::currentChanged, this, &F511PRO::mostraLinhaAtual);
    ligaAcao(btPromocao, &QPushButton::clicked, this, &F511PRO::btpromocaoClick);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);

    // FormCreate: the lists, the first table chosen, no search yet.
    m_tabela->abreListas();
    TClientDataSetPlus &tabelas = m_tabela->cdsTabelas();
    for (tabelas.first(); !tabelas.eof(); tabelas.next())
        cbTabelas->addItem(tabelas.asString(QStringLiteral("DESTAB")), tabelas.asString(QStringLiteral("CODTAB")));
    cbTabelas->setCurrentIndex(cbTabelas->count() > 0 ? 0 : -1);
    TClientDataSetPlus &grupos = m_tabela->cdsGFA();
    for (grupos.first(); !grupos.eof(); grupos.next())
        lcbGrupo->addItem(grupos.asString(QStringLiteral("DESGFA")), grupos.asString(QStringLiteral("CODGFA")));
    lcbGrupo->setCurrentIndex(-1);
    preencheFamilias();
}

F511PRO::~F511PRO() = default;

void F511PRO::preencheFamilias()
{
    lcbFamilias->clear();
    TClientDataSetPlus &familias = m_tabela->cdsFamilias();
    QStringList vistas;
    for (familias.first(); !familias.eof(); familias.next()) {
        const QString codigo = familias.asString(QStringLiteral("CODFAM"));
        if (vistas.contains(codigo))
            continue;
        vistas << codigo;
        lcbFamilias->addItem(familias.asString(QStringLiteral("DESFAM")), codigo);
    }
    lcbFamilias->setCurrentIndex(-1);
}

void F511PRO::btPesquisarClick()
{
    CursorEspera espera;
    TabelaVendas::Filtro filtro;
    filtro.codEmp = dat().sessao.CODEMP;
    filtro.codTab = cbTabelas->currentData().toString();
    filtro.acrTab = dat().sessao.ACRTAB;
    filtro.codigo = edCod->text();
    filtro.descricao = edDes->text();
    if (cbFamilias->isChecked() && lcbFamilias->currentIndex() >= 0)
        filtro.codFam = Formatos::formatMask(lcbFamilias->currentData().toDouble(), QStringLiteral("0000"));
    if (cbGrupo->isChecked() && lcbGrupo->currentIndex() >= 0)
        filtro.codGfa = Formatos::formatMask(lcbGrupo->currentData().toDouble(), QStringLiteral("00000"));
    filtro.alteracoes = cbAtualizado->isChecked();
    filtro.hoje = QDate::currentDate();
    m_tabela->pesquisa(filtro);
    mostraLinhaAtual();
}

void F511PRO::mostraLinhaAtual()
{
    TClientDataSetPlus &p = m_tabela->cdsProdutos();
    const bool linha = p.active() && !p.isEmpty();
    edComissao->setText(linha ? p.asString(QStringLiteral("DESCOS")) : QString());
    edFator->setText(linha && !p.isNull(QStringLiteral("FATPRO")) ? p.displayText(QStringLiteral("FATPRO")) : QString());
    edPeso->setText(linha && !p.isNull(QStringLiteral("PESPRO")) ? p.displayText(QStringLiteral("PESPRO")) : QString());
}

void F511PRO::btpromocaoClick()
{
    if (!m_tabela->abrePromocoes(dat().sessao.CODEMP, QDate::currentDate())) {
        dat().exibeMensagem(QStringLiteral("Nenhuma Promoção cadastrada para os próximos dias!"),
                            TipoMensagem::Informacao, CorMensagem::Vermelho);
        return;
    }
    mostraPromocoes(*this);
}
