#include "MostradorVelocimetro.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>

namespace {

constexpr double kAnguloInicio = 225; // degrees, counter-clockwise from three o'clock
constexpr double kVarredura = 270;    // clockwise
constexpr int kMarcasMaiores = 12;
constexpr int kMarcasMenores = 4;

double anguloDe(double valor)
{
    const double fracao = (std::clamp(valor, MostradorVelocimetro::minimo, MostradorVelocimetro::maximo)
                           - MostradorVelocimetro::minimo)
                          / (MostradorVelocimetro::maximo - MostradorVelocimetro::minimo);
    return kAnguloInicio - fracao * kVarredura;
}

QPointF ponto(double angulo, double raio)
{
    const double r = qDegreesToRadians(angulo);
    return {raio * std::cos(r), -raio * std::sin(r)};
}

} // namespace

MostradorVelocimetro::MostradorVelocimetro(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void MostradorVelocimetro::setLegenda(const QString &legenda)
{
    m_legenda = legenda;
    update();
}

void MostradorVelocimetro::setValor(double valor)
{
    m_valor = valor;
    update();
}

void MostradorVelocimetro::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double lado = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    // Everything below is drawn on a dial of radius 100.
    p.scale(lado / 210.0, lado / 210.0);

    QRadialGradient fundo(QPointF(0, -30), 130);
    fundo.setColorAt(0, QColor(250, 250, 250));
    fundo.setColorAt(1, QColor(200, 200, 205));
    p.setPen(QPen(QColor(90, 90, 100), 3));
    p.setBrush(fundo);
    p.drawEllipse(QPointF(0, 0), 100, 100);

    // Bands: red, yellow, green over 0.64, 0.18 and 0.18 of the span.
    const double span = maximo - minimo;
    const struct
    {
        double de, ate;
        QColor cor;
    } faixas[] = {{minimo, minimo + 0.64 * span, QColor(220, 30, 30)},
                  {minimo + 0.64 * span, minimo + 0.82 * span, QColor(240, 200, 0)},
                  {minimo + 0.82 * span, maximo, QColor(30, 170, 40)}};
    const QRectF arco(-82, -82, 164, 164);
    for (const auto &f : faixas) {
        p.setPen(QPen(f.cor, 9, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        const double a = anguloDe(f.de);
        const double b = anguloDe(f.ate);
        p.drawArc(arco, int(b * 16), int((a - b) * 16));
    }

    // Ticks and labels.
    QFont fonte = font();
    fonte.setPixelSize(11);
    p.setFont(fonte);
    const int passos = (kMarcasMaiores - 1) * (kMarcasMenores + 1);
    for (int i = 0; i <= passos; ++i) {
        const double valorMarca = minimo + span * i / passos;
        const double angulo = anguloDe(valorMarca);
        const bool maior = i % (kMarcasMenores + 1) == 0;
        p.setPen(QPen(QColor(30, 30, 30), maior ? 2.2 : 1));
        p.drawLine(ponto(angulo, maior ? 74 : 79), ponto(angulo, 87));
        if (maior) {
            const QPointF c = ponto(angulo, 61);
            p.drawText(QRectF(c.x() - 14, c.y() - 8, 28, 16), Qt::AlignCenter, QString::number(qRound(valorMarca)));
        }
    }

    fonte.setPixelSize(13);
    fonte.setBold(true);
    p.setFont(fonte);
    p.setPen(QColor(20, 20, 60));
    p.drawText(QRectF(-60, 22, 120, 18), Qt::AlignCenter, m_legenda);
    fonte.setPixelSize(12);
    p.setFont(fonte);
    p.drawText(QRectF(-60, 42, 120, 18), Qt::AlignCenter,
               QString::number(m_valor, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char('%'));

    // Needle.
    p.save();
    p.rotate(-anguloDe(m_valor));
    QPainterPath agulha;
    agulha.moveTo(-12, -4);
    agulha.lineTo(80, 0);
    agulha.lineTo(-12, 4);
    agulha.closeSubpath();
    p.setPen(QPen(QColor(0, 90, 0), 1));
    p.setBrush(QColor(0, 190, 0));
    p.drawPath(agulha);
    p.restore();
    p.setBrush(QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 0), 7, 7);
}
