#include "PainelCabecalho.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "LigaAcao.h"
#include "RegrasCabecalhoPedido.h"
#include "PedidoDados.h"
#include "PedidoEstado.h"
#include "SqlText.h"
#include "U599PSQ.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTextCursor>

namespace {

QString cor(RegrasCabecalhoPedido::CorSituacao c)
{
    switch (c) {
    case RegrasCabecalhoPedido::CorSituacao::Verde: return QStringLiteral("green");
    case RegrasCabecalhoPedido::CorSituacao::Roxo: return QStringLiteral("purple");
    case RegrasCabecalhoPedido::CorSituacao::AzulMarinho: return QStringLiteral("navy");
    case RegrasCabecalhoPedido::CorSituacao::Vermelho: return QStringLiteral("red");
    }
    return QString();
}

QString dinheiro(const Decimal &valor)
{
    return Formatos::formatMask(valor.toDouble(), QStringLiteral("##,###,##0.00"));
}

} // namespace

PainelCabecalho::PainelCabecalho(PedidoEstado &estado, QWidget *parent)
    : QWidget(parent)
    , m_estado(estado)
{
    lblCODPDF = new QLabel;
    lblDATPDF = new QLabel;
    lblCODCLI = new QLabel;
    lblRAZCLI = new QLabel;
    lblCIDADE = new QLabel;
    lblTabela = new QLabel;
    SpeedButton1 = new QPushButton(QStringLiteral("..."));
    DBLookupComboBox1 = new QComboBox;
    DBLookupComboBox2 = new QComboBox;
    DBLookupComboBox3 = new QComboBox;
    lblSituacao = new QLabel;
    lblRepresentante = new QLabel;
    lblSubVend = new QLabel;
    lblFatur = new QLabel(QStringLiteral("--------------"));
    lblEntr = new QLabel(QStringLiteral("--------------"));
    edOBSCLI = new QPlainTextEdit;
    edMOTCAN = new QPlainTextEdit;
    edMOTCAN->setReadOnly(true);
    cbOrcamento = new QCheckBox(QStringLiteral("ORÇAMENTO"));
    gbRetirar = new QGroupBox;
    cbRetirar = new QCheckBox(QStringLiteral("RETIRAR"));
    auto *retirar = new QHBoxLayout(gbRetirar);
    retirar->setContentsMargins(6, 2, 6, 2);
    retirar->addWidget(cbRetirar);
    edLiberacao = new QLineEdit;
    lblSaldo = new QLabel;
    lblPedidoFlex = new QLabel;
    lblTotalFlex = new QLabel;
    lblLimite = new QLabel;
    lblAberto = new QLabel;
    lblAtraso = new QLabel;

    // Names take the room that is left rather than widening the page past the main window.
    for (QLabel *nome : {lblRAZCLI, lblRepresentante, lblSubVend})
        nome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    SpeedButton1->setMaximumWidth(SpeedButton1->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    // The remarks take the height the page has to spare, two lines at least.
    for (QPlainTextEdit *texto : {edOBSCLI, edMOTCAN})
        texto->setMinimumHeight(texto->fontMetrics().lineSpacing() * 2 + 8);
    auto *cliente = new QHBoxLayout;
    cliente->setSpacing(6);
    cliente->addWidget(lblCODCLI);
    cliente->addWidget(lblRAZCLI, 1);
    cliente->addWidget(lblCIDADE);
    cliente->addWidget(SpeedButton1);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Pedido:"), lblCODPDF);
    form->addRow(QStringLiteral("Data:"), lblDATPDF);
    form->addRow(QStringLiteral("Cliente:"), cliente);
    form->addRow(QStringLiteral("Tabela :"), lblTabela);
    form->addRow(QStringLiteral("Transação:"), DBLookupComboBox1);
    form->addRow(QStringLiteral("Operação:"), DBLookupComboBox2);
    form->addRow(QStringLiteral("Cond. Pagto.:"), DBLookupComboBox3);
    form->addRow(QStringLiteral("Representante :"), lblRepresentante);
    form->addRow(QStringLiteral("Sub Vend. :"), lblSubVend);
    form->addRow(QStringLiteral("Observação:"), edOBSCLI);
    form->addRow(QStringLiteral("Motivo Canc.:"), edMOTCAN);
    form->addRow(QStringLiteral("Liberação:"), edLiberacao);
    // Rows as close as the design's, so the page and the totals below it fit the main window.
    form->setVerticalSpacing(3);

    auto *situacao = new QGroupBox(QStringLiteral("Situação"));
    auto *sl = new QFormLayout(situacao);
    sl->addRow(lblSituacao);
    sl->addRow(QStringLiteral("Fatur.:"), lblFatur);
    sl->addRow(QStringLiteral("Entr.:"), lblEntr);
    auto *flex = new QGroupBox(QStringLiteral("Saldo Flex:"));
    auto *fl = new QFormLayout(flex);
    fl->addRow(QStringLiteral("Saldo:"), lblSaldo);
    fl->addRow(QStringLiteral("Pedido:"), lblPedidoFlex);
    fl->addRow(QStringLiteral("Total:"), lblTotalFlex);
    auto *info = new QGroupBox(QStringLiteral("Informações:"));
    auto *il = new QFormLayout(info);
    il->addRow(QStringLiteral("Limite:"), lblLimite);
    il->addRow(QStringLiteral("Aberto:"), lblAberto);
    il->addRow(QStringLiteral("Atraso:"), lblAtraso);
    for (QFormLayout *quadro : {sl, fl, il}) {
        quadro->setContentsMargins(6, 2, 6, 2);
        quadro->setVerticalSpacing(1);
    }
    auto *lado = new QVBoxLayout;
    lado->setSpacing(3);
    lado->addWidget(situacao);
    lado->addWidget(cbOrcamento);
    lado->addWidget(gbRetirar);
    lado->addWidget(flex);
    lado->addWidget(info);
    lado->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(form, 3);
    layout->addLayout(lado, 1);

    escolheCliente = [this](QString &codigo, QString &descricao) {
        return F599PSQ::abrePesquisa(QStringLiteral("F510CLI"),
                                     {QStringLiteral("CODCLI AS CODIGO"), QStringLiteral("RAZCLI AS \"RAZÃO SOCIAL\""),
                                      QStringLiteral("FANCLI AS FANTASIA")},
                                     QStringLiteral(" AND CODCLI > 0 AND SITCLI IN ('A','I') AND CODEMP = ")
                                         + SqlText::quoted(dat().sessao.CODEMP),
                                     codigo, descricao, this);
    };

    ligaAcao(SpeedButton1, &QPushButton::clicked, this, &PainelCabecalho::SpeedButton1Click);
    connect(DBLookupComboBox1, &QComboBox::activated, this,
            [this] { listaEscolhida(DBLookupComboBox1, QStringLiteral("CODTRA")); });
    connect(DBLookupComboBox2, &QComboBox::activated, this,
            [this] { listaEscolhida(DBLookupComboBox2, QStringLiteral("CODOPE")); });
    connect(DBLookupComboBox3, &QComboBox::activated, this,
            [this] { listaEscolhida(DBLookupComboBox3, QStringLiteral("CODCON")); });
    ligaAcao(edOBSCLI, &QPlainTextEdit::textChanged, this, [this] {
        if (m_carregando)
            return;
        const QString digitado = edOBSCLI->toPlainText();
        QString aceito = digitado;
        for (QString c = SqlText::unstorableCharacter(aceito); !c.isEmpty(); c = SqlText::unstorableCharacter(aceito))
            aceito.remove(c);
        if (aceito != digitado) {
            // The character leaves the box at once: otherwise every following key would be refused again.
            QScopedValueRollback<bool> recarga(m_carregando, true);
            const int posicao = edOBSCLI->textCursor().position() - int(digitado.size() - aceito.size());
            edOBSCLI->setPlainText(aceito);
            QTextCursor cursor = edOBSCLI->textCursor();
            cursor.setPosition(qBound(0, posicao, int(aceito.size())));
            edOBSCLI->setTextCursor(cursor);
        }
        gravaCabecalho(QStringLiteral("OBSCLI"), aceito.left(300));
        if (aceito != digitado)
            gravaCabecalho(QStringLiteral("OBSCLI"), digitado.left(300)); // the field's own refusal names the character
    });
    for (const auto &[caixa, campo] : {std::pair{cbOrcamento, "PDFORC"}, std::pair{cbRetirar, "RETPDV"}}) {
        ligaAcao(caixa, &QCheckBox::toggled, this, [this, campo = QLatin1String(campo)](bool marcado) {
            if (!m_carregando)
                gravaCabecalho(campo, marcado ? QStringLiteral("S") : QStringLiteral("N"));
        });
    }
}

bool PainelCabecalho::editando() const
{
    const auto st = m_estado.dados->cdsCADPEDIDO->state();
    return st == TClientDataSetPlus::State::Edit || st == TClientDataSetPlus::State::Insert;
}

void PainelCabecalho::gravaCabecalho(const QString &campo, const QVariant &valor)
{
    if (editando())
        m_estado.dados->cdsCADPEDIDO->setValue(campo, valor);
}

void PainelCabecalho::listaEscolhida(QComboBox *lista, const QString &campoCabecalho)
{
    dat().executaAcao([&] {
        gravaCabecalho(campoCabecalho, lista->currentData());
        posicionaListas();
        emit termosAlterados();
    });
}

void PainelCabecalho::preencheLista(QComboBox *lista, TClientDataSetPlus *ds, const QString &codigo,
                                    const QString &nome, const QString &campoCabecalho)
{
    lista->clear();
    if (ds->active()) {
        ds->clearFilter();
        const int posicao = ds->recNo();
        for (ds->first(); !ds->eof(); ds->next())
            lista->addItem(ds->asString(nome), PedidoDados::codigo(ds, codigo));
        if (posicao >= 0)
            ds->setRecNo(posicao);
    }
    lista->setCurrentIndex(lista->findData(PedidoDados::codigo(m_estado.dados->cdsCADPEDIDO, campoCabecalho)));
}

void PainelCabecalho::posicionaListas()
{
    TClientDataSetPlus *cab = m_estado.dados->cdsCADPEDIDO;
    const struct { TClientDataSetPlus *ds; const char *campo; } listas[] = {
        {m_estado.dados->cdsTransacao, "CODTRA"},
        {m_estado.dados->cdsOperacao, "CODOPE"},
        {m_estado.dados->cdsCondicao, "CODCON"},
    };
    for (const auto &l : listas) {
        const QString campo = QLatin1String(l.campo);
        const QString valor = PedidoDados::codigo(cab, campo);
        if (!l.ds->active())
            continue;
        l.ds->clearFilter();
        // A code that is not in the list leaves no current row to read rules from.
        if (valor.isEmpty() || !l.ds->locate({campo}, {valor}))
            l.ds->setFilter([](const DataRow &) { return false; });
    }
}

void PainelCabecalho::carregaCliente(const QString &codigo, bool clienteNovo)
{
    PedidoDados &d = *m_estado.dados;
    const QString empresa = dat().sessao.CODEMP;
    const RegrasCabecalhoPedido::ParametrosCliente p = RegrasCabecalhoPedido::parametrosCliente(codigo, clienteNovo);
    const QString E = QStringLiteral("PCODEMP"), C = QStringLiteral("PCODCLI");
    PedidoDados::reabre(d.cdsCliente, {{E, empresa}, {C, p.clienteCODCLI}, {QStringLiteral("PCODNOV"), p.clienteCODNOV}});
    lblRAZCLI->setText(d.cdsCliente->isEmpty() ? QString() : d.cdsCliente->asString(QStringLiteral("RAZCLI")));
    lblRAZCLI->setToolTip(lblRAZCLI->text()); // the whole name when the label clips it
    lblCIDADE->setText(d.cdsCliente->isEmpty() ? QString() : d.cdsCliente->asString(QStringLiteral("CIDADE")));
    lblTabela->setText(d.cdsCliente->isEmpty() ? QString() : d.cdsCliente->asString(QStringLiteral("DESTAB")));
    lblCODCLI->setText(codigo);
    PedidoDados::reabre(d.cdsOperacao, {{E, empresa}, {C, p.operacoesCODCLI}});
    PedidoDados::reabre(d.cdsCondicao, {{E, empresa}, {C, p.condicoesCODCLI}});
    PedidoDados::reabre(d.cdsFinanceiro, {{E, empresa}, {C, p.financeiroCODCLI}});
    d.cdsUltimaCompra->clearFilter();
    PedidoDados::reabre(d.cdsUltimaCompra, {{C, p.ultimasComprasCODCLI}});
    if (editando()) {
        TClientDataSetPlus *cab = d.cdsCADPEDIDO;
        cab->setValue(QStringLiteral("CODCLI"), clienteNovo ? QStringLiteral("0") : codigo);
        cab->setValue(QStringLiteral("CODNOV"), clienteNovo ? codigo : QStringLiteral("0"));
        const QString tabela = PedidoDados::codigo(d.cdsCliente, QStringLiteral("CODTAB"));
        if (tabela.isEmpty())
            cab->clearValue(QStringLiteral("CODTAB"));
        else
            cab->setValue(QStringLiteral("CODTAB"), tabela);
        d.cdsImposto->clearFilter();
        PedidoDados::reabre(d.cdsImposto,
                            {{E, empresa},
                             {QStringLiteral("PESTCID"),
                              d.cdsCliente->isEmpty() ? QString() : d.cdsCliente->asString(QStringLiteral("ESTCID"))}});
    }
    lblLimite->setText(dinheiro(PedidoDados::decimal(d.cdsCliente, QStringLiteral("LIMCRE"))));
    lblAberto->setText(dinheiro(PedidoDados::decimal(d.cdsFinanceiro, QStringLiteral("ABERTO"))));
    lblAtraso->setText(dinheiro(PedidoDados::decimal(d.cdsFinanceiro, QStringLiteral("VENCIDO"))));
    m_carregando = true;
    preencheLista(DBLookupComboBox1, d.cdsTransacao, QStringLiteral("CODTRA"), QStringLiteral("DESTRA"),
                  QStringLiteral("CODTRA"));
    preencheLista(DBLookupComboBox2, d.cdsOperacao, QStringLiteral("CODOPE"), QStringLiteral("NOMOPE"),
                  QStringLiteral("CODOPE"));
    preencheLista(DBLookupComboBox3, d.cdsCondicao, QStringLiteral("CODCON"), QStringLiteral("DESCON"),
                  QStringLiteral("CODCON"));
    m_carregando = false;
    posicionaListas();
}

void PainelCabecalho::SpeedButton1Click()
{
    QString codigo, descricao;
    if (escolheCliente && escolheCliente(codigo, descricao) && !codigo.isEmpty())
        carregaCliente(QString::number(codigo.trimmed().toDouble(), 'f', 0), false);
}

void PainelCabecalho::mostraPedido()
{
    PedidoDados &d = *m_estado.dados;
    TClientDataSetPlus *cab = d.cdsCADPEDIDO;
    limpaLiberacao();
    const QString CODCLI = PedidoDados::codigo(cab, QStringLiteral("CODCLI"));
    if (CODCLI.toLongLong() > 0)
        carregaCliente(CODCLI, false);
    else
        carregaCliente(PedidoDados::codigo(cab, QStringLiteral("CODNOV")), true);

    m_carregando = true;
    lblCODPDF->setText(Formatos::formatMask(cab->asFloat(QStringLiteral("CODPDF")), QStringLiteral("00000")));
    lblDATPDF->setText(Formatos::formatDate(cab->asDate(QStringLiteral("DATPDF"))));
    cab->fieldDef(QStringLiteral("OBSCLI")).displayLabel = QStringLiteral("Observação"); // named so in a refusal
    edOBSCLI->setPlainText(cab->asString(QStringLiteral("OBSCLI")));
    edMOTCAN->setPlainText(cab->asString(QStringLiteral("MOTCAN")));
    cbOrcamento->setChecked(cab->asString(QStringLiteral("PDFORC")) == QLatin1String("S"));
    cbRetirar->setChecked(cab->asString(QStringLiteral("RETPDV")) == QLatin1String("S"));
    m_carregando = false;

    const QString SITPDF = cab->asString(QStringLiteral("SITPDF"));
    if (const auto status = RegrasCabecalhoPedido::situacao(SITPDF)) {
        lblSituacao->setText(status->rotulo);
        lblSituacao->setStyleSheet(QStringLiteral("color: %1; font-weight: bold").arg(cor(status->cor)));
    }
    setEnabled(RegrasCabecalhoPedido::editavel(SITPDF));
    for (const auto &[campo, rotulo] : {std::pair{"DATFAT", lblFatur}, std::pair{"DATENT", lblEntr}}) {
        const QDate data = cab->asDate(QLatin1String(campo));
        rotulo->setText(data.isValid() && data != QDate(1899, 12, 30) ? Formatos::formatDate(data)
                                                                      : QStringLiteral("--------------"));
    }
    PedidoDados::reabre(d.cdsVendedores, {{QStringLiteral("PCODEMP"), dat().sessao.CODEMP},
                                          {QStringLiteral("PCODVEN"), PedidoDados::codigo(cab, QStringLiteral("CODVEN"))},
                                          {QStringLiteral("PCODSUB"), PedidoDados::codigo(cab, QStringLiteral("VENSUB"))}});
    if (!d.cdsVendedores->isEmpty()) {
        lblRepresentante->setText(d.cdsVendedores->asString(QStringLiteral("NOMVEN")));
        lblSubVend->setText(d.cdsVendedores->asString(QStringLiteral("NOMSUB")));
    }
    habilitaRetirar();
}

void PainelCabecalho::habilitaRetirar()
{
    gbRetirar->setEnabled(dat().sessao.DESRET > 0);
}

void PainelCabecalho::mostraFlex(const SaldoFlex::Exibicao &flex, const Decimal &totalPedido)
{
    lblSaldo->setText(dinheiro(flex.disponivel));
    lblPedidoFlex->setText(dinheiro(totalPedido));
    lblTotalFlex->setText(dinheiro(flex.total));
    lblTotalFlex->setStyleSheet(flex.corTotal == SaldoFlex::Cor::Verde ? QStringLiteral("color: green")
                                                                               : QStringLiteral("color: red"));
}

QString PainelCabecalho::liberacao() const
{
    return edLiberacao->text();
}

void PainelCabecalho::limpaLiberacao()
{
    edLiberacao->clear();
}
