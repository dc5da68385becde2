#include "core/lobby/MemoBook.h"

#include <algorithm>

namespace zel {

namespace {
constexpr std::size_t kMemoHead = 14; // "   ### [메모] " in CP949
} // namespace

int TMemoBook::BoundTo(int user) const
{
    for (int i = 0; i < kWindows; ++i)
        if (windows_[static_cast<std::size_t>(i)].visible && windows_[static_cast<std::size_t>(i)].user == user)
            return i;
    return -1;
}

int TMemoBook::Open(int user, const std::string& nickname, bool* opened)
{
    if (opened)
        *opened = false;
    if (user < 0)
        return -1;
    int bound = BoundTo(user);
    if (bound >= 0)
        return bound;
    for (int i = 0; i < kWindows; ++i) {
        Window& w = windows_[static_cast<std::size_t>(i)];
        if (!w.visible) {
            w = Window{true, user, nickname};
            if (opened)
                *opened = true;
            return i;
        }
    }
    return -1;
}

std::string TMemoBook::MemoBody(const std::string& text)
{
    if (text.size() < kMemoHead)
        return {};
    std::size_t close = text.find(']', kMemoHead);
    if (close == std::string::npos)
        return text.substr(kMemoHead);
    return text.substr(close + 1);
}

TMemoBook::Delivery TMemoBook::Receive(int user, const std::string& id, const std::string& nickname,
                                       const std::string& text)
{
    Delivery d;
    if (IsBlocked(id)) {
        d.consumed = true;
        return d;
    }
    d.window = Open(user, nickname, &d.opened);
    if (d.window < 0)
        return d;
    d.consumed = true;
    d.line = "<--" + MemoBody(text);
    return d;
}

void TMemoBook::Hide(int window, bool refuse, const std::string& id)
{
    if (window < 0 || window >= kWindows)
        return;
    Window& w = windows_[static_cast<std::size_t>(window)];
    w.visible = false;
    if (refuse && !id.empty() && !IsBlocked(id) && blocked_.size() < kMaxBlocked)
        blocked_.push_back(id);
}

int TMemoBook::UserLeft(int user)
{
    int bound = BoundTo(user);
    if (bound >= 0)
        windows_[static_cast<std::size_t>(bound)].visible = false;
    return bound;
}

void TMemoBook::HideAll()
{
    for (Window& w : windows_)
        w.visible = false;
}

bool TMemoBook::IsBlocked(const std::string& id) const
{
    return std::find(blocked_.begin(), blocked_.end(), id) != blocked_.end();
}

} // namespace zel
