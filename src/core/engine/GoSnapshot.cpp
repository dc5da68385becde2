#include "core/engine/GoSnapshot.h"

namespace zel {

void EmptySnapshot(TGoSnapshot& s)
{
    s = TGoSnapshot{};
    for (TMoveRecord& m : s.Moves)
        m = TMoveRecord{0, -1, 0, 0, 0};
}

void ClearNumbering(TNumbering& n)
{
    n = TNumbering{};
}

void ClearPointArray(TColourGrid& a)
{
    for (auto& row : a)
        row.fill(0);
}

} // namespace zel
