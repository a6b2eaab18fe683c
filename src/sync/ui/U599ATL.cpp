#include "U599ATL.h"

#include "BaseLocalSincronizacao.h"
#include "ClienteSincronizacao.h"
#include "D500DAT.h"
#include "Encerramento.h"
#include "EstiloSenha.h"
#include "Icones.h"
#include "U500PRI.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <limits>

namespace {

const QString kFechar = QStringLiteral("Fechar");
const QString kCancelar = QStringLiteral("Cancelar");

// The first letter of the reset's shortcut; the user code's digit moves it along.
constexpr int kLetraReinicio = Qt::Key_K;

Sessao &sessao()
{
    return D500DAT::instance()->sessao;
}

QString versaoPrograma()
{
    const QString texto = F500PRI::textoVersao();
    return texto.mid(texto.indexOf(QLatin1Char(' ')) + 1);
}

} // namespace

F599ATL::F599ATL(QWidget *parent)
    : F599CAD(parent)
{
    setObjectName(QStringLiteral("F599ATL"));
    setWindowTitle(QStringLiteral("Atualizar Sistema"));
    m_cliente = new ClienteSincronizacao(dat(), versaoPrograma(), QString(), this);
    m_cliente->aoBaixarNovaVersao = [] {
        QDesktopServices::openUrl(QUrl(enderecoNovaVersao()));
        Encerramento::encerraPrograma();
    };
    montaTela();

    connect(m_cliente, &ClienteSincronizacao::linhaStatus, this, &F599ATL::mostraLog);
    connect(m_cliente, &ClienteSincronizacao::progresso, this, &F599ATL::mostraProgresso);

    // Creation.
    mStatus->clear();
    Action1->setShortcut(atalhoReinicio(sessao().CODUSU));
    const bool configurado = !sessao().CODUSU.isEmpty();
    if (configurado) {
        edservidor->setText(sessao().HSTSRV);
        edusuario->setText(sessao().NOMUSU);
        edsenha->clear();
    }
    edservidor->setReadOnly(configurado);
    edusuario->setReadOnly(configurado);
    edsenha->setReadOnly(configurado);
    btAtualizar->setEnabled(true);
    btFechar->setEnabled(true);
    sessao().mostraMetas = false;
    btFechar->setText(kFechar);
    mostraPendentes();
    // Before "Atualizar" the seller sees what will go up.
    if (configurado)
        pgAtualizacao->setCurrentWidget(dbgPendentes);
}

F599ATL::~F599ATL() = default;

QKeySequence F599ATL::atalhoReinicio(const QString &codigoUsuario)
{
    const int digito = D500DAT::reduzDigitos(codigoUsuario).toInt();
    return QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key(kLetraReinicio + digito)));
}

QString F599ATL::enderecoNovaVersao()
{
    return QStringLiteral("https://www.korvex.com.br/download/atl_korvex.exe");
}

void F599ATL::montaTela()
{
    QWidget *area = conteudo();
    auto *coluna = new QVBoxLayout(area);
    coluna->setContentsMargins(12, 12, 12, 12);
    coluna->setSpacing(8);

    auto *grade = new QGridLayout;
    grade->setHorizontalSpacing(6);
    edservidor = new QLineEdit(area);
    edservidor->setObjectName(QStringLiteral("edservidor"));
    edusuario = new QLineEdit(area);
    edusuario->setObjectName(QStringLiteral("edusuario"));
    edsenha = new QLineEdit(area);
    edsenha->setObjectName(QStringLiteral("edsenha"));
    EstiloSenha::aplica(edsenha);
    grade->addWidget(new QLabel(QStringLiteral("Servidor : "), area), 0, 0);
    grade->addWidget(edservidor, 0, 1, 1, 3);
    grade->addWidget(new QLabel(QStringLiteral("Usuário : "), area), 1, 0);
    grade->addWidget(edusuario, 1, 1);
    grade->addWidget(new QLabel(QStringLiteral("Senha : "), area), 1, 2);
    grade->addWidget(edsenha, 1, 3);
    coluna->addLayout(grade);

    pgAtualizacao = new QTabWidget(area);
    pgAtualizacao->setObjectName(QStringLiteral("pgAtualizacao"));
    pgAtualizacao->setFocusPolicy(Qt::NoFocus);
    mStatus = new QPlainTextEdit(pgAtualizacao);
    mStatus->setObjectName(QStringLiteral("mStatus"));
    mStatus->setReadOnly(true);
    mStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mStatus->setFocusPolicy(Qt::NoFocus);
    pgAtualizacao->addTab(mStatus, QStringLiteral("Andamento"));
    dbgPendentes = new QTreeWidget(pgAtualizacao);
    dbgPendentes->setObjectName(QStringLiteral("dbgPendentes"));
    dbgPendentes->setHeaderHidden(true);
    dbgPendentes->setColumnCount(1);
    dbgPendentes->setRootIsDecorated(true);
    dbgPendentes->setFocusPolicy(Qt::NoFocus);
    dbgPendentes->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pgAtualizacao->addTab(dbgPendentes, QStringLiteral("Pendentes de envio"));
    coluna->addWidget(pgAtualizacao, 1);

    ProgressBar1 = new QProgressBar(area);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    coluna->addWidget(ProgressBar1);

    auto *botoes = new QHBoxLayout;
    btAtualizar = new QPushButton(Icones::icone(QStringLiteral("conexao")), QStringLiteral("Atualizar"), area);
    btAtualizar->setObjectName(QStringLiteral("btAtualizar"));
    btFechar = new QPushButton(Icones::icone(QStringLiteral("cancelar")), kFechar, area);
    btFechar->setObjectName(QStringLiteral("btFechar"));
    QFont negrito = btAtualizar->font();
    negrito.setBold(true);
    for (QPushButton *botao : {btAtualizar, btFechar}) {
        botao->setIconSize(QSize(32, 32));
        botao->setMinimumSize(130, 48);
        botao->setFont(negrito);
        botao->setAutoDefault(false);
    }
    botoes->addStretch(1);
    botoes->addWidget(btAtualizar);
    botoes->addWidget(btFechar);
    coluna->addLayout(botoes);

    status = new QTimer(this);
    status->setObjectName(QStringLiteral("status"));
    status->setInterval(500);

    // Enter anywhere in the window, whichever control has the focus.
    for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *atalho = new QShortcut(QKeySequence(tecla), this);
        atalho->setContext(Qt::WidgetWithChildrenShortcut);
        connect(atalho, &QShortcut::activated, this, &F599ATL::btAtualizarClick);
    }

    Action1 = new QAction(this);
    Action1->setObjectName(QStringLiteral("Action1"));
    Action1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(Action1);

    connect(btAtualizar, &QPushButton::clicked, this, &F599ATL::btAtualizarClick);
    connect(btFechar, &QPushButton::clicked, this, &F599ATL::btFecharClick);
    connect(status, &QTimer::timeout, this, &F599ATL::statusTimer);
    connect(Action1, &QAction::triggered, this, &F599ATL::Action1Execute);
}

// ---------------------------------------------------------------- "Atualizar"

void F599ATL::btAtualizarClick()
{
    status->stop();
    const QString servidor = edservidor->text().trimmed();
    const ClienteSincronizacao::Falta falta =
        ClienteSincronizacao::verificaEntrada(sessao(), servidor, edusuario->text(), edsenha->text());
    if (falta != ClienteSincronizacao::Falta::Nada) {
        dat().exibeMensagem(ClienteSincronizacao::mensagemFalta(falta), TipoMensagem::Erro, CorMensagem::Vermelho);
        switch (falta) {
        case ClienteSincronizacao::Falta::Servidor:
            edservidor->setFocus();
            break;
        case ClienteSincronizacao::Falta::Usuario:
            edusuario->setFocus();
            break;
        default:
            edsenha->setFocus();
            break;
        }
        return;
    }

    btFechar->setText(kCancelar);
    pgAtualizacao->setCurrentWidget(mStatus);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    btAtualizar->setEnabled(false);
    ProgressBar1->setValue(ProgressBar1->minimum());
    status->start();
    const bool iniciada = m_cliente->iniciaAtualizacao(servidor, edusuario->text(), edsenha->text());
    mostraLog();
    QApplication::restoreOverrideCursor();
    if (!iniciada)
        voltaAoRepouso();
}

// ---------------------------------------------------------------- timer

void F599ATL::statusTimer()
{
    m_cliente->tick();
    mostraLog();
    if (m_cliente->fimAtualizacao())
        voltaAoRepouso();
}

void F599ATL::voltaAoRepouso()
{
    btAtualizar->setEnabled(true);
    btFechar->setText(kFechar);
    status->stop();
    mostraPendentes();
}

void F599ATL::mostraPendentes()
{
    const bool enviados = m_cliente->sucesso();
    QList<GrupoPendentes> grupos;
    if (enviados)
        grupos = m_cliente->enviados();
    else
        dat().executaAcao([this, &grupos] { grupos = m_cliente->pendentes(); });

    dbgPendentes->clear();
    const int pagina = pgAtualizacao->indexOf(dbgPendentes);
    const int total = PendentesEnvio::total(grupos);
    const QString titulo = enviados ? QStringLiteral("Enviados") : QStringLiteral("Pendentes de envio");
    pgAtualizacao->setTabText(pagina, total > 0 ? QStringLiteral("%1 (%2)").arg(titulo).arg(total) : titulo);
    if (grupos.isEmpty()) {
        new QTreeWidgetItem(dbgPendentes, {enviados ? QStringLiteral("Nada foi enviado.")
                                                    : QStringLiteral("Nada a enviar.")});
        return;
    }
    for (const GrupoPendentes &grupo : grupos) {
        auto *item = new QTreeWidgetItem(dbgPendentes,
                                         {QStringLiteral("%1 (%2)").arg(grupo.titulo).arg(grupo.linhas.size())});
        QFont negrito = item->font(0);
        negrito.setBold(true);
        item->setFont(0, negrito);
        for (const QString &linha : grupo.linhas) {
            auto *filho = new QTreeWidgetItem(item, {linha});
            filho->setToolTip(0, linha);
        }
    }
    dbgPendentes->expandAll();
}

void F599ATL::mostraLog()
{
    mStatus->setPlainText(dat().logAtualizacao.join(QLatin1Char('\n')));
    mStatus->verticalScrollBar()->setValue(mStatus->verticalScrollBar()->maximum());
}

void F599ATL::mostraProgresso(qint64 recebidos, qint64 total)
{
    // The bar counts in int: a package beyond its range is shown in kibibytes.
    const qint64 escala = total > std::numeric_limits<int>::max() ? 1024 : 1;
    ProgressBar1->setMaximum(static_cast<int>(std::max<qint64>(1, total / escala)));
    ProgressBar1->setValue(static_cast<int>(recebidos / escala));
}

// ---------------------------------------------------------------- "Fechar" / "Cancelar"

void F599ATL::btFecharClick()
{
    if (btFechar->text() == kCancelar) {
        m_cliente->cancela();
        voltaAoRepouso();
        return;
    }
    const Sessao &s = sessao();
    if (s.EXPSEN != QLatin1String("S") || s.CODUSU.isEmpty()) {
        close();
        return;
    }
    F500PRI::ganchos().trocaSenha(this);
    const RespostaMensagem resposta = dat().exibeMensagem(
        QStringLiteral("Sua senha foi alterada e precisa fazer nova atualização. Deseja Atualizar agora ?"),
        TipoMensagem::Confirmacao, CorMensagem::Verde, BotoesMensagem::SimNao);
    if (resposta == RespostaMensagem::Sim)
        btAtualizarClick();
    else
        close();
}

void F599ATL::closeEvent(QCloseEvent *event)
{
    status->stop();
    m_cliente->cancela();
    F599CAD::closeEvent(event);
}

// ---------------------------------------------------------------- reset of the local database

void F599ATL::Action1Execute()
{
    dat().executaAcao([] {
        BaseLocalSincronizacao base(dat().cnxFirebird);
        if (base.tabelas().isEmpty())
            return;
        const RespostaMensagem resposta = dat().exibeMensagem(
            QStringLiteral("Deseja REALMENTE desconfigurar o sistema de KORVEX ? Todas informações serão apagadas!"),
            TipoMensagem::Aviso, CorMensagem::Vermelho, BotoesMensagem::SimNao);
        if (resposta != RespostaMensagem::Sim)
            return;
        base.esvaziaTabelas();
        dat().exibeMensagem(QStringLiteral("BASE DE DADOS REINICIADA. SISTEMA RECONFIGURADO!"),
                            TipoMensagem::Informacao, CorMensagem::Azul);
        Encerramento::encerraPrograma();
    });
}
