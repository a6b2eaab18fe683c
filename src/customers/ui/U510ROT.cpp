#include "U510ROT.h"

#include "AvisoCliente.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "FormatosColunas.h"
#include "GradeDados.h"
#include "InicioPedido.h"
#include "LigaAcao.h"
#include "ModuleFrame.h"
#include "RoteiroClientes.h"
#include "U500CAD.h"

#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

F510ROT::F510ROT(QWidget *parent)
    : F599CAD(parent)
    , m_roteiro(std::make_unique<RoteiroClientes>(dat().cnxFirebird))
{
    setWindowTitle(QStringLiteral("Roteiro de Clientes"));
    // A date box with a calendar cannot hold an impossible date: the search always has one.
    eddata = new QDateEdit;
    eddata->setDisplayFormat(Formatos::dateForm());
    eddata->setCalendarPopup(true);
    auto *btPesquisar = new QPushButton(QStringLiteral("Pesquisar"));
    lbldia = new QLabel;
    lblsemana = new QLabel;
    auto *caixaDia = new QFrame;
    caixaDia->setFrameShape(QFrame::StyledPanel);
    auto *dia = new QHBoxLayout(caixaDia);
    dia->addWidget(new QLabel(QStringLiteral("Dia : ")));
    dia->addWidget(lbldia);
    dia->addSpacing(12);
    dia->addWidget(new QLabel(QStringLiteral("Semana Mês : ")));
    dia->addWidget(lblsemana);
    auto *topo = new QHBoxLayout;
    topo->addWidget(new QLabel(QStringLiteral("Data :")));
    topo->addWidget(eddata);
    topo->addWidget(btPesquisar);
    topo->addWidget(caixaDia);
    topo->addStretch();

    TClientDataSetPlus &rot = m_roteiro->cdsRoteiro();
    dbgPesquisa = new GradeDados(rot, {{QStringLiteral("CODCLI"), QStringLiteral("Código")},
                                       {QStringLiteral("RAZCLI"), QStringLiteral("Razão Social")},
                                       {QStringLiteral("NOMCID"), QStringLiteral("Cidade")},
                                       {QStringLiteral("ENDCLI"), QStringLiteral("Endereço")},
                                       {QStringLiteral("TELEND"), QStringLiteral("Telefone")}});
    dbgPesquisa->setEstilo([this](int linha, const QString &, int role) -> QVariant {
        if (role == Qt::BackgroundRole && dbgPesquisa->valor(linha, QStringLiteral("TEMPED")).toDouble() > 0)
            return QColor(192, 220, 192);
        return {};
    });

    auto *rodape = new QHBoxLayout;
    auto *btPedido = new QPushButton(QStringLiteral("Pedido de Venda"));
    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    rodape->addWidget(btPedido);
    rodape->addStretch();
    rodape->addWidget(btFechar);

    auto *layout = new QVBoxLayout(conteudo());
    layout->addLayout(topo);
    layout->addWidget(dbgPesquisa, 1);
    layout->addLayout(rodape);

    ligaAcao(btPesquisar, &QPushButton::clicked, this, &F510ROT::btPesquisarClick);
    ligaAcao(btPedido, &QPushButton::clicked, this, &F510ROT::SpeedButton1Click);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);

    // FormCreate
    eddata->setDate(QDate::currentDate());
    btPesquisarClick();
}

F510ROT::~F510ROT() = default;

void F510ROT::btPesquisarClick()
{
    const QDate data = eddata->date();
    lbldia->setText(RoteiroClientes::nomeDia(data.dayOfWeek()));
    const int semana = m_roteiro->pesquisa(dat().sessao.CODEMP, data);
    lblsemana->setText(FormatosColunas::formata(QStringLiteral("SEMANA"), semana));
}

void F510ROT::SpeedButton1Click()
{
    TClientDataSetPlus &rot = m_roteiro->cdsRoteiro();
    if (!rot.active() || rot.isEmpty() || rot.isNull(QStringLiteral("CODCLI")))
        return;
    const QString recusa = InicioPedido::recusaRoteiro(dat().sessao.atualizacaoExpirada);
    if (!recusa.isEmpty()) {
        dat().exibeMensagem(recusa, TipoMensagem::Erro, CorMensagem::Vermelho);
        return;
    }
    if (AvisoCliente::temAviso(rot.asString(QStringLiteral("EMIAVS"))))
        dat().exibeMensagem(AvisoCliente::texto(rot.asString(QStringLiteral("OBSCLI"))), TipoMensagem::Aviso,
                            CorMensagem::Vermelho);
    const InicioPedido::Cliente cliente{rot.asString(QStringLiteral("CODCLI")), QStringLiteral("0"),
                                        rot.asString(QStringLiteral("CODVEN")), QStringLiteral("A")};
    InicioPedido::entrega(*D500CAD::instance(), cliente, dat().sessao.CODVEN);
    if (ModuleFrame *frame = ModuleFrame::instance())
        frame->abreJanela(QStringLiteral("F530PDV"));
}
