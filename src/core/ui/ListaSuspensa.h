#pragma once

#include <QComboBox>

// A drop-down list that tells when the seller clicks it open and when its list closes, whether
// or not the choice changed (activated alone says nothing when the list is left as it was).
class ListaSuspensa : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;
    void hidePopup() override;

signals:
    void aberta();
    // Queued: a choice made in the list is already current when it arrives.
    void fechada();
};
