#include "core/term/ScrollBack.h"

namespace zel {

TScrollBack::TScrollBack(int capacity) : lines_(static_cast<std::size_t>(capacity < 2 ? 2 : capacity)) {}

void TScrollBack::Push(const TTermLine& line)
{
    const int cap = Capacity();
    head_ = (head_ + 1) % cap;
    lines_[static_cast<std::size_t>(head_)] = line;
    if (count_ < cap)
        ++count_;
    if (sbarMax_ < cap - 1)
        ++sbarMax_;
}

void TScrollBack::Clear()
{
    head_ = 0;
    count_ = 0;
    sbarMax_ = 0;
}

const TTermLine& TScrollBack::Line(int index) const
{
    const int cap = Capacity();
    if (index < 0)
        index = 0;
    if (index >= count_)
        index = count_ > 0 ? count_ - 1 : 0;
    const int slot = ((head_ - (count_ - 1) + index) % cap + cap) % cap;
    return lines_[static_cast<std::size_t>(slot)];
}

void TScrollBack::Recolour(std::uint8_t oldFg, std::uint8_t oldBg, std::uint8_t newFg, std::uint8_t newBg)
{
    zel::Recolour(lines_, oldFg, oldBg, newFg, newBg);
}

} // namespace zel
