#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

class TGiboList;

// Commentary written while a game runs, held under the game's 3-letter key
// until the game's record is written and the lines are merged into it.
class THelpList {
public:
    static constexpr int kCapacity = 200;

    // Line: the game key (3 characters) followed by a record line. A line
    // under another key first drops every stored line. Beyond kCapacity
    // lines, further lines are dropped (false).
    bool AddPending(std::string_view line);
    // When gameKey is Key, gives every stored line to list.AddLine in order
    // and empties the list (Key stays); otherwise does nothing.
    void FlushInto(std::string_view gameKey, TGiboList& list);

    std::int32_t Count() const { return count_; }
    const std::string& Key() const { return key_; }
    // Line i, 1..Count.
    const std::string& Line(int i) const { return lines_[static_cast<std::size_t>(i - 1)]; }

private:
    std::int32_t count_ = 0;
    std::string key_;
    std::array<std::string, kCapacity> lines_;
};

} // namespace zel
