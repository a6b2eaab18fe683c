#include "U500PRI.h"

#include "ClientDataSetPlus.h"
#include "ConfiguracaoSistema.h"
#include "CorConfigurada.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "Encerramento.h"
#include "Formatos.h"
#include "Icones.h"
#include "ModuleFrame.h"
#include "Relogio.h"
#include "U500ATS.h"
#include "U500LOG.h"
#include "ValidadeAtualizacao.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMetaObject>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kArquivoBanco = QStringLiteral("ORVALIS.FDB");
const QString kRecuperadoPedido = QStringLiteral("BKPPED.XML");
const QString kRecuperadoItens = QStringLiteral("BKPITEM.XML");

const QColor kVermelho(255, 0, 0);
const QColor kVerde(0, 128, 0);
const QColor kAzul(0, 0, 255);

Sessao &sessao()
{
    return D500DAT::instance()->sessao;
}

void pintaTexto(QLabel *label, const QColor &colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

// The colour a system colour number stands for on this platform.
QColor corDoSistema(int indice, const QPalette &palette)
{
    switch (indice) {
    case 4: case 15: case 30: return palette.color(QPalette::Button);      // menu, button face, menu bar
    case 5: return palette.color(QPalette::Base);                         // window
    case 7: case 8: case 18: return palette.color(QPalette::WindowText);   // texts
    case 13: case 29: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 16: return palette.color(QPalette::Mid);
    case 17: return palette.color(QPalette::Disabled, QPalette::WindowText);
    case 20: case 22: return palette.color(QPalette::Light);
    case 21: return palette.color(QPalette::Shadow);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    case 12: return palette.color(QPalette::Dark);                        // MDI workspace
    case 2: case 27: return palette.color(QPalette::Highlight);            // active caption
    default: return palette.color(QPalette::Window);
    }
}

bool loginPadrao(QWidget *parent)
{
    F500LOG login(parent);
    return login.exec() == QDialog::Accepted;
}

void trocaSenhaPadrao(QWidget *parent)
{
    F500ATS troca(parent);
    troca.exec();
}

F500PRI::Ganchos ganchosPadrao()
{
    F500PRI::Ganchos g;
    g.login = &loginPadrao;
    g.trocaSenha = &trocaSenhaPadrao;
    g.mensagensNovas = [](const QString &) { return false; };
    g.limpaClientePedido = [] {};
    return g;
}

} // namespace

F500PRI::Ganchos &F500PRI::ganchos()
{
    static Ganchos g = ganchosPadrao();
    return g;
}

void F500PRI::restauraGanchos()
{
    ganchos() = ganchosPadrao();
}

QString F500PRI::textoVersao()
{
    return QStringLiteral("Versão: 1.0.2.6");
}

F500PRI::F500PRI(QWidget *parent)
    : QMainWindow(parent)
{
    montaTela();
    FormCreate();
}

F500PRI::~F500PRI()
{
    // The module windows go down with this window: their ends must not refresh it.
    m_frame->desliga();
}

void F500PRI::montaTela()
{
    setWindowTitle(QStringLiteral("Sistema de Korvex"));
    setWindowIcon(Icones::icone(QStringLiteral("korvex")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(553, 523);

    auto *central = new QWidget(this);
    auto *coluna = new QVBoxLayout(central);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->setSpacing(0);

    // Header strip.
    auto *cabecalho = new QFrame(central);
    cabecalho->setObjectName(QStringLiteral("pnCabecalho"));
    cabecalho->setFrameShape(QFrame::StyledPanel);
    cabecalho->setFixedHeight(44);
    auto *linha = new QHBoxLayout(cabecalho);
    linha->setContentsMargins(8, 4, 6, 4);
    linha->setSpacing(6);
    QFont negrito = font();
    negrito.setBold(true);
    auto *rotuloUsuario = new QLabel(QStringLiteral("Usuário :"), cabecalho);
    lblusuario = new QLabel(QStringLiteral("NÃO CONFIGURADO"), cabecalho);
    lblusuario->setObjectName(QStringLiteral("lblusuario"));
    lblusuario->setFont(negrito);
    pintaTexto(lblusuario, kAzul);
    auto *rotuloAtualizado = new QLabel(QStringLiteral("Atualizado :"), cabecalho);
    lblatualizado = new QLabel(QStringLiteral("00/00/0000 00:00"), cabecalho);
    lblatualizado->setObjectName(QStringLiteral("lblatualizado"));
    lblatualizado->setFont(negrito);
    pintaTexto(lblatualizado, kVermelho);
    btFechar = new QToolButton(cabecalho);
    btFechar->setObjectName(QStringLiteral("btFechar"));
    btFechar->setText(QStringLiteral("Sair"));
    btFechar->setIcon(Icones::icone(QStringLiteral("sair")));
    btFechar->setIconSize(QSize(24, 24));
    btFechar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btFechar->setFixedSize(84, 34);
    btFechar->setFont(negrito);
    linha->addWidget(rotuloUsuario);
    linha->addWidget(lblusuario);
    linha->addSpacing(18);
    linha->addWidget(rotuloAtualizado);
    linha->addWidget(lblatualizado);
    linha->addStretch(1);
    linha->addWidget(btFechar);
    coluna->addWidget(cabecalho);

    // The module area: the menu panel lies over the MDI area until a module window opens.
    auto *area = new QWidget(central);
    auto *sobreposicao = new QGridLayout(area);
    sobreposicao->setContentsMargins(0, 0, 0, 0);
    m_area = new QMdiArea(area);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    PMENU = new QFrame(area);
    PMENU->setObjectName(QStringLiteral("PMENU"));
    PMENU->setAutoFillBackground(true);
    auto *grade = new QGridLayout(PMENU);
    grade->setContentsMargins(14, 10, 14, 10);
    grade->setSpacing(8);
    const struct
    {
        const char *name;
        const char *caption;
        const char *icon;
        void (F500PRI::*handler)();
    } botoes[] = {
        {"btClientes", "Clientes", "clientes", &F500PRI::btClientesClick},
        {"btProduto", "Produtos", "produtos", &F500PRI::btProdutoClick},
        {"btMensagem", "Mensagens", "mensagens", &F500PRI::btMensagemClick},
        {"btPedido", "Pedidos", "pedidos", &F500PRI::btPedidoClick},
        {"btFinanceiro", "Financeiro", "financeiro", &F500PRI::btFinanceiroClick},
        {"btRelatorios", "Relatórios", "relatorios", &F500PRI::btRelatoriosClick},
        {"btRoteiro", "Roteiro", "roteiro", &F500PRI::btRoteiroClick},
        {"btsupervisor", "Supervisor", "supervisor", &F500PRI::btsupervisorClick},
        {"btconexao", "Conexão", "conexao", &F500PRI::btconexaoClick},
    };
    int posicao = 0;
    for (const auto &b : botoes) {
        QToolButton *botao = botaoModulo(QString::fromLatin1(b.name), QString::fromUtf8(b.caption),
                                         QString::fromLatin1(b.icon));
        connect(botao, &QToolButton::clicked, this, b.handler);
        grade->addWidget(botao, posicao / 3, posicao % 3, Qt::AlignCenter);
        ++posicao;
    }
    sobreposicao->addWidget(m_area, 0, 0);
    sobreposicao->addWidget(PMENU, 0, 0);
    PMENU->raise();
    coluna->addWidget(area, 1);
    setCentralWidget(central);

    // Status bar: company, version, product.
    QStatusBar *barra = new QStatusBar(this);
    barra->setObjectName(QStringLiteral("StatusBar1"));
    barra->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_paineis[i] = new QLabel(barra);
        m_paineis[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        m_paineis[i]->setFrameShape(QFrame::Panel);
        m_paineis[i]->setFrameShadow(QFrame::Sunken);
        if (i < 2)
            m_paineis[i]->setFixedWidth(200);
        barra->addWidget(m_paineis[i], i == 2 ? 1 : 0);
    }
    m_paineis[1]->setText(textoVersao());
    m_paineis[2]->setText(QStringLiteral("Korvex"));
    setStatusBar(barra);

    connect(btFechar, &QToolButton::clicked, this, &F500PRI::btFecharClick);
    m_frame = new ModuleFrame(m_area, PMENU, btFechar, [this] { atualizaTelaPrincipal(); }, this);

    if (const QScreen *tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - rect().center());
}

QToolButton *F500PRI::botaoModulo(const QString &name, const QString &caption, const QString &icon)
{
    auto *botao = new QToolButton(PMENU);
    botao->setObjectName(name);
    botao->setText(caption);
    botao->setIcon(Icones::icone(icon));
    botao->setIconSize(QSize(76, 76));
    botao->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    botao->setFixedSize(156, 143);
    QFont fonte = botao->font();
    fonte.setBold(true);
    fonte.setPointSize(13);
    botao->setFont(fonte);
    botao->setAutoRaise(false);
    botao->setFocusPolicy(Qt::StrongFocus);
    return botao;
}

void F500PRI::aplicaCorMenu(const QString &texto)
{
    const CorConfigurada cor = CorConfigurada::interpreta(texto);
    QPalette p = PMENU->palette();
    QColor fundo;
    switch (cor.tipo()) {
    case CorConfigurada::Tipo::Rgb:
        fundo = QColor::fromRgb(cor.rgb());
        break;
    case CorConfigurada::Tipo::Sistema:
        fundo = corDoSistema(cor.indiceSistema(), palette());
        break;
    case CorConfigurada::Tipo::Padrao:
        fundo = corDoSistema(CorConfigurada::btnFace, palette());
        break;
    }
    p.setColor(QPalette::Window, fundo);
    PMENU->setPalette(p);
}

// --------------------------------------------------------------- creation

void F500PRI::FormCreate()
{
    Sessao &s = sessao();
    const ConfiguracaoSistema config =
        ConfiguracaoSistema::carrega(QDir::current().filePath(ConfiguracaoSistema::nomeArquivo()));
    s.portaServidor = config.portaKqx();
    m_paineis[0]->setText(config.empresa());
    aplicaCorMenu(config.cor());
    s.mostraMetas = false;
    s.CODUSU.clear();
    s.NOMUSU.clear();
    s.HSTSRV.clear();
    s.horasValidade = 24;

    // A database that does not open leaves the window without login; showing it then takes
    // the path of a notebook without user (the sync window brings a database).
    const bool aberto = dat().executaAcao([] {
        dat().cnxFirebird.close();
        dat().cnxFirebird.setDatabaseName(QDir::current().absoluteFilePath(kArquivoBanco));
        dat().cnxFirebird.open();
    });
    if (!aberto)
        return;

    bool lido = true;
    try {
        dat().abreLogado();
    } catch (const DatabaseError &) {
        lido = false; // an older file: no full user row, the session comes from the minimum
    }
    if (!lido) {
        dat().executaAcao([] { dat().carregaUsuarioMinimo(); });
        return;
    }
    if (!dat().cdsLogado->isEmpty() && !ganchos().login(this))
        Encerramento::encerraPrograma();
}

// --------------------------------------------------------------- shown

void F500PRI::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_mostrado || Encerramento::solicitado())
        return;
    m_mostrado = true;
    // The checks (and their boxes) run once the window is on the screen behind them.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (Encerramento::solicitado())
                return;
            FormShow();
            // A window shown is the active one, and its activation came before the session
            // was loaded: run it now (window systems without a window manager never send it).
            FormActivate();
        },
        Qt::QueuedConnection);
}

void F500PRI::FormShow()
{
    TClientDataSetPlus *logado = dat().cdsLogado;
    if (!logado->active() || logado->isEmpty()) {
        // No user on this notebook: the sync window configures one. Without it in the program,
        // behave as if it had been closed at once.
        if (!m_frame->abreJanela(QStringLiteral("F599ATL")))
            atualizaTelaPrincipal();
        return;
    }
    dat().executaAcao([this] {
        Sessao &s = sessao();
        dat().carregaUsuario();
        atualizaValidade();

        s.editaRecuperados = false;
        const QDir pasta = QDir::current();
        if (QFile::exists(pasta.filePath(kRecuperadoPedido)) && QFile::exists(pasta.filePath(kRecuperadoItens))) {
            const RespostaMensagem resposta = dat().exibeMensagem(
                QStringLiteral("EXISTEM PEDIDOS QUE FORAM RECUPERADOS DESEJA EDITÁ-LOS AGORA ?\n"
                               "CASO ESCOLHA NÃO OS MESMO SERÃO PERDIDOS !"),
                TipoMensagem::Aviso, CorMensagem::Vermelho, BotoesMensagem::SimNao);
            if (resposta == RespostaMensagem::Sim) {
                s.editaRecuperados = true;
                ganchos().limpaClientePedido();
                if (!s.CODVEN.isEmpty())
                    m_frame->abreJanela(QStringLiteral("F530PDV"));
            } else {
                QFile::remove(pasta.filePath(kRecuperadoPedido));
                QFile::remove(pasta.filePath(kRecuperadoItens));
            }
        }

        if (ganchos().mensagensNovas(s.CODEMP))
            dat().exibeMensagem(QStringLiteral("EXISTE MENSAGEM NOVAS QUE AINDA NÃO FORAM LIDAS. VERIFIQUE!"),
                                TipoMensagem::Informacao, CorMensagem::Verde);
        atualizaCabecalho();
    });
}

void F500PRI::atualizaValidade()
{
    Sessao &s = sessao();
    TClientDataSetPlus *logado = dat().cdsLogado;
    logado->first();
    const QDate data = logado->isNull(QStringLiteral("DATATL")) ? QDate() : logado->asDate(QStringLiteral("DATATL"));
    const QTime hora = logado->isNull(QStringLiteral("HORATL")) ? QTime() : logado->asTime(QStringLiteral("HORATL"));
    s.atualizacaoExpirada = ValidadeAtualizacao::expirada(data, hora, s.horasValidade, Relogio::agora());
    pintaTexto(lblatualizado, s.atualizacaoExpirada ? kVermelho : kVerde);
}

void F500PRI::atualizaCabecalho()
{
    TClientDataSetPlus *logado = dat().cdsLogado;
    logado->first();
    lblusuario->setText(sessao().NOMUSU.toUpper());
    const QDate data = logado->isNull(QStringLiteral("DATATL")) ? QDate() : logado->asDate(QStringLiteral("DATATL"));
    const QTime hora = logado->isNull(QStringLiteral("HORATL")) ? QTime(0, 0) : logado->asTime(QStringLiteral("HORATL"));
    const QString textoData = data.isValid() ? data.toString(Formatos::dateForm()) : QStringLiteral("00/00/0000");
    lblatualizado->setText(textoData + QStringLiteral(" - ") + hora.toString(QStringLiteral("HH:mm")));
}

// --------------------------------------------------------------- activated

void F500PRI::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_mostrado)
        QMetaObject::invokeMethod(this, &F500PRI::FormActivate, Qt::QueuedConnection);
}

void F500PRI::FormActivate()
{
    if (m_trocandoSenha || Encerramento::solicitado())
        return;
    const Sessao &s = sessao();
    if (s.EXPSEN != QLatin1String("S") || s.CODUSU.isEmpty())
        return;
    m_trocandoSenha = true;
    ganchos().trocaSenha(this);
    m_trocandoSenha = false;
}

// --------------------------------------------------------------- module windows

void F500PRI::atualizaTelaPrincipal()
{
    Sessao &s = sessao();
    // Another module window still open stays in front: the menu comes back only over none.
    const bool semJanelas = m_area->subWindowList().isEmpty();
    if (semJanelas)
        PMENU->show();
    if (s.CODUSU.isEmpty()) {
        dat().exibeMensagem(QStringLiteral("O SISTEMA SERÁ FINALIZADO POIS NENHUM USUÁRIO FOI CONFIGURADO PARA "
                                           "UTILIZAR O SISTEMA."),
                            TipoMensagem::Erro, CorMensagem::Vermelho);
        Encerramento::encerraPrograma();
        return;
    }
    dat().executaAcao([this] {
        TClientDataSetPlus *logado = dat().cdsLogado;
        if (!logado->active() || logado->isEmpty())
            return;
        atualizaValidade();
        atualizaCabecalho();
        if (ganchos().mensagensNovas(sessao().CODEMP))
            dat().exibeMensagem(QStringLiteral("EXISTEM MENSAGENS NOVAS QUE AINDA NÃO FORAM LIDAS. VERIFIQUE!"),
                                TipoMensagem::Informacao, CorMensagem::Verde);
    });
    if (semJanelas)
        btFechar->show();
    if (s.mostraMetas && !s.CODVEN.isEmpty()) {
        m_frame->abreJanela(QStringLiteral("F599VEL"));
        s.mostraMetas = false;
    }
}

bool F500PRI::recusaPorValidade()
{
    if (!sessao().atualizacaoExpirada)
        return false;
    dat().exibeMensagem(QStringLiteral("Não é permitido acessar Pedidos com ATUALIZAÇÃO EXPIRADA."),
                        TipoMensagem::Erro, CorMensagem::Vermelho);
    return true;
}

void F500PRI::btClientesClick()
{
    if (!sessao().CODVEN.isEmpty())
        m_frame->abreJanela(QStringLiteral("F510CLI"));
}

void F500PRI::btProdutoClick()
{
    if (!sessao().CODVEN.isEmpty())
        m_frame->abreJanela(QStringLiteral("F511PRO"));
}

void F500PRI::btMensagemClick()
{
    m_frame->abreJanela(QStringLiteral("F599MSG"));
}

void F500PRI::btPedidoClick()
{
    if (recusaPorValidade())
        return;
    ganchos().limpaClientePedido();
    if (!sessao().CODVEN.isEmpty())
        m_frame->abreJanela(QStringLiteral("F530PDV"));
}

void F500PRI::btFinanceiroClick()
{
    if (recusaPorValidade())
        return;
    if (!sessao().CODVEN.isEmpty())
        m_frame->abreJanela(QStringLiteral("F550TRC"));
}

void F500PRI::btRelatoriosClick()
{
    m_frame->abreJanela(QStringLiteral("F599REL"));
}

void F500PRI::btRoteiroClick()
{
    if (!sessao().CODVEN.isEmpty())
        m_frame->abreJanela(QStringLiteral("F510ROT"));
}

void F500PRI::btsupervisorClick()
{
    if (sessao().usuarioSupervisor)
        m_frame->abreJanela(QStringLiteral("F512SUP"));
}

void F500PRI::btconexaoClick()
{
    m_frame->abreJanela(QStringLiteral("F599ATL"));
}

void F500PRI::btFecharClick()
{
    close();
}

// --------------------------------------------------------------- closing

void F500PRI::closeEvent(QCloseEvent *event)
{
    if (Encerramento::solicitado()) {
        event->accept();
        return;
    }
    const RespostaMensagem resposta = dat().exibeMensagem(QStringLiteral("Deseja realmente SAIR do Sistema ?"),
                                                          TipoMensagem::Confirmacao, CorMensagem::Azul,
                                                          BotoesMensagem::SimNao);
    if (resposta != RespostaMensagem::Sim) {
        event->ignore();
        return;
    }
    event->accept();
    Encerramento::encerraPrograma();
}
