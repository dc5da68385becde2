#include "core/print/DispGrid.h"

namespace zel {

TGridEntry LDispGGrid::Entry(int row, int column) const
{
    if (row < 0 || row >= Rows() || column < 0 || column >= kColumns)
        return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

TGridEntry& LDispGGrid::At(int row, int column)
{
    if (row >= Rows())
        rows_.resize(static_cast<std::size_t>(row) + 1);
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int LDispGGrid::UsedRows() const
{
    for (int r = Rows(); r > 0; --r)
        for (const TGridEntry& e : rows_[static_cast<std::size_t>(r - 1)])
            if (e != TGridEntry{})
                return r;
    return 0;
}

} // namespace zel
