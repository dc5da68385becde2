#pragma once
#include <array>
#include <string>
#include <vector>

namespace zel {

// Which of the four memo windows is bound to which user, and the ids whose
// memos are refused. The windows themselves only mirror this state.
class TMemoBook {
public:
    static constexpr int kWindows = 4;
    static constexpr std::size_t kMaxBlocked = 90;

    struct Window {
        bool visible = false;
        int user = -1;
        std::string nickname;
    };

    // What becomes of a received memo.
    struct Delivery {
        bool consumed = false; // false: the line goes to the terminal
        int window = -1;       // the window that shows it, -1 when none
        bool opened = false;   // that window was hidden until now
        std::string line;      // "<--" + text for the window
    };

    // The window bound to `user`, or a newly bound hidden one; -1 when all
    // four are in use. `opened` tells whether it was hidden before.
    int Open(int user, const std::string& nickname, bool* opened = nullptr);
    // Routes "   ### [메모] nickname [rank] text" from `user` with id `id`.
    Delivery Receive(int user, const std::string& id, const std::string& nickname, const std::string& text);
    // Hides a window; with `refuse` the user's id joins the block list.
    void Hide(int window, bool refuse, const std::string& id);
    // The window bound to a user who left, or -1; that window is hidden.
    int UserLeft(int user);
    void HideAll();

    bool IsBlocked(const std::string& id) const;
    const Window& At(int window) const { return windows_[static_cast<std::size_t>(window)]; }
    const std::vector<std::string>& Blocked() const { return blocked_; }

    // The memo text without its "   ### [메모] " head and the sender part up
    // to the first "]"; empty when the line is too short.
    static std::string MemoBody(const std::string& text);

private:
    int BoundTo(int user) const;
    std::array<Window, kWindows> windows_;
    std::vector<std::string> blocked_;
};

} // namespace zel
