#pragma once

#include "BasePedidos.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "PainelCabecalho.h"
#include "PainelItens.h"
#include "PedidoDados.h"
#include "ScriptedAnswerer.h"
#include "StatementRun.h"
#include "TestDatabase.h"
#include "U500CAD.h"
#include "U530PDV.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QObject>
#include <QTabWidget>
#include <QTest>

#include <memory>

// The world of the order window's suites: a fresh small company (BasePedidos) in a database of
// its own, the data modules with seller 7's session, answered message boxes, and the program
// folder set to the database's folder (the recovery copy is written there).
class TesteJanelaPedido : public QObject
{
protected:
    void preparaAmbiente()
    {
        m_db = std::make_unique<TestDatabase>();
        m_dat = std::make_unique<D500DAT>();
        m_respostas = ScriptedAnswerer();
        m_dat->setMessagePresenter(&m_respostas);
        m_db->open(m_dat->cnxFirebird);
        m_cad = std::make_unique<D500CAD>(m_dat->cnxFirebird);
        m_pastaAnterior = QDir::currentPath();
        QDir::setCurrent(m_db->folder());
        Sessao &s = m_dat->sessao;
        s.CODEMP = QStringLiteral("1");
        s.CODVEN = QStringLiteral("7");
        s.DESRET = 0;
        s.ACRTAB = 0;
        s.editaRecuperados = false;
        BasePedidos::preenche(m_dat->cnxFirebird);
    }

    void desfazAmbiente()
    {
        m_cad.reset();
        m_dat->cnxFirebird.close();
        m_dat.reset();
        QDir::setCurrent(m_pastaAnterior);
        m_db.reset();
    }

    // A new order for the customer, as the registry hands it over.
    std::unique_ptr<F530PDV> novoPedido(const QString &cliente, const QString &vendedor = QStringLiteral("7"))
    {
        m_cad->codCliPedido = cliente;
        m_cad->codNovPedido = QStringLiteral("0");
        m_cad->codVenPedido = vendedor;
        auto w = std::make_unique<F530PDV>();
        w->show();
        return w;
    }

    // The first transaction, operation and condition of the header lists.
    static void escolheListas(F530PDV &w)
    {
        for (QComboBox *lista : {w.cabecalho->DBLookupComboBox1, w.cabecalho->DBLookupComboBox2,
                                 w.cabecalho->DBLookupComboBox3}) {
            QVERIFY(lista->count() > 0);
            lista->setCurrentIndex(0);
            emit lista->activated(0);
        }
    }

    // The product's row, the price and Enter, the quantity and Enter.
    static void digitaItem(F530PDV &w, const QString &produto, const QString &preco, const QString &quantidade)
    {
        if (w.pgPedido->currentIndex() != 1)
            w.pgPedido->setCurrentIndex(1);
        QVERIFY(w.dados()->cdsPESPRODUTO->locate({QStringLiteral("CODPRO"), QStringLiteral("VERFAM")},
                                                 {produto, QStringLiteral("N")}));
        w.itens->edPRECO->setText(preco);
        QTest::keyClick(w.itens->edPRECO, Qt::Key_Return);
        w.itens->edQTDE->setText(quantidade);
        QTest::keyClick(w.itens->edQTDE, Qt::Key_Return);
    }

    qint64 conta(const QString &sql)
    {
        QSqlQuery q = StatementRun::run(m_dat->cnxFirebird, sql);
        return q.next() ? q.value(0).toLongLong() : -1;
    }

    QString valor(const QString &sql)
    {
        QSqlQuery q = StatementRun::run(m_dat->cnxFirebird, sql);
        return q.next() ? q.value(0).toString() : QString();
    }

    void exec(const QString &sql) { m_dat->cnxFirebird.execute(sql); }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<D500DAT> m_dat;
    std::unique_ptr<D500CAD> m_cad;
    ScriptedAnswerer m_respostas;
    QString m_pastaAnterior;
};
