#pragma once
#include <QDialog>

#include "core/game/GameSetModel.h"

class QComboBox;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QPushButton;

namespace zel {

class Random;

// The settings dialog of a game request. It shows the model's fields, passes
// every control event to the model's rules and, on "대국 신청", stores the
// visible tab's values and lets the model fix the colours.
class TGameSetForm : public QDialog {
    Q_OBJECT
public:
    TGameSetForm(TGameSetModel& model, Random& random, QWidget* parent = nullptr);

    QComboBox* cbHandi;
    QSpinBox* cbDumV;
    QComboBox* cbDumP;
    QTabWidget* Tabs;
    QSpinBox *seKBase, *seKSec, *seKSecC, *seCBase, *seCMin, *seCMove;
    QRadioButton *rbBlack, *rbWhite, *rbAuto;
    QPushButton *OkButton, *CancelBtn;

    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Sync();

    TGameSetModel& model_;
    Random& random_;
    bool syncing_ = false;
};

} // namespace zel
