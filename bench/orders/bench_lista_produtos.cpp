// The product list of the order window on a 20,000-product price table: the window's path
// (dataset filled, grid laid out and painted) against Firebird running the same statement and
// fetching every row through a plain forward-only query.

#include "AmbienteBench.h"
#include "ClientDataSetPlus.h"
#include "FirebirdConnection.h"
#include "GradeDados.h"
#include "D500DAT.h"
#include "JanelaPedidoBench.h"
#include "Medicao.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "SeletorProdutos.h"
#include "U530PDV.h"

#include <QApplication>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTextStream>

#include <exception>

namespace {

constexpr int kExecucoes = 5;

// Counts the paint events of the grid, to know the list was really painted.
class ContaPinturas : public QObject
{
public:
    int pinturas = 0;

protected:
    bool eventFilter(QObject *alvo, QEvent *evento) override
    {
        if (evento->type() == QEvent::Paint)
            ++pinturas;
        return QObject::eventFilter(alvo, evento);
    }
};

// Firebird alone: prepare, execute and fetch every value of every row through a plain query
// (the driver's default number policy, no program code in between).
int consultaPura(FirebirdConnection &cnx, const QString &sql)
{
    QSqlQuery q(cnx.database());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw std::runtime_error("the product statement failed");
    const int colunas = q.record().count();
    int linhas = 0;
    while (q.next()) {
        for (int i = 0; i < colunas; ++i)
            q.value(i);
        ++linhas;
    }
    return linhas;
}

} // namespace

int main(int argc, char **argv)
{
    return AmbienteBench::executaPrograma(argc, argv, "bench_lista_produtos", [](const QString &dados, QTextStream &out) {
        AmbienteBench ambiente(dados);
        auto janela = JanelaPedidoBench::novoPedido(ambiente);
        JanelaPedidoBench::mostraItens(*janela);
        SeletorProdutos *seletor = janela->itens->seletor;
        TClientDataSetPlus *produtos = janela->dados()->cdsPESPRODUTO;
        if (!produtos->active() || !seletor->dbgProdutos->isVisible())
            throw std::runtime_error("the product list was not shown");
        const QString sql = produtos->commandText();
        ContaPinturas contador;
        seletor->dbgProdutos->viewport()->installEventFilter(&contador);

        QList<double> base, caminho;
        int linhasBase = 0;
        for (int i = 0; i < kExecucoes; ++i) {
            base << Medicao::tempo([&] { linhasBase = consultaPura(ambiente.dat().cnxFirebird, sql); });
            contador.pinturas = 0;
            caminho << Medicao::tempo([&] {
                seletor->btPESPRO->click();
                QApplication::processEvents();
                if (contador.pinturas == 0)
                    seletor->dbgProdutos->viewport()->repaint();
            });
            if (contador.pinturas == 0)
                throw std::runtime_error("the product grid was never painted");
        }
        const double a = Medicao::mediana(base);
        const double b = Medicao::mediana(caminho);
        out << "== bench_lista_produtos: product list of the order window (customer 1, price table "
            << janela->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODTAB")) << ")" << Qt::endl;
        Medicao::figura(QStringLiteral("rows (statement / dataset)"),
                        QStringLiteral("%1 / %2").arg(linhasBase).arg(produtos->recordCount()));
        Medicao::figura(QStringLiteral("(a) baseline, Firebird statement + fetch, median"), Medicao::descreve(a, base));
        Medicao::figura(QStringLiteral("(b) window search: dataset + grid painted, median"), Medicao::descreve(b, caminho));
        Medicao::figura(QStringLiteral("ratio (b)/(a)"), QString::number(b / a, 'f', 2));
        Medicao::alvo(QStringLiteral("(b)/(a) <= 1.30"), b / a, 1.30, QString());
        Medicao::alvo(QStringLiteral("(b) < 500 ms"), b, 500.0, QStringLiteral(" ms"));
        janela.reset();
    });
}
