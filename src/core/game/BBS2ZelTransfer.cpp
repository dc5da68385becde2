// The game state and review records sent to one user in pieces of room or
// private text, and a watcher's session built from a received state.
#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/game/GameTexts.h"

namespace zel {
namespace {

constexpr std::size_t kPiece = 900;
constexpr int kMaxPieces = 3;
// The key of a review record; any other key is a game's.
constexpr std::string_view kRecordKey = "GSI";

bool IsGameKey(std::string_view key)
{
    if (key.size() != 3)
        return false;
    for (char c : key)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

} // namespace

void TBBS2Zel::SendPieces(const std::string& key, const std::string& text, const std::string& toUser)
{
    // Up to 900 characters go in one piece ("B"), up to 1800 in two ("C"),
    // anything longer in three ("D"); what does not fit is not sent.
    const int total = text.size() <= kPiece ? 1 : text.size() <= 2 * kPiece ? 2 : kMaxPieces;
    for (int i = 1; i <= total; ++i) {
        const std::size_t from = static_cast<std::size_t>(i - 1) * kPiece;
        const std::string piece = from < text.size() ? text.substr(from, kPiece) : std::string();
        const std::string line =
            ">C<" + key + "\\#" + static_cast<char>(65 + i) + static_cast<char>(65 + total) + "\\#" + piece + ">D<";
        if (toUser.empty())
            s_.lobby.SendRoomText(line);
        else
            s_.lobby.SendPrivate(toUser, line);
    }
}

void TBBS2Zel::SendGameState(const std::string& toUser)
{
    std::string line = GameStateLine();
    std::size_t pos = 0;
    NextField(line, pos);
    SendPieces(header_.GameId, line.substr(pos), toUser);
}

void TBBS2Zel::ReceiveChunk(std::string_view line)
{
    if (!s_.lobby.InRoom() || requestPending_)
        return;
    std::size_t start = line.find(">C<");
    if (start == std::string_view::npos)
        return;
    std::string_view text = line.substr(start + 3);
    std::size_t end = text.rfind(">D<");
    if (end == std::string_view::npos)
        return;
    text = text.substr(0, end);
    std::size_t pos = 0;
    std::string key = NextField(text, pos);
    std::string counts = NextField(text, pos);
    if (gameOpen_) {
        // A player who has the resumed game already acknowledges a copy of
        // its first piece, so the resumer stops sending it.
        if (Mends && IsPlayer() && key == header_.GameId && counts.size() >= 2 && counts[0] == 'B')
            SendRaw("XA" + header_.GameId + sessionId_ + "GPT" + NextLetter());
        return;
    }
    std::string_view piece = pos < text.size() ? text.substr(pos) : std::string_view();
    const int index = counts.size() >= 2 ? counts[0] - 65 : 0;
    const int total = counts.size() >= 2 ? counts[1] - 65 : 0;
    // A piece that no sender could have made ends the transfer.
    const bool wellFormed = (key == kRecordKey || IsGameKey(key)) && total >= 1 && total <= kMaxPieces && index >= 1 &&
                            index <= total && piece.size() <= kPiece;
    if (wellFormed && index == 1) {
        xferKey_ = key;
        xferIndex_ = 1;
        xferTotal_ = total;
        xferText_ = std::string(piece);
    } else if (wellFormed && key == xferKey_ && index == xferIndex_ + 1 && total == xferTotal_) {
        xferIndex_ = index;
        xferText_ += piece;
    } else {
        xferKey_.clear();
        xferIndex_ = 100;
        xferText_.clear();
        return;
    }
    if (xferIndex_ != xferTotal_)
        return;
    if (xferKey_ == kRecordKey) {
        std::string record = std::move(xferText_);
        xferKey_.clear();
        xferIndex_ = 100;
        xferText_.clear();
        StoreReviewRecord(record);
        return;
    }
    ObserveFromState();
}

void TBBS2Zel::ObserveFromState()
{
    std::string key = xferKey_;
    std::string state = xferText_;
    xferKey_.clear();
    xferIndex_ = 100;
    xferText_.clear();
    if (!IsGameKey(key))
        return;
    SetGameId(key);
    StartSession(kGameSession);
    SetGameId(key);
    if (!LoadGameState(state)) {
        EndSession();
        return;
    }
    msgLetterIndex_ = 0;
    lastPayload_.clear();
    lastMessage_.clear();
    if (!MyId.empty() && (MyId == header_.BlackId || MyId == header_.WhiteId)) {
        s_.window.ShowSession(kPlayingLayout);
        ApplyTurnMode(0);
        if (IsMyTurn())
            s_.window.SetBoardInput(true);
        s_.lobby.RememberOpponent(header_.BlackId, header_.WhiteId);
    } else {
        s_.window.ShowSession(kObservingLayout);
    }
}

} // namespace zel
