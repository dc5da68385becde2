#include "core/term/HistoryBuffer.h"

namespace zel {

void TBuffer::Commit(const std::string& text, bool advance)
{
    At(current_) = text;
    if (!advance)
        return;
    current_ = static_cast<std::int32_t>(Slot(current_ + 1));
    for (int n = 25; n >= 0; --n)
        At(current_ + n + 1) = At(current_ + n);
}

void TBuffer::DropNext()
{
    for (int i = 1; i <= 25; ++i)
        At(current_ + i) = At(current_ + i + 1);
}

const std::string& TBuffer::Recall(const std::string& text, Key key)
{
    At(current_) = text;
    current_ = static_cast<std::int32_t>(Slot(key == Key::Down ? current_ + 1 : current_ - 1));
    return At(current_);
}

} // namespace zel
