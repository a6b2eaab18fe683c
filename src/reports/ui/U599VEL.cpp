#include "U599VEL.h"

#include "D500DAT.h"
#include "MostradorVelocimetro.h"
#include "TermometroComissao.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaximoDigitos = 9999999;

QLCDNumber *mostradorDigitos()
{
    auto *lcd = new QLCDNumber(8); // seven digits and a minus sign
    lcd->setSegmentStyle(QLCDNumber::Flat);
    lcd->setMode(QLCDNumber::Dec);
    lcd->setAutoFillBackground(true);
    QPalette p = lcd->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(0, 230, 0));
    p.setColor(QPalette::Light, QColor(0, 230, 0));
    p.setColor(QPalette::Dark, QColor(0, 120, 0));
    lcd->setPalette(p);
    lcd->setMinimumHeight(36);
    lcd->display(0);
    return lcd;
}

// Whole units, no leading zeros, a minus sign for negatives, within what seven digits show.
void mostra(QLCDNumber *lcd, double valor)
{
    lcd->display(double(std::llround(std::clamp(valor, -kMaximoDigitos, kMaximoDigitos))));
}

QLabel *rotulo(const QString &texto, Qt::Alignment alinhamento = Qt::AlignCenter)
{
    auto *l = new QLabel(texto);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(alinhamento);
    return l;
}

} // namespace

F599VEL::F599VEL(QWidget *parent)
    : F599CAD(parent)
    , m_relogio(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Metas de Vendas"));
    m_relogio->setSingleShot(true);
    connect(m_relogio, &QTimer::timeout, this, &F599VEL::proximoPasso);

    rldezena = new MostradorVelocimetro;
    rlDiferenciado = new MostradorVelocimetro;
    rlMensal = new MostradorVelocimetro;
    rlEquipe = new MostradorVelocimetro;
    rldezena->setLegenda(QStringLiteral("DEZENA"));
    rlDiferenciado->setLegenda(QStringLiteral("DIFERENCIAD."));
    rlMensal->setLegenda(QStringLiteral("MENSAL"));
    rlEquipe->setLegenda(QStringLiteral("EQUIPE"));
    ltMetaDif = mostradorDigitos();
    ltRealizDif = mostradorDigitos();
    ltMeta = mostradorDigitos();
    ltRealiz = mostradorDigitos();
    mdcomissao = new TermometroComissao;
    lblDIF = rotulo(QStringLiteral("DIFERENCIADOS"));

    // The outer dials sit slightly lower than the inner two.
    auto *mostradores = new QGridLayout;
    mostradores->addWidget(rldezena, 1, 0, 2, 1);
    mostradores->addWidget(rlDiferenciado, 0, 1, 2, 1);
    mostradores->addWidget(rlMensal, 0, 2, 2, 1);
    mostradores->addWidget(rlEquipe, 1, 3, 2, 1);
    for (int c = 0; c < 4; ++c)
        mostradores->setColumnStretch(c, 1);
    mostradores->setRowStretch(0, 1);
    mostradores->setRowStretch(1, 8);
    mostradores->setRowStretch(2, 1);

    auto *grade = new QGridLayout;
    grade->addWidget(lblDIF, 0, 1);
    grade->addWidget(rotulo(QStringLiteral("GERAL")), 0, 2);
    grade->addWidget(rotulo(QStringLiteral("Objetivo"), Qt::AlignRight | Qt::AlignVCenter), 1, 0);
    grade->addWidget(rotulo(QStringLiteral("Realizado"), Qt::AlignRight | Qt::AlignVCenter), 2, 0);
    grade->addWidget(ltMetaDif, 1, 1);
    grade->addWidget(ltRealizDif, 2, 1);
    grade->addWidget(ltMeta, 1, 2);
    grade->addWidget(ltRealiz, 2, 2);
    grade->setColumnStretch(1, 1);
    grade->setColumnStretch(2, 1);
    auto *baixo = new QHBoxLayout;
    baixo->addLayout(grade, 1);
    baixo->addWidget(mdcomissao);

    auto *btFechar = new QPushButton(QStringLiteral("Fechar"));
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);
    auto *rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btFechar);

    auto *layout = new QVBoxLayout(conteudo());
    layout->addLayout(mostradores, 3);
    layout->addLayout(baixo, 2);
    layout->addLayout(rodape);
}

F599VEL::~F599VEL() = default;

void F599VEL::showEvent(QShowEvent *event)
{
    F599CAD::showEvent(event);
    if (!m_ativado) {
        m_ativado = true;
        QTimer::singleShot(0, this, [this] { dat().executaAcao([this] { FormActivate(); }); });
    }
}

void F599VEL::FormActivate()
{
    m_ativado = true;
    const Sessao &s = dat().sessao;
    m_valores = MetasVendas::carrega(dat().cnxFirebird, s.CODEMP, s.CODVEN);
    rlDiferenciado->setLegenda(m_valores.legendaDiferenciado());
    lblDIF->setText(m_valores.tituloDiferenciado());
    showMaximized();

    m_passos.clear();
    animaDigitos(ltMetaDif, m_valores.METDIF);
    animaDigitos(ltRealizDif, m_valores.GERDIF);
    animaDigitos(ltMeta, m_valores.METVEN);
    animaDigitos(ltRealiz, m_valores.DISPL);
    animaMostrador(rldezena, m_valores.VELDEZ);
    animaMostrador(rlDiferenciado, m_valores.VELDIF);
    animaMostrador(rlMensal, m_valores.VELMES);
    animaMostrador(rlEquipe, m_valores.VELEQP);
    const double comissao = m_valores.PORCOS;
    m_passos.append({[this, comissao] { mdcomissao->setValor(comissao); }, 0});
    m_relogio->start(0);
}

// Counts from 0 up to the whole part, slower at first, then lands on the exact value.
void F599VEL::animaMostrador(MostradorVelocimetro *mostrador, double valor)
{
    const double inteiro = std::trunc(valor);
    if (inteiro >= 0) {
        const int n = int(std::min(inteiro, 1e6));
        for (int i = 0; i <= n; ++i)
            m_passos.append({[mostrador, i] { mostrador->setValor(i); }, i < 10 ? i : i / 20});
    }
    m_passos.append({[mostrador, valor] { mostrador->setValor(valor); }, 0});
}

// Five fast guesses converging on the amount, then the amount itself.
void F599VEL::animaDigitos(QLCDNumber *display, double valor)
{
    const double a = std::trunc(valor);
    m_passos.append({[] {}, 50});
    for (int i = 1; i <= 5; ++i)
        m_passos.append({[display, a, i] { mostra(display, 500000 - (a / i) * 10); }, 30});
    m_passos.append({[display, valor] { mostra(display, valor); }, 0});
}

void F599VEL::proximoPasso()
{
    // Steps without a pause run together, each painted before the next pause.
    while (!m_passos.isEmpty()) {
        const Passo passo = m_passos.takeFirst();
        passo.acao();
        if (passo.esperaMs > 0) {
            m_relogio->start(passo.esperaMs);
            return;
        }
    }
}

bool F599VEL::animando() const
{
    return !m_passos.isEmpty();
}

void F599VEL::concluiAnimacao()
{
    m_relogio->stop();
    while (!m_passos.isEmpty())
        m_passos.takeFirst().acao();
}
