#include "PainelFlex.h"

#include "ClientDataSetPlus.h"
#include "Formatos.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QString dinheiro(double valor)
{
    return Formatos::formatMask(valor, QStringLiteral("###,###,##0.00"));
}

} // namespace

PainelFlex::PainelFlex(QWidget *parent)
    : QWidget(parent)
{
    lblTOTGER = new QLabel;
    lblQTDITM = new QLabel;
    lblTOTSTB = new QLabel;
    lblSaldo = new QLabel;
    lblUso = new QLabel;
    lblPrevisto = new QLabel;
    auto *totais = new QFormLayout;
    totais->addRow(QStringLiteral("Total :"), lblTOTGER);
    totais->addRow(QStringLiteral("No. Itens :"), lblQTDITM);
    totais->addRow(QStringLiteral("Subs. Trib.:"), lblTOTSTB);
    auto *flex = new QGroupBox(QStringLiteral("Flex :"));
    auto *fl = new QFormLayout(flex);
    fl->addRow(QStringLiteral("Saldo:"), lblSaldo);
    fl->addRow(QStringLiteral("Uso:"), lblUso);
    fl->addRow(QStringLiteral("Prev.:"), lblPrevisto);
    // Tight rows: this strip sits under the order's pages, which take the window's height.
    totais->setVerticalSpacing(1);
    fl->setContentsMargins(6, 0, 6, 2);
    fl->setVerticalSpacing(0);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(totais);
    layout->addWidget(flex);
}

void PainelFlex::mostraTotais(const TClientDataSetPlus *itens)
{
    const bool abertos = itens->active();
    lblTOTGER->setText(dinheiro(abertos ? itens->sum(QStringLiteral("VLRTOT")) : 0.0));
    lblQTDITM->setText(Formatos::formatMask(abertos ? itens->count() : 0, QStringLiteral("000")));
    lblTOTSTB->setText(dinheiro(abertos ? itens->sum(QStringLiteral("VLRSTB")) : 0.0));
}

void PainelFlex::mostraFlex(const SaldoFlex::Exibicao &flex, const Decimal &uso)
{
    lblSaldo->setText(Formatos::formatMask(flex.disponivel.toDouble(), QStringLiteral("##,###,##0.00")));
    lblUso->setText(Formatos::formatMask(uso.toDouble(), QStringLiteral("##,###,##0.00")));
    lblPrevisto->setText(Formatos::formatMask(flex.previsto.toDouble(), QStringLiteral("##,###,##0.00")));
}
