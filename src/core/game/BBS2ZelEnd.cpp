#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/game/GameTexts.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/record/RecordFiles.h"
#include "core/record/SafeName.h"

namespace zel {

namespace {

// The first character of a result text ("흑", "백" or "무"), two bytes in CP949.
std::string FirstCharacter(const std::string& text)
{
    return text.substr(0, Cp949PrefixLength(text, 2));
}

} // namespace

// ---- end request and dead stones ----

void TBBS2Zel::RequestEnd()
{
    TimedNotice(KS("대국 종료 요청을 하였습니다."), 1000);
    SendGameMessage(true, 2, "GER" + MyId + "\\#" + NextLetter());
}

void TBBS2Zel::ReceiveEndRequest(const std::string& p)
{
    if (!ForMyGame())
        return;
    NextLetter();
    const Answer answer = Ask(KS("대국 종료 요청입니다."), KS("수 락"), KS("거 부"));
    if (answer == Answer::Stale)
        return;
    if (answer == Answer::No) {
        SendAnswer(p, true, 2, "GEC" + MyId + "\\#" + NextLetter());
        return;
    }
    deadMarkStage_ = 1;
    deadMarker_ = MyId == header_.BlackId ? header_.WhiteId : header_.BlackId;
    clicks_.Clear();
    TimedNotice(KS("상대방이 사석을 지정하고 있습니다."), 1500);
    s_.window.ShowDeadMarkButton();
    if (!IsMultiHost())
        info_.SetRunning(false, now_);
    SendAnswer(p, true, 2, "GEA" + MyId + "\\#" + NextLetter());
}

void TBBS2Zel::ReceiveEndAnswer(bool accepted)
{
    if (!accepted) {
        if (!ForMyGame())
            return;
        ApplyTurnMode(1);
        if (!Tell(KS("상대방이 응하지 않았습니다.")))
            return;
        s_.window.SetBoardInput(true);
        s_.window.ChatLine(KS("게임을 계속 진행하세요."));
        return;
    }
    if (!ForShownGame())
        return;
    if (!IsMultiHost())
        info_.SetRunning(false, now_);
    s_.window.ChatLine(KS("대국이 종료 되었습니다."));
    deadMarkStage_ = 1;
    if (ForMyGame()) {
        deadMarker_ = MyId;
        ApplyTurnMode(1);
        clicks_.Clear();
        if (!ShowDeadMarkNotice())
            return;
        s_.window.ShowDeadMarkButton();
        s_.window.SetBoardInput(true);
    } else {
        TimedNotice(KS("대국이 종료 되었습니다(사석지정 중)."), 1500);
    }
}

void TBBS2Zel::MarkClick(int x, int y)
{
    if (deadMarker_ != MyId) {
        TimedNotice(KS("상대방이 사석을 지정하고 있습니다."), 1500);
        s_.window.ShowDeadMarkButton();
        return;
    }
    if (clicks_.Push(x, y))
        board_.ToggleDeadGroup(x, y, false);
}

void TBBS2Zel::FinishMarking()
{
    if (deadMarkStage_ == 0 || !IsPlayer())
        return;
    if (deadMarker_ != MyId) {
        TimedNotice(KS("상대방이 사석을 지정하고 있습니다."), 1500);
        return;
    }
    deadMarker_.clear();
    std::string list = board_.DeadListText(clicks_);
    SendGameMessage(true, 2, "GDR" + list + "\\#" + NextLetter());
}

void TBBS2Zel::ReceiveDeadList(const std::string& p)
{
    if (!ForMyGame() || deadMarker_.empty() || deadMarker_ == MyId)
        return;
    std::size_t pos = 0;
    std::string list = NextField(p, pos);
    board_.ApplyDeadList(list, false, clicks_);
    NextLetter();
    const Answer answer = Ask(KS("사석지정에 동의 하십니까?"), KS("확 인"), KS("거 부"));
    if (answer == Answer::Stale)
        return;
    if (answer == Answer::No) {
        board_.ApplyDeadList(list, false, clicks_);
        SendAnswer(p, true, 2, "GDC" + list + "\\#" + NextLetter());
        return;
    }
    board_.ApplyDeadList(list, true, clicks_);
    ++deadMarkStage_;
    deadMarker_ = MyId;
    clicks_.Clear();
    if (deadMarkStage_ == 2) {
        SendAnswer(p, true, 1, "GDA" + list + "\\#" + MyId + "\\#" + NextLetter());
        if (!ShowDeadMarkNotice())
            return;
        s_.window.ShowDeadMarkButton();
        s_.window.SetBoardInput(true);
        return;
    }
    SendAnswer(p, true, 3, "GDA" + list + "\\#\\#" + NextLetter());
    Count();
}

void TBBS2Zel::ReceiveDeadAgreement(const std::string& p)
{
    if (!ForShownGame())
        return;
    std::size_t pos = 0;
    std::string list = NextField(p, pos);
    ++deadMarkStage_;
    deadMarker_ = CutBytes(NextField(p, pos), kMaxIdBytes);
    board_.ApplyDeadList(list, true, clicks_);
    if (IsPlayer() && deadMarkStage_ == 2)
        ApplyTurnMode(2);
    if (deadMarkStage_ == 3)
        Count();
}

void TBBS2Zel::ReceiveDeadRefusal(const std::string& p)
{
    if (!ForMyGame())
        return;
    std::size_t pos = 0;
    std::string list = NextField(p, pos);
    deadMarker_ = MyId;
    board_.ApplyDeadList(list, false, clicks_);
    clicks_.Clear();
    ApplyTurnMode(1);
    TimedNotice(KS("상대방이 동의하지 않았습니다."), 1500);
}

void TBBS2Zel::Count()
{
    int black = 0, white = 0;
    board_.CountScore(black, white);
    int komi = Code2ToNum(header_.KomiCode);
    std::string text = CountResultText(black, white, komi < 0 ? 0 : komi, header_.KomiSideCode);
    info_.PResult = text;
    info_.SetRunning(false, now_);
    SaveRecord(text);
    if (!Tell(text))
        return;
    CloseGame();
    deadMarkStage_ = 0;
}

// ---- resignation and time ----

void TBBS2Zel::Resign()
{
    if (Ask(KS("불계패를 선언하시겠습니까?"), KS("확 인"), KS("취 소")) != Answer::Yes)
        return;
    ApplyTurnMode(3);
    info_.PResult = ResignResultText(MyId == header_.WhiteId);
    std::string body = "GGR" + MyId + "\\#";
    closedGameId_ = header_.GameId;
    closingBodies_ = {body + NextLetter(), body + NextLetter()};
    for (const std::string& copy : closingBodies_)
        SendGameMessage(true, 3, copy);
    SaveRecord(info_.PResult);
    CloseGame();
}

void TBBS2Zel::ReceiveResignation(const std::string& p)
{
    if (!ForShownGame())
        return;
    ApplyTurnMode(3);
    std::size_t pos = 0;
    std::string resigner = NextField(p, pos);
    bool blackResigned = resigner == header_.BlackId;
    info_.PResult = ResignResultText(!blackResigned);
    info_.SetRunning(false, now_);
    SaveRecord(info_.PResult);
    std::string who = blackResigned ? header_.BlackId : header_.WhiteId;
    if (Tell(CutBytes(who + KS("님이 불계패를 인정했습니다!"), 57)))
        CloseGame();
}

void TBBS2Zel::LoseOnTime()
{
    info_.PResult = TimeResultText(MyId == header_.WhiteId);
    SaveRecord(info_.PResult);
    std::string body = "GGT" + MyId + "\\#";
    closedGameId_ = header_.GameId;
    closingBodies_ = {body + NextLetter(), body + NextLetter()};
    for (const std::string& copy : closingBodies_)
        SendGameMessage(true, 3, copy);
    ApplyTurnMode(3);
    info_.SetRunning(false, now_);
    if (Tell(KS("시간패 입니다.")))
        CloseGame();
}

void TBBS2Zel::ReceiveTimeLoss(const std::string& p)
{
    if (!ForShownGame())
        return;
    std::size_t pos = 0;
    std::string loser = NextField(p, pos);
    info_.PResult = TimeResultText(loser != header_.BlackId);
    ApplyTurnMode(3);
    info_.SetRunning(false, now_);
    SaveRecord(info_.PResult);
    if (Tell(info_.PResult + KS("입니다.")))
        CloseGame();
}

// ---- undo and adjournment ----

void TBBS2Zel::RequestUndo()
{
    if (board_.MoveCount() <= 1)
        return;
    SendGameMessage(true, 2, "GRR" + NumToCode2(board_.MoveCount() - 2) + NextLetter());
}

void TBBS2Zel::ReceiveUndo(const std::string& code, const std::string& p)
{
    bool countMatches = p.size() >= 2 && board_.MoveCount() == Code2ToNum(p) + 2;
    if (!countMatches)
        return;
    if (code == "GRR") {
        if (!ForMyGame())
            return;
        NextLetter();
        const Answer answer = Ask(KS("물림요청입니다!"), KS("수 락"), KS("거 부"));
        if (answer == Answer::Stale)
            return;
        if (answer == Answer::Yes) {
            board_.Undo();
            board_.Undo();
            SendAnswer(p, true, 0, "GRA" + p + NextLetter());
        } else {
            SendAnswer(p, true, 0, "GRC" + p + NextLetter());
        }
    } else if (code == "GRA") {
        if (!ForShownGame())
            return;
        TimedNotice(KS("물림요청이 수락되었습니다!"), 2000);
        board_.Undo();
        board_.Undo();
        ApplyTurnMode(0);
    } else if (code == "GRC") {
        if (!ForMyGame())
            return;
        ApplyTurnMode(0);
        Tell(KS("상대방이 응하지 않았습니다."));
    }
}

void TBBS2Zel::RequestAdjourn()
{
    int count = board_.MoveCount() >= 2 ? board_.MoveCount() - 2 : 0;
    SendGameMessage(true, 2, "GCR" + NumToCode2(count) + NextLetter());
}

void TBBS2Zel::ReceiveAdjourn(const std::string& code, const std::string& p)
{
    if (code == "GCR") {
        if (!ForMyGame())
            return;
        NextLetter();
        const Answer answer = Ask(KS("대국 중단 요청입니다."), KS("수 락"), KS("거 부"));
        if (answer == Answer::Stale)
            return;
        if (answer == Answer::Yes) {
            SendAnswer(p, true, 0, "GCA" + p + NextLetter());
            AdjournGame();
        } else {
            SendAnswer(p, true, 0, "GCC" + p + NextLetter());
        }
    } else if (code == "GCA") {
        if (ForShownGame())
            AdjournGame();
    } else if (code == "GCC") {
        if (!ForMyGame())
            return;
        ApplyTurnMode(0);
        Tell(KS("상대방이 응하지 않았습니다."));
    }
}

void TBBS2Zel::AdjournGame()
{
    bool player = IsPlayer();
    if (player) {
        if (!s_.lobby.InMultiRoom() && IsBlackPlayer())
            s_.lobby.ReportGameOver();
        SaveState(true);
    }
    EndSession();
    s_.lobby.TerminalText(player ? KS("\n   ### 대국자의 합의로 대국이 중단되고 기보가 저장되었습니다.\n\n")
                                 : KS("\n   ### 대국자의 합의로 대국이 중단 되었습니다.\n\n"));
}

void TBBS2Zel::SaveState(bool replace)
{
    // The name is made of ids from the network: only a bare name is written.
    const std::string name = AdjournedName();
    RecordStatus status = RecordStatus::Ok;
    if (!IsBareName(name))
        status = RecordStatus::Refused;
    else if ((replace || !s_.records.Exists(name)) && !s_.records.Write(name, GameStateLine()))
        status = RecordStatus::WriteFailed;
    if (status != RecordStatus::Ok)
        TimedNotice(TRecordFiles::NoticeText(status), kRecordNoticeMs);
}

bool TBBS2Zel::ForcedStop(const std::string& name, const std::string& id)
{
    // The host's boards wait in "multiinfo.tmp" for the host's return; they
    // stay in play when the file cannot be written.
    if (!id.empty() && id == MultiHostId && IsMultiHost()) {
        if (ActiveBoards() == 0 || !SaveMultiBoards())
            return false;
        for (TMultiBoard& b : boards_)
            b = TMultiBoard{};
        boardCount_ = currentBoard_ = 0;
        EndSession();
        s_.lobby.TerminalText(KS("\n   ### 대국이 중단되고 기보가 저장되었습니다.\n\n"));
        return true;
    }
    if (!gameOpen_ || sessionKind_ != kGameSession || id.empty() || (id != header_.BlackId && id != header_.WhiteId) ||
        IsMultiHost())
        return false;
    bool player = IsPlayer();
    SaveState(false);
    EndSession();
    if (id != MyId && s_.lobby.ForcedStopNotice())
        s_.lobby.TerminalText("\n   ### " + name + "(" + id + ")" + KS("님이 대국을 강제 중단 하였습니다!") + "\n");
    s_.lobby.TerminalText(KS("\n   ### 대국이 중단되고 기보가 저장되었습니다.\n\n"));
    if (player)
        s_.lobby.ReportGameOver();
    return true;
}

// ---- records ----

void TBBS2Zel::SaveRecord(const std::string& result)
{
    if (IsPlayer() && board_.MoveCount() >= 30) {
        bool userIsBlack = MyId == header_.BlackId;
        s_.lobby.ReportResult(userIsBlack, userIsBlack ? header_.WhiteId : header_.BlackId, FirstCharacter(result),
                              header_.HandicapCode);
    }
    TFinishedGame game;
    game.BlackId = header_.BlackId;
    game.WhiteId = header_.WhiteId;
    game.GameKey = header_.GameId;
    game.DateText = s_.lobby.DateText();
    game.Header.Black = header_.BlackLabel;
    game.Header.White = header_.WhiteLabel;
    game.Header.Handicap = LetterToNum(header_.HandicapCode);
    game.Header.KomiSide = header_.KomiSideCode.empty() ? 'A' : header_.KomiSideCode[0];
    int komi = Code2ToNum(header_.KomiCode);
    game.Header.Komi = komi < 0 ? 0 : komi;
    game.Header.DateLine = game.DateText + " " + s_.lobby.DateSuffix();
    game.Header.Title = RecordTitle();
    game.Header.Result = ResultField(result);
    TRecordFiles files(s_.records, s_.prompts);
    std::string name;
    if (files.WriteFinishedGame(game, board_.RecordLinesText(), s_.pending, name) == RecordStatus::Ok ||
        !name.empty()) {
        lastRecordName_ = name;
        s_.window.RecordWritten(header_.GameId, name);
    }
    if (IsBlackPlayer() && MultiHostId != header_.WhiteId)
        s_.lobby.ReportGameOver();
}

} // namespace zel
