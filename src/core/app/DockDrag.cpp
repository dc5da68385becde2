#include "core/app/DockDrag.h"

#include <cstdlib>

namespace zel {
namespace {

constexpr std::int32_t kDayMs = 24 * 60 * 60 * 1000;

// Milliseconds from `mark` to `now`, across midnight.
std::int32_t Since(std::int32_t now, std::int32_t mark)
{
    return now >= mark ? now - mark : now + kDayMs - mark;
}

} // namespace

void TDockDrag::Moved(std::int32_t now, const TDockRect& frame, TDockPoint cursor, const TDockRect& site)
{
    const TDockPoint offset{cursor.x - frame.left, cursor.y - frame.top};
    if (following_ && frame == frame_)
        return; // a repeated report: the window did not move
    const bool sameSize = frame.width == frame_.width && frame.height == frame_.height;
    if (following_ && sameSize && Since(now, lastMove_) < kQuietMs && std::abs(offset.x - offset_.x) <= kSlack &&
        std::abs(offset.y - offset_.y) <= kSlack) {
        ++steady_;
    } else {
        steady_ = 0;
    }
    following_ = true;
    lastMove_ = now;
    frame_ = frame;
    offset_ = offset;
    cursor_ = cursor;
    site_ = site;
}

bool TDockDrag::Tick(std::int32_t now)
{
    if (!following_ || Since(now, lastMove_) < kQuietMs)
        return false;
    const bool drop = !Preview().Empty();
    Cancel();
    return drop;
}

bool TDockDrag::Released(TDockPoint cursor)
{
    if (!Dragging()) {
        Cancel();
        return false;
    }
    const bool drop = InDockZone(site_, cursor);
    Cancel();
    return drop;
}

void TDockDrag::Cancel()
{
    following_ = false;
    steady_ = 0;
}

TDockRect TDockDrag::Preview() const
{
    if (!Dragging() || !InDockZone(site_, cursor_))
        return {};
    return DockZone(site_);
}

} // namespace zel
