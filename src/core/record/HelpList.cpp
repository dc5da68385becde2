#include "core/record/HelpList.h"

#include "core/record/GiboList.h"

namespace zel {

bool THelpList::AddPending(std::string_view line)
{
    if (line.size() < 3)
        return false;
    const std::string_view key = line.substr(0, 3);
    if (key != key_) {
        for (int i = 0; i < count_; ++i)
            lines_[static_cast<std::size_t>(i)].clear();
        count_ = 0;
        key_ = std::string(key);
    }
    if (count_ >= kCapacity)
        return false;
    lines_[static_cast<std::size_t>(count_)] = std::string(line.substr(3));
    ++count_;
    return true;
}

void THelpList::FlushInto(std::string_view gameKey, TGiboList& list)
{
    if (gameKey != key_)
        return;
    for (int i = 0; i < count_; ++i) {
        auto& line = lines_[static_cast<std::size_t>(i)];
        list.AddLine(line);
        line.clear();
    }
    count_ = 0;
}

} // namespace zel
