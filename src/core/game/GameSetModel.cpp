#include "core/game/GameSetModel.h"

#include <utility>

#include "core/base/Cp949.h"
#include "core/game/ElmGoInfo.h"
#include "core/ports/Random.h"

namespace zel {

std::string TGameSetModel::Caption() const
{
    return WhiteId + KS(" 님에게 대국신청 설정");
}

void TGameSetModel::HandicapChanged(int index)
{
    if (index < 0 || index >= kHandicaps)
        return;
    Handicap = index;
    if (Handicap != 0 && Choice == Colour::Auto)
        Choice = Colour::Black;
    if (!KomiEdited)
        Komi = Handicap == 0 ? 6 : 0;
}

void TGameSetModel::ColourClicked(Colour c)
{
    // Choosing "자동(호선)" means an even game.
    Choice = c;
    if (Handicap != 0 && Choice == Colour::Auto)
        Handicap = 0;
}

void TGameSetModel::KomiChanged(int komi)
{
    if (komi < 0 || komi > 99)
        return;
    Komi = komi;
    KomiEdited = true;
}

void TGameSetModel::Confirm(Random& random)
{
    if (confirmed_)
        return;
    confirmed_ = true;
    if (KBase == 0)
        KBase = 1;
    if (CBase == 0)
        CBase = 1;
    if (Choice == Colour::White)
        std::swap(BlackId, WhiteId);
    else if (Choice == Colour::Auto && HostId.empty() && random.Next(999) % 2 == 1)
        std::swap(BlackId, WhiteId);
}

void TGameRequestModel::Start(std::int32_t now)
{
    ticks_ = 0;
    mark_ = now;
}

void TGameRequestModel::Tick(std::int32_t now)
{
    while (ticks_ < 10 && SinceMidnightMark(now, mark_) >= 1000) {
        ++ticks_;
        mark_ = (mark_ + 1000) % kDayMs;
    }
}

} // namespace zel
