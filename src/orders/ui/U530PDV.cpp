#include "U530PDV.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "SaldoFlex.h"
#include "ItemRegistro.h"
#include "RecalculoItens.h"
#include "LigaAcao.h"
#include "RegrasCabecalhoPedido.h"
#include "ValidacaoGravacaoPedido.h"
#include "GravacaoPedido.h"
#include "PaginaPesquisa.h"
#include "PainelCabecalho.h"
#include "PainelFlex.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "ConsultaProdutos.h"
#include "PrecosRecalculo.h"
#include "ConsultasValidacaoGravacao.h"
#include "SeletorProdutos.h"
#include "SqlText.h"
#include "U500CAD.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

void mostra(const MensagemPedido &m)
{
    dat().exibeMensagem(m.texto, m.tipo, m.cor, m.botoes);
}

bool editando(const TClientDataSetPlus *ds)
{
    return ds->state() == TClientDataSetPlus::State::Edit || ds->state() == TClientDataSetPlus::State::Insert;
}

void limpaClientePedido()
{
    if (D500CAD *cad = D500CAD::instance()) {
        cad->codCliPedido.clear();
        cad->codNovPedido.clear();
    }
}

struct CursorEspera
{
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};

} // namespace

F530PDV::F530PDV(QWidget *parent)
    : F599CAD(parent)
    , m_dados(new PedidoDados(dat().cnxFirebird, this))
{
    setWindowTitle(QStringLiteral("Pedidos de Venda"));
    m_estado.dados = m_dados;

    paginas = new QStackedWidget;
    tbsPesquisa = new PaginaPesquisa(*m_dados);
    tbsCadastro = new QWidget;
    pgPedido = new QTabWidget;
    cabecalho = new PainelCabecalho(m_estado);
    itens = new PainelItens(m_estado);
    pgPedido->addTab(cabecalho, QStringLiteral("Pedido"));
    pgPedido->addTab(itens, QStringLiteral("Itens"));
    rodape = new PainelFlex;
    btSalvar = new QPushButton(QStringLiteral("Salvar"));
    btVoltar = new QPushButton(QStringLiteral("Voltar"));
    auto *fundo = new QHBoxLayout;
    fundo->addWidget(btSalvar);
    fundo->addWidget(btVoltar);
    fundo->addStretch();
    fundo->addWidget(rodape);
    auto *cadastro = new QVBoxLayout(tbsCadastro);
    cadastro->setContentsMargins(0, 0, 0, 0);
    cadastro->addWidget(pgPedido, 1);
    cadastro->addLayout(fundo);
    paginas->addWidget(tbsPesquisa);
    paginas->addWidget(tbsCadastro);
    // Thin margins: the pages nest three deep inside the main window's fixed width.
    auto *raiz = new QVBoxLayout(conteudo());
    raiz->setContentsMargins(2, 2, 2, 2);
    raiz->addWidget(paginas);

    m_dados->cdsCADPEDIDO->onNewRecord = [this](TClientDataSetPlus &) { cdsCADPEDIDONewRecord(); };
    m_dados->cdsCADITEM->onNewRecord = [this](TClientDataSetPlus &) { cdsCADITEMNewRecord(); };
    itens->itemAlterado = [this](bool postado) { itemAlterado(postado); };
    itens->atualizaFlex = [this] { atualizaSaldoFlex(); };
    TClientDataSetPlus *cdsItens = m_dados->cdsCADITEM;
    auto totais = [this] { rodape->mostraTotais(m_dados->cdsCADITEM); };
    connect(cdsItens, &QAbstractItemModel::modelReset, this, totais);
    connect(cdsItens, &QAbstractItemModel::rowsInserted, this, totais);
    connect(cdsItens, &QAbstractItemModel::rowsRemoved, this, totais);
    connect(cdsItens, &QAbstractItemModel::dataChanged, this, totais);

    ligaAcao(tbsPesquisa, &PaginaPesquisa::abrePedido, this,
             [this](const QString &e, const QString &p, const QString &i, bool copia) { abrePedido(e, p, i, copia); });
    connect(tbsPesquisa, &PaginaPesquisa::fecha, this, &QWidget::close);
    connect(cabecalho, &PainelCabecalho::termosAlterados, this, &F530PDV::termosAlterados);
    ligaAcao(pgPedido, &QTabWidget::currentChanged, this, &F530PDV::pgPedidoChange);
    ligaAcao(btSalvar, &QPushButton::clicked, this, &F530PDV::btSalvarClick);
    ligaAcao(btVoltar, &QPushButton::clicked, this, &F530PDV::btVoltarClick);

    dat().executaAcao([this] { FormCreate(); });
}

F530PDV::~F530PDV() = default;

QString F530PDV::arquivoPedido()
{
    return QDir::current().filePath(QStringLiteral("BKPPED.XML"));
}

QString F530PDV::arquivoItens()
{
    return QDir::current().filePath(QStringLiteral("BKPITEM.XML"));
}

void F530PDV::FormCreate()
{
    m_estado.flexAbertura = Decimal();
    m_estado.recarrega = true;
    m_estado.pedidoCopiado = false;
    PedidoDados::reabre(m_dados->cdsTransacao, {});
    itens->seletor->abreFiltros();

    const D500CAD *cad = D500CAD::instance();
    if (dat().sessao.editaRecuperados) {
        m_dados->cdsCADPEDIDO->loadFromFile(arquivoPedido());
        m_dados->cdsCADITEM->loadFromFile(arquivoItens());
        m_dados->marcaColunasDeTrabalho();
        m_dados->cdsCADPEDIDO->first();
        editaCabecalho();
        m_estado.flexAbertura = flexGravado();
        mostraCadastro();
    } else if (cad && (!cad->codCliPedido.isEmpty() || !cad->codNovPedido.isEmpty())) {
        const QString empresa = dat().sessao.CODEMP;
        const QList<QPair<QString, QString>> vazio = {{QStringLiteral("PCODEMP"), empresa},
                                                      {QStringLiteral("PCODPDF"), QStringLiteral("-1")},
                                                      {QStringLiteral("PCODINT"), QStringLiteral("-1")}};
        PedidoDados::reabre(m_dados->cdsCADPEDIDO, vazio);
        m_dados->cdsCADPEDIDO->append();
        PedidoDados::reabre(m_dados->cdsCADITEM, vazio);
        m_dados->marcaColunasDeTrabalho();
        mostraCadastro();
    } else {
        paginas->setCurrentWidget(tbsPesquisa);
        tbsPesquisa->btPesquisarClick();
    }
}

void F530PDV::cdsCADPEDIDONewRecord()
{
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    const Sessao &s = dat().sessao;
    const D500CAD *cad = D500CAD::instance();
    cab->setValue(QStringLiteral("CODEMP"), s.CODEMP);
    cab->setValue(QStringLiteral("CODPDF"), dat().proximoCodigo(QStringLiteral("F530PDF"), QStringLiteral("CODPDF"),
                                                                QStringLiteral("CODEMP = ") + SqlText::quoted(s.CODEMP)));
    cab->setValue(QStringLiteral("CODINT"), QStringLiteral("0"));
    cab->setValue(QStringLiteral("DATPDF"), QDate::currentDate());
    cab->setValue(QStringLiteral("SITPDF"), QStringLiteral("D"));
    cab->setValue(QStringLiteral("CODCLI"), cad ? cad->codCliPedido : QString());
    cab->setValue(QStringLiteral("CODNOV"), cad ? cad->codNovPedido : QString());
    cab->setValue(QStringLiteral("SITFLX"), QStringLiteral("N"));
    cab->setValue(QStringLiteral("PDFORC"), QStringLiteral("N"));
    cab->setValue(QStringLiteral("TOTFLX"), QStringLiteral("0"));
    cab->setValue(QStringLiteral("RETPDV"), QStringLiteral("N"));
    const RegrasCabecalhoPedido::Vendedores vendedores = RegrasCabecalhoPedido::vendedores(s.CODVEN, cad ? cad->codVenPedido : QString());
    cab->setValue(QStringLiteral("CODVEN"), vendedores.CODVEN);
    if (!vendedores.VENSUB.isEmpty())
        cab->setValue(QStringLiteral("VENSUB"), vendedores.VENSUB);
}

void F530PDV::cdsCADITEMNewRecord()
{
    TClientDataSetPlus *item = m_dados->cdsCADITEM;
    item->setValue(QStringLiteral("CODEMP"), dat().sessao.CODEMP);
    item->setValue(QStringLiteral("CODINT"), QStringLiteral("0"));
    item->setValue(QStringLiteral("VLDITM"), QStringLiteral("N"));
    item->setValue(QStringLiteral("GERFLX"), QStringLiteral("0"));
    item->setValue(QStringLiteral("ITMPRM"), QStringLiteral("N"));
}

void F530PDV::editaCabecalho()
{
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    if (cab->isEmpty())
        return;
    if (!editando(cab))
        cab->edit();
    cab->setValue(QStringLiteral("PDFORC"), RegrasCabecalhoPedido::marcaNormalizada(cab->asString(QStringLiteral("PDFORC"))));
    cab->setValue(QStringLiteral("RETPDV"), RegrasCabecalhoPedido::marcaNormalizada(cab->asString(QStringLiteral("RETPDV"))));
}

void F530PDV::abrePedido(const QString &CODEMP, const QString &CODPDF, const QString &CODINT, bool copia)
{
    {
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        m_dados->abrePedido(CODEMP, CODPDF, CODINT, false);
        editaCabecalho();
        m_estado.flexAbertura = flexGravado();
        m_estado.pedidoCopiado = copia;
    }
    mostraCadastro();
}

Decimal F530PDV::flexGravado() const
{
    // The balance already subtracts what the database holds for this order; a recovery copy's
    // or a copied header's TOTFLX was never counted there and would overdraw the account.
    const TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    return SaldoFlex::leFlexAbertura(m_dados->connection(), PedidoDados::codigo(cab, QStringLiteral("CODEMP")),
                                        PedidoDados::codigo(cab, QStringLiteral("CODPDF")),
                                        PedidoDados::codigo(cab, QStringLiteral("CODINT")));
}

void F530PDV::mostraCadastro()
{
    paginas->setCurrentWidget(tbsCadastro);
    const QSignalBlocker bloqueio(pgPedido);
    pgPedido->setCurrentIndex(0);
    tbsCadastroShow();
}

void F530PDV::tbsCadastroShow()
{
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    cabecalho->mostraPedido();
    itens->mostraVisaoItens();
    const bool editavel = RegrasCabecalhoPedido::editavel(cab->asString(QStringLiteral("SITPDF")));
    btSalvar->setEnabled(editavel);
    m_estado.saldoFlex = SaldoFlex::le(m_dados->connection(), dat().sessao.CODEMP,
                                           PedidoDados::codigo(cab, QStringLiteral("CODVEN")));
    itens->seletor->atualizaMarcas();
    rodape->mostraTotais(m_dados->cdsCADITEM);
    itens->carregaItem();
    atualizaSaldoFlex();
}

void F530PDV::pgPedidoChange(int aba)
{
    if (aba == 1)
        itens->tbsItemShow();
    if (itens->seletor->btPESPRO->isEnabled() && m_estado.visaoProdutos)
        itens->seletor->btPESPROClick();
    cabecalho->habilitaRetirar();
}

bool F530PDV::atualizaSaldoFlex()
{
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    TClientDataSetPlus *it = m_dados->cdsCADITEM;
    if (!cab->active())
        return true;
    const bool ativos = it->active();
    const Decimal usado = Decimal::fromDouble(ativos ? it->sum(QStringLiteral("USOFLX")) : 0.0, 2);
    const Decimal previsto = Decimal::fromDouble(ativos ? it->sum(QStringLiteral("GERFLX")) : 0.0, 2);
    const SaldoFlex::Exibicao flex = SaldoFlex::calcula(m_estado.saldoFlex, m_estado.flexAbertura, usado, previsto);
    if (editando(cab))
        cab->setValue(QStringLiteral("TOTFLX"), usado.toString());
    cabecalho->mostraFlex(flex, PedidoDados::decimal(cab, QStringLiteral("TOTFLX")));
    rodape->mostraFlex(flex, PedidoDados::decimal(cab, QStringLiteral("TOTFLX")));
    return flex.suficiente;
}

bool F530PDV::recalculaItens()
{
    TClientDataSetPlus *it = m_dados->cdsCADITEM;
    m_itensSemPreco.clear();
    it->clearFilter();
    if (!it->active() || it->isEmpty()) {
        atualizaSaldoFlex();
        return false;
    }
    cabecalho->posicionaListas();
    const qint64 dias = PedidoDados::decimal(m_dados->cdsCondicao, QStringLiteral("MAXDIA"))
                            .toInteger(Decimal::Rounding::HalfEven);
    bool corrigido = false;
    {
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        // Only the order's products: the whole price table is tens of thousands of rows.
        QList<QPair<qint64, qint64>> produtos;
        for (it->first(); !it->eof(); it->next())
            produtos.append({it->asInteger(QStringLiteral("CODCCU")), it->asInteger(QStringLiteral("CODPRO"))});
        const PrecosRecalculo precos = PrecosRecalculo::carrega(m_dados->connection(),
                                                             SeletorProdutos::consultaDoPedido(m_estado), produtos);
        for (it->first(); !it->eof(); it->next()) {
            const qint64 ccu = it->asInteger(QStringLiteral("CODCCU"));
            const qint64 pro = it->asInteger(QStringLiteral("CODPRO"));
            RecalculoItens::Resultado r = RecalculoItens::recalcula(ItemRegistro::le(it), precos.procura(ccu, pro), dias);
            // The operation may be chosen or changed only now: the tax follows it.
            if (const auto st = m_dados->substituicaoTributaria(ccu, pro, r.item.VLRTOT))
                r.item.VLRSTB = *st;
            if (r.produtoAusente)
                m_itensSemPreco.append(QString::number(pro) + QStringLiteral(" - ")
                                       + it->asString(QStringLiteral("DESPRO")).trimmed());
            it->edit();
            ItemRegistro::grava(it, r.item);
            it->post();
            corrigido = corrigido || r.corrigido;
        }
        it->first();
    }
    itemAlterado(true);
    return corrigido;
}

void F530PDV::termosAlterados()
{
    dat().executaAcao([this] {
        if (recalculaItens())
            mostra(RecalculoItens::avisoItensCorrigidos());
        if (!m_itensSemPreco.isEmpty())
            mostra(RecalculoItens::avisoProdutosAusentes(m_itensSemPreco));
    });
}

void F530PDV::itemAlterado(bool postado)
{
    if (postado)
        gravaRecuperacao();
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    if (editando(cab) && m_dados->cdsCADITEM->recordCount() > 0)
        cab->setValue(QStringLiteral("TOTFLX"),
                      Decimal::fromDouble(m_dados->cdsCADITEM->sum(QStringLiteral("USOFLX")), 2).toString());
    rodape->mostraTotais(m_dados->cdsCADITEM);
    atualizaSaldoFlex();
}

void F530PDV::gravaRecuperacao()
{
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    if (editando(cab))
        cab->post();
    cab->saveToFile(arquivoPedido());
    m_dados->cdsCADITEM->saveToFile(arquivoItens());
    editaCabecalho();
}

void F530PDV::voltaParaPesquisa()
{
    m_estado.pedidoCopiado = false;
    paginas->setCurrentWidget(tbsPesquisa);
    tbsPesquisa->btPesquisarClick();
    m_dados->cdsCADPEDIDO->close();
    m_dados->cdsCADITEM->close();
    dat().sessao.editaRecuperados = false;
    QFile::remove(arquivoPedido());
    QFile::remove(arquivoItens());
}

void F530PDV::btSalvarClick()
{
    const CursorEspera cursor;
    limpaClientePedido();
    itens->seletor->EDCODPRO->clear();
    itens->seletor->EDDESPRO->clear();
    itens->seletor->cbFamilias->setChecked(false);

    if (recalculaItens()) {
        const MensagemPedido pergunta = ValidacaoGravacaoPedido::perguntaItensCorrigidos();
        if (dat().exibeMensagem(pergunta.texto, pergunta.tipo, pergunta.cor, pergunta.botoes) != RespostaMensagem::Sim)
            return;
    }
    if (!m_itensSemPreco.isEmpty()) {
        const MensagemPedido pergunta = RecalculoItens::perguntaProdutosAusentes(m_itensSemPreco);
        if (dat().exibeMensagem(pergunta.texto, pergunta.tipo, pergunta.cor, pergunta.botoes) != RespostaMensagem::Sim)
            return;
    }
    atualizaSaldoFlex();
    cabecalho->posicionaListas();

    ValidacaoGravacaoPedido::Entrada in;
    {
        const QScopedValueRollback<bool> guarda(m_estado.recarrega, false);
        in = m_dados->entradaGravacao(dat().sessao.CODEMP);
    }
    in.codigoLiberacao = cabecalho->liberacao();
    in.saldoFlex = m_estado.saldoFlex;
    in.flexAbertura = m_estado.flexAbertura;

    const ValidacaoGravacaoPedido validador(&D500DAT::geraSenhaLiberacao);
    const ValidacaoGravacaoPedido::Resultado r = validador.valida(in);
    if (r.recusa) {
        mostra(*r.recusa);
        return;
    }
    for (const MensagemPedido &aviso : r.avisos)
        mostra(aviso);
    if (r.limpaCodigoLiberacao)
        cabecalho->limpaLiberacao();

    m_dados->gravaPedido(r);
    voltaParaPesquisa();
}

void F530PDV::btVoltarClick()
{
    TClientDataSetPlus *cab = m_dados->cdsCADPEDIDO;
    TClientDataSetPlus *it = m_dados->cdsCADITEM;
    const bool digitado = cab->active() && cab->asString(QStringLiteral("SITPDF")) == QLatin1String("D");
    if ((digitado || m_estado.pedidoCopiado)
        && dat().exibeMensagem(QStringLiteral("AS ALTERAÇÕES NO PEDIDO NÃO SERÃO SALVAS, DESEJA REALMENTE VOLTAR ?"),
                               TipoMensagem::Aviso, CorMensagem::Vermelho, BotoesMensagem::SimNao)
            != RespostaMensagem::Sim)
        return;
    const GravacaoPedido::Chave pedido{PedidoDados::codigo(cab, QStringLiteral("CODEMP")),
                                 PedidoDados::codigo(cab, QStringLiteral("CODPDF")),
                                 PedidoDados::codigo(cab, QStringLiteral("CODINT"))};
    for (TClientDataSetPlus *ds : {cab, it}) {
        if (!ds->active())
            continue;
        if (editando(ds))
            ds->cancel();
        ds->clearFilter();
        ds->cancelUpdates();
    }
    if (m_estado.pedidoCopiado)
        GravacaoPedido::excluiExato(m_dados->connection(), pedido);
    limpaClientePedido();
    voltaParaPesquisa();
}
