// The multi-game host's boards: one slot per guest's game, the slot of each
// message taken up before it is handled and saved after, the boards kept in
// "multiinfo.tmp" while the host is away, and the black guest's status line.
#include <algorithm>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/game/GameTexts.h"
#include "core/game/MultiInfo.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/record/RecordFiles.h"

namespace zel {

int TBBS2Zel::ActiveBoards() const
{
    return static_cast<int>(
        std::count_if(boards_.begin() + 1, boards_.end(), [](const TMultiBoard& b) { return b.Active; }));
}

std::string TBBS2Zel::BoardGameId(int slot) const
{
    if (slot < 1 || slot > kMultiBoards || !boards_[static_cast<std::size_t>(slot)].Active)
        return {};
    return boards_[static_cast<std::size_t>(slot)].Header.GameId;
}

bool TBBS2Zel::SelectBoard()
{
    for (int i = boardCount_; i >= 1; --i) {
        TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (!b.Active || b.Header.GameId != header_.MsgGameId)
            continue;
        currentBoard_ = i;
        const TGameHeader msg = header_;
        header_ = b.Header;
        header_.GameId = msg.GameId;
        header_.MsgGameId = msg.MsgGameId;
        header_.MsgSession = msg.MsgSession;
        header_.MsgCode = msg.MsgCode;
        SetGameId(b.Header.GameId);
        deadMarkStage_ = b.DeadMarkStage;
        deadMarker_ = b.DeadMarker;
        pendingBody_ = b.PendingBody;
        lastPayload_ = b.LastPayload;
        if (shownBoard_ != i)
            ShowBoardOf(i);
        return true;
    }
    return false;
}

void TBBS2Zel::ShowBoardOf(int slot)
{
    TMultiBoard& b = boards_[static_cast<std::size_t>(slot)];
    replaying_ = true;
    board_.LoadSnapshot(b.Snapshot);
    replaying_ = false;
    shownBoard_ = slot;
    SetGameId(b.Header.GameId);
    RedrawBoard();
    ShowHeaderInPanel();
    int lx = 0, ly = 0;
    board_.LastMove(lx, ly);
    info_.SetNowPut(lx >= 0 && board_.MoveCount() > 0 ? std::to_string(ly) + " " + static_cast<char>(64 + lx)
                                                      : std::string());
    info_.SetNowTurn(board_.ColourToMove() == kBlack ? KS("흑") : KS("백"));
    info_.SetNowStone(board_.ColourToMove(), now_);
    if (b.DeadMarkStage > 0)
        s_.window.ShowDeadMarkButton();
    else
        s_.window.ShowPlayButton();
}

void TBBS2Zel::SaveBoard()
{
    if (!IsMultiHost() || currentBoard_ < 1 || currentBoard_ > kMultiBoards || shownBoard_ != currentBoard_)
        return;
    TMultiBoard& b = boards_[static_cast<std::size_t>(currentBoard_)];
    // Only the board's own game is written into its slot.
    if (!b.Active || b.Header.GameId != header_.GameId)
        return;
    board_.SaveSnapshot(b.Snapshot);
    b.Header = header_;
    b.DeadMarkStage = deadMarkStage_;
    b.DeadMarker = deadMarker_;
    b.PendingBody = pendingBody_;
    b.LastPayload = lastPayload_;
}

bool TBBS2Zel::BoardsFull(const std::string& requester) const
{
    for (int i = 1; i <= kMultiBoards; ++i) {
        const TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (!b.Active || b.Header.BlackId == requester || b.Header.WhiteId == requester)
            return false;
    }
    return true;
}

int TBBS2Zel::TakeBoard(const std::string& requester)
{
    // A second request of the same guest replaces that guest's board.
    for (int i = 1; i <= kMultiBoards; ++i) {
        TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (b.Active && (b.Header.BlackId == requester || b.Header.WhiteId == requester))
            b.Active = false;
    }
    // A slot freed by a finished game is taken again, so the table never
    // runs out while fewer than all its boards are in play.
    for (int i = 1; i <= kMultiBoards; ++i) {
        TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (b.Active)
            continue;
        b = TMultiBoard{};
        b.Active = true;
        b.Header = header_;
        board_.SaveSnapshot(b.Snapshot);
        boardCount_ = std::max(boardCount_, i);
        currentBoard_ = shownBoard_ = i;
        return i;
    }
    return 0;
}

bool TBBS2Zel::AnswerBoardRequest(const std::string& gameId)
{
    for (int i = boardCount_; i >= 1; --i) {
        const TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (!b.Active || b.Header.GameId != gameId)
            continue;
        // The guest has not had the acceptance, so neither what the host
        // sent on the board after it.
        if (!b.Accept.empty())
            SendRaw("XA" + b.Header.GameId + sessionId_ + b.Accept);
        if (!b.PendingBody.empty() && b.PendingBody != b.Accept)
            SendRaw("XA" + b.Header.GameId + sessionId_ + b.PendingBody);
        return true;
    }
    return false;
}

void TBBS2Zel::AnswerHostDuplicate()
{
    // The guest waits for the host's move: it is coming. Otherwise the
    // guest missed the host's answer: it goes again, or, with none kept,
    // the guest is told to recover.
    if (IsMyTurn() && deadMarkStage_ == 0)
        SendRaw("XA" + header_.GameId + sessionId_ + "GPT" + NextLetter());
    else if (!pendingBody_.empty())
        SendGameMessage(false, 4, pendingBody_);
    else
        SendGameMessage(false, 4, "GPE");
}

void TBBS2Zel::AnswerBoardCopy(const std::string& m)
{
    const std::string game = m.substr(0, 3);
    for (int i = boardCount_; i >= 1; --i) {
        const TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (!b.Active || b.Header.GameId != game)
            continue;
        const bool shown = i == shownBoard_ && i == currentBoard_ && header_.GameId == game;
        const std::uint8_t toMove = shown ? board_.ColourToMove() : b.Snapshot.ColourToMove;
        const std::uint8_t mine = MyId == b.Header.BlackId ? kBlack : MyId == b.Header.WhiteId ? kWhite : kEmpty;
        const int stage = shown ? deadMarkStage_ : b.DeadMarkStage;
        const std::string& pending = shown ? pendingBody_ : b.PendingBody;
        if (mine != kEmpty && toMove == mine && stage == 0)
            SendRaw("XA" + game + sessionId_ + "GPT" + NextLetter());
        else if (!pending.empty())
            SendRaw("XA" + game + sessionId_ + pending);
        else
            SendRaw("XA" + game + sessionId_ + "GPE");
        return;
    }
}

bool TBBS2Zel::SaveMultiBoards()
{
    SaveBoard();
    std::vector<std::string> lines;
    replaying_ = true;
    for (int i = 1; i <= boardCount_; ++i) {
        const TMultiBoard& b = boards_[static_cast<std::size_t>(i)];
        if (!b.Active)
            continue;
        header_ = b.Header;
        board_.LoadSnapshot(b.Snapshot);
        lines.push_back(GameStateLine());
    }
    replaying_ = false;
    shownBoard_ = 0;
    if (lines.empty())
        return false;
    if (!s_.records.Write(kMultiInfoName, WriteMultiInfo(lines))) {
        TimedNotice(TRecordFiles::NoticeText(RecordStatus::WriteFailed), kRecordNoticeMs);
        return false;
    }
    return true;
}

bool TBBS2Zel::RestoreMultiBoards()
{
    // Boards in play are never replaced by older ones from the file.
    if (!IsMultiHost() || gameOpen_ || ActiveBoards() > 0)
        return false;
    std::string text;
    std::vector<TMultiInfoBoard> saved;
    if (!s_.records.Exists(kMultiInfoName) || !s_.records.Read(kMultiInfoName, text) ||
        !ReadMultiInfo(text, kMultiBoards, saved))
        return false;
    for (TMultiBoard& b : boards_)
        b = TMultiBoard{};
    boardCount_ = currentBoard_ = shownBoard_ = 0;
    if (saved.empty()) {
        s_.records.Remove(kMultiInfoName);
        return false;
    }
    StartSession(kGameSession);
    int slot = 0;
    for (const TMultiInfoBoard& entry : saved) {
        SetGameId(entry.GameId);
        // Only the host's own games, as the state tells them, come back.
        if (!LoadGameState(entry.State) || (header_.BlackId != MyId && header_.WhiteId != MyId))
            continue;
        ++slot;
        TMultiBoard& b = boards_[static_cast<std::size_t>(slot)];
        header_.Active = 1;
        header_.ResumeCount = NumToCode2(board_.MoveCount());
        b.Active = true;
        b.Header = header_;
        board_.SaveSnapshot(b.Snapshot);
    }
    boardCount_ = currentBoard_ = shownBoard_ = slot;
    s_.records.Remove(kMultiInfoName);
    if (slot == 0) {
        EndSession();
        return false;
    }
    inputEnabled_ = false;
    awaitingReply_ = true;
    RefreshBoardInput();
    s_.window.ShowSession(kPlayingLayout);
    TimedNotice(KS("다면기 정보를 갱신 하였습니다"), 2000);
    return true;
}

void TBBS2Zel::ClearMultiBoards()
{
    if (!IsMultiHost())
        return;
    for (TMultiBoard& b : boards_)
        b = TMultiBoard{};
    boardCount_ = currentBoard_ = shownBoard_ = 0;
    EndSession();
}

std::string TBBS2Zel::StatusLine()
{
    return KS("   ### 흑: ") + header_.BlackLabel + " : " + board_.HandicapText() + KS(" : 현재 ") +
           std::to_string(board_.MoveCount()) + KS("수");
}

void TBBS2Zel::AnnounceStatus()
{
    if (s_.lobby.InMultiRoom() && IsBlackPlayer() && !IsMultiHost())
        s_.lobby.SendRoomText(StatusLine());
}

void TBBS2Zel::SendStatusLine(const std::string& toUser)
{
    if (toUser.empty() || toUser == MyId || !gameOpen_ || !IsBlackPlayer() || IsMultiHost() || !s_.lobby.InMultiRoom())
        return;
    s_.lobby.SendPrivate(toUser, StatusLine());
}

} // namespace zel
