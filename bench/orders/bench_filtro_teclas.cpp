// Typing in the product picker's filters ("Código :" and "Descrição :") over the
// 20,000-product list of the order window: the longest time one keystroke holds the event loop.
// Enter, which runs the search with the typed filter, is reported apart.

#include "AmbienteBench.h"
#include "ClientDataSetPlus.h"
#include "JanelaPedidoBench.h"
#include "Medicao.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "SeletorProdutos.h"
#include "U530PDV.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>

#include <exception>
#include <stdexcept>

namespace {

// One keystroke and everything it queues, as the event loop would run it.
double tecla(QLineEdit *campo, Qt::Key chave, char letra = 0)
{
    return Medicao::tempo([&] {
        if (letra)
            QTest::keyClick(campo, letra);
        else
            QTest::keyClick(campo, chave);
        QApplication::processEvents();
    });
}

// Types the text one key at a time, then erases it; returns every keystroke's time.
QList<double> digita(QLineEdit *campo, const QByteArray &texto)
{
    QList<double> tempos;
    campo->setFocus();
    for (char letra : texto)
        tempos << tecla(campo, Qt::Key_unknown, letra);
    for (qsizetype i = 0; i < texto.size(); ++i)
        tempos << tecla(campo, Qt::Key_Backspace);
    return tempos;
}

} // namespace

int main(int argc, char **argv)
{
    return AmbienteBench::executaPrograma(argc, argv, "bench_filtro_teclas", [](const QString &dados, QTextStream &out) {
        AmbienteBench ambiente(dados);
        auto janela = JanelaPedidoBench::novoPedido(ambiente);
        JanelaPedidoBench::mostraItens(*janela);
        SeletorProdutos *seletor = janela->itens->seletor;
        TClientDataSetPlus *produtos = janela->dados()->cdsPESPRODUTO;
        const int linhasTodas = produtos->recordCount();
        if (linhasTodas < 1000)
            throw std::runtime_error("the product list is not the large one");

        // Baseline: the same keystrokes in a plain line edit that nothing listens to.
        QLineEdit livre;
        livre.show();
        digita(&livre, "0"); // the first key of a new edit lays it out
        QList<double> base = digita(&livre, "0001234");
        base += digita(&livre, "arroz tipo");

        const QList<double> codigo = digita(seletor->EDCODPRO, "0001234");
        const QList<double> descricao = digita(seletor->EDDESPRO, "arroz tipo");
        QList<double> todas = codigo + descricao;

        // Enter runs the search with the typed filter (it is expected to take a search's time).
        QList<double> enter;
        int linhasFiltradas = 0;
        for (int i = 0; i < 3; ++i) {
            seletor->EDDESPRO->clear();
            seletor->EDDESPRO->setFocus();
            for (char letra : QByteArray("ARROZ"))
                QTest::keyClick(seletor->EDDESPRO, letra);
            enter << tecla(seletor->EDDESPRO, Qt::Key_Return);
            linhasFiltradas = produtos->recordCount();
        }
        if (seletor->EDDESPRO->text() != QLatin1String("ARROZ"))
            throw std::runtime_error("the description filter did not take the typed text");

        const double pior = Medicao::maximo(todas);
        const double piorBase = Medicao::maximo(base);
        out << "== bench_filtro_teclas: typing in the product filters over " << linhasTodas << " rows" << Qt::endl;
        Medicao::figura(QStringLiteral("baseline, plain line edit, longest keystroke"),
                        QString::number(piorBase, 'f', 2) + QStringLiteral(" ms (median ")
                            + QString::number(Medicao::mediana(base), 'f', 2) + QStringLiteral(" ms)"));
        Medicao::figura(QStringLiteral("\"Código :\" keystrokes, longest"),
                        QString::number(Medicao::maximo(codigo), 'f', 2) + QStringLiteral(" ms (median ")
                            + QString::number(Medicao::mediana(codigo), 'f', 2) + QStringLiteral(" ms)"));
        Medicao::figura(QStringLiteral("\"Descrição :\" keystrokes, longest"),
                        QString::number(Medicao::maximo(descricao), 'f', 2) + QStringLiteral(" ms (median ")
                            + QString::number(Medicao::mediana(descricao), 'f', 2) + QStringLiteral(" ms)"));
        Medicao::figura(QStringLiteral("ratio longest keystroke / baseline"),
                        QString::number(pior / std::max(piorBase, 0.01), 'f', 1));
        Medicao::figura(QStringLiteral("Enter in \"Descrição :\" (search for ARROZ, %1 rows), median").arg(linhasFiltradas),
                        Medicao::descreve(Medicao::mediana(enter), enter));
        Medicao::alvo(QStringLiteral("longest keystroke < 100 ms"), pior, 100.0, QStringLiteral(" ms"));
        janela.reset();
    });
}
