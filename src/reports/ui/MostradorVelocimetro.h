#pragma once

#include <QString>
#include <QWidget>

// An angular dial of a goal: scale 0 to 110 over three quarters of a turn (from bottom left,
// clockwise over the top, to bottom right), 12 labelled major ticks with 4 minor ticks between
// them, red, yellow and green bands over 64 %, 18 % and 18 % of the span, and a green needle.
// Drawn to the widget's size; the needle stops at the scale's ends, the value text does not.
class MostradorVelocimetro : public QWidget
{
    Q_OBJECT
public:
    static constexpr double minimo = 0;
    static constexpr double maximo = 110;

    explicit MostradorVelocimetro(QWidget *parent = nullptr);

    void setLegenda(const QString &legenda);
    QString legenda() const { return m_legenda; }
    void setValor(double valor);
    double valor() const { return m_valor; }

    QSize sizeHint() const override { return {180, 180}; }
    QSize minimumSizeHint() const override { return {90, 90}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int w) const override { return w; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_legenda;
    double m_valor = 0;
};
