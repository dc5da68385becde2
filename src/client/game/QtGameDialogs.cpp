#include "client/game/QtGameDialogs.h"

#include "client/game/DMConfirmForm.h"
#include "client/game/GameRequestForm.h"
#include "client/game/GameSetForm.h"

namespace zel {

QtGameDialogs::QtGameDialogs(Random& random, std::function<std::int32_t()> now, QWidget* parent)
    : random_(random), now_(std::move(now)), parent_(parent)
{
}

bool QtGameDialogs::ShowGameSet(TGameSetModel& model)
{
    TGameSetForm form(model, random_, parent_);
    return form.exec() == 1;
}

bool QtGameDialogs::ShowGameRequest(TGameRequestModel& model)
{
    TGameRequestForm form(model, now_, parent_);
    return form.exec() == 1;
}

void QtGameDialogs::ShowDeadMarkNotice(const QPoint& at)
{
    TDMConfirmForm form(parent_);
    form.adjustSize();
    form.move(at);
    form.exec();
}

} // namespace zel
