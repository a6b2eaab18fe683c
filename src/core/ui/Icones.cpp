#include "Icones.h"

#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library must be registered by name from the code that uses them.
static void registraRecursos()
{
    static const bool registrados = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(registrados);
}

namespace {
QString caminho(const QString &name)
{
    return QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
}

// Draws the SVG at whatever size a button asks for, so pictures stay sharp at any size
// without depending on the SVG icon plugin being installed.
class MotorSvg : public QIconEngine
{
public:
    explicit MotorSvg(const QString &name) : m_name(name) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        QSvgRenderer renderer(caminho(m_name));
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        renderer.render(painter, rect);
        painter->setOpacity(1.0);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pix(size);
        pix.fill(Qt::transparent);
        QPainter painter(&pix);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pix;
    }

    QIconEngine *clone() const override { return new MotorSvg(m_name); }

private:
    QString m_name;
};
} // namespace

QIcon Icones::icone(const QString &name)
{
    registraRecursos();
    return QIcon(new MotorSvg(name));
}

QPixmap Icones::imagem(const QString &name, const QSize &size, qreal devicePixelRatio)
{
    registraRecursos();
    QPixmap pix(size * devicePixelRatio);
    pix.setDevicePixelRatio(devicePixelRatio);
    pix.fill(Qt::transparent);
    QSvgRenderer renderer(caminho(name));
    QPainter painter(&pix);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pix;
}
