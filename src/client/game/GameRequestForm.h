#pragma once
#include <QDialog>
#include <cstdint>
#include <functional>

#include "core/game/GameSetModel.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zel {

// The dialog the addressee of a game request sees: both players, the method
// and the time limit, "수 락" (result 1) and "거 부" (result 2), and a gauge
// that fills in ten seconds, when the dialog closes as refused.
class TGameRequestForm : public QDialog {
    Q_OBJECT
public:
    TGameRequestForm(TGameRequestModel& model, std::function<std::int32_t()> now, QWidget* parent = nullptr);

    QLabel *PanelBlack, *PanelWhite, *PanelMethod, *PanelTLimit;
    QProgressBar* Gauge;
    QPushButton *OkButton, *CancelBtn;
    QTimer* Timer;

    void TimerTimer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TGameRequestModel& model_;
    std::function<std::int32_t()> now_;
};

} // namespace zel
