#include "U599MSG.h"

#include "CaixaMensagens.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "GradeDados.h"
#include "LigaAcao.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

QPushButton *botao(const QString &texto, const QString &dica = QString())
{
    auto *b = new QPushButton(texto);
    if (!dica.isEmpty())
        b->setToolTip(dica);
    return b;
}

} // namespace

F599MSG::F599MSG(QWidget *parent)
    : F599CAD(parent)
    , m_caixa(std::make_unique<CaixaMensagens>(dat()))
{
    setWindowTitle(QStringLiteral("Mensagens"));
    pcMensagens = new QStackedWidget;
    montaLista();
    montaMensagem();
    auto *layout = new QVBoxLayout(conteudo());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pcMensagens);
    dat().executaAcao([this] { tbsListaShow(); });
}

F599MSG::~F599MSG() = default;

void F599MSG::montaLista()
{
    tbsLista = new QWidget;
    btNovaMensagem = botao(QStringLiteral("Nova Mensagem"));
    dbgRecebidas = new GradeDados(m_caixa->cdsMSGRecebidas(), {{QStringLiteral("NOMUSU"), QStringLiteral("Remetente")},
                                                               {QStringLiteral("TITMSG"), QStringLiteral("Título")},
                                                               {QStringLiteral("DATMSG"), QStringLiteral("Data")}});
    dbgRecebidas->setEstilo([this](int linha, const QString &, int role) -> QVariant {
        if (role != Qt::FontRole)
            return {};
        QFont fonte = dbgRecebidas->font();
        fonte.setBold(dbgRecebidas->valor(linha, QStringLiteral("SITMSG")).toString() == QLatin1String("N"));
        return fonte;
    });
    dbgEnviadas = new GradeDados(m_caixa->cdsMSGEnviadas(), {{QStringLiteral("NOMDST"), QStringLiteral("Destinatário")},
                                                             {QStringLiteral("TITMSG"), QStringLiteral("Título")},
                                                             {QStringLiteral("DATMSG"), QStringLiteral("Data")}});
    dbgEnviadas->setEstilo([this](int linha, const QString &, int role) -> QVariant {
        if (role == Qt::ForegroundRole && dbgEnviadas->valor(linha, QStringLiteral("ENVMSG")).toString() == QLatin1String("N"))
            return QColor(0, 0, 255);
        return {};
    });
    btExcluir = botao(QStringLiteral("Excluir Mensagem"), QStringLiteral("Exclui a mensagem enviada selecionada, se ainda não foi transmitida"));
    auto *btFechar = botao(QStringLiteral("Fechar"));

    auto *topo = new QHBoxLayout;
    topo->addWidget(new QLabel(QStringLiteral("Mensagens Recebidas :")));
    topo->addStretch();
    topo->addWidget(btNovaMensagem);
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btExcluir);
    rodape->addWidget(btFechar);
    auto *layout = new QVBoxLayout(tbsLista);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(topo);
    layout->addWidget(dbgRecebidas, 1);
    layout->addWidget(new QLabel(QStringLiteral("Mensagens Enviadas :")));
    layout->addWidget(dbgEnviadas, 1);
    layout->addLayout(rodape);
    pcMensagens->addWidget(tbsLista);

    ligaAcao(btNovaMensagem, &QPushButton::clicked, this, &F599MSG::btNovaMensagemClick);
    ligaAcao(dbgRecebidas, &GradeDados::duploClique, this, &F599MSG::dbgRecebidasDblClick);
    ligaAcao(dbgEnviadas, &GradeDados::duploClique, this, &F599MSG::dbgEnviadasDblClick);
    ligaAcao(btExcluir, &QPushButton::clicked, this, &F599MSG::btExcluirClick);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);
}

void F599MSG::montaMensagem()
{
    tbsMensagem = new QWidget;
    edDe = new QLineEdit;
    edDe->setReadOnly(true);
    edAssunto = new QLineEdit;
    edAssunto->setMaxLength(CaixaMensagens::kTamanhoAssunto);
    edMensagem = new QPlainTextEdit;
    edMensagem->setTabChangesFocus(true);
    lcbUsuarios = new QComboBox;
    lcbUsuarios->setModel(&m_caixa->cdsUsuarios());
    dbgDestinatario = new GradeDados(m_caixa->cdsDestinatario(), {{QStringLiteral("NOMUSU"), QString()}});
    dbgDestinatario->horizontalHeader()->hide();
    btAdicionar = botao(QStringLiteral(">"), QStringLiteral("Adicionar Usuário Selecionado"));
    btLimpar = botao(QStringLiteral("<"), QStringLiteral("Limpar Usuário Selecionado"));
    btAdicionarTodos = botao(QStringLiteral(">>"), QStringLiteral("Adicionar TODOS Usuários"));
    btLimparTodos = botao(QStringLiteral("<<"), QStringLiteral("Limpar Lista de Usuários"));
    for (QPushButton *b : {btAdicionar, btLimpar, btAdicionarTodos, btLimparTodos})
        b->setFixedWidth(36);
    btEnviar = botao(QStringLiteral("Enviar"));
    btVoltar = botao(QStringLiteral("Voltar"));

    auto *campos = new QGridLayout;
    campos->addWidget(new QLabel(QStringLiteral("De :")), 0, 0);
    campos->addWidget(edDe, 0, 1);
    campos->addWidget(new QLabel(QStringLiteral("Assunto :")), 1, 0);
    campos->addWidget(edAssunto, 1, 1);
    campos->addWidget(new QLabel(QStringLiteral("Mensagem :")), 2, 0, Qt::AlignTop);
    campos->addWidget(edMensagem, 2, 1);
    campos->addWidget(new QLabel(QStringLiteral("Para :")), 3, 0);
    auto *para = new QHBoxLayout;
    para->addWidget(lcbUsuarios, 1);
    for (QPushButton *b : {btAdicionar, btLimpar, btAdicionarTodos, btLimparTodos})
        para->addWidget(b);
    campos->addLayout(para, 3, 1);
    campos->addWidget(dbgDestinatario, 4, 1);
    campos->setRowStretch(2, 1);
    campos->setRowStretch(4, 1);
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btEnviar);
    rodape->addWidget(btVoltar);
    auto *layout = new QVBoxLayout(tbsMensagem);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(campos, 1);
    layout->addLayout(rodape);
    pcMensagens->addWidget(tbsMensagem);

    connect(edMensagem, &QPlainTextEdit::textChanged, this, &F599MSG::limitaTexto);
    ligaAcao(btAdicionar, &QPushButton::clicked, this, &F599MSG::btAdicionarClick);
    ligaAcao(btLimpar, &QPushButton::clicked, this, &F599MSG::btLimparClick);
    ligaAcao(btAdicionarTodos, &QPushButton::clicked, this, &F599MSG::btAdicionarTodosClick);
    ligaAcao(btLimparTodos, &QPushButton::clicked, this, &F599MSG::btLimparTodosClick);
    ligaAcao(btEnviar, &QPushButton::clicked, this, &F599MSG::btEnviarClick);
    ligaAcao(btVoltar, &QPushButton::clicked, this, &F599MSG::btVoltarClick);
}

void F599MSG::limitaTexto()
{
    // The text column holds 200 characters: typing or pasting beyond that is cut at the limit.
    const QString texto = edMensagem->toPlainText();
    if (texto.size() <= CaixaMensagens::kTamanhoTexto)
        return;
    const QSignalBlocker bloqueio(edMensagem);
    edMensagem->setPlainText(texto.left(CaixaMensagens::kTamanhoTexto));
    edMensagem->moveCursor(QTextCursor::End);
}

QString F599MSG::usuarioEscolhido() const
{
    const TClientDataSetPlus &ds = m_caixa->cdsUsuarios();
    const int linha = lcbUsuarios->currentIndex();
    if (linha < 0 || !ds.active())
        return {};
    return ds.data(ds.index(linha, ds.columnOfField(QStringLiteral("CODUSU"))), Qt::EditRole).toString();
}

void F599MSG::escolheUsuario(const QString &codUsu)
{
    const TClientDataSetPlus &ds = m_caixa->cdsUsuarios();
    lcbUsuarios->setModelColumn(qMax(0, ds.columnOfField(QStringLiteral("NOMUSU"))));
    const int coluna = ds.columnOfField(QStringLiteral("CODUSU"));
    int escolhida = -1;
    for (int linha = 0; !codUsu.isEmpty() && coluna >= 0 && linha < ds.rowCount(); ++linha)
        if (ds.data(ds.index(linha, coluna), Qt::EditRole).toLongLong() == codUsu.toLongLong())
            escolhida = linha;
    lcbUsuarios->setCurrentIndex(escolhida);
}

void F599MSG::tbsListaShow()
{
    m_caixa->abreListas();
    lcbUsuarios->setModelColumn(qMax(0, m_caixa->cdsUsuarios().columnOfField(QStringLiteral("NOMUSU"))));
    m_caixa->cdsMSGEnviadas().fieldDef(QStringLiteral("DATMSG")).displayFormat = QStringLiteral("dd/mm/yyyy");
    m_caixa->cdsMSGRecebidas().fieldDef(QStringLiteral("DATMSG")).displayFormat = QStringLiteral("dd/mm/yyyy");
    pcMensagens->setCurrentWidget(tbsLista);
}

void F599MSG::mostraMensagem(bool editavel)
{
    edAssunto->setReadOnly(!editavel);
    edMensagem->setReadOnly(!editavel);
    lcbUsuarios->setEnabled(editavel);
    for (QPushButton *b : {btAdicionar, btLimpar, btAdicionarTodos, btLimparTodos, btEnviar})
        b->setEnabled(editavel);
    pcMensagens->setCurrentWidget(tbsMensagem);
    if (editavel)
        edAssunto->setFocus();
}

void F599MSG::btNovaMensagemClick()
{
    const CaixaMensagens::Conteudo c = m_caixa->novaMensagem();
    edDe->setText(c.remetente);
    edAssunto->clear();
    edMensagem->clear();
    escolheUsuario(QString());
    mostraMensagem(true);
}

void F599MSG::dbgRecebidasDblClick()
{
    const auto c = m_caixa->abreRecebida();
    if (!c)
        return;
    edDe->setText(c->remetente);
    edAssunto->setText(c->assunto);
    edMensagem->setPlainText(c->texto);
    escolheUsuario(c->usuarioSelecionado);
    mostraMensagem(false);
}

void F599MSG::dbgEnviadasDblClick()
{
    const auto c = m_caixa->abreEnviada();
    if (!c)
        return;
    edDe->setText(c->remetente);
    edAssunto->setText(c->assunto);
    edMensagem->setPlainText(c->texto);
    escolheUsuario(QString());
    mostraMensagem(c->editavel);
}

void F599MSG::btAdicionarClick()
{
    if (const auto recusa = m_caixa->adicionaUsuario(usuarioEscolhido()))
        dat().exibeMensagem(recusa.texto, recusa.tipo, recusa.cor);
}

void F599MSG::btAdicionarTodosClick()
{
    if (const auto recusa = m_caixa->adicionaTodos())
        dat().exibeMensagem(recusa.texto, recusa.tipo, recusa.cor);
}

void F599MSG::btLimparClick()
{
    m_caixa->removeDestinatario();
}

void F599MSG::btLimparTodosClick()
{
    m_caixa->limpaDestinatarios();
}

void F599MSG::btEnviarClick()
{
    if (const auto recusa = m_caixa->envia(edAssunto->text(), edMensagem->toPlainText(), QDate::currentDate())) {
        dat().exibeMensagem(recusa.texto, recusa.tipo, recusa.cor);
        return;
    }
    tbsListaShow();
}

void F599MSG::btVoltarClick()
{
    m_caixa->volta();
    tbsListaShow();
}

void F599MSG::btExcluirClick()
{
    const QString pergunta = m_caixa->perguntaExclusao();
    if (pergunta.isEmpty())
        return;
    if (dat().exibeMensagem(pergunta, TipoMensagem::Confirmacao, CorMensagem::Azul, BotoesMensagem::SimNao)
        == RespostaMensagem::Sim)
        m_caixa->exclui();
}
