#pragma once

#include <QList>
#include <QString>

class QTableView;
class TClientDataSetPlus;

// Shows a dataset in a read-only, whole-row grid with the given columns, in the given order,
// with their captions and display masks; other fields are hidden.
namespace GradePedido {

struct Coluna
{
    QString campo;
    QString titulo;
    QString formato; // empty: the field's own
};

void prepara(QTableView *grade);
void configura(QTableView *grade, TClientDataSetPlus *ds, const QList<Coluna> &colunas);

} // namespace GradePedido
