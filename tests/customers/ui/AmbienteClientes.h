#pragma once

#include "D500DAT.h"
#include "DadosClientes.h"
#include "ModuleFrame.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"
#include "U500CAD.h"
#include "U599CAD.h"

#include <QMdiArea>
#include <QSqlQuery>
#include <QWidget>

#include <memory>

// A window test's world: the customer rows in a fresh database, the data modules with the
// seller's session (company 1, seller 7), answered boxes, and a module frame whose order
// window only records the customer it was opened for.
class AmbienteClientes
{
public:
    struct PedidoAberto
    {
        QString codCli, codNov, codVen;
    };

    AmbienteClientes()
    {
        db.runScript(scriptClientes(QDate::currentDate()));
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        db.open(dat->cnxFirebird);
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
        cad.reset();
        dat.reset();
    }

    QString valorNoBanco(const QString &sql) const
    {
        QSqlQuery q = dat->cnxFirebird.query();
        if (!q.exec(sql) || !q.next())
            return QStringLiteral("<sem linha>");
        return q.value(0).toString();
    }

    QStringList textos() const
    {
        QStringList t;
        for (const auto &m : respostas.shown)
            t << m.text;
        return t;
    }

    TestDatabase db;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<D500CAD> cad;
    QWidget menu;
    QWidget sair;
    std::unique_ptr<QMdiArea> area;
    std::unique_ptr<ModuleFrame> frame;
    QList<PedidoAberto> pedidos;
};
