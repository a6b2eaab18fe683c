#include "PaginaPesquisa.h"

#include "AcaoInterrompida.h"
#include "CaixaAlta.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "GradeDados.h"
#include "LigaAcao.h"
#include "GravacaoPedido.h"
#include "PedidoDados.h"
#include "SqlText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// Colours of the order list: status backgrounds, budget aqua, bold for an order not fully
// invoiced; the number on the tooltip colour and the total on money green.
class PinturaPesquisa : public QStyledItemDelegate
{
public:
    PinturaPesquisa(TClientDataSetPlus *ds, QObject *parent) : QStyledItemDelegate(parent), m_ds(ds) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString campo = m_ds->fieldOfColumn(index.column());
        const QString sit = texto(index.row(), QStringLiteral("SITPDF"));
        const QString orc = texto(index.row(), QStringLiteral("PDFORC"));
        const double total = Formatos::parseNumber(texto(index.row(), QStringLiteral("TOTPDF")));
        const double faturado = Formatos::parseNumber(texto(index.row(), QStringLiteral("TOTFAT")));
        if ((sit == QLatin1String("F") || sit == QLatin1String("E")) && total > faturado)
            option->font.setBold(true);
        std::optional<QColor> fundo;
        if (campo == QLatin1String("CODPDF"))
            fundo = QToolTip::palette().color(QPalette::ToolTipBase);
        else if (campo == QLatin1String("TOTPDF"))
            fundo = QColor(0xC0, 0xDC, 0xC0);
        if (sit == QLatin1String("F"))
            fundo = QColor(0x53, 0x8E, 0xD5);
        if (sit == QLatin1String("C"))
            fundo = QColor(0x94, 0x8B, 0x54);
        if (sit == QLatin1String("E"))
            fundo = QColor(0xD9, 0x97, 0x95);
        if (orc == QLatin1String("S"))
            fundo = QColor(0x00, 0xFF, 0xFF);
        if (fundo)
            option->backgroundBrush = *fundo;
    }

private:
    // The row's value as the dataset stores it (numbers in statement form).
    QString texto(int linha, const QString &campo) const
    {
        const int coluna = m_ds->columnOfField(campo);
        if (coluna < 0)
            return QString();
        return m_ds->data(m_ds->index(linha, coluna), Qt::EditRole).toString();
    }
    TClientDataSetPlus *m_ds;
};

} // namespace

PaginaPesquisa::PaginaPesquisa(PedidoDados &dados, QWidget *parent)
    : QWidget(parent)
    , m_dados(dados)
{
    cbPedido = new QCheckBox(QStringLiteral("Pedido :"));
    edPedido = new QLineEdit;
    cbCliente = new QCheckBox(QStringLiteral("Cliente :"));
    edCliente = new QLineEdit;
    cbPeriodo = new QCheckBox(QStringLiteral("Período :"));
    edDataIni = new QLineEdit;
    edDataFim = new QLineEdit;
    for (QLineEdit *data : {edDataIni, edDataFim}) {
        data->setInputMask(QStringLiteral("99/99/9999;_"));
        data->setText(QDate::currentDate().toString(Formatos::dateForm()));
    }
    cbPeriodo->setChecked(true);
    cbOrcamentos = new QCheckBox(QStringLiteral("Orçamentos"));
    cbSituacao = new QComboBox;
    cbSituacao->addItem(QStringLiteral("Todos"), QStringLiteral("%"));
    cbSituacao->addItem(QStringLiteral("Digitado"), QStringLiteral("D"));
    cbSituacao->addItem(QStringLiteral("Enviado"), QStringLiteral("E"));
    cbSituacao->addItem(QStringLiteral("Faturado"), QStringLiteral("F"));
    cbSituacao->addItem(QStringLiteral("Cancelado"), QStringLiteral("C"));
    btPesquisar = new QPushButton(QStringLiteral("Pesquisar"));
    // PDFORC is not shown: the budget flag only colours the rows.
    dbgPesquisa = new GradeDados(*m_dados.cdsPesPedido,
                                 {{QStringLiteral("CODPDF"), QStringLiteral("Pedido"), QStringLiteral("00000")},
                                  {QStringLiteral("DATPDF"), QStringLiteral("Data"), QStringLiteral("dd/mm/yyyy")},
                                  {QStringLiteral("CODCLI"), QStringLiteral("Cliente")},
                                  {QStringLiteral("RAZCLI"), QStringLiteral("Razão Social")},
                                  {QStringLiteral("TOTPDF"), QStringLiteral("Total"), QStringLiteral("###,###,##0.00")},
                                  {QStringLiteral("TOTFAT"), QStringLiteral("Faturado"), QStringLiteral("###,###,##0.00")},
                                  {QStringLiteral("CODINT"), QStringLiteral("Cód. Interno")},
                                  {QStringLiteral("SITPDF"), QStringLiteral("Situação")}});
    dbgPesquisa->setOrdenaPeloTitulo(false); // dbgPesquisaTitleClick sorts
    dbgPesquisa->setItemDelegate(new PinturaPesquisa(m_dados.cdsPesPedido, dbgPesquisa));
    btCopiar = new QPushButton(QStringLiteral("Copiar"));
    btCopiar->setToolTip(QStringLiteral("Copiar Pedido"));
    btexcluir = new QPushButton(QStringLiteral("Excluir"));
    btexcluir->setToolTip(QStringLiteral("Excluir Pedido"));
    btFechar = new QPushButton(QStringLiteral("Fechar"));
    btFechar->setToolTip(QStringLiteral("Fechar"));

    for (QLineEdit *texto : {edPedido, edCliente})
        CaixaAlta::aplica(texto);

    // Two rows, so every filter keeps a readable width inside the main window's fixed size.
    for (QLineEdit *data : {edDataIni, edDataFim})
        data->setMinimumWidth(data->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    edPedido->setMinimumWidth(edPedido->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    auto *linha1 = new QHBoxLayout;
    linha1->addWidget(cbPedido);
    linha1->addWidget(edPedido, 1);
    linha1->addWidget(cbCliente);
    linha1->addWidget(edCliente, 3);
    linha1->addWidget(new QLabel(QStringLiteral("Situação :")));
    linha1->addWidget(cbSituacao);
    auto *linha2 = new QHBoxLayout;
    linha2->addWidget(cbPeriodo);
    linha2->addWidget(edDataIni);
    linha2->addWidget(new QLabel(QStringLiteral("á")));
    linha2->addWidget(edDataFim);
    linha2->addWidget(cbOrcamentos);
    linha2->addStretch();
    linha2->addWidget(btPesquisar);
    auto *filtros = new QVBoxLayout;
    filtros->addLayout(linha1);
    filtros->addLayout(linha2);
    auto *acoes = new QHBoxLayout;
    acoes->addStretch();
    acoes->addWidget(btCopiar);
    acoes->addWidget(btexcluir);
    acoes->addWidget(btFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filtros);
    layout->addWidget(dbgPesquisa, 1);
    layout->addLayout(acoes);

    ligaAcao(btPesquisar, &QPushButton::clicked, this, &PaginaPesquisa::btPesquisarClick);
    ligaAcao(btCopiar, &QPushButton::clicked, this, &PaginaPesquisa::btCopiarClick);
    ligaAcao(btexcluir, &QPushButton::clicked, this, &PaginaPesquisa::btexcluirClick);
    connect(btFechar, &QPushButton::clicked, this, &PaginaPesquisa::fecha);
    ligaAcao(dbgPesquisa, &QTableView::doubleClicked, this, &PaginaPesquisa::dbgPesquisaDblClick);
    ligaAcao(dbgPesquisa->horizontalHeader(), &QHeaderView::sectionClicked, this, &PaginaPesquisa::dbgPesquisaTitleClick);
}

void PaginaPesquisa::btPesquisarClick()
{
    const Sessao &s = dat().sessao;
    // The period is bound in ISO form: the driver turns a bound text into a date by reading
    // it as ISO, and Firebird reads the same text unambiguously.
    auto iso = [](const QDate &data) { return data.toString(Qt::ISODate); };
    QString inicio = iso(QDate(1900, 1, 1));
    QString fim = iso(QDate::currentDate().addYears(100));
    if (cbPeriodo->isChecked() && !cbOrcamentos->isChecked()) {
        const SqlText::ParsedDate di = SqlText::parseDate(edDataIni->text());
        const SqlText::ParsedDate df = di ? SqlText::parseDate(edDataFim->text()) : di;
        if (!di || !df) {
            dat().exibeMensagem(di ? df.message : di.message, TipoMensagem::Erro, CorMensagem::Vermelho);
            throw AcaoInterrompida();
        }
        inicio = iso(*di.date);
        fim = iso(*df.date);
    }
    QString pedido = QStringLiteral("%");
    if (cbPedido->isChecked()) {
        const Formatos::NumeroDigitado numero = Formatos::leNumeroDigitado(edPedido->text(), 0, 15);
        if (!numero) {
            dat().exibeMensagem(QStringLiteral("Pedido : ") + numero.mensagem, TipoMensagem::Informacao,
                                CorMensagem::Vermelho);
            edPedido->setFocus();
            throw AcaoInterrompida();
        }
        pedido = numero.valor; // "00005" finds order 5
    }
    TClientDataSetPlus *ds = m_dados.cdsPesPedido;
    ds->setTypedParam(QStringLiteral("PRAZCLI"), cbCliente->isChecked()
                                                     ? SqlText::containsPattern(edCliente->text().toUpper())
                                                     : QStringLiteral("%"));
    PedidoDados::reabre(
        ds, {{QStringLiteral("PCODEMP"), s.CODEMP},
             {QStringLiteral("PCODPDF"), pedido},
             {QStringLiteral("PDATINI"), inicio},
             {QStringLiteral("PDATFIM"), fim},
             {QStringLiteral("PPDFORC"), cbOrcamentos->isChecked() ? QStringLiteral("S") : QStringLiteral("%")},
             {QStringLiteral("PSITPDF"), cbSituacao->currentData().toString()}});
    if (!ds->isEmpty())
        dbgPesquisa->selectRow(0);
}

void PaginaPesquisa::dbgPesquisaTitleClick(int coluna)
{
    TClientDataSetPlus *ds = m_dados.cdsPesPedido;
    if (ds->active())
        ds->sortByColumnTitle(ds->fieldOfColumn(coluna));
}

void PaginaPesquisa::dbgPesquisaDblClick()
{
    TClientDataSetPlus *ds = m_dados.cdsPesPedido;
    if (!ds->active() || ds->isEmpty() || ds->isNull(QStringLiteral("CODPDF")))
        return;
    emit abrePedido(PedidoDados::codigo(ds, QStringLiteral("CODEMP")), PedidoDados::codigo(ds, QStringLiteral("CODPDF")),
                    PedidoDados::codigo(ds, QStringLiteral("CODINT")), false);
}

void PaginaPesquisa::btCopiarClick()
{
    TClientDataSetPlus *ds = m_dados.cdsPesPedido;
    if (!ds->active() || ds->isEmpty())
        return;
    const GravacaoPedido::Chave origem{PedidoDados::codigo(ds, QStringLiteral("CODEMP")),
                                 PedidoDados::codigo(ds, QStringLiteral("CODPDF")),
                                 PedidoDados::codigo(ds, QStringLiteral("CODINT"))};
    const QString pergunta = QStringLiteral("Deseja realizar COPIA do Pedido ")
        + Formatos::formatMask(ds->asFloat(QStringLiteral("CODPDF")), QStringLiteral("00000"))
        + QStringLiteral(" do cliente ")
        + Formatos::formatMask(ds->asFloat(QStringLiteral("CODCLI")), QStringLiteral("00000")) + QStringLiteral("-")
        + ds->asString(QStringLiteral("RAZCLI")) + QStringLiteral(" no valor de R$ ")
        + Formatos::formatMask(ds->asFloat(QStringLiteral("TOTPDF")), QStringLiteral("###,###,##0.00"))
        + QStringLiteral("?");
    if (dat().exibeMensagem(pergunta, TipoMensagem::Confirmacao, CorMensagem::Verde, BotoesMensagem::SimNao)
        != RespostaMensagem::Sim)
        return;
    const QString empresa = dat().sessao.CODEMP;
    const QString N = dat().proximoCodigo(QStringLiteral("F530PDF"), QStringLiteral("CODPDF"),
                                          QStringLiteral("CODEMP = ") + SqlText::quoted(empresa));
    bool somentePendentes = false;
    const QString sit = ds->asString(QStringLiteral("SITPDF"));
    if (GravacaoPedido::temItensPendentes(m_dados.connection(), origem)
        && (sit == QLatin1String("E") || sit == QLatin1String("F") || sit == QLatin1String("C")))
        somentePendentes = dat().exibeMensagem(QStringLiteral("Deseja copiar SOMENTE ITENS NA PENDENCIA ?\r"
                                                              "(Caso escolha NÃO o pedido INTEIRO será copiado!)"),
                                               TipoMensagem::Confirmacao, CorMensagem::Azul, BotoesMensagem::SimNao)
            == RespostaMensagem::Sim;
    if (!GravacaoPedido::copia(m_dados.connection(), origem, N, somentePendentes, QDate::currentDate())) {
        dat().exibeMensagem(QStringLiteral("O pedido não existe mais. Pesquise novamente."), TipoMensagem::Aviso,
                            CorMensagem::Vermelho);
        return;
    }
    emit abrePedido(empresa, N, QStringLiteral("0"), true);
}

void PaginaPesquisa::btexcluirClick()
{
    TClientDataSetPlus *ds = m_dados.cdsPesPedido;
    if (!ds->active() || ds->isEmpty() || ds->asString(QStringLiteral("SITPDF")) != QLatin1String("D"))
        return;
    const QString pergunta = QStringLiteral("Deseja excluir o Pedido ")
        + Formatos::formatMask(ds->asFloat(QStringLiteral("CODPDF")), QStringLiteral("00000"))
        + QStringLiteral(" no valor de R$ ")
        + Formatos::formatMask(ds->asFloat(QStringLiteral("TOTPDF")), QStringLiteral("###,###,##0.00"))
        + QStringLiteral("?");
    if (dat().exibeMensagem(pergunta, TipoMensagem::Confirmacao, CorMensagem::Vermelho, BotoesMensagem::SimNao)
        != RespostaMensagem::Sim)
        return;
    GravacaoPedido::exclui(m_dados.connection(), PedidoDados::codigo(ds, QStringLiteral("CODEMP")),
                       PedidoDados::codigo(ds, QStringLiteral("CODPDF")));
    btPesquisarClick();
}
