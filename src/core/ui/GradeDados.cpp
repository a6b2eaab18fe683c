#include "GradeDados.h"

#include "ClientDataSetPlus.h"
#include "LarguraColuna.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
// Paints a cell whose row keeps its own background without the selection colours.
class DelegadoFundoFixo : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QVariant fundo = index.data(GradeDados::FundoFixoRole);
        if (!fundo.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opcao(option);
        opcao.state &= ~QStyle::State_Selected;
        painter->fillRect(option.rect, fundo.value<QColor>());
        QStyledItemDelegate::paint(painter, opcao, index);
    }
};
} // namespace

class GradeDados::Modelo : public QIdentityProxyModel
{
public:
    explicit Modelo(GradeDados &grade)
        : QIdentityProxyModel(&grade)
        , m_grade(grade)
    {
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (index.isValid() && m_grade.m_estilo && role != Qt::EditRole) {
            const QString campo = m_grade.m_dataSet.fieldOfColumn(index.column());
            const QVariant estilo = m_grade.m_estilo(index.row(), campo, role);
            if (estilo.isValid())
                return estilo;
        }
        return QIdentityProxyModel::data(index, role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            const QString campo = m_grade.m_dataSet.fieldOfColumn(section);
            for (const Coluna &c : std::as_const(m_grade.m_colunas))
                if (c.campo.compare(campo, Qt::CaseInsensitive) == 0)
                    return c.titulo;
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    void sort(int, Qt::SortOrder) override {}

private:
    GradeDados &m_grade;
};

GradeDados::GradeDados(TClientDataSetPlus &dataSet, const QList<Coluna> &colunas, QWidget *parent)
    : QTableView(parent)
    , m_dataSet(dataSet)
    , m_colunas(colunas)
    , m_modelo(new Modelo(*this))
{
    m_modelo->setSourceModel(&dataSet);
    setModel(m_modelo);
    setItemDelegate(new DelegadoFundoFixo(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(true);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { clicaTitulo(m_dataSet.fieldOfColumn(section)); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && m_dataSet.active() && current.row() != m_dataSet.recNo())
                    m_dataSet.setRecNo(current.row());
            });
    connect(&dataSet, &TClientDataSetPlus::currentChanged, this, [this](int position) {
        if (position >= 0 && position < m_modelo->rowCount() && currentIndex().row() != position) {
            const int coluna = currentIndex().isValid() ? currentIndex().column() : 0;
            setCurrentIndex(m_modelo->index(position, coluna));
        }
    });
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &GradeDados::aplicaColunas);
    connect(m_modelo, &QAbstractItemModel::layoutChanged, this, [this] {
        if (m_dataSet.active() && m_dataSet.recNo() >= 0)
            setCurrentIndex(m_modelo->index(m_dataSet.recNo(), qMax(0, currentIndex().column())));
    });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit duploClique();
    });
    aplicaColunas();
}

QVariant GradeDados::valor(int linha, const QString &campo) const
{
    const int coluna = m_dataSet.columnOfField(campo);
    if (coluna < 0)
        return {};
    return m_dataSet.data(m_dataSet.index(linha, coluna), Qt::EditRole);
}

void GradeDados::clicaTitulo(const QString &campo)
{
    if (m_ordenaPeloTitulo && !campo.isEmpty() && m_dataSet.active())
        m_dataSet.sortByColumnTitle(campo);
}

void GradeDados::aplicaColunas()
{
    QHeaderView *cabecalho = horizontalHeader();
    const int total = m_modelo->columnCount();
    for (int c = 0; c < total; ++c)
        setColumnHidden(c, true);
    int posicao = 0;
    for (const Coluna &coluna : std::as_const(m_colunas)) {
        const int logica = m_dataSet.columnOfField(coluna.campo);
        if (logica < 0)
            continue;
        setColumnHidden(logica, false);
        cabecalho->moveSection(cabecalho->visualIndex(logica), posicao++);
        if (m_dataSet.hasField(coluna.campo)) {
            FieldDef &campo = m_dataSet.fieldDef(coluna.campo);
            if (!coluna.formato.isEmpty())
                campo.displayFormat = coluna.formato;
            cabecalho->resizeSection(logica, larguraColuna(fontMetrics(), campo, coluna.titulo));
        }
    }
    if (m_dataSet.active() && m_dataSet.recNo() >= 0)
        setCurrentIndex(m_modelo->index(m_dataSet.recNo(), m_dataSet.columnOfField(m_colunas.value(0).campo)));
}
