#pragma once
#include <string>

#include "client/record/GoMainCommands.h"

namespace zel {

class TBBS2Zel;
class TDeadStoneAdvisor;
class TZelGoMainForm;

// What the link between the game window and the session asks of the lobby.
class TGameWindowLobby {
public:
    virtual ~TGameWindowLobby() = default;
    // A chat line of the game window for the user the lobby has chosen as
    // private-chat partner; false (nothing sent) when none is chosen.
    virtual bool SendToChatPartner(const std::string& line) = 0;
};

// Joins the game window to the game session: the live game's commands,
// board clicks and navigation go to the session; commentary writing and
// examining start from a copy of the session's board. Chat lines go to the
// lobby's private-chat partner when one is chosen, else through the session
// to the room. All three outlive the link.
class TGameWindowLink {
public:
    // "자동 지정" goes to advisor.
    TGameWindowLink(TZelGoMainForm& form, TBBS2Zel& session, TGameWindowLobby& lobby, TDeadStoneAdvisor& advisor);

    // A commentary received during the live game, shown over the session's board.
    void ShowReceivedCommentary(const std::string& body);

private:
    void GiboEvent(int kind, const std::string& text);
    void Command(int command);
    void Navigate(int code);
    void ShowNumbers(bool on);

    TZelGoMainForm& form_;
    TBBS2Zel& session_;
    TGameWindowLobby& lobby_;
    TDeadStoneAdvisor& advisor_;
};

} // namespace zel
