#include "LarguraColuna.h"

#include "FieldDef.h"

#include <QFontMetrics>

int larguraColuna(const QFontMetrics &medida, const FieldDef &campo, const QString &titulo)
{
    // A mask's optional digits are seldom all used: three quarters of it is the usual value.
    const QString &mascara = campo.displayFormat;
    const int pelaMascara = mascara.contains(u'#') ? int(mascara.size()) * 3 / 4 : int(mascara.size());
    int caracteres = qMax(int(titulo.size()), pelaMascara);
    if (campo.kind == FieldKind::String)
        caracteres = qMax(caracteres, qMin(campo.size, 28));
    else if (campo.kind == FieldKind::Date)
        caracteres = qMax(caracteres, 10); // dd/mm/yyyy
    else if (campo.kind == FieldKind::DateTime)
        caracteres = qMax(caracteres, 16);
    else if (mascara.isEmpty())
        caracteres = qMax(caracteres, 6);
    return medida.horizontalAdvance(QString(qMax(caracteres, 3), u'0')) + 12;
}
