#include "client/record/ZelGoMainForm.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "client/base/QtText.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/record/MarkerPalette.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/ports/FileStore.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"
#include "os/DirFileStore.h"
// Walking the board and the record: navigation, board clicks, the replay
// timer, review positions and loading a record file.

namespace zel {

namespace {

// One move back in the record. The board stands at Current: leaving a move
// takes that move off, leaving a commentary keeps the board, as the
// commentary belongs to the move before it. False when Current stays.
bool BackOneMove(TGiboList& record, TGoBoard& board)
{
    TGoNode* before = record.Current();
    record.PrevMove();
    if (record.Current() == before)
        return false;
    if (before->Kind == TGoNode::kMove)
        board.Undo();
    return true;
}

} // namespace

void TZelGoMainForm::PlayRecordPoint(int x, int y)
{
    if (x == 0 && y == 0)
        board_.PlayPass();
    else if (x > 0 && y > 0)
        board_.PlayAt(x, y);
}

void TZelGoMainForm::ShowStepCommentary()
{
    TGoSnapshot snap;
    board_.SaveSnapshot(snap);
    EnterMode(kShowing, snap);
    // StepText is the whole body: its first two letters are the node's number.
    ShowCommentary(record_->StepText);
}

void TZelGoMainForm::RecordFirst()
{
    // Back to the first move, StepCount moves at a time; a step that cannot
    // move back at all ends the walk (a record may start with a commentary).
    while (record_->Current()->Number > 1) {
        bool moved = false;
        for (int k = 0; k < stepCount_; ++k) {
            if (!BackOneMove(*record_, board_))
                break;
            moved = true;
        }
        if (!moved)
            break;
    }
}

void TZelGoMainForm::RecordBack(int n)
{
    for (int k = 0; k < n; ++k) {
        if (!BackOneMove(*record_, board_))
            break;
    }
}

void TZelGoMainForm::RecordStepBack()
{
    TGoNode* before = record_->Current();
    if (!record_->StepBack()) {
        return;
    }
    if (record_->StepKind == 2) {
        ShowStepCommentary();
        return;
    }
    if (before && before->Kind == 1)
        board_.Undo();
}

void TZelGoMainForm::RecordStepForward()
{
    if (!record_->StepForward())
        return;
    if (record_->StepKind == 1)
        PlayRecordPoint(record_->StepX, record_->StepY);
    else if (record_->StepKind == 2)
        ShowStepCommentary();
}

void TZelGoMainForm::RecordForward(int n)
{
    for (int k = 0; k < n; ++k) {
        if (!record_->NextMove())
            break;
        PlayRecordPoint(record_->StepX, record_->StepY);
    }
}

void TZelGoMainForm::RecordLast()
{
    while (record_->Current()->Next != record_->Head()) {
        TGoNode* before = record_->Current();
        RecordForward(stepCount_);
        if (record_->Current() == before)
            break;
    }
}

void TZelGoMainForm::Navigate(int tag)
{
    const bool walksRecord = (mode_ == kViewing || mode_ == kReviewing) && record_;
    if (walksRecord) {
        switch (tag) {
        case kNavFirst:
            RecordFirst();
            break;
        case kNavBackSteps:
            RecordBack(stepCount_);
            break;
        case kNavBackOne:
            RecordStepBack();
            break;
        case kNavForwardOne:
            RecordStepForward();
            break;
        case kNavForwardSteps:
            RecordForward(stepCount_);
            break;
        case kNavLast:
            RecordLast();
            break;
        default:
            break;
        }
    } else if (mode_ != kLive || !OnNavEvent) {
        switch (tag) {
        case kNavFirst:
            while (board_.MoveCount() > 0)
                board_.Undo();
            break;
        case kNavBackSteps:
            for (int k = 0; k < stepCount_; ++k)
                board_.Undo();
            break;
        case kNavBackOne:
            board_.Undo();
            break;
        case kNavForwardOne:
            board_.Redo();
            break;
        case kNavForwardSteps:
            for (int k = 0; k < stepCount_ && board_.Redo(); ++k) {
            }
            break;
        case kNavLast:
            while (board_.Redo()) {
            }
            break;
        default:
            break;
        }
    }
    if (mode_ == kExamining && board_.MoveCount() >= board_.RedoLimit())
        ExaminingCommand(kCmdWatchState);
    AnnouncePosition();
}

void TZelGoMainForm::BoardClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    switch (mode_) {
    case kViewing:
    case kReviewing:
        Navigate(button == Qt::LeftButton ? kNavForwardOne : kNavBackOne);
        break;
    case kExamining:
        Navigate(button == Qt::LeftButton ? kNavForwardOne : kNavBackOne);
        break;
    case kShowing:
        if (previousMode_ == kViewing || previousMode_ == kReviewing) {
            ShowingCommand(kCmdEndShowing);
            paintBox_->ClearLabels();
            Navigate(button == Qt::LeftButton ? kNavForwardOne : kNavBackOne);
        }
        break;
    case kWriting:
        if (!TGoBoard::IsOnBoard(x, y))
            break;
        if (markerOpen_) {
            const int mark = kMarkFirstLetter + palette_->SelectedMarker();
            if (paintBox_->Mark(x, y) >= kMarkFirstLetter) {
                paintBox_->DrawMark(x, y, true, 0);
            } else {
                paintBox_->DrawMark(x, y, false, mark);
                palette_->Advance();
            }
        } else if (button == Qt::LeftButton) {
            board_.PlayAt(x, y);
        } else {
            if (board_.MoveCount() >= board_.Numbering().FirstNumbered)
                board_.Undo();
        }
        break;
    case kLive:
        if (OnBoardClick)
            OnBoardClick(button, modifiers, x, y);
        break;
    default:
        break;
    }
}

void TZelGoMainForm::AnnouncePosition()
{
    if (mode_ != kReviewing || !followMode_ || !IsParticipant || !record_ || !record_->Current())
        return;
    const int n = record_->Current()->Number;
    if (n == lastSentPosition_)
        return;
    lastSentPosition_ = n;
    if (OnGiboEvent)
        OnGiboEvent(kGiboReviewPosition, NumToCode2(n));
}

void TZelGoMainForm::SeekReviewPosition(int n)
{
    if (mode_ != kReviewing || !followMode_ || !record_)
        return;
    while (record_->Current()->Number < n) {
        if (!record_->NextMove())
            break;
        PlayRecordPoint(record_->StepX, record_->StepY);
    }
    while (record_->Current() != record_->Head()->Next && record_->Current() != record_->Head()) {
        TGoNode* node = record_->Current();
        if (!(n < node->Number || (n == node->Number && node->Kind == 2)))
            break;
        if (!BackOneMove(*record_, board_))
            break;
    }
}

void TZelGoMainForm::TimerTick()
{
    if (mode_ == kViewing && record_) {
        if (record_->NextMove()) {
            PlayRecordPoint(record_->StepX, record_->StepY);
        } else {
            // The end of the record: the replay stops and its button says so.
            aTimer_->stop();
            for (int i = 0; i < kCommandButtons; ++i)
                if (buttonCommands_[static_cast<std::size_t>(i)].Command == 26)
                    SetCommand(i, 19);
        }
    } else if (mode_ == kExamining) {
        Navigate(13);
    } else {
        aTimer_->stop();
    }
}

RecordStatus TZelGoMainForm::LoadRecordFile(const std::string& myId, bool viewing)
{
    RecordStatus status = RecordStatus::ReadFailed;
    if (store_) {
        TRecordFiles files(*store_, prompts_);
        status = files.LoadRecordFile(CurrentRecordName, record_);
    }
    if (!record_)
        record_ = std::make_unique<TGiboList>();
    TRecordHeader header = ParseRecordHeader(record_->Head()->Data);
    if (!viewing) {
        recordFileName_ = CurrentRecordName;
        lastSentPosition_ = 0;
        followMode_ = true;
        ReviewTitle = KS("[ 복기중 ]  흑(") + header.Black + KS(") : 백(") + header.White + ")";
        // The header holds display texts ("nickname(id) rank"), so the id is
        // also looked for inside its parentheses.
        auto names = [&myId](const std::string& label) {
            return !myId.empty() && (label == myId || label.find("(" + myId + ")") != std::string::npos);
        };
        IsParticipant = ReviewHost || names(header.Black) || names(header.White);
    }
    std::string method = HandicapName(header.Handicap) + (header.KomiSide == 'A' ? KS("(흑 ") : KS("(백 "));
    if (header.Komi > 0)
        method += std::to_string(header.Komi) + KS("집 반 공제)");
    else
        method = HandicapName(header.Handicap) + KS("(공제 없음)");

    TElmGoInfo& info = gameInfo_->Model();
    info.Reset(std::max(info.Rows(), 8));
    info.BPlayer = header.Black;
    info.WPlayer = header.White;
    info.Method = method;
    info.PlayDate = header.DateLine;
    info.PlayName = header.Title;
    info.PResult = header.Result;

    TGoSnapshot empty;
    EmptySnapshot(empty);
    TNumbering cleared;
    ClearNumbering(cleared);
    board_.LoadSnapshot(empty);
    board_.SetNumbering(cleared);
    if (header.Handicap >= 2)
        board_.SetHandicap(header.Handicap, 0);
    RedrawBoard();
    SetLayout(viewing ? kLayoutViewing : kLayoutReviewing);
    BoardMoved({});
    gameInfo_->Refresh();
    return status;
}

std::string TZelGoMainForm::ChooseRecord(const std::string& caption)
{
    if (ChooseRecordPath)
        return ChooseRecordPath(caption);
    const QString path =
        QFileDialog::getOpenFileName(this, ToQ(caption), ToQ(status_.critical.gibodir),
                                     QString::fromUtf8("벨다 기보 파일 (*.zel)"), nullptr, QFileDialog::Options());
    return FromQ(path);
}

RecordStatus TZelGoMainForm::OpenReviewPath(const std::string& path, bool host, const std::string& myId)
{
    const QFileInfo file(ToQ(path));
    if (path.find_first_of("/\\") != std::string::npos) {
        ownStore_ = std::make_unique<DirFileStore>(file.absolutePath().toStdString());
        store_ = ownStore_.get();
    } else {
        store_ = recordStore_;
    }
    CurrentRecordName = BareRecordName(FromQ(file.fileName()));
    ReviewHost = host;
    TGoSnapshot empty;
    EmptySnapshot(empty);
    EnterMode(kReviewing, empty);
    return LoadRecordFile(myId, false);
}

void TZelGoMainForm::ShowReviewCommentary(const std::string& body)
{
    if (mode_ != kReviewing)
        return;
    TGoSnapshot snapshot;
    board_.SaveSnapshot(snapshot);
    EnterMode(kShowing, snapshot);
    CommentaryFromServer = true;
    if (!ShowCommentary(body))
        ReturnToPreviousMode();
}

RecordStatus TZelGoMainForm::OpenRecordPath(const std::string& path)
{
    const QFileInfo file(ToQ(path));
    ownStore_ = std::make_unique<DirFileStore>(file.absolutePath().toStdString());
    store_ = ownStore_.get();
    CurrentRecordName = BareRecordName(FromQ(file.fileName()));
    TGoSnapshot empty;
    EmptySnapshot(empty);
    EnterMode(kViewing, empty);
    return LoadRecordFile("", true);
}

} // namespace zel
