#pragma once
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "core/game/GamePorts.h"

namespace zel {

class Random;

// The negotiation dialogs of the game session, shown modally over `parent`.
class QtGameDialogs : public TGameDialogs {
public:
    QtGameDialogs(Random& random, std::function<std::int32_t()> now, QWidget* parent = nullptr);

    bool ShowGameSet(TGameSetModel& model) override;
    bool ShowGameRequest(TGameRequestModel& model) override;
    // The dead-stone notice at a screen point.
    void ShowDeadMarkNotice(const QPoint& at);

private:
    Random& random_;
    std::function<std::int32_t()> now_;
    QPointer<QWidget> parent_;
};

} // namespace zel
