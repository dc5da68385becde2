#include "core/lobby/FloodRing.h"

#include <algorithm>

namespace zel {

bool TFloodRing::Record(std::int32_t now, const std::string& text)
{
    slots_[static_cast<std::size_t>(next_)] = Slot{now, text, true};
    next_ = (next_ + 1) % kSlots;
    // All five lines must be the same and the oldest of them less than two
    // seconds older than the newest.
    std::int32_t oldest = now, newest = now;
    for (const Slot& s : slots_) {
        if (!s.used || s.text != text)
            return false;
        oldest = std::min(oldest, s.time);
        newest = std::max(newest, s.time);
    }
    return newest - oldest < kWindow;
}

void TFloodRing::Clear()
{
    slots_ = {};
    next_ = 0;
}

} // namespace zel
