#pragma once

#include "MetasVendas.h"
#include "U599CAD.h"

#include <QList>

#include <functional>

class MostradorVelocimetro;
class QLabel;
class QLCDNumber;
class QTimer;
class TermometroComissao;

// "Metas de Vendas": the latest goal month of the seller on four dials (ten-day period,
// differentiated line, month, team), four digit displays with goal and achieved amounts, and
// the commission thermometer. The values play in as a short animation driven by a timer, so the
// window answers (and closes) while it runs.
class F599VEL : public F599CAD
{
    Q_OBJECT
public:
    explicit F599VEL(QWidget *parent = nullptr);
    ~F599VEL() override;

    // Loads the month and queues the animation; runs once, when the window first shows.
    void FormActivate();
    bool animando() const;
    // Plays the rest of the animation at once (tests, and a seller in a hurry).
    void concluiAnimacao();

    const MetasVendas::Valores &valores() const { return m_valores; }

    MostradorVelocimetro *rldezena = nullptr;
    MostradorVelocimetro *rlDiferenciado = nullptr;
    MostradorVelocimetro *rlMensal = nullptr;
    MostradorVelocimetro *rlEquipe = nullptr;
    QLCDNumber *ltMetaDif = nullptr;
    QLCDNumber *ltRealizDif = nullptr;
    QLCDNumber *ltMeta = nullptr;
    QLCDNumber *ltRealiz = nullptr;
    TermometroComissao *mdcomissao = nullptr;
    QLabel *lblDIF = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Passo
    {
        std::function<void()> acao;
        int esperaMs = 0; // before the next step
    };
    void animaMostrador(MostradorVelocimetro *mostrador, double valor);
    void animaDigitos(QLCDNumber *display, double valor);
    void proximoPasso();

    MetasVendas::Valores m_valores;
    QList<Passo> m_passos;
    QTimer *m_relogio = nullptr;
    bool m_ativado = false;
};
