#pragma once

#include "AmbienteJanela.h"
#include "DadosClientes.h"
#include "ModuleFrame.h"
#include "U599CAD.h"

#include <QMdiArea>
#include <QWidget>

#include <memory>

// The customer windows' world: the customer rows in a fresh database, the data modules with the
// seller's session (company 1, seller 7), and a module frame whose order window only records the
// customer it was opened for.
class AmbienteClientes : public AmbienteJanela
{
public:
    struct PedidoAberto
    {
        QString codCli, codNov, codVen;
    };

    AmbienteClientes()
        : AmbienteJanela(scriptClientes(QDate::currentDate()))
    {
        db->open(dat->cnxFirebird);
        dat->sessao.CODEMP = QStringLiteral("1");
        dat->sessao.CODVEN = QStringLiteral("7");
        dat->sessao.ACRTAB = 10;
        cad = std::make_unique<D500CAD>(dat->cnxFirebird);
        area = std::make_unique<QMdiArea>();
        frame = std::make_unique<ModuleFrame>(area.get(), &menu, &sair, [] {});
        ModuleFrame::registerModuleWindow(QStringLiteral("F530PDV"), [this](QWidget *parent) -> F599CAD * {
            pedidos.append({cad->codCliPedido, cad->codNovPedido, cad->codVenPedido});
            return new F599CAD(parent);
        });
    }

    ~AmbienteClientes()
    {
        ModuleFrame::unregisterModuleWindow(QStringLiteral("F530PDV"));
        frame.reset();
        area.reset();
    }

    QWidget menu;
    QWidget sair;
    std::unique_ptr<QMdiArea> area;
    std::unique_ptr<ModuleFrame> frame;
    QList<PedidoAberto> pedidos;
};
