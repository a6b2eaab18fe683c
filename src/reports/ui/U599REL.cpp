#include "U599REL.h"

#include "AcaoInterrompida.h"
#include "CatalogoRelatorios.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "Formatos.h"
#include "Icones.h"
#include "LigaAcao.h"
#include "ModuleFrame.h"
#include "SqlText.h"
#include "TextCodec.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kArquivoRelatorio = QStringLiteral("Relatorio.htm");

QToolButton *botao(const QString &icone, const QString &dica)
{
    auto *b = new QToolButton;
    b->setIcon(Icones::icone(icone));
    b->setIconSize(QSize(32, 32));
    b->setToolTip(dica);
    b->setText(dica);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    return b;
}

QLineEdit *campoData()
{
    auto *e = new QLineEdit;
    e->setInputMask(QStringLiteral("00/00/0000"));
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    e->setMaximumWidth(e->minimumWidth() + 20);
    return e;
}

QDate leData(QLineEdit *campo)
{
    const SqlText::ParsedDate data = SqlText::parseDate(campo->text());
    if (!data) {
        dat().exibeMensagem(data.message, TipoMensagem::Aviso, CorMensagem::Vermelho);
        campo->setFocus();
        throw AcaoInterrompida();
    }
    return *data.date;
}

} // namespace

F599REL::F599REL(QWidget *parent)
    : F599CAD(parent)
{
    setWindowTitle(QStringLiteral("Relatórios"));
    paginas = new QTabWidget;
    tbsPrincipal = paginaPrincipal();
    tbsVisualizar = paginaVisualizar();
    paginas->addTab(tbsPrincipal, QStringLiteral("Principal"));
    paginas->addTab(tbsVisualizar, QStringLiteral("Visualizar"));

    DBLMESMETA = new QComboBox;
    auto *rsv = new QHBoxLayout;
    rsv->addWidget(new QLabel(QStringLiteral("Período :")));
    rsv->addWidget(DBLMESMETA);
    rsv->addStretch();
    R511RSV = paginaRelatorio(CatalogoRelatorios::resumoVendas, QStringLiteral("Resumo de Vendas"), rsv,
                              &R511RSVrgTipoSaida, QStringLiteral("Pesquisar"), &F599REL::btresumoClick);

    edDATINI = campoData();
    eddatfim = campoData();
    cbSomenteEstoque = new QCheckBox(QStringLiteral("Somente em Estoque"));
    auto *pen = new QHBoxLayout;
    pen->addWidget(new QLabel(QStringLiteral("Período : ")));
    pen->addWidget(edDATINI);
    pen->addWidget(new QLabel(QStringLiteral("à")));
    pen->addWidget(eddatfim);
    pen->addSpacing(12);
    pen->addWidget(cbSomenteEstoque);
    pen->addStretch();
    R511PEN = paginaRelatorio(CatalogoRelatorios::pendencias, QStringLiteral("Relatório de Pendências"), pen,
                              &R511PENrgTipoSaida, QStringLiteral("Pesquisar"), &F599REL::btPendenciaClick);

    edPedido = new QLineEdit;
    edPedido->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,15}")), edPedido));
    edPedido->setMaximumWidth(edPedido->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
    auto *pdf = new QHBoxLayout;
    pdf->addWidget(new QLabel(QStringLiteral("Pedido:")));
    pdf->addWidget(edPedido);
    pdf->addStretch();
    R530PDF = paginaRelatorio(CatalogoRelatorios::impressaoPedido, QStringLiteral("Impressão de Pedido"), pdf,
                              &R530PDFrgTipoSaida, QStringLiteral("Pesquisar"), &F599REL::btImpressaoClick);

    dblmesmetsin = new QComboBox;
    auto *sin = new QHBoxLayout;
    sin->addWidget(new QLabel(QStringLiteral("Período :")));
    sin->addWidget(dblmesmetsin);
    sin->addStretch();
    R516SIN = paginaRelatorio(CatalogoRelatorios::sinteticoVendas, QStringLiteral("Sintético de Vendas"), sin,
                              &R516SINrgTipoSaida, QStringLiteral("Pesquisar"), &F599REL::btsinteticoClick);

    auto *layout = new QVBoxLayout(conteudo());
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(paginas);

    // FormCreate
    m_arquivo = QDir::current().filePath(kArquivoRelatorio);
    treeRelatorios->expandAll();
    const Sessao &s = dat().sessao;
    if (s.CODVEN.isEmpty())
        qDeleteAll(treeRelatorios->topLevelItem(0)->takeChildren());
    if (!s.usuarioSupervisor)
        qDeleteAll(treeRelatorios->topLevelItem(1)->takeChildren());
    escondeTabs();
}

F599REL::~F599REL() = default;

QWidget *F599REL::paginaPrincipal()
{
    treeRelatorios = new QTreeWidget;
    treeRelatorios->setHeaderHidden(true);
    const QFont fonte(QStringLiteral("MS Sans Serif"));
    QFont negrito = fonte;
    negrito.setBold(true);
    const QList<QPair<QString, QStringList>> arvore = {
        {QStringLiteral("Representante"),
         {QStringLiteral("R511RSV - Resumo de Vendas"), QStringLiteral("R511PEN - Relatório de Pendência"),
          QStringLiteral("R530PDF - Impressão de Pedido")}},
        {QStringLiteral("Supervisor"), {QStringLiteral("R516SIN - Relatório Sintético de Vendas")}},
    };
    for (const auto &[pai, filhos] : arvore) {
        auto *no = new QTreeWidgetItem(treeRelatorios, {pai});
        no->setFont(0, negrito);
        for (const QString &filho : filhos) {
            auto *folha = new QTreeWidgetItem(no, {filho});
            folha->setFont(0, fonte);
            folha->setForeground(0, QColor(0, 128, 192));
        }
    }
    ligaAcao(treeRelatorios, &QTreeWidget::itemDoubleClicked, this, &F599REL::treeRelatoriosDblClick);

    auto *btVisualizar = botao(QStringLiteral("pesquisar"), QStringLiteral("Pesquisar"));
    auto *btVelocimetro = botao(QStringLiteral("relatorios"), QStringLiteral("Meta Visual"));
    auto *btFechar = botao(QStringLiteral("sair"), QStringLiteral("Fechar"));
    ligaAcao(btVisualizar, &QToolButton::clicked, this, &F599REL::btVisualizarClick);
    ligaAcao(btVelocimetro, &QToolButton::clicked, this, &F599REL::btVelocimetroClick);
    connect(btFechar, &QToolButton::clicked, this, &QWidget::close);

    auto *botoes = new QVBoxLayout;
    botoes->addWidget(btVisualizar);
    botoes->addWidget(btVelocimetro);
    botoes->addStretch();
    botoes->addWidget(btFechar);
    auto *w = new QWidget;
    auto *l = new QHBoxLayout(w);
    l->addWidget(treeRelatorios, 1);
    l->addLayout(botoes);
    return w;
}

QWidget *F599REL::paginaVisualizar()
{
    Browser = new QTextBrowser;
    Browser->setOpenLinks(false);
    auto *btImprimir = botao(QStringLiteral("relatorios"), QStringLiteral("Imprimir"));
    auto *SpeedButton2 = botao(QStringLiteral("cancelar"), QStringLiteral("Voltar"));
    ligaAcao(btImprimir, &QToolButton::clicked, this, &F599REL::btImprimirClick);
    ligaAcao(SpeedButton2, &QToolButton::clicked, this, &F599REL::SpeedButton2Click);
    auto *botoes = new QHBoxLayout;
    botoes->addWidget(btImprimir);
    botoes->addWidget(SpeedButton2);
    botoes->addStretch();
    auto *w = new QWidget;
    auto *l = new QVBoxLayout(w);
    l->setContentsMargins(2, 2, 2, 2);
    l->addLayout(botoes);
    l->addWidget(Browser, 1);
    return w;
}

QWidget *F599REL::paginaRelatorio(const QString &nome, const QString &titulo, QLayout *parametros,
                                  QButtonGroup **tipoSaida, const QString &dica, void (F599REL::*executa)())
{
    auto *saida = new QGroupBox(QStringLiteral("Formato de Saída:"));
    auto *radios = new QHBoxLayout(saida);
    *tipoSaida = new QButtonGroup(this);
    auto *tela = new QRadioButton(QStringLiteral("Em Tela"));
    auto *excel = new QRadioButton(QStringLiteral("Em Excel"));
    (*tipoSaida)->addButton(tela, 0);
    (*tipoSaida)->addButton(excel, 1);
    tela->setChecked(true);
    radios->addWidget(tela);
    radios->addWidget(excel);
    radios->addStretch();

    auto *btExecuta = botao(QStringLiteral("pesquisar"), dica);
    auto *btFecha = botao(QStringLiteral("sair"), QStringLiteral("Fechar"));
    ligaAcao(btExecuta, &QToolButton::clicked, this, executa);
    ligaAcao(btFecha, &QToolButton::clicked, this, &F599REL::fechaRel);

    auto *cabecalho = new QLabel(titulo);
    QFont f = cabecalho->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    cabecalho->setFont(f);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btExecuta);
    botoes->addWidget(btFecha);

    auto *w = new QWidget;
    w->setObjectName(nome);
    auto *l = new QVBoxLayout(w);
    l->addWidget(cabecalho);
    l->addLayout(parametros);
    l->addWidget(saida);
    l->addStretch();
    l->addLayout(botoes);
    paginas->addTab(w, titulo);
    return w;
}

QWidget *F599REL::pagina(const QString &nome) const
{
    for (QWidget *p : {R511RSV, R511PEN, R530PDF, R516SIN})
        if (p->objectName() == nome)
            return p;
    return nullptr;
}

void F599REL::escondeTabs()
{
    for (int i = 0; i < paginas->count(); ++i)
        paginas->setTabVisible(i, paginas->widget(i) == tbsPrincipal);
    paginas->setCurrentWidget(tbsPrincipal);
}

void F599REL::mostraPagina(QWidget *destino)
{
    const int indice = paginas->indexOf(destino);
    paginas->setTabVisible(indice, true);
    paginas->setCurrentIndex(indice);
    for (int i = 0; i < paginas->count(); ++i)
        if (i != indice)
            paginas->setTabVisible(i, false);
}

void F599REL::treeRelatoriosDblClick()
{
    QTreeWidgetItem *item = treeRelatorios->currentItem();
    if (!item || item->childCount() > 0 || !item->parent())
        return;
    QWidget *destino = pagina(item->text(0).left(7));
    if (!destino)
        return;
    preparaPagina(destino);
    mostraPagina(destino);
}

void F599REL::preparaPagina(QWidget *destino)
{
    if (destino == R511RSV)
        carregaMeses(DBLMESMETA);
    else if (destino == R516SIN)
        carregaMeses(dblmesmetsin);
    else if (destino == R511PEN) {
        const QString hoje = Formatos::formatDate(QDate::currentDate());
        edDATINI->setText(hoje);
        eddatfim->setText(hoje);
    }
}

void F599REL::carregaMeses(QComboBox *lista)
{
    TClientDataSetPlus meses;
    meses.setConnection(&dat().cnxFirebird);
    meses.setCommandText(CatalogoRelatorios::kSelectMeses);
    meses.open();
    lista->clear();
    QStringList textos;
    for (meses.first(); !meses.eof(); meses.next()) {
        lista->addItem(meses.asString(QStringLiteral("MESMET")), meses.asString(QStringLiteral("DESDIF")));
        textos << meses.asString(QStringLiteral("MESMET"));
    }
    lista->setCurrentIndex(int(textos.indexOf(CatalogoRelatorios::mesMaisRecente(textos))));
}

void F599REL::fechaRel()
{
    mostraPagina(tbsPrincipal);
}

void F599REL::recarregaRel()
{
    if (m_paginaRelatorio)
        mostraPagina(m_paginaRelatorio);
}

void F599REL::apresentaRel()
{
    m_paginaRelatorio = paginas->currentWidget();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QFile arquivo(m_arquivo);
    const bool aberto = arquivo.open(QIODevice::ReadOnly);
    if (aberto)
        Browser->setHtml(TextCodec::fromWindows1252(arquivo.readAll()));
    QGuiApplication::restoreOverrideCursor();
    if (!aberto)
        throw DatabaseError(QStringLiteral("Não foi possível abrir o relatório %1: %2")
                                .arg(QDir::toNativeSeparators(m_arquivo), arquivo.errorString()));
    mostraPagina(tbsVisualizar);
}

void F599REL::executa(D500REL::Relatorio relatorio, QButtonGroup *tipoSaida)
{
    D500REL &rel = *D500REL::instance();
    relatorio.arquivo = m_arquivo;
    if (tipoSaida->checkedId() == 1) {
        rel.toEXCEL(relatorio);
        return;
    }
    if (rel.toHTML(relatorio))
        apresentaRel();
}

void F599REL::btresumoClick()
{
    const QString mes = DBLMESMETA->currentText();
    executa(CatalogoRelatorios::R511RSV(dat().sessao, mes, DBLMESMETA->currentData().toString()), R511RSVrgTipoSaida);
}

void F599REL::btPendenciaClick()
{
    const QDate de = leData(edDATINI);
    const QDate ate = leData(eddatfim);
    executa(CatalogoRelatorios::R511PEN(de, ate, cbSomenteEstoque->isChecked()), R511PENrgTipoSaida);
}

void F599REL::btImpressaoClick()
{
    executa(CatalogoRelatorios::R530PDF(dat().sessao, edPedido->text()), R530PDFrgTipoSaida);
}

void F599REL::btsinteticoClick()
{
    executa(CatalogoRelatorios::R516SIN(dat().sessao, dblmesmetsin->currentText()), R516SINrgTipoSaida);
}

void F599REL::btVelocimetroClick()
{
    if (!dat().sessao.CODVEN.isEmpty() && ModuleFrame::instance())
        ModuleFrame::instance()->abreJanela(QStringLiteral("F599VEL"));
}

void F599REL::btImprimirClick()
{
    if (dat().exibeMensagem(QStringLiteral("Deseja imprimir o relatório agora ?"), TipoMensagem::Confirmacao,
                            CorMensagem::Azul, BotoesMensagem::SimNao)
        == RespostaMensagem::Sim)
        WBPrintWithDialog();
}

void F599REL::WBPrintWithDialog(QPrinter *printer)
{
    if (printer) {
        Browser->document()->print(printer);
        return;
    }
    QPrinter impressora(QPrinter::HighResolution);
    QPrintDialog dialogo(&impressora, this);
    dialogo.setWindowTitle(QStringLiteral("Impressão de relatório"));
    if (dialogo.exec() == QDialog::Accepted)
        Browser->document()->print(&impressora);
}
