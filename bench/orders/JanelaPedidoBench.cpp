#include "JanelaPedidoBench.h"

#include "AmbienteBench.h"
#include "D500DAT.h"
#include "PainelCabecalho.h"
#include "U500CAD.h"
#include "U530PDV.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>

#include <stdexcept>

namespace JanelaPedidoBench {

std::unique_ptr<F530PDV> novoPedido(AmbienteBench &ambiente)
{
    ambiente.cad().codCliPedido = QStringLiteral("1");
    ambiente.cad().codNovPedido = QStringLiteral("0");
    ambiente.cad().codVenPedido = ambiente.dat().sessao.CODVEN;
    auto janela = std::make_unique<F530PDV>();
    janela->resize(1366, 768);
    janela->show();
    if (!QTest::qWaitForWindowExposed(janela.get()))
        throw std::runtime_error("the order window was not shown");
    for (QComboBox *lista : {janela->cabecalho->DBLookupComboBox1, janela->cabecalho->DBLookupComboBox2,
                             janela->cabecalho->DBLookupComboBox3}) {
        if (lista->count() == 0)
            throw std::runtime_error("a header list of the order is empty");
        lista->setCurrentIndex(0);
        emit lista->activated(0);
    }
    QApplication::processEvents();
    return janela;
}

void mostraItens(F530PDV &janela)
{
    janela.pgPedido->setCurrentIndex(1);
    QApplication::processEvents();
}

} // namespace JanelaPedidoBench
