#include "TermometroComissao.h"

#include <QPainter>

#include <algorithm>

TermometroComissao::TermometroComissao(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void TermometroComissao::setValor(double valor)
{
    m_valor = valor;
    update();
}

void TermometroComissao::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor marinho(0, 0, 128);
    // Drawn on a 60 x 200 design, scaled to the widget.
    const double escala = std::min(width() / 60.0, height() / 200.0);
    p.translate((width() - 60 * escala) / 2, (height() - 200 * escala) / 2);
    p.scale(escala, escala);

    const double topo = 12, base = 168, x = 14, largura = 12;
    const QColor vidro(235, 235, 245);
    p.setPen(QPen(QColor(80, 80, 90), 1.5));
    p.setBrush(vidro);
    p.drawRoundedRect(QRectF(x, topo - 6, largura, base - topo + 12), 6, 6);
    p.drawEllipse(QPointF(x + largura / 2, base + 14), 13, 13);

    const double fracao = (std::clamp(m_valor, minimo, maximo) - minimo) / (maximo - minimo);
    const double nivel = base - fracao * (base - topo);
    p.setPen(Qt::NoPen);
    p.setBrush(marinho);
    p.drawRect(QRectF(x + 3, nivel, largura - 6, base - nivel + 8));
    p.drawEllipse(QPointF(x + largura / 2, base + 14), 10, 10);

    QFont fonte = font();
    fonte.setPixelSize(10);
    p.setFont(fonte);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    for (int i = 0; i <= 20; ++i) {
        const double y = base - (base - topo) * i / 20.0;
        const bool maior = i % 2 == 0;
        p.drawLine(QPointF(x + largura + 2, y), QPointF(x + largura + (maior ? 10 : 6), y));
        if (maior)
            p.drawText(QRectF(x + largura + 12, y - 7, 22, 14), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::number(i / 2));
    }
}
