#include "core/engine/Stack.h"

namespace zel {

bool TStack::Push(int x, int y)
{
    if (count_ >= kCapacity)
        return false;
    items_[count_++] = {x, y, 0};
    return true;
}

void TStack::Pop(int& x, int& y)
{
    if (count_ == 0)
        return;
    --count_;
    x = items_[count_].X;
    y = items_[count_].Y;
}

} // namespace zel
