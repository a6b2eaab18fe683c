#include "U599PSQ.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "Icones.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Hourglass for the length of a search, back to normal before any error box.
class CursorEspera
{
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera &) = delete;
    CursorEspera &operator=(const CursorEspera &) = delete;
};
} // namespace

F599PSQ::F599PSQ(const QString &table, const QStringList &columns, const QString &trailingCondition,
                 QWidget *parent)
    : QDialog(parent)
    , m_statement(table, columns, trailingCondition)
{
    cdsPesquisa = new TClientDataSetPlus(this);
    cdsPesquisa->setConnection(&D500DAT::instance()->cnxFirebird);
    montaTela();
}

F599PSQ::~F599PSQ() = default;

bool F599PSQ::abrePesquisa(const QString &table, const QStringList &columns, const QString &trailingCondition,
                           QString &code, QString &description, QWidget *parent)
{
    F599PSQ pesquisa(table, columns, trailingCondition, parent);
    pesquisa.exec();
    code = pesquisa.codigo();
    description = pesquisa.descricao();
    return !code.isEmpty();
}

void F599PSQ::montaTela()
{
    setObjectName(QStringLiteral("F599PSQ"));
    setWindowTitle(QStringLiteral("Pesquisa"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::CustomizeWindowHint);
    resize(488, 313);

    auto *rotuloCodigo = new QLabel(QStringLiteral("Código:"), this);
    edtCodigo = new QLineEdit(this);
    edtCodigo->setObjectName(QStringLiteral("edtCodigo"));
    rotuloCodigo->setBuddy(edtCodigo);
    auto *rotuloDescricao = new QLabel(QStringLiteral("Descrição:"), this);
    edtDescricao = new QLineEdit(this);
    edtDescricao->setObjectName(QStringLiteral("edtDescricao"));
    rotuloDescricao->setBuddy(edtDescricao);
    btPesquisar = new QPushButton(Icones::icone(QStringLiteral("pesquisar")), QString(), this);
    btPesquisar->setObjectName(QStringLiteral("btPesquisar"));
    btPesquisar->setToolTip(QStringLiteral("Pesquisar Registro"));
    btPesquisar->setIconSize(QSize(24, 24));
    btPesquisar->setFixedSize(40, 32);
    btPesquisar->setDefault(true);

    auto *topo = new QGridLayout;
    topo->addWidget(rotuloCodigo, 0, 0);
    topo->addWidget(rotuloDescricao, 0, 1);
    topo->addWidget(edtCodigo, 1, 0);
    topo->addWidget(edtDescricao, 1, 1);
    topo->addWidget(btPesquisar, 1, 2);
    topo->setColumnStretch(0, 1);
    topo->setColumnStretch(1, 3);

    auto *grupo = new QGroupBox(QStringLiteral("Resultado da Pesquisa :"), this);
    dbgPesquisa = new QTableView(grupo);
    dbgPesquisa->setObjectName(QStringLiteral("dbgPesquisa"));
    dbgPesquisa->setModel(cdsPesquisa);
    dbgPesquisa->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgPesquisa->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgPesquisa->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgPesquisa->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    dbgPesquisa->horizontalHeader()->setSectionsClickable(true);
    dbgPesquisa->horizontalHeader()->setStretchLastSection(true);
    dbgPesquisa->verticalHeader()->setDefaultSectionSize(20);
    dbgPesquisa->verticalHeader()->setFixedWidth(14);
    auto *grade = new QVBoxLayout(grupo);
    grade->setContentsMargins(4, 4, 4, 4);
    grade->addWidget(dbgPesquisa);

    btSelecionar = new QPushButton(Icones::icone(QStringLiteral("selecionar")), QStringLiteral("Selecionar"), this);
    btSelecionar->setObjectName(QStringLiteral("btSelecionar"));
    btSelecionar->setToolTip(QStringLiteral("Selecionar Registro"));
    btSelecionar->setAutoDefault(false);
    btCancelar = new QPushButton(Icones::icone(QStringLiteral("cancelar")), QStringLiteral("Cancelar"), this);
    btCancelar->setObjectName(QStringLiteral("btCancelar"));
    btCancelar->setToolTip(QStringLiteral("Cancelar Pesquisa"));
    btCancelar->setAutoDefault(false);
    for (QPushButton *b : {btSelecionar, btCancelar}) {
        b->setIconSize(QSize(20, 20));
        b->setMinimumWidth(110);
    }
    auto *rodape = new QHBoxLayout;
    rodape->addStretch(1);
    rodape->addWidget(btSelecionar);
    rodape->addWidget(btCancelar);

    auto *principal = new QVBoxLayout(this);
    principal->setContentsMargins(8, 8, 8, 8);
    principal->addLayout(topo);
    principal->addWidget(grupo, 1);
    principal->addLayout(rodape);

    connect(btPesquisar, &QPushButton::clicked, this, &F599PSQ::btPesquisarClick);
    connect(btSelecionar, &QPushButton::clicked, this, &F599PSQ::btSelecionarClick);
    connect(btCancelar, &QPushButton::clicked, this, &F599PSQ::btCancelarClick);
    connect(dbgPesquisa, &QTableView::doubleClicked, this, &F599PSQ::btSelecionarClick);
    connect(dbgPesquisa->horizontalHeader(), &QHeaderView::sectionClicked, this, &F599PSQ::dbgPesquisaTitleClick);
    connect(edtDescricao, &QLineEdit::textChanged, this, &F599PSQ::edtDescricaoChange);
    connect(dbgPesquisa->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    cdsPesquisa->setRecNo(current.row());
            });
}

void F599PSQ::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_mostrada)
        return;
    m_mostrada = true;
    // A search for a code no row has: no rows, but the grid gets its columns.
    edtCodigo->setText(QStringLiteral("-1"));
    btPesquisarClick();
    // The columns are known now: a longer description can never match and the engine refuses
    // it, and a code column of numbers cannot be compared with letters.
    const TClientDataSetPlus &colunas = *cdsPesquisa;
    if (colunas.active() && colunas.fieldCount() > 1) {
        const FieldKind codigo = colunas.fieldDef(0).kind;
        m_codigoNumerico = codigo == FieldKind::Integer || codigo == FieldKind::Numeric;
        if (colunas.fieldDef(1).size > 0)
            edtDescricao->setMaxLength(colunas.fieldDef(1).size);
    }
    edtCodigo->clear();
    edtDescricao->clear();
    edtDescricao->setFocus();
}

void F599PSQ::edtDescricaoChange(const QString &text)
{
    if (text.size() > 2)
        btPesquisarClick();
}

void F599PSQ::btPesquisarClick()
{
    const QString anterior = cdsPesquisa->commandText();
    // A numeric code is a whole number typed as every number of the program: anything else is
    // told here instead of failing in the engine.
    const QString texto = edtCodigo->text().trimmed();
    QString codigo = texto;
    if (m_codigoNumerico && !texto.isEmpty()) {
        const Formatos::NumeroDigitado numero = Formatos::leNumeroDigitado(texto, 0, 15);
        if (!numero) {
            D500DAT::instance()->exibeMensagem(QStringLiteral("Código: ") + numero.mensagem, TipoMensagem::Informacao,
                                               CorMensagem::Vermelho);
            edtCodigo->setFocus();
            edtCodigo->selectAll();
            return;
        }
        codigo = numero.valor;
    }
    const QString sql = m_statement.sql(codigo, edtDescricao->text());
    const bool feita = D500DAT::instance()->executaAcao([&] {
        CursorEspera espera;
        cdsPesquisa->close();
        cdsPesquisa->setCommandText(sql);
        cdsPesquisa->open();
    });
    if (!feita && !anterior.isEmpty()) {
        // The window keeps the result of the last search that worked.
        try {
            cdsPesquisa->setCommandText(anterior);
            cdsPesquisa->open();
        } catch (const std::exception &) {
            // Not shown: the boundary has just reported this search's failure, and the grid stays empty.
        }
    }
    if (cdsPesquisa->active()) {
        // Titles from the aliases as written: the driver hands accented aliases back garbled.
        const QStringList campos = cdsPesquisa->fieldNames();
        const QStringList &colunas = m_statement.columns();
        for (int i = 0; i < campos.size() && i < colunas.size(); ++i)
            cdsPesquisa->setDisplayLabel(campos.at(i), SearchStatement::titlePart(colunas.at(i)));
    }
    dbgPesquisa->resizeColumnsToContents();
    if (!cdsPesquisa->active() || cdsPesquisa->isEmpty())
        return;
    dbgPesquisa->setCurrentIndex(cdsPesquisa->index(cdsPesquisa->recNo() < 0 ? 0 : cdsPesquisa->recNo(), 0));
}

void F599PSQ::btSelecionarClick()
{
    if (cdsPesquisa->active() && !cdsPesquisa->isEmpty() && cdsPesquisa->fieldCount() >= 2) {
        const QModelIndex atual = dbgPesquisa->currentIndex();
        if (atual.isValid())
            cdsPesquisa->setRecNo(atual.row());
        const QStringList campos = cdsPesquisa->fieldNames();
        m_codigo = cdsPesquisa->isNull(campos.at(0)) ? QString() : cdsPesquisa->asString(campos.at(0));
        m_descricao = cdsPesquisa->isNull(campos.at(1)) ? QString() : cdsPesquisa->asString(campos.at(1));
    } else {
        m_codigo.clear();
        m_descricao.clear();
    }
    accept();
}

void F599PSQ::btCancelarClick()
{
    reject();
}

void F599PSQ::reject()
{
    m_codigo.clear();
    m_descricao.clear();
    QDialog::reject();
}

void F599PSQ::dbgPesquisaTitleClick(int column)
{
    if (!cdsPesquisa->active())
        return;
    const QString field = cdsPesquisa->fieldOfColumn(column);
    if (!field.isEmpty())
        cdsPesquisa->sortByColumnTitle(field);
}
