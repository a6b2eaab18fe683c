// An order of 200 items in the order window: the re-pricing of every item (recalculaItens)
// and "Salvar" (re-pricing, checks, items then header in one transaction, back to the list),
// first for the new order and then for the stored order opened again from the list; once on the
// data set's file as delivered and once on a copy with asynchronous writes.

#include "AmbienteBench.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "FirebirdConnection.h"
#include "JanelaPedidoBench.h"
#include "Medicao.h"
#include "PaginaPesquisa.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "StatementRun.h"
#include "U530PDV.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

constexpr int kItens = 200;
constexpr int kExecucoes = 5;

// Types kItens products spread over the whole list, each with one packaging factor; returns
// the time of each Enter that wrote an item.
QList<double> digitaItens(F530PDV &janela)
{
    QList<double> tempos;
    TClientDataSetPlus *produtos = janela.dados()->cdsPESPRODUTO;
    TClientDataSetPlus *itens = janela.dados()->cdsCADITEM;
    const int passo = std::max(1, produtos->recordCount() / (kItens + 10));
    for (int posicao = 0; itens->recordCount() < kItens && posicao < produtos->recordCount(); posicao += passo) {
        produtos->setRecNo(posicao);
        if (produtos->asString(QStringLiteral("VERFAM")) != QLatin1String("N"))
            continue;
        const qint64 fator = std::max<qint64>(1, qRound64(produtos->asFloat(QStringLiteral("FATPRO"))));
        janela.itens->edQTDE->setText(QString::number(fator));
        tempos << Medicao::tempo([&] { QTest::keyClick(janela.itens->edQTDE, Qt::Key_Return); });
    }
    if (itens->recordCount() != kItens)
        throw std::runtime_error("the order did not reach its items");
    return tempos;
}

// "Salvar" clicked: the whole click, and the part before the window turns back to the order list
// (re-pricing, checks, items then header in one transaction), after which it runs the list search.
struct TempoSalvar
{
    double total = 0;
    double gravacao = 0;
};

TempoSalvar salva(F530PDV &janela)
{
    QElapsedTimer relogio;
    double volta = -1;
    const QMetaObject::Connection ligacao = QObject::connect(janela.paginas, &QStackedWidget::currentChanged, [&] {
        if (volta < 0)
            volta = relogio.nsecsElapsed() / 1e6;
    });
    relogio.start();
    janela.btSalvar->click();
    TempoSalvar t;
    t.total = relogio.nsecsElapsed() / 1e6;
    QObject::disconnect(ligacao);
    t.gravacao = volta < 0 ? t.total : volta;
    return t;
}

qint64 conta(FirebirdConnection &cnx, const QString &sql)
{
    QSqlQuery q = StatementRun::run(cnx, sql);
    return q.next() ? q.value(0).toLongLong() : -1;
}

// The whole scenario on one copy of the data set.
void executa(AmbienteBench &ambiente, QTextStream &out, const QString &rotulo)
{
    FirebirdConnection &cnx = ambiente.dat().cnxFirebird;
    auto janela = JanelaPedidoBench::novoPedido(ambiente);
    JanelaPedidoBench::mostraItens(*janela);
    const QList<double> entradas = digitaItens(*janela);
    const QString pedido = janela->dados()->cdsCADPEDIDO->asString(QStringLiteral("CODPDF"));

    QList<double> repreco;
    for (int i = 0; i < kExecucoes; ++i)
        repreco << Medicao::tempo([&] { janela->recalculaItens(); });

    // Every question ("Deseja Continuar?") answered "Sim".
    for (int i = 0; i < 100; ++i)
        ambiente.respostas().answers.append(RespostaMensagem::Sim);
    const int avisosAntes = static_cast<int>(ambiente.respostas().shown.size());
    const TempoSalvar salvaNovo = salva(*janela);
    if (janela->paginas->currentWidget() != janela->tbsPesquisa) {
        const QString motivo = ambiente.respostas().shown.size() > avisosAntes
            ? ambiente.respostas().lastText() : QStringLiteral("(no message)");
        throw std::runtime_error(("the order was not saved: " + motivo).toStdString());
    }
    const QString contagem = QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODEMP = 1 AND CODINT = 0 AND CODPDF = ")
        + QString::number(pedido.toLongLong());
    if (conta(cnx, contagem) != kItens)
        throw std::runtime_error("the saved order does not hold its items");

    // Baseline: Firebird reading the stored items with their price-table rows in one statement.
    QList<double> base;
    const QString leitura = QStringLiteral(
        "SELECT I.CODPRO, I.VLRUNT, I.QTDPRO, T.PRCVEN, T.MAXDCT FROM F530IPF I JOIN F511TAB T ON T.CODEMP = I.CODEMP "
        "AND T.CODCCU = I.CODCCU AND T.CODPRO = I.CODPRO AND T.CODTAB = 1 WHERE I.CODEMP = 1 AND I.CODINT = 0 "
        "AND I.CODPDF = ") + QString::number(pedido.toLongLong());
    for (int i = 0; i < kExecucoes; ++i)
        base << Medicao::tempo([&] {
            QSqlQuery q = StatementRun::run(cnx, leitura);
            while (q.next())
                for (int c = 0; c < 5; ++c)
                    q.value(c);
        });

    // The stored order opened from the list and saved again (every item re-priced and updated).
    QList<double> salvaAlterado, gravaAlterado;
    for (int i = 0; i < kExecucoes; ++i) {
        TClientDataSetPlus *lista = janela->dados()->cdsPesPedido;
        if (!lista->locate({QStringLiteral("CODPDF"), QStringLiteral("CODINT")}, {pedido, QStringLiteral("0")}))
            throw std::runtime_error("the saved order is not in the order list");
        janela->tbsPesquisa->dbgPesquisaDblClick();
        if (janela->dados()->cdsCADITEM->recordCount() != kItens)
            throw std::runtime_error("the stored order did not open with its items");
        // One item changed, as a seller would before saving again.
        TClientDataSetPlus *itens = janela->dados()->cdsCADITEM;
        itens->setRecNo(i);
        janela->itens->carregaItem();
        janela->itens->edQTDE->setText(QString::number(2 * qRound64(itens->asFloat(QStringLiteral("FATPRO")))));
        janela->itens->btIncluirITMClick();
        const TempoSalvar t = salva(*janela);
        salvaAlterado << t.total;
        gravaAlterado << t.gravacao;
        if (janela->paginas->currentWidget() != janela->tbsPesquisa)
            throw std::runtime_error("the stored order was not saved again");
    }
    if (conta(cnx, contagem) != kItens)
        throw std::runtime_error("the order lost items when saved again");

    const double b = Medicao::mediana(base);
    const double r = Medicao::mediana(repreco);
    const double s = Medicao::mediana(gravaAlterado);
    out << "== bench_repreco_pedido: order " << pedido << " of customer 1 with " << kItens << " items, " << rotulo << Qt::endl;
    Medicao::figura(QStringLiteral("baseline, Firebird reading the stored items with their table prices, median"),
                    Medicao::descreve(b, base));
    Medicao::figura(QStringLiteral("writing one item (Enter in \"Qtde.:\"), first 20 items / last 20 items, median"),
                    QString::number(Medicao::mediana(entradas.mid(0, 20)), 'f', 1) + QStringLiteral(" ms / ")
                        + QString::number(Medicao::mediana(entradas.mid(entradas.size() - 20)), 'f', 1)
                        + QStringLiteral(" ms"));
    Medicao::figura(QStringLiteral("recalculaItens over the items, median"), Medicao::descreve(r, repreco));
    Medicao::figura(QStringLiteral("ratio recalculaItens/baseline"), QString::number(r / b, 'f', 1));
    Medicao::figura(QStringLiteral("\"Salvar\" of the new order up to the return to the list (200 inserts)"),
                    QString::number(salvaNovo.gravacao, 'f', 1) + QStringLiteral(" ms"));
    Medicao::figura(QStringLiteral("\"Salvar\" of the new order, whole click with the order list search"),
                    QString::number(salvaNovo.total, 'f', 1) + QStringLiteral(" ms"));
    Medicao::figura(QStringLiteral("\"Salvar\" of the stored order with one item changed, up to the return, median"),
                    Medicao::descreve(s, gravaAlterado));
    Medicao::figura(QStringLiteral("\"Salvar\" of the stored order, whole click with the order list search, median"),
                    Medicao::descreve(Medicao::mediana(salvaAlterado), salvaAlterado));
    Medicao::figura(QStringLiteral("ratio \"Salvar\" (stored order, up to the return)/baseline"), QString::number(s / b, 'f', 1));
    Medicao::alvo(QStringLiteral("recalculaItens < 200 ms"), r, 200.0, QStringLiteral(" ms"));
    Medicao::alvo(QStringLiteral("\"Salvar\" of the new order < 200 ms"), salvaNovo.gravacao, 200.0, QStringLiteral(" ms"));
    Medicao::alvo(QStringLiteral("\"Salvar\" of the stored order < 200 ms"), s, 200.0, QStringLiteral(" ms"));
    janela.reset();
}

} // namespace

int main(int argc, char **argv)
{
    return AmbienteBench::executaPrograma(argc, argv, "bench_repreco_pedido", [](const QString &dados, QTextStream &out) {
        {
            AmbienteBench ambiente(dados);
            executa(ambiente, out, QStringLiteral("database file as delivered (forced writes)"));
        }
        // The same work with the disk's synchronous writes taken out: what the program itself costs.
        AmbienteBench assincrono(dados, AmbienteBench::Escrita::Assincrona);
        executa(assincrono, out, QStringLiteral("copy with asynchronous writes (program time without disk waits)"));
    });
}
