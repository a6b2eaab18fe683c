#include "Medicao.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace Medicao {

namespace {

QTextStream &saida()
{
    static QTextStream s(stdout);
    return s;
}

} // namespace

double tempo(const std::function<void()> &acao)
{
    QElapsedTimer t;
    t.start();
    acao();
    return t.nsecsElapsed() / 1e6;
}

double mediana(QList<double> valores)
{
    if (valores.isEmpty())
        return 0;
    std::sort(valores.begin(), valores.end());
    const qsizetype meio = valores.size() / 2;
    return valores.size() % 2 ? valores.at(meio) : (valores.at(meio - 1) + valores.at(meio)) / 2;
}

double maximo(const QList<double> &valores)
{
    return valores.isEmpty() ? 0 : *std::max_element(valores.begin(), valores.end());
}

QString descreve(double valor, const QList<double> &execucoes)
{
    QString texto = QString::number(valor, 'f', 1) + QStringLiteral(" ms (runs:");
    for (double v : execucoes)
        texto += u' ' + QString::number(v, 'f', 1);
    return texto + u')';
}

void figura(const QString &nome, const QString &texto)
{
    saida() << "  " << nome << ": " << texto << Qt::endl;
}

bool alvo(const QString &descricao, double valor, double limite, const QString &unidade)
{
    const bool passou = valor < limite || qFuzzyCompare(valor, limite);
    saida() << "  target " << descricao << ": " << QString::number(valor, 'f', 2) << unidade << " (limit "
            << QString::number(limite, 'f', 2) << unidade << ") -> " << (passou ? "PASS" : "FAIL") << Qt::endl;
    return passou;
}

} // namespace Medicao
