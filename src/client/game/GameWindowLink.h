#pragma once
#include <functional>
#include <string>

namespace zel {

class TBBS2Zel;
class TZelGoMainForm;

// Joins the game window to the game session: the live game's commands,
// board clicks and navigation go to the session; commentary writing and
// examining start from a copy of the session's board. Both outlive the link.
class TGameWindowLink {
public:
    TGameWindowLink(TZelGoMainForm& form, TBBS2Zel& session);

    // A commentary received during the live game, shown over the session's board.
    void ShowReceivedCommentary(const std::string& body);

    // Review messages of the window (kinds 2..5) for the lobby to send; chat
    // lines and live commentaries go to the session.
    std::function<void(int kind, const std::string& text)> OnText;
    // Code 1 and 2 of the navigation event: the session has ended.
    std::function<void(int code)> OnSessionEnded;

private:
    void Command(int command);
    void Navigate(int code);
    void ShowNumbers(bool on);

    TZelGoMainForm& form_;
    TBBS2Zel& session_;
};

} // namespace zel
