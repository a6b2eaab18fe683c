#include "SeletorProdutos.h"

#include "CaixaAlta.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "GradeDados.h"
#include "LigaAcao.h"
#include "PedidoDados.h"
#include "PedidoEstado.h"
#include "ConsultaProdutos.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The product list's colours: header rows white on black (family) or grey (group), stock
// green or red, products bought before navy, products already in the order bold green.
class PinturaProdutos : public QStyledItemDelegate
{
public:
    PinturaProdutos(const SeletorProdutos *seletor, TClientDataSetPlus *ds, QObject *parent)
        : QStyledItemDelegate(parent), m_seletor(seletor), m_ds(ds)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int linha = index.row();
        if (linha % 2 == 1)
            option->backgroundBrush = option->palette.color(QPalette::ToolTipBase);
        const QString campo = m_ds->fieldOfColumn(index.column());
        if (campo == QLatin1String("DISPRO")) {
            option->font.setBold(true);
            option->palette.setColor(QPalette::Text, valor(linha, QStringLiteral("DISPRO")).toDouble() > 0
                                                         ? QColor(Qt::darkGreen) : QColor(Qt::red));
        }
        const QString tipo = valor(linha, QStringLiteral("VERFAM")).toString();
        if (tipo == QLatin1String("S") || tipo == QLatin1String("G")) {
            option->font.setBold(true);
            option->palette.setColor(QPalette::Text, Qt::white);
            option->backgroundBrush = tipo == QLatin1String("S") ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80);
            return;
        }
        const qint64 ccu = valor(linha, QStringLiteral("CODCCU")).toLongLong();
        const qint64 pro = valor(linha, QStringLiteral("CODPRO")).toLongLong();
        if (m_seletor->marcaCompra(ccu, pro))
            option->palette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x80));
        if (m_seletor->marcaItem(ccu, pro)) {
            option->font.setBold(true);
            option->palette.setColor(QPalette::Text, QColor(Qt::darkGreen));
        }
    }

private:
    QVariant valor(int linha, const QString &campo) const
    {
        const int coluna = m_ds->columnOfField(campo);
        return coluna < 0 ? QVariant() : m_ds->data(m_ds->index(linha, coluna), Qt::EditRole);
    }
    const SeletorProdutos *m_seletor;
    TClientDataSetPlus *m_ds;
};

qint64 inteiro(const QVariant &v)
{
    return static_cast<qint64>(v.toString().toDouble());
}

} // namespace

SeletorProdutos::SeletorProdutos(PedidoEstado &estado, QWidget *parent)
    : QWidget(parent)
    , m_estado(estado)
{
    cbFamilias = new QCheckBox(QStringLiteral("Famílias :"));
    DBLookupComboBox4 = new QComboBox;
    cbGrupo = new QCheckBox(QStringLiteral("Grupo :"));
    DBLookupComboBox5 = new QComboBox;
    EDCODPRO = new QLineEdit;
    EDDESPRO = new QLineEdit;
    cbUltimoPreco = new QCheckBox(QStringLiteral("Somente Ultimo Preço"));
    btPESPRO = new QPushButton(QStringLiteral("Pesquisar"));
    btPESPRO->setToolTip(QStringLiteral("Pesquisar"));
    SpeedButton2 = new QPushButton(QStringLiteral("Calc."));
    SpeedButton2->setToolTip(QStringLiteral("Calculadora"));
    // Cost centre and row kind are read by the painting, not shown; the rows keep the listing's
    // order (families and groups head their products).
    dbgProdutos = new GradeDados(*m_estado.dados->cdsPESPRODUTO,
                                 {{QStringLiteral("CODPRO"), QStringLiteral("Código"), QStringLiteral("0000000")},
                                  {QStringLiteral("DESPRO"), QStringLiteral("Descrição")},
                                  {QStringLiteral("UNDPRO"), QStringLiteral("Und.")},
                                  {QStringLiteral("DISPRO"), QStringLiteral("Estoque"), QStringLiteral("00")},
                                  {QStringLiteral("PRCVEN"), QStringLiteral("Vl. Unit."), QStringLiteral("##,###,##0.000")},
                                  {QStringLiteral("FATPRO"), QStringLiteral("Fator"), QStringLiteral("00")}});
    dbgProdutos->setOrdenaPeloTitulo(false);
    dbgProdutos->setItemDelegate(new PinturaProdutos(this, m_estado.dados->cdsPESPRODUTO, dbgProdutos));

    // Two independent rows: shared grid columns would add up to more than the window's width.
    for (QComboBox *lista : {DBLookupComboBox4, DBLookupComboBox5}) {
        lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lista->setMinimumContentsLength(5);
    }
    SpeedButton2->setMaximumWidth(SpeedButton2->fontMetrics().horizontalAdvance(SpeedButton2->text()) + 24);
    EDCODPRO->setMaximumWidth(EDCODPRO->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")));
    auto *linhaListas = new QHBoxLayout;
    linhaListas->addWidget(cbFamilias);
    linhaListas->addWidget(DBLookupComboBox4, 1);
    linhaListas->addWidget(cbGrupo);
    linhaListas->addWidget(DBLookupComboBox5, 1);
    linhaListas->addWidget(btPESPRO);
    linhaListas->addWidget(SpeedButton2);
    auto *linhaTextos = new QHBoxLayout;
    linhaTextos->addWidget(new QLabel(QStringLiteral("Código :")));
    linhaTextos->addWidget(EDCODPRO, 1);
    linhaTextos->addWidget(new QLabel(QStringLiteral("Descrição :")));
    linhaTextos->addWidget(EDDESPRO, 2);
    linhaTextos->addWidget(cbUltimoPreco);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(linhaListas);
    layout->addLayout(linhaTextos);
    layout->addWidget(dbgProdutos, 1);

    for (QLineEdit *texto : {EDCODPRO, EDDESPRO}) {
        CaixaAlta::aplica(texto);
        // Enter searches and, for a seller on the keyboard, lands on the first product found.
        ligaAcao(texto, &QLineEdit::returnPressed, this, [this] {
            btPESPROClick();
            if (m_estado.dados->cdsPESPRODUTO->locate({QStringLiteral("VERFAM")}, {QStringLiteral("N")}))
                emit produtoAlcancado();
        });
    }
    ligaAcao(btPESPRO, &QPushButton::clicked, this, &SeletorProdutos::btPESPROClick);
    connect(SpeedButton2, &QPushButton::clicked, this, [] { abreCalculadora(); });
    connect(DBLookupComboBox4, &QComboBox::activated, this, [this] { cbFamilias->setChecked(true); });
    ligaAcao(DBLookupComboBox5, &QComboBox::activated, this, [this] {
        cbGrupo->setChecked(true);
        DBLookupComboBox5CloseUp();
    });
    ligaAcao(cbFamilias, &QCheckBox::clicked, this, &SeletorProdutos::cbFamiliasClick);
    ligaAcao(cbGrupo, &QCheckBox::clicked, this, &SeletorProdutos::cbGrupoClick);
}

void SeletorProdutos::abreCalculadora()
{
    // Whichever desktop calculator the notebook has; the order is not held up by it.
    for (const char *programa : {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
        const QString caminho = QStandardPaths::findExecutable(QString::fromLatin1(programa));
        if (!caminho.isEmpty() && QProcess::startDetached(caminho, {}))
            return;
    }
    dat().exibeMensagem(QStringLiteral("Nenhuma calculadora encontrada neste computador."), TipoMensagem::Aviso,
                        CorMensagem::Azul);
}

ConsultaProdutos SeletorProdutos::consultaDoPedido(const PedidoEstado &estado)
{
    const Sessao &s = dat().sessao;
    TClientDataSetPlus *cab = estado.dados->cdsCADPEDIDO;
    ConsultaProdutos::Termos t;
    t.CODEMP = s.CODEMP.toLongLong();
    const QString tabela = PedidoDados::codigo(cab, QStringLiteral("CODTAB"));
    if (!tabela.isEmpty())
        t.CODTAB = tabela.toLongLong();
    t.PORDES = ConsultaProdutos::leDesconto(estado.dados->connection(), s.CODEMP,
                                          PedidoDados::codigo(cab, QStringLiteral("CODOPE")),
                                          PedidoDados::codigo(cab, QStringLiteral("CODCON")));
    t.retirada = cab->asString(QStringLiteral("RETPDV")) == QLatin1String("S");
    t.DESRET = Decimal::fromDouble(s.DESRET, 2);
    t.ACRTAB = Decimal::fromDouble(s.ACRTAB, 2);
    t.hoje = QDate::currentDate();
    return ConsultaProdutos(t);
}

void SeletorProdutos::abreFiltros()
{
    PedidoDados &d = *m_estado.dados;
    PedidoDados::reabre(d.cdsGrupo, {});
    DBLookupComboBox5->clear();
    for (d.cdsGrupo->first(); !d.cdsGrupo->eof(); d.cdsGrupo->next())
        DBLookupComboBox5->addItem(d.cdsGrupo->asString(QStringLiteral("DESGFA")),
                                   PedidoDados::codigo(d.cdsGrupo, QStringLiteral("CODGFA")));
    DBLookupComboBox5->setCurrentIndex(-1);
    preencheFamilias(QString());
}

void SeletorProdutos::preencheFamilias(const QString &grupo)
{
    PedidoDados &d = *m_estado.dados;
    PedidoDados::reabre(d.cdsFamilia, {{QStringLiteral("CODGFA"), grupo}});
    DBLookupComboBox4->clear();
    for (d.cdsFamilia->first(); !d.cdsFamilia->eof(); d.cdsFamilia->next())
        DBLookupComboBox4->addItem(d.cdsFamilia->asString(QStringLiteral("DESFAM")),
                                   QVariantList{PedidoDados::codigo(d.cdsFamilia, QStringLiteral("CODFAM")),
                                                PedidoDados::codigo(d.cdsFamilia, QStringLiteral("CODGFA"))});
    DBLookupComboBox4->setCurrentIndex(-1);
}

void SeletorProdutos::DBLookupComboBox5CloseUp()
{
    const QString grupo = DBLookupComboBox5->currentIndex() < 0
        ? QString()
        : DBLookupComboBox5->currentData().toString().rightJustified(5, u'0');
    preencheFamilias(grupo);
}

void SeletorProdutos::cbFamiliasClick()
{
    if (!cbFamilias->isChecked())
        DBLookupComboBox4->setCurrentIndex(-1);
}

void SeletorProdutos::cbGrupoClick()
{
    if (!cbGrupo->isChecked()) {
        DBLookupComboBox5->setCurrentIndex(-1);
        preencheFamilias(QString());
    }
}

void SeletorProdutos::limpaFiltros()
{
    EDCODPRO->clear();
    EDDESPRO->clear();
    cbFamilias->setChecked(false);
    cbGrupo->setChecked(false);
    cbUltimoPreco->setChecked(false);
}

void SeletorProdutos::btPESPROClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Cursor { ~Cursor() { QApplication::restoreOverrideCursor(); } } cursor;
    PedidoDados &d = *m_estado.dados;
    ConsultaProdutos::Filtros f;
    f.codigo = EDCODPRO->text();
    f.descricao = EDDESPRO->text();
    if (cbFamilias->isChecked() && DBLookupComboBox4->currentIndex() >= 0) {
        const QVariantList familia = DBLookupComboBox4->currentData().toList();
        f.familia = familia.value(0).toLongLong();
        if (!cbGrupo->isChecked())
            f.grupoFamilia = familia.value(1).toLongLong();
    }
    if (cbGrupo->isChecked() && DBLookupComboBox5->currentIndex() >= 0)
        f.grupo = DBLookupComboBox5->currentData().toLongLong();
    if (cbUltimoPreco->isChecked()) {
        d.cdsUltimaCompra->clearFilter();
        if (d.cdsUltimaCompra->active() && !d.cdsUltimaCompra->isEmpty())
            f.ultimasComprasDe = PedidoDados::codigo(d.cdsCADPEDIDO, QStringLiteral("CODCLI")).toLongLong();
    }
    const ConsultaProdutos consulta = consultaDoPedido(m_estado);
    TClientDataSetPlus *ds = d.cdsPESPRODUTO;
    {
        // Restored on every way out: a failed search must not leave the entry fields deaf to the rows.
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        ds->close();
        ds->setCommandText(consulta.instrucaoPesquisa(f));
        ds->open();
        atualizaMarcas();
    }
    emit listaAberta();
}

void SeletorProdutos::atualizaMarcas()
{
    PedidoDados &d = *m_estado.dados;
    m_itens.clear();
    m_compras.clear();
    for (TClientDataSetPlus *ds : {d.cdsCADITEM, d.cdsUltimaCompra}) {
        if (!ds->active())
            continue;
        auto &marcas = ds == d.cdsCADITEM ? m_itens : m_compras;
        if (ds == d.cdsUltimaCompra)
            ds->clearFilter();
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        const int posicao = ds->recNo();
        for (ds->first(); !ds->eof(); ds->next())
            marcas.insert({inteiro(ds->value(QStringLiteral("CODCCU"))), inteiro(ds->value(QStringLiteral("CODPRO")))});
        if (posicao >= 0)
            ds->setRecNo(posicao);
    }
    dbgProdutos->viewport()->update();
}
