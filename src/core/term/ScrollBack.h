#pragma once
#include <vector>

#include "core/term/TermCell.h"

namespace zel {

// Ring of terminal lines scrolled off the top of a screen. It keeps the last
// `capacity` lines; SBarMax counts pushes up to capacity - 1, so the line that
// would make it reach capacity replaces the oldest instead.
class TScrollBack {
public:
    explicit TScrollBack(int capacity);

    void Push(const TTermLine& line);
    void Clear();

    int Capacity() const { return static_cast<int>(lines_.size()); }
    // Lines held, oldest first: Line(0) .. Line(Count() - 1).
    int Count() const { return count_; }
    const TTermLine& Line(int index) const;
    int SBarMax() const { return sbarMax_; }

    // Replaces old default colours by new ones in every held cell.
    void Recolour(std::uint8_t oldFg, std::uint8_t oldBg, std::uint8_t newFg, std::uint8_t newBg);

private:
    std::vector<TTermLine> lines_;
    int head_ = 0; // slot of the newest line
    int count_ = 0;
    int sbarMax_ = 0;
};

} // namespace zel
