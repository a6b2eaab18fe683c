#include "ListaSuspensa.h"

#include <QAbstractItemView>
#include <QMetaObject>

void ListaSuspensa::showPopup()
{
    emit aberta();
    QComboBox::showPopup();
}

void ListaSuspensa::hidePopup()
{
    const bool aberto = view()->isVisible();
    QComboBox::hidePopup();
    if (aberto)
        QMetaObject::invokeMethod(this, &ListaSuspensa::fechada, Qt::QueuedConnection);
}
