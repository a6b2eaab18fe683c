#include "PainelItens.h"

#include "AcaoInterrompida.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "CalculoItem.h"
#include "GradeDados.h"
#include "ItemRegistro.h"
#include "LigaAcao.h"
#include "UltimoPreco.h"
#include "PedidoDados.h"
#include "PedidoEstado.h"
#include "SeletorProdutos.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kTabelaVendas = QStringLiteral("Tabela de Vendas");
const QString kItensPedido = QStringLiteral("Itens do Pedido");

// The room of the entry fields: the item columns they end in are NUMERIC(15,3) for prices and
// NUMERIC(15,2) for quantities and percentages.
struct Campo
{
    const char *rotulo;
    int casas;
    int digitosInteiros() const { return 15 - casas; }
};
constexpr Campo kPreco{"Preço :", 3};
constexpr Campo kDesconto{"Desc. :", 2};
constexpr Campo kQuantidade{"Qtde.:", 2};
constexpr Campo kUltimoPreco{"Ult. Preço:", 3};

std::optional<Decimal> numeroValido(const QLineEdit *campo, const Campo &c)
{
    const Formatos::NumeroDigitado n = Formatos::leNumeroDigitado(campo->text(), c.casas, c.digitosInteiros());
    if (!n)
        return std::nullopt;
    return Decimal::parse(n.valor).value_or(Decimal()).rounded(c.casas);
}

// The field's number; text that is not one is told, the focus stays in the field and the
// action stops.
Decimal numero(QLineEdit *campo, const Campo &c)
{
    const Formatos::NumeroDigitado n = Formatos::leNumeroDigitado(campo->text(), c.casas, c.digitosInteiros());
    if (!n) {
        dat().exibeMensagem(QString::fromUtf8(c.rotulo) + u' ' + n.mensagem, TipoMensagem::Informacao,
                            CorMensagem::Vermelho);
        campo->setFocus();
        campo->selectAll();
        throw AcaoInterrompida();
    }
    return Decimal::parse(n.valor).value_or(Decimal()).rounded(c.casas);
}

void escreve(QLineEdit *campo, const Decimal &valor, int casas)
{
    campo->setText(Formatos::formatMask(valor.toDouble(), casas == 3 ? QStringLiteral("##0.000")
                                                                      : QStringLiteral("##0.00")));
}

void mostra(const MensagemPedido &m)
{
    dat().exibeMensagem(m.texto, m.tipo, m.cor, m.botoes);
}

qint64 inteiro(const TClientDataSetPlus *ds, const QString &campo)
{
    return ds->isNull(campo) ? 0 : ds->asInteger(campo);
}

// The item grid's colours: promotion items bold purple; corrected prices, items not fully
// invoiced in an invoiced order and cancelled items on backgrounds of their own.
class PinturaItens : public QStyledItemDelegate
{
public:
    PinturaItens(PedidoEstado &estado, QObject *parent) : QStyledItemDelegate(parent), m_estado(estado) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        TClientDataSetPlus *ds = m_estado.dados->cdsCADITEM;
        auto valor = [&](const char *campo) {
            const int coluna = ds->columnOfField(QLatin1String(campo));
            return coluna < 0 ? QString() : ds->data(ds->index(index.row(), coluna), Qt::EditRole).toString();
        };
        if (valor("ITMPRM") == QLatin1String("S")) {
            option->font.setBold(true);
            option->palette.setColor(QPalette::Text, QColor(0x80, 0x00, 0x80));
        }
        if (valor("VLDITM") == QLatin1String("S"))
            option->backgroundBrush = QColor(0xD9, 0x97, 0x95);
        const QString sitipf = valor("SITIPF");
        const QString sitpdf = m_estado.dados->cdsCADPEDIDO->active()
            ? m_estado.dados->cdsCADPEDIDO->asString(QStringLiteral("SITPDF")) : QString();
        if (valor("QTDFAT").toDouble() != valor("QTDPRO").toDouble() && sitpdf == QLatin1String("F")
            && sitipf != QLatin1String("C"))
            option->backgroundBrush = QColor(0x53, 0x8E, 0xD5);
        if (sitipf == QLatin1String("C"))
            option->backgroundBrush = QColor(0x94, 0x8B, 0x54);
    }

private:
    PedidoEstado &m_estado;
};

QPushButton *rotulo(const QString &texto)
{
    auto *b = new QPushButton(texto);
    b->setFlat(true);
    return b;
}

} // namespace

PainelItens::PainelItens(PedidoEstado &estado, QWidget *parent)
    : QWidget(parent)
    , m_estado(estado)
{
    seletor = new SeletorProdutos(estado);
    cbTabela = new QComboBox;
    cbTabela->addItems({kTabelaVendas, kItensPedido});
    // ITMPRM, VLDITM and SITIPF are not shown: the painting reads them.
    dbgItem = new GradeDados(*estado.dados->cdsCADITEM,
                             {{QStringLiteral("CODPRO"), QStringLiteral("Código"), QStringLiteral("0000000")},
                              {QStringLiteral("DESPRO"), QStringLiteral("Descrição")},
                              {QStringLiteral("CA_SITIPF"), QStringLiteral("Situação")},
                              {QStringLiteral("UNDPRO"), QStringLiteral("UND.")},
                              {QStringLiteral("QTDPRO"), QStringLiteral("Qtde."), QStringLiteral("##,###,##0.00")},
                              {QStringLiteral("VLRUNT"), QStringLiteral("Vl. Unit."), QStringLiteral("##,###,##0.000")},
                              {QStringLiteral("VLRTOT"), QStringLiteral("Total"), QStringLiteral("###,###,##0.00")},
                              {QStringLiteral("USOFLX"), QStringLiteral("Flex Usado"), QStringLiteral("##,###,##0.00")},
                              {QStringLiteral("QTDFAT"), QStringLiteral("Qtde. Fat."), QStringLiteral("##,###,##0.00")},
                              {QStringLiteral("VLRSTB"), QStringLiteral("Subs. Trib."), QStringLiteral("##,###,##0.00")}});
    dbgItem->setOrdenaPeloTitulo(false);
    dbgItem->setItemDelegate(new PinturaItens(estado, dbgItem));
    lblpreco = rotulo(QStringLiteral("Preço :"));
    lbldesc = rotulo(QStringLiteral("Desc. :"));
    lblqtde = rotulo(QStringLiteral("Qtde.:"));
    lblultimo = rotulo(QStringLiteral("Ult. Preço:"));
    lblSubtotal = rotulo(QStringLiteral("0,00"));
    edPRECO = new QLineEdit;
    edDESC = new QLineEdit;
    edQTDE = new QLineEdit;
    edULTIMO = new QLineEdit;
    edULTIMO->setReadOnly(true);
    lcbComissao = new QComboBox;
    btIncluirITM = new QPushButton(QStringLiteral("Incluir"));
    btIncluirITM->setToolTip(QStringLiteral("Incluir Item"));
    btExcluirITM = new QPushButton(QStringLiteral("Excluir"));
    btExcluirITM->setToolTip(QStringLiteral("Excluir Item"));
    btPromocao = new QPushButton(QStringLiteral("Promoção"));
    btPromocao->setToolTip(QStringLiteral("Promoção"));
    btPromocao->setEnabled(false);

    auto *entrada = new QGridLayout;
    entrada->addWidget(lblpreco, 0, 0);
    entrada->addWidget(edPRECO, 0, 1);
    entrada->addWidget(lbldesc, 0, 2);
    entrada->addWidget(edDESC, 0, 3);
    entrada->addWidget(lblqtde, 0, 4);
    entrada->addWidget(edQTDE, 0, 5);
    entrada->addWidget(lblultimo, 1, 0);
    entrada->addWidget(edULTIMO, 1, 1);
    entrada->addWidget(rotulo(QStringLiteral("Subtotal :")), 1, 2);
    entrada->addWidget(lblSubtotal, 1, 3);
    entrada->addWidget(rotulo(QStringLiteral("Tabela :")), 1, 4);
    entrada->addWidget(lcbComissao, 1, 5);
    auto *botoes = new QHBoxLayout;
    botoes->addWidget(btIncluirITM);
    botoes->addWidget(btExcluirITM);
    botoes->addWidget(btPromocao);
    botoes->addStretch();
    botoes->addWidget(cbTabela);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(seletor);
    layout->addWidget(dbgItem, 1);
    layout->addLayout(entrada);
    layout->addLayout(botoes);
    seletor->dbgProdutos->setParent(nullptr);
    layout->insertWidget(1, seletor->dbgProdutos, 1);

    ligaAcao(lblpreco, &QPushButton::clicked, this, &PainelItens::lblprecoClick);
    ligaAcao(lblSubtotal, &QPushButton::clicked, this, &PainelItens::lblprecoClick);
    ligaAcao(edPRECO, &QLineEdit::returnPressed, this, &PainelItens::lblprecoClick);
    ligaAcao(lbldesc, &QPushButton::clicked, this, &PainelItens::lbldescClick);
    ligaAcao(edDESC, &QLineEdit::returnPressed, this, &PainelItens::lbldescClick);
    ligaAcao(lblqtde, &QPushButton::clicked, this, &PainelItens::lblqtdeClick);
    ligaAcao(edQTDE, &QLineEdit::returnPressed, this, [this] {
        if (btIncluirITM->isEnabled())
            btIncluirITMClick();
    });
    ligaAcao(lblultimo, &QPushButton::clicked, this, &PainelItens::lblultimoClick);
    ligaAcao(lcbComissao, &QComboBox::activated, this, &PainelItens::lcbComissaoCloseUp);
    ligaAcao(edPRECO, &QLineEdit::textChanged, this, &PainelItens::atualizaSubtotal);
    ligaAcao(edQTDE, &QLineEdit::textChanged, this, &PainelItens::atualizaSubtotal);
    ligaAcao(btPromocao, &QPushButton::clicked, this, &PainelItens::btPromocaoClick);
    ligaAcao(btIncluirITM, &QPushButton::clicked, this, &PainelItens::btIncluirITMClick);
    ligaAcao(btExcluirITM, &QPushButton::clicked, this, &PainelItens::btExcluirITMClick);
    // The entry fields follow the grid just shown: left with the other grid's row, Enter in the
    // quantity would write that row's price into the current item.
    ligaAcao(cbTabela, &QComboBox::activated, this, [this] {
        cbTabelaSelect();
        carregaItem();
    });
    connect(seletor, &SeletorProdutos::listaAberta, this, [this] {
        cbTabela->setCurrentText(kTabelaVendas);
        cbTabelaSelect();
        carregaItem();
    });
    connect(seletor->dbgProdutos, &QTableView::clicked, edPRECO, [this] { edPRECO->setFocus(); });
    connect(seletor, &SeletorProdutos::produtoAlcancado, edPRECO, [this] {
        seletor->dbgProdutos->scrollTo(seletor->dbgProdutos->currentIndex());
        edPRECO->setFocus();
        edPRECO->selectAll();
    });
    ligaAcao(dbgItem, &QTableView::clicked, this, &PainelItens::carregaItem);
    ligaAcao(m_estado.dados->cdsPESPRODUTO, &TClientDataSetPlus::currentChanged, this, [this] {
        TClientDataSetPlus *p = m_estado.dados->cdsPESPRODUTO;
        if (m_estado.recarrega && visaoProdutos() && !p->isEmpty() && p->asString(QStringLiteral("VERFAM")) == QLatin1String("N"))
            carregaItem();
    });
    ligaAcao(m_estado.dados->cdsCADITEM, &TClientDataSetPlus::currentChanged, this, [this] {
        if (m_estado.recarrega && !visaoProdutos() && !m_estado.dados->cdsCADITEM->isEmpty())
            carregaItem();
    });
}

bool PainelItens::editavel() const
{
    TClientDataSetPlus *cab = m_estado.dados->cdsCADPEDIDO;
    return cab->active() && cab->asString(QStringLiteral("SITPDF")) == QLatin1String("D");
}

bool PainelItens::visaoProdutos() const
{
    return m_estado.visaoProdutos;
}

qint64 PainelItens::maximoDias() const
{
    return PedidoDados::decimal(m_estado.dados->cdsCondicao, QStringLiteral("MAXDIA"))
        .toInteger(Decimal::Rounding::HalfEven);
}

std::optional<BasePreco> PainelItens::baseAtual() const
{
    if (visaoProdutos()) {
        TClientDataSetPlus *p = m_estado.dados->cdsPESPRODUTO;
        // Header rows carry no prices: they never become items.
        if (!p->active() || p->isEmpty() || p->asString(QStringLiteral("VERFAM")) != QLatin1String("N"))
            return std::nullopt;
        return ItemRegistro::basePrecos(p);
    }
    TClientDataSetPlus *i = m_estado.dados->cdsCADITEM;
    if (!i->active() || i->isEmpty())
        return std::nullopt;
    return CalculoItem::baseDe(ItemRegistro::le(i));
}

void PainelItens::mostraVisaoItens()
{
    cbTabela->setEnabled(false);
    cbTabela->setCurrentText(kItensPedido);
    m_estado.visaoProdutos = false;
    dbgItem->show();
    seletor->dbgProdutos->hide();
}

void PainelItens::tbsItemShow()
{
    const bool pode = editavel();
    btIncluirITM->setEnabled(pode);
    btExcluirITM->setEnabled(pode);
    cbTabela->setEnabled(pode);
    seletor->setEnabled(pode);
    for (QWidget *w : {static_cast<QWidget *>(edPRECO), static_cast<QWidget *>(edDESC),
                       static_cast<QWidget *>(edQTDE), static_cast<QWidget *>(lcbComissao)})
        w->setEnabled(pode);
    btPromocao->setVisible(pode);
    if (!pode) {
        cbTabela->setCurrentText(kItensPedido);
        seletor->limpaFiltros();
    } else {
        cbTabela->setCurrentText(kTabelaVendas);
    }
    cbTabelaSelect();
}

void PainelItens::cbTabelaSelect()
{
    const bool pode = editavel();
    btIncluirITM->setEnabled(pode);
    btExcluirITM->setEnabled(pode);
    const bool produtos = cbTabela->currentText() == kTabelaVendas;
    m_estado.visaoProdutos = produtos;
    dbgItem->setVisible(!produtos);
    seletor->dbgProdutos->setVisible(produtos);
    seletor->btPESPRO->setEnabled(produtos);
    btPromocao->setVisible(produtos && pode);
}

void PainelItens::abreComissao(const QString &CODCOS)
{
    PedidoDados &d = *m_estado.dados;
    // The seller is told why the list did not load; the item itself still loads and the list
    // keeps its previous rows.
    const bool aberta = dat().executaAcao([&] {
        PedidoDados::reabre(d.cdsComissao, {{QStringLiteral("PCODCOS"), CODCOS.isEmpty() ? QStringLiteral("0") : CODCOS},
                                            {QStringLiteral("PCODEMP"), dat().sessao.CODEMP}});
    });
    if (!aberta)
        return;
    lcbComissao->clear();
    for (d.cdsComissao->first(); !d.cdsComissao->eof(); d.cdsComissao->next()) {
        const Decimal pct = PedidoDados::decimal(d.cdsComissao, QStringLiteral("PCTDCT"));
        lcbComissao->addItem(Formatos::formatMask(pct.toDouble(), QStringLiteral("##0.00")),
                             QVariantList{pct.toString(), PedidoDados::codigo(d.cdsComissao, QStringLiteral("CODCOS"))});
    }
    lcbComissao->setCurrentIndex(lcbComissao->count() > 0 ? 0 : -1);
}

void PainelItens::posicionaComissao(const Decimal &percentual)
{
    for (int i = 0; i < lcbComissao->count(); ++i) {
        const auto pct = Decimal::parse(lcbComissao->itemData(i).toList().value(0).toString());
        if (pct && *pct == percentual) {
            lcbComissao->setCurrentIndex(i);
            return;
        }
    }
}

Decimal PainelItens::percentualComissao() const
{
    if (lcbComissao->currentIndex() < 0)
        return Decimal::fromUnits(0, 2);
    return Decimal::parse(lcbComissao->currentData().toList().value(0).toString()).value_or(Decimal());
}

QString PainelItens::codigoComissao() const
{
    return lcbComissao->currentIndex() < 0 ? QString() : lcbComissao->currentData().toList().value(1).toString();
}

void PainelItens::mostraUltimoPreco(qint64 CODCCU, qint64 CODPRO)
{
    TClientDataSetPlus *u = m_estado.dados->cdsUltimaCompra;
    std::optional<UltimoPreco::Compra> compra;
    if (u->active()) {
        u->setFilter([CODCCU, CODPRO](const DataRow &r) {
            return r.asInteger(QStringLiteral("CODPRO")) == CODPRO && r.asInteger(QStringLiteral("CODCCU")) == CODCCU;
        });
        if (!u->isEmpty())
            compra = UltimoPreco::Compra{PedidoDados::decimal(u, QStringLiteral("QTDPRO")),
                                         PedidoDados::decimal(u, QStringLiteral("VLRUNT")),
                                         u->asDate(QStringLiteral("DATPDF"))};
    }
    const UltimoPreco::Exibido ultimo = UltimoPreco::exibe(compra);
    escreve(edULTIMO, ultimo.preco, 3);
    edULTIMO->setToolTip(ultimo.dica);
    lblultimo->setToolTip(ultimo.dica);
}

void PainelItens::atualizaSubtotal()
{
    // Half-typed text is no number yet: nothing to show, and nothing told on every key.
    const std::optional<Decimal> preco = numeroValido(edPRECO, kPreco);
    const std::optional<Decimal> quantidade = numeroValido(edQTDE, kQuantidade);
    lblSubtotal->setText(preco && quantidade ? Formatos::formatMask((*preco * *quantidade).toDouble(),
                                                                    QStringLiteral("###,###,##0.00"))
                                             : QString());
}

void PainelItens::aplica(const PrecificacaoItem::Entrada &entrada)
{
    escreve(edPRECO, entrada.preco, 3);
    escreve(edDESC, entrada.desconto, 2);
    m_estado.promocao = entrada.promocao;
    if (entrada.comissao)
        posicionaComissao(*entrada.comissao);
}

void PainelItens::carregaItem()
{
    if (!m_estado.recarrega)
        return;
    PedidoDados &d = *m_estado.dados;
    TClientDataSetPlus *p = d.cdsPESPRODUTO;
    TClientDataSetPlus *itens = d.cdsCADITEM;
    if (visaoProdutos() && p->active() && !p->isEmpty() && p->asString(QStringLiteral("VERFAM")) == QLatin1String("N")) {
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        btPromocao->setEnabled(!p->isNull(QStringLiteral("VLRPRM")));
        abreComissao(PedidoDados::codigo(p, QStringLiteral("CODCOS")));
        const qint64 ccu = inteiro(p, QStringLiteral("CODCCU"));
        const qint64 pro = inteiro(p, QStringLiteral("CODPRO"));
        mostraUltimoPreco(ccu, pro);
        const QString pedido = PedidoDados::codigo(d.cdsCADPEDIDO, QStringLiteral("CODPDF"));
        const bool jaFiltrado = itens->filtered();
        if (!jaFiltrado)
            itens->setFilter([ccu, pro, pedido](const DataRow &r) {
                return r.asInteger(QStringLiteral("CODCCU")) == ccu && r.asInteger(QStringLiteral("CODPRO")) == pro
                    && QString::number(r.asInteger(QStringLiteral("CODPDF"))) == pedido;
            });
        if (itens->isEmpty()) {
            escreve(edPRECO, PedidoDados::decimal(p, QStringLiteral("PRCVEN")), 3);
            escreve(edQTDE, Decimal(), 2);
            escreve(edDESC, Decimal(), 2);
            posicionaComissao(Decimal());
        } else {
            const ValoresItem item = ItemRegistro::le(itens);
            escreve(edPRECO, item.VLRUNT, 3);
            escreve(edQTDE, item.QTDPRO, 2);
            escreve(edDESC, PrecificacaoItem(CalculoItem::baseDe(item), 0).descontoPara(item.VLRUNT), 2);
            posicionaComissao(item.TABCOS);
        }
        if (!jaFiltrado)
            itens->clearFilter();
        btIncluirITM->setEnabled(editavel());
        btExcluirITM->setEnabled(editavel());
    } else if (itens->active() && !itens->isEmpty()) {
        abreComissao(PedidoDados::codigo(itens, QStringLiteral("CODCOS")));
        const ValoresItem item = ItemRegistro::le(itens);
        escreve(edPRECO, item.VLRUNT, 3);
        escreve(edQTDE, item.QTDPRO, 2);
        posicionaComissao(item.TABCOS);
        escreve(edDESC, PrecificacaoItem(CalculoItem::baseDe(item), 0).descontoPara(item.VLRUNT), 2);
        mostraUltimoPreco(inteiro(itens, QStringLiteral("CODCCU")), inteiro(itens, QStringLiteral("CODPRO")));
    }
    if (atualizaFlex)
        atualizaFlex();
}

void PainelItens::lblprecoClick()
{
    const auto base = baseAtual();
    if (!base)
        return;
    aplica(PrecificacaoItem(*base, maximoDias()).conferePreco(numero(edPRECO, kPreco)));
    edQTDE->setFocus();
}

void PainelItens::lbldescClick()
{
    const auto base = baseAtual();
    if (!base)
        return;
    aplica(PrecificacaoItem(*base, maximoDias()).aplicaDesconto(numero(edDESC, kDesconto), m_estado.promocao));
    edQTDE->setFocus();
}

void PainelItens::lblqtdeClick()
{
    const auto base = baseAtual();
    if (!base)
        return;
    escreve(edQTDE, PrecificacaoItem::proximaQuantidade(numero(edQTDE, kQuantidade), base->FATPRO), 2);
}

void PainelItens::lblultimoClick()
{
    const auto base = baseAtual();
    if (!base)
        return;
    if (const auto entrada = PrecificacaoItem(*base, maximoDias()).usaUltimoPreco(numero(edULTIMO, kUltimoPreco)))
        aplica(*entrada);
}

void PainelItens::lcbComissaoCloseUp()
{
    const auto base = baseAtual();
    if (!base)
        return;
    aplica(PrecificacaoItem(*base, maximoDias())
               .escolheComissao(percentualComissao(), numero(edDESC, kDesconto), m_estado.promocao));
    edQTDE->setFocus();
}

void PainelItens::btPromocaoClick()
{
    const auto base = baseAtual();
    if (!base || !visaoProdutos())
        return;
    const PrecificacaoItem::ResultadoPromocao r = PrecificacaoItem(*base, maximoDias()).aplicaPromocao();
    if (r.entrada)
        aplica(*r.entrada);
    if (r.recusa) {
        mostra(*r.recusa);
        m_estado.promocao = false;
    }
}

void PainelItens::btIncluirITMClick()
{
    const auto base = baseAtual();
    if (!base)
        return;
    const PrecificacaoItem precificacao(*base, maximoDias());
    const Decimal quantidade = numero(edQTDE, kQuantidade);
    const CalculoItem::Admissao admissao = CalculoItem::admite(precificacao, numero(edPRECO, kPreco), quantidade);
    aplica(admissao.entrada);
    if (admissao.aviso)
        mostra(*admissao.aviso);
    if (admissao.recusa) {
        mostra(*admissao.recusa);
        throw AcaoInterrompida();
    }
    {
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        if (visaoProdutos()) {
            gravaDoProduto(precificacao, admissao.entrada, quantidade);
        } else {
            TClientDataSetPlus *itens = m_estado.dados->cdsCADITEM;
            ValoresItem novo = CalculoItem::alterado(ItemRegistro::le(itens), maximoDias(), admissao.entrada.preco,
                                                       quantidade, percentualComissao(), m_estado.promocao);
            // The tax follows the new total; an old quantity's value would be sent otherwise.
            if (const auto st = m_estado.dados->substituicaoTributaria(
                    inteiro(itens, QStringLiteral("CODCCU")), inteiro(itens, QStringLiteral("CODPRO")), novo.VLRTOT))
                novo.VLRSTB = *st;
            itens->edit();
            ItemRegistro::grava(itens, novo);
            itens->setValue(QStringLiteral("CODCOS"), codigoComissao());
            itens->post();
            if (itemAlterado)
                itemAlterado(true);
        }
    }
    carregaItem();
    if (!seletor->EDCODPRO->text().isEmpty())
        seletor->EDCODPRO->setFocus();
    if (!seletor->EDDESPRO->text().isEmpty())
        seletor->EDDESPRO->setFocus();
}

void PainelItens::gravaDoProduto(const PrecificacaoItem &precificacao, const PrecificacaoItem::Entrada &entrada,
                                 const Decimal &quantidade)
{
    m_estado.dados->gravaItemDoProduto(precificacao, entrada, quantidade, percentualComissao(), codigoComissao());
    if (itemAlterado)
        itemAlterado(true);
    seletor->atualizaMarcas();
    TClientDataSetPlus *p = m_estado.dados->cdsPESPRODUTO;
    if (p->recNo() < p->recordCount() - 1)
        p->next();
}

void PainelItens::btExcluirITMClick()
{
    TClientDataSetPlus *itens = m_estado.dados->cdsCADITEM;
    if (visaoProdutos() || !itens->active() || itens->isEmpty())
        return;
    const QString pergunta = QStringLiteral("Deseja excluir o produto ") + itens->asString(QStringLiteral("DESPRO"))
        + QStringLiteral(" do Pedido ?");
    if (dat().exibeMensagem(pergunta, TipoMensagem::Confirmacao, CorMensagem::Vermelho, BotoesMensagem::SimNao)
        == RespostaMensagem::Sim) {
        itens->deleteRecord();
        if (itemAlterado)
            itemAlterado(false);
        seletor->atualizaMarcas();
    }
    carregaItem();
}
