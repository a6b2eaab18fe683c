#pragma once

#include <QList>
#include <QString>

#include <functional>

// Times and the report lines of the order benchmarks: each figure with its runs, the baseline
// measured in the same run, the ratio and PASS/FAIL against the target.
namespace Medicao {

// Milliseconds taken by the call.
double tempo(const std::function<void()> &acao);
double mediana(QList<double> valores);
double maximo(const QList<double> &valores);
// "812.4 ms (runs: 800.1 812.4 830.0)"
QString descreve(double valor, const QList<double> &execucoes);
// Prints "  <name>: <figure>" lines.
void figura(const QString &nome, const QString &texto);
// Prints "  target <text>: <value> -> PASS|FAIL" and returns whether it passed.
bool alvo(const QString &descricao, double valor, double limite, const QString &unidade);

} // namespace Medicao
