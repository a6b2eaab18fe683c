#pragma once

#include <QWidget>

// A vertical thermometer for the commission rate: scale 0 to 10 with 11 labelled major ticks and
// one minor tick between them, a navy column up to the value. Drawn to the widget's size.
class TermometroComissao : public QWidget
{
    Q_OBJECT
public:
    static constexpr double minimo = 0;
    static constexpr double maximo = 10;

    explicit TermometroComissao(QWidget *parent = nullptr);

    void setValor(double valor);
    double valor() const { return m_valor; }

    QSize sizeHint() const override { return {70, 200}; }
    QSize minimumSizeHint() const override { return {50, 120}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_valor = 0;
};
