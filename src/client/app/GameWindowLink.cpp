#include "client/app/GameWindowLink.h"

#include "client/app/DeadStoneAdvisor.h"
#include "client/engine/GoPaintBox.h"
#include "client/record/ZelGoMainForm.h"
#include "core/game/BBS2Zel.h"

namespace zel {

TGameWindowLink::TGameWindowLink(TZelGoMainForm& form, TBBS2Zel& session, TGameWindowLobby& lobby,
                                 TDeadStoneAdvisor& advisor)
    : form_(form), session_(session), lobby_(lobby), advisor_(advisor)
{
    form_.OnCommand = [this](int, int command) { Command(command); };
    form_.OnBoardClick = [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        // Only the plain click plays.
        if (button == Qt::LeftButton)
            session_.BoardClick(x, y);
    };
    form_.OnNavEvent = [this](int code) { Navigate(code); };
    form_.OnGiboEvent = [this](int kind, const std::string& text) { GiboEvent(kind, text); };
    form_.UserPlays = [this] { return session_.IsPlayer(); };
    form_.LiveColourToMove = [this] { return session_.Board().ColourToMove(); };
    form_.MultiGameHost = [this] { return session_.IsMultiHost(); };
}

void TGameWindowLink::ShowReceivedCommentary(const std::string& body)
{
    TGoSnapshot snapshot;
    session_.Board().SaveSnapshot(snapshot);
    form_.ShowReceivedCommentary(body, snapshot);
}

void TGameWindowLink::GiboEvent(int kind, const std::string& text)
{
    switch (kind) {
    case kGiboChat:
        // Slash commands stay commands; other lines may go to the partner.
        if ((!text.empty() && text[0] == '/') || !lobby_.SendToChatPartner(text))
            session_.GiboEvent(kind, text);
        break;
    case kGiboLiveCommentary:
    case kGiboReviewCommentary:
    case kGiboReviewCheck:
    case kGiboReviewPosition:
    case kGiboReviewEnd:
        session_.GiboEvent(kind, text);
        break;
    default:
        break;
    }
}

void TGameWindowLink::Command(int command)
{
    switch (command) {
    case kCmdCommentary: {
        TGoSnapshot snapshot;
        session_.Board().SaveSnapshot(snapshot);
        form_.EnterMode(TZelGoMainForm::kWriting, snapshot);
        break;
    }
    case kCmdAnalysis:
        break;
    case kCmdAutoMark:
        advisor_.Apply();
        break;
    case kCmdShowNumbers:
        session_.Command(kCmdShowNumbers);
        ShowNumbers(true);
        break;
    case kCmdHideNumbers:
        session_.Command(kCmdHideNumbers);
        ShowNumbers(false);
        break;
    default:
        session_.Command(command);
        break;
    }
}

void TGameWindowLink::ShowNumbers(bool on)
{
    const TGoBoard& board = session_.Board();
    TPointValues marks{};
    int lastX = 0;
    int lastY = 0;
    board.LastMove(lastX, lastY);
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x) {
            int mark = 0;
            if (on && board.Colour(x, y) != kEmpty) {
                // The latest move whose stone stands here.
                for (int i = board.MoveCount(); i >= 1; --i)
                    if (board.Move(i).X == x && board.Move(i).Y == y) {
                        mark = i;
                        break;
                    }
            } else if (!on && x == lastX && y == lastY) {
                mark = kMarkLastMove;
            }
            marks[static_cast<std::size_t>((y - 1) * kBoardSize + (x - 1))] = mark;
        }
    form_.GoPaintBox()->SetMarks(marks);
}

void TGameWindowLink::Navigate(int code)
{
    if (code == kNavSessionEnd || code == kNavViewingEnd) {
        session_.NavEvent(code);
        return;
    }
    if (code >= kNavFirst && code <= kNavBackOne && session_.Board().MoveCount() >= 1) {
        TGoSnapshot snapshot;
        session_.Board().SaveSnapshot(snapshot);
        form_.EnterMode(TZelGoMainForm::kExamining, snapshot);
        form_.ButtonClick(code);
    }
}

} // namespace zel
