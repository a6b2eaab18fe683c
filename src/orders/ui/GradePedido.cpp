#include "GradePedido.h"

#include "ClientDataSetPlus.h"
#include "LarguraColuna.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace GradePedido {

void prepara(QTableView *grade)
{
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->verticalHeader()->setDefaultSectionSize(18);
    grade->verticalHeader()->hide();
    grade->horizontalHeader()->setSectionsClickable(true);
}

void configura(QTableView *grade, TClientDataSetPlus *ds, const QList<Coluna> &colunas)
{
    if (!ds->active())
        return;
    grade->setModel(nullptr);
    for (const FieldDef &def : ds->fieldDefs()) {
        FieldDef &f = ds->fieldDef(def.name);
        f.visible = false;
    }
    for (const Coluna &c : colunas) {
        if (!ds->hasField(c.campo))
            continue;
        FieldDef &f = ds->fieldDef(c.campo);
        f.visible = true;
        f.displayLabel = c.titulo;
        if (!c.formato.isEmpty())
            f.displayFormat = c.formato;
    }
    grade->setModel(ds);
    // The dataset's current row follows the grid, and the grid follows the dataset.
    QObject::connect(grade->selectionModel(), &QItemSelectionModel::currentRowChanged, ds,
                     [ds](const QModelIndex &atual) {
                         if (atual.isValid() && atual.row() != ds->recNo())
                             ds->setRecNo(atual.row());
                     });
    if (!grade->property("segueDados").toBool()) {
        grade->setProperty("segueDados", true);
        QObject::connect(ds, &TClientDataSetPlus::currentChanged, grade, [grade, ds](int posicao) {
            if (grade->model() == ds && posicao >= 0 && grade->currentIndex().row() != posicao)
                grade->selectRow(posicao);
        });
    }
    // The model lists visible fields in dataset order; the header shows them in ours.
    QHeaderView *cabecalho = grade->horizontalHeader();
    cabecalho->reset();
    const QFontMetrics medida = grade->fontMetrics();
    for (int destino = 0; destino < colunas.size(); ++destino) {
        const Coluna &coluna = colunas.at(destino);
        const int logica = ds->columnOfField(coluna.campo);
        if (logica < 0)
            continue;
        const int atual = cabecalho->visualIndex(logica);
        if (atual != destino)
            cabecalho->moveSection(atual, destino);
        cabecalho->resizeSection(logica, larguraColuna(medida, ds->fieldDef(coluna.campo), coluna.titulo));
    }
}

} // namespace GradePedido
