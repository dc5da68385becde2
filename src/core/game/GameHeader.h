#pragma once
#include <string>

namespace zel {

// One game's terms as both clients hold them. Numbers inside are letter
// codes; widths are limits in bytes.
struct TGameHeader {
    int Active = 0;          // 1 once a request was sent or received
    std::string PairKey;     // BlackId + WhiteId: names the adjourned-game file
    std::string GameId;      // 3 letters chosen by the requester
    std::string PeerSession; // the opponent's session id
    std::string ResumeCount = "AA";
    std::string BlackId, WhiteId;       // at most 30 bytes each
    std::string BlackLabel, WhiteLabel; // at most 30 bytes each
    std::string HandicapCode = "A";
    std::string KomiSideCode = "A"; // "A" black gives komi, "B" white
    std::string KomiCode = "AG";
    std::string TimeModeCode = "B"; // "A" none, "B" main + byo-yomi, "C" international
    std::string MainTimeCode = "BE", ByoSecondsCode = "BE", ByoCountCode = "AF";
    std::string MethodText;
    std::string MsgGameId, MsgSession, MsgCode;
};

} // namespace zel
