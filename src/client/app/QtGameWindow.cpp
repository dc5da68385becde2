#include "client/app/QtGameWindow.h"

#include "client/app/DeadStoneAdvisor.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/DMConfirmForm.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/record/ZelGoMainForm.h"
#include "client/term/ChatTerm.h"
#include "core/engine/GoSnapshot.h"

namespace zel {

QtGameWindow::QtGameWindow(TZelGoMainForm& form, TElmGoInfo* info) : form_(&form), info_(info) {}

void QtGameWindow::ShowSession(int layout)
{
    if (!form_)
        return;
    if (advisor_)
        advisor_->Clear();
    form_->GameInfo()->ShowModel(info_);
    if (form_->Mode() != TZelGoMainForm::kLive) {
        TGoSnapshot empty;
        EmptySnapshot(empty);
        form_->EnterMode(TZelGoMainForm::kLive, empty);
    }
    form_->SetLayout(layout);
    form_->GoTerminal()->Clear();
    form_->show();
    form_->raise();
}

void QtGameWindow::HideSession()
{
    if (!form_)
        return;
    SetBoardInput(false);
    if (advisor_)
        advisor_->Clear();
    form_->GameInfo()->ShowModel(nullptr);
    form_->GoPaintBox()->SetColours(TPointColours{});
    form_->hide();
}

void QtGameWindow::SetBoardInput(bool on)
{
    input_ = on;
    if (form_)
        form_->SetLiveBoardInput(on);
}

bool QtGameWindow::ShowsLiveGame() const
{
    return form_ && form_->Mode() == TZelGoMainForm::kLive;
}

void QtGameWindow::ShowDeadMarkButton()
{
    if (form_)
        form_->SetButtonCommand(kStopButton, kCmdDeadMarkDone);
    if (advisor_)
        advisor_->MarkingStarted();
}

void QtGameWindow::ShowPlayButton()
{
    if (form_)
        form_->SetButtonCommand(
            kStopButton, LayoutCommands(kLayoutPlaying, form_->MultiGameHost && form_->MultiGameHost())[kStopButton]);
}

void QtGameWindow::ShowDeadMarkNotice()
{
    if (OnDeadMarkNotice) {
        OnDeadMarkNotice();
        return;
    }
    if (!form_)
        return;
    TDMConfirmForm notice(form_);
    notice.adjustSize();
    notice.move(form_->GoTerminal()->mapToGlobal(QPoint(2, 2)));
    notice.exec();
}

void QtGameWindow::ChatLine(const std::string& text)
{
    if (form_)
        form_->GoTerminal()->AddText(text, true);
}

void QtGameWindow::ShowCountdown(int count)
{
    if (!form_ || count <= 0 || count > 99 || lastX_ <= 0)
        return;
    form_->GoPaintBox()->DrawMark(lastX_, lastY_, false, count);
}

void QtGameWindow::PointChanged(int x, int y, int mark, std::uint8_t colour)
{
    if (mark == kMarkLastMove) {
        lastX_ = x;
        lastY_ = y;
    }
    if (form_)
        form_->GoPaintBox()->DrawPoint(colour, x, y, mark);
}

void QtGameWindow::ShowBoard(const TGoSnapshot& snapshot)
{
    if (!form_)
        return;
    TPointValues marks{};
    lastX_ = lastY_ = 0;
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x) {
            const int mark = snapshot.Marks[y][x];
            marks[static_cast<std::size_t>(PointIndex(x, y))] = mark;
            if (mark == kMarkLastMove) {
                lastX_ = x;
                lastY_ = y;
            }
        }
    TGoPaintBox* box = form_->GoPaintBox();
    box->SetColours(snapshot.Board);
    box->SetMarks(marks);
}

void QtGameWindow::RecordWritten(const std::string&, const std::string& fileName)
{
    if (form_)
        form_->CurrentRecordName = fileName;
}

void QtGameWindow::GameKeyChanged(const std::string& gameKey)
{
    if (form_)
        form_->CurrentGameKey = gameKey;
}

void QtGameWindow::ShowReceivedCommentary(const std::string& body)
{
    if (!form_)
        return;
    if (OnReceivedCommentary) {
        OnReceivedCommentary(body);
        return;
    }
    TGoSnapshot snapshot;
    form_->Board().SaveSnapshot(snapshot);
    form_->ShowReceivedCommentary(body, snapshot);
}

std::string QtGameWindow::ChooseRecord(const std::string& caption)
{
    return form_ ? form_->ChooseRecord(caption) : std::string();
}

bool QtGameWindow::OpenReview(const std::string& path, bool host, const std::string& myId)
{
    return form_ && form_->OpenReviewPath(path, host, myId) == RecordStatus::Ok;
}

bool QtGameWindow::ShowsReview() const
{
    return form_ && form_->Mode() == TZelGoMainForm::kReviewing;
}

void QtGameWindow::SeekReviewPosition(int node)
{
    if (form_)
        form_->SeekReviewPosition(node);
}

void QtGameWindow::ShowReviewCommentary(const std::string& body)
{
    if (form_)
        form_->ShowReviewCommentary(body);
}

std::string QtGameWindow::CompactRecordText() const
{
    return form_ && form_->Record() ? form_->Record()->CompactText() : std::string();
}

} // namespace zel
