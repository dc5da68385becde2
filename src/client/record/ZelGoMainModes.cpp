#include "client/record/ZelGoMainForm.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "client/base/QtText.h"
#include "client/engine/GoPaintBox.h"
#include "client/record/MarkerPalette.h"
#include "client/term/ChatTerm.h"
#include "client/term/EditPanel.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"
// The window's modes: entering and leaving them, the commands of each mode,
// and writing and showing commentaries.

namespace zel {

void TZelGoMainForm::EnterMode(int mode, const TGoSnapshot& snapshot)
{
    if (mode_ == kLive && mode != kLive) {
        // The live game's buttons may carry turned commands ("지정 마침",
        // "대화 허용", "수순 지움"): they come back with the game.
        liveButtons_ = buttonCommands_;
        liveLayout_ = layout_;
    }
    previousMode_ = mode_;
    savedSnapshot_ = snapshot;
    mode_ = mode;
    switch (mode) {
    case kLive:
        setWindowTitle(QString::fromUtf8(kLiveCaption));
        goEdit_->hide();
        chatBox_->Input()->setFocus();
        paintBox_->SetHoverMode(liveInput_);
        break;
    case kWriting:
        markerOpen_ = false;
        board_.LoadSnapshot(snapshot);
        board_.SetNumbering({0, snapshot.MoveCount, 1});
        RedrawBoard();
        board_.Undo();
        SetLayout(kLayoutWriting);
        goEdit_->show();
        splitter_->setSizes(
            {std::max(10, splitter_->height() - status_.goMainForm.lengthA), std::max(5, status_.goMainForm.lengthA)});
        goEdit_->clear();
        goEdit_->setReadOnly(false);
        if (addingCommentary_)
            ShowCommentary(shownCommentary_);
        else
            goEdit_->setPlainText(QString::fromUtf8("<< 해 설 >>  "));
        goEdit_->moveCursor(QTextCursor::End);
        goEdit_->setFocus();
        break;
    case kShowing:
        board_.LoadSnapshot(snapshot);
        RedrawBoard();
        SetLayout(kLayoutShowing);
        goEdit_->show();
        splitter_->setSizes(
            {std::max(10, splitter_->height() - status_.goMainForm.lengthA), std::max(5, status_.goMainForm.lengthA)});
        goEdit_->clear();
        break;
    case kViewing:
    case kReviewing:
        setWindowTitle(QString::fromUtf8(mode == kViewing ? "기보 보기" : "기보 복기"));
        goEdit_->hide();
        chatBox_->Input()->setFocus();
        if (mode == kViewing)
            aTimer_->stop();
        break;
    case kExamining:
        board_.LoadSnapshot(snapshot);
        RedrawBoard();
        examineEnd_ = snapshot.MoveCount;
        SetLayout(kLayoutExamining);
        goEdit_->hide();
        chatBox_->Input()->setFocus();
        aTimer_->stop();
        break;
    default:
        break;
    }
    addingCommentary_ = false;
}

void TZelGoMainForm::SetLiveBoardInput(bool on)
{
    liveInput_ = on;
    if (mode_ == kLive)
        paintBox_->SetHoverMode(on);
}

void TZelGoMainForm::ButtonClick(int tag)
{
    const bool nav = tag >= kFirstNavTag;
    if (!nav && (tag < 0 || tag >= kCommandButtons))
        return;
    const int code = nav ? kNavCommand : buttonCommands_[static_cast<std::size_t>(tag)].Command;
    if (nav && (tag - kFirstNavTag) >= kNavButtons)
        return;

    if (mode_ != kLive && code == kCmdCommentary) {
        if (buttonCommands_[2].Command == kCmdHideNumbers)
            HideNumbers();
        if (mode_ == kExamining) {
            examinePrevious_ = previousMode_;
            examineSaved_ = savedSnapshot_;
            board_.SaveSnapshot(examineBoard_);
        }
        TGoSnapshot snap;
        board_.SaveSnapshot(snap);
        EnterMode(kWriting, snap);
    } else if (code == kCmdAnalysis) {
        ToggleAnalysis();
    } else if (mode_ != kLive && code == kCmdShowNumbers) {
        TMarkGrid numbers{};
        board_.NumberAllMoves(numbers);
        TPointValues marks{};
        for (int y = 1; y <= kBoardSize; ++y)
            for (int x = 1; x <= kBoardSize; ++x)
                marks[static_cast<std::size_t>((y - 1) * kBoardSize + (x - 1))] = numbers[y][x];
        paintBox_->SetMarks(marks);
    } else if (mode_ != kLive && code == kCmdHideNumbers) {
        HideNumbers();
    } else if (!nav) {
        ModeCommand(tag, code);
    } else if (mode_ == kLive && OnNavEvent) {
        OnNavEvent(tag);
        return;
    } else {
        Navigate(tag);
    }

    if (!nav) {
        // The session may have changed the layout meanwhile; flip only the
        // button that was pressed and still carries that command.
        const TButtonCommand bc = buttonCommands_[static_cast<std::size_t>(tag)];
        if (bc.Command == code && bc.Partner != 0)
            SetCommand(tag, bc.Partner);
    }
}

void TZelGoMainForm::ModeCommand(int tag, int code)
{
    // "기보 인쇄" is offered while writing or showing a commentary and while viewing.
    if (mode_ != kLive && code == kCmdPrintRecord) {
        PrintRecord();
        return;
    }
    switch (mode_) {
    case kLive:
        if (OnCommand)
            OnCommand(tag, code);
        break;
    case kWriting:
        WritingCommand(code);
        break;
    case kShowing:
        ShowingCommand(code);
        if (mode_ != kShowing)
            paintBox_->ClearLabels();
        break;
    case kViewing:
        ViewingCommand(code);
        break;
    case kReviewing:
        ReviewingCommand(code);
        AnnouncePosition();
        break;
    case kExamining:
        ExaminingCommand(code);
        break;
    default:
        break;
    }
}

void TZelGoMainForm::PrintRecord()
{
    TPrintSource source;
    if (record_) {
        source = TPrintSource::FromRecord(*record_, CurrentRecordName);
    } else {
        source.Title = TGiboList::EmptyPrintTitle();
        source.Moves.Last = board_.MoveCount();
        for (int i = 1; i <= board_.MoveCount(); ++i) {
            const TMoveRecord& m = board_.Move(i);
            if (TGoBoard::IsOnBoard(m.X, m.Y))
                source.Moves.Points[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(m.X),
                                                                    static_cast<std::uint8_t>(m.Y)};
        }
    }
    printer_.PrintRecord(source, *this, *cells_[0]);
}

void TZelGoMainForm::WritingCommand(int code)
{
    switch (code) {
    case kCmdPass:
        board_.PlayPass();
        break;
    case kCmdShowMarkers: {
        const QPoint at = terminal_->mapToGlobal(QPoint(2, 2));
        palette_->move(at);
        palette_->show();
        palette_->raise();
        markerOpen_ = true;
        break;
    }
    case kCmdHideMarkers:
        palette_->hide();
        markerOpen_ = false;
        goEdit_->setFocus();
        break;
    case kCmdCancelWriting:
        CloseMarkers();
        variationStart_ = board_.Numbering().FirstNumbered;
        ReturnToPreviousMode();
        paintBox_->ClearLabels();
        break;
    case kCmdFinishWriting:
        FinishCommentary();
        break;
    default:
        break;
    }
}

void TZelGoMainForm::KeepShownBody()
{
    if (!CommentaryFromServer)
        return;
    if (previousMode_ != kLive) {
        if (record_)
            record_->AddLine("VH" + shownCommentary_);
    } else {
        helpList_.AddPending(CurrentGameKey + "VH" + shownCommentary_);
    }
}

void TZelGoMainForm::ShowingCommand(int code)
{
    switch (code) {
    case kCmdAddCommentary:
        addingCommentary_ = true;
        KeepShownBody();
        ReturnToPreviousMode();
        break;
    case kCmdDeleteCommentary:
        ReturnToPreviousMode();
        if (mode_ != kLive && record_)
            record_->DeleteCurrent();
        break;
    case kCmdEndShowing:
        KeepShownBody();
        ReturnToPreviousMode();
        break;
    default:
        break;
    }
}

bool TZelGoMainForm::EndRecordViewing()
{
    // A commentary shown from the record goes first.
    if (mode_ == kShowing && previousMode_ == kViewing)
        ReturnToPreviousMode();
    if (mode_ != kViewing)
        return false;
    EndViewing();
    return true;
}

void TZelGoMainForm::EndViewing()
{
    aTimer_->stop();
    CloseRecord(CurrentRecordName);
    if (OnNavEvent)
        OnNavEvent(kNavViewingEnd);
}

void TZelGoMainForm::CloseRecord(const std::string& fileName)
{
    if (record_ && store_) {
        TRecordFiles files(*store_, prompts_);
        files.SaveToFile(*record_, fileName);
    }
    mode_ = kLive;
    setWindowTitle(QString::fromUtf8(kLiveCaption));
    record_.reset();
}

void TZelGoMainForm::AutoReplay(bool on)
{
    if (on)
        aTimer_->start(std::clamp(status_.environment.autoTimeI, 1, 100) * 1000);
    else
        aTimer_->stop();
}

void TZelGoMainForm::ViewingCommand(int code)
{
    switch (code) {
    case kCmdAutoReplay:
    case kCmdManualReplay:
        AutoReplay(code == kCmdAutoReplay);
        break;
    case kCmdEndShowing:
        EndViewing();
        break;
    default:
        break;
    }
}

void TZelGoMainForm::ReviewingCommand(int code)
{
    switch (code) {
    case kCmdFollowReview:
        followMode_ = true;
        break;
    case kCmdFreeReview:
        followMode_ = false;
        break;
    case kCmdCheckParticipants:
        if (OnGiboEvent)
            OnGiboEvent(kGiboReviewCheck, "");
        break;
    case kCmdEndReview:
        CloseRecord(recordFileName_);
        if (OnGiboEvent)
            OnGiboEvent(kGiboReviewEnd, "");
        if (OnNavEvent)
            OnNavEvent(kNavViewingEnd);
        break;
    default:
        break;
    }
}

void TZelGoMainForm::ExaminingCommand(int code)
{
    switch (code) {
    case kCmdAutoReplay:
    case kCmdManualReplay:
        AutoReplay(code == kCmdAutoReplay);
        break;
    case kCmdWatchState:
    case kCmdEndExamining:
        aTimer_->stop();
        while (board_.Redo()) {
        }
        ReturnToPreviousMode();
        break;
    default:
        break;
    }
}

void TZelGoMainForm::CloseMarkers()
{
    if (markerOpen_) {
        palette_->hide();
        markerOpen_ = false;
    }
}

bool TZelGoMainForm::AskOnce(const char* text, const char* second, bool& option, bool withCancel)
{
    TCheckedQuestion q;
    q.Caption = KS("확인해 주세요");
    q.Text = Utf8ToCp949(text);
    q.Second = Utf8ToCp949(second);
    q.Ok = withCancel ? KS("보 냄") : KS("확 인");
    q.Cancel = withCancel ? KS("취 소") : std::string();
    q.DontAsk = !option;
    const bool ok = CheckedQuestion ? CheckedQuestion(q) : ShowCheckedQuestion(q);
    // The option follows the check box whenever the two disagree.
    if (q.DontAsk == option) {
        option = !q.DontAsk;
        status_.Save(TZelStatus::kEnvironment);
    }
    return ok;
}

bool TZelGoMainForm::ShowCheckedQuestion(TCheckedQuestion& q)
{
    QDialog dialog(this);
    dialog.setObjectName("TConfirmVHForm");
    dialog.setWindowTitle(ToQ(q.Caption));
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(new QLabel(ToQ(q.Text), &dialog));
    if (!q.Second.empty())
        column->addWidget(new QLabel(ToQ(q.Second), &dialog));
    auto* check = new QCheckBox(QString::fromUtf8("다음부터 확인 안함"), &dialog);
    check->setChecked(q.DontAsk);
    column->addWidget(check);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(ToQ(q.Ok), &dialog);
    ok->setObjectName("OkButton");
    row->addWidget(ok);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (!q.Cancel.empty()) {
        auto* cancel = new QPushButton(ToQ(q.Cancel), &dialog);
        cancel->setObjectName("CancelBtn");
        row->addWidget(cancel);
        connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    row->addStretch(1);
    column->addLayout(row);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    q.DontAsk = check->isChecked();
    return accepted;
}

void TZelGoMainForm::FinishCommentary()
{
    if (status_.environment.sendVHelp && (previousMode_ == kLive || previousMode_ == kExamining)) {
        if (!AskOnce("다른 사람들에게 참고도를 보낼까요?", "", status_.environment.sendVHelp, true)) {
            WritingCommand(kCmdCancelWriting);
            return;
        }
    }
    CloseMarkers();
    std::string body = board_.NumberedMovesText() + "\\#" + paintBox_->TakeLabels() + "\\#";
    const QStringList lines = goEdit_->toPlainText().split('\n');
    for (const QString& line : lines) {
        // A separator typed by the user would split the body's fields.
        std::string text = FromQ(line);
        for (std::size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
            if (at + 1 < text.size() && (text[at + 1] == '#' || text[at + 1] == '!'))
                text.insert(at + 1, " ");
        }
        body += text + "\\!";
    }
    body += ":: " + status_.login.nickname;

    if (previousMode_ == kLive || previousMode_ == kExamining) {
        helpList_.AddPending(CurrentGameKey + "VH" + body);
        if (OnGiboEvent)
            OnGiboEvent(kGiboLiveCommentary, body);
    } else {
        if (record_)
            record_->AddLine("VH" + body);
        if (previousMode_ == kReviewing && OnGiboEvent)
            OnGiboEvent(kGiboReviewCommentary, recordFileName_ + "\\#" + body);
    }
    variationStart_ = board_.Numbering().FirstNumbered;
    ReturnToPreviousMode();
}

void TZelGoMainForm::ShowReceivedCommentary(const std::string& body, const TGoSnapshot& snapshot)
{
    if (mode_ != kLive) {
        helpList_.AddPending(CurrentGameKey + "VH" + body);
        return;
    }
    EnterMode(kShowing, snapshot);
    CommentaryFromServer = true;
    if (!ShowCommentary(body))
        ReturnToPreviousMode();
}

bool TZelGoMainForm::ShowCommentary(const std::string& body)
{
    shownCommentary_ = body;
    if (body.size() <= 3)
        return true;
    const int first = Code2ToNum(body);
    const int count = Code2ToNum(std::string_view(body).substr(2));
    if (first < 0 || count < 0)
        return false;
    const std::size_t end = body.find("\\#", 4);
    const std::string_view variation =
        std::string_view(body).substr(4, end == std::string::npos ? std::string::npos : end - 4);
    if (variation.size() != static_cast<std::size_t>(2 * count))
        return false;
    variationStart_ = first;
    variationEnd_ = first + count - 2;
    while (board_.MoveCount() >= first && board_.MoveCount() > 0)
        board_.Undo();
    if ((previousMode_ == kViewing || previousMode_ == kReviewing) && record_) {
        for (int n = board_.MoveCount() + 1; n < first && n <= kMaxMoves; ++n) {
            if (!record_->SeekMove(n))
                break;
            PlayRecordPoint(record_->StepX, record_->StepY);
        }
    }
    board_.SetNumbering({0, first, 1});
    for (std::size_t i = 0; i + 1 < variation.size(); i += 2) {
        const char cx = variation[i];
        const char cy = variation[i + 1];
        if (cx == 'A' && cy == 'A')
            board_.PlayPass();
        else if (cx > 'A' && cy > 'A')
            board_.PlayAt(cx - 'A', cy - 'A');
    }
    RedrawBoard();

    std::string rest = end == std::string::npos ? std::string() : body.substr(end + 2);
    if (rest.size() > 3) {
        const int marks = Code2ToNum(rest);
        const std::size_t markEnd = rest.find("\\#", 2);
        const std::string_view field =
            std::string_view(rest).substr(2, markEnd == std::string::npos ? std::string::npos : markEnd - 2);
        if (marks >= 0 && field.size() == static_cast<std::size_t>(4 * marks)) {
            for (int k = 0; k < marks; ++k) {
                const std::string_view m = field.substr(static_cast<std::size_t>(4 * k), 4);
                const int x = m[0] - 'A';
                const int y = m[1] - 'A';
                const int mark = Code2ToNum(m.substr(2));
                if (TGoBoard::IsOnBoard(x, y) && mark >= kMarkFirstLetter && mark <= kMarkFirstLetter + 25)
                    paintBox_->DrawMark(x, y, false, mark);
            }
        }
        std::string text = markEnd == std::string::npos ? std::string() : rest.substr(markEnd + 2);
        QString shown = ToQ(text);
        shown.replace(QStringLiteral("\\!"), QStringLiteral("\n"));
        goEdit_->setPlainText(shown);
        goEdit_->setReadOnly(mode_ == kShowing);
    }
    if (status_.environment.recvVHelp && previousMode_ == kLive && mode_ == kShowing)
        AskOnce("참고도(해설)보기 상태입니다.", "|보기마침| 버튼을 누르면 진행됩니다.", status_.environment.recvVHelp,
                false);
    return true;
}

void TZelGoMainForm::ReturnToPreviousMode()
{
    CommentaryFromServer = false;
    if (mode_ == kShowing && addingCommentary_ &&
        (previousMode_ == kLive || previousMode_ == kViewing || previousMode_ == kReviewing)) {
        mode_ = previousMode_;
        EnterMode(kWriting, savedSnapshot_);
        return;
    }
    const int previous = previousMode_;
    switch (previous) {
    case kLive: {
        const int layout = UserPlays && UserPlays() ? kLayoutPlaying : kLayoutObserving;
        SetLayout(layout);
        if (layout == liveLayout_)
            for (int i = 0; i < kCommandButtons; ++i)
                SetButtonCommand(i, liveButtons_[static_cast<std::size_t>(i)].Command);
        break;
    }
    case kViewing:
        SetLayout(kLayoutViewing);
        break;
    case kReviewing:
        SetLayout(kLayoutReviewing);
        break;
    case kExamining:
        SetLayout(kLayoutExamining);
        break;
    default:
        break;
    }
    TNumbering cleared;
    ClearNumbering(cleared);
    board_.SetNumbering(cleared);
    const int saved = savedSnapshot_.MoveCount;
    if (mode_ == kWriting || mode_ == kShowing) {
        while (board_.MoveCount() >= variationStart_ && board_.MoveCount() > 0)
            board_.Undo();
        while (board_.MoveCount() > saved)
            board_.Undo();
        int target = saved;
        if ((previous == kViewing || previous == kReviewing) && record_ && record_->Current())
            target = std::min(saved, std::max(record_->Current()->Number, 0));
        while (board_.MoveCount() < target) {
            const TMoveRecord& m = savedSnapshot_.Moves[static_cast<std::size_t>(board_.MoveCount() + 1)];
            const bool played = m.X == 0 ? board_.PlayPass() : m.X > 0 && board_.PlayAt(m.X, m.Y);
            if (!played)
                break;
        }
    } else {
        board_.LoadSnapshot(savedSnapshot_);
    }
    RedrawBoard();
    BoardMoved({});
    goEdit_->setReadOnly(false);
    goEdit_->hide();
    chatBox_->Input()->setFocus();
    mode_ = previous;
    if (mode_ == kLive)
        paintBox_->SetHoverMode(liveInput_);
    if (mode_ == kExamining) {
        previousMode_ = examinePrevious_;
        savedSnapshot_ = examineSaved_;
        board_.LoadSnapshot(examineBoard_);
        RedrawBoard();
        board_.SetRedoLimit(examineEnd_);
    }
}

} // namespace zel
