#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "client/base/DockPage.h"
#include "client/record/GoMainCommands.h"
#include "client/record/RecordPrinter.h"
#include "core/engine/GoBoard.h"
#include "core/record/GiboList.h"
#include "core/record/HelpList.h"
#include "core/record/RecordFiles.h"

class QLabel;
class QSplitter;
class QTextEdit;
class QTimer;
class QToolButton;

namespace zel {

class Clock;
class FileStore;
class Prompts;
class TBackDraw;
class TChatTerm;
class TEditPanel;
class TElmGoInfoPanel;
class BannerLabel;
class TGoPaintBox;
class TMarkerPalette;
class TZelStatus;

// A question with a "다음부터 확인 안함" check box. Texts are CP949; an
// empty Cancel gives a notice with one button.
struct TCheckedQuestion {
    std::string Caption, Text, Second, Ok, Cancel;
    bool DontAsk = false; // the check box, in and out
};

// The game window: board, information panel, chat terminal and input,
// commentary editor and the command and navigation buttons. It plays the
// live game only through the session's events and never sends anything
// itself; record viewing, commentary writing and showing, reviewing and
// examining run here on the window's own board.
class TZelGoMainForm : public QMainWindow, public TDockPage {
    Q_OBJECT
public:
    // Modes of the window (TZelGoMainForm::kLive and so on).
    using enum TGoMode;
    // Caption in the live mode and after viewing or reviewing.
    static constexpr const char* kLiveCaption = "벨다 바둑";

    // All references outlive the window; `clock` runs the information panel's
    // clocks, `printer` prints records ("기보 인쇄").
    TZelGoMainForm(TZelStatus& status, Prompts& prompts, TBackDraw& draw, const Clock& clock, TRecordPrinter& printer,
                   QWidget* parent = nullptr);
    ~TZelGoMainForm() override;

    // Events for the game session. Kind 0 chat line, 1 commentary of a live
    // game, 2 commentary while reviewing, 3 participation, 4 review position,
    // 5 review ended.
    std::function<void(int kind, const std::string& text)> OnGiboEvent;
    // A navigation tag in the live mode, or 2 when viewing or reviewing ended.
    std::function<void(int code)> OnNavEvent;
    std::function<void(int tag, int command)> OnCommand;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)> OnBoardClick;
    // Questions to the session and the lobby; unset means "no".
    std::function<bool()> UserPlays;
    // The colour to move in the live game (the session's board).
    std::function<std::uint8_t()> LiveColourToMove;
    std::function<bool()> InGameRoom;
    // The user hosts a multi-game room (the host clears boards).
    std::function<bool()> MultiGameHost;
    // Changes once per lobby tick; a chat line goes out only when it changed.
    std::function<int()> FloodToken;
    std::function<void(const std::string& line)> RememberLine;
    std::function<void()> ShowRoomMembers;
    // Opens a web address; unset uses the desktop's default handler.
    std::function<void(const std::string& url)> OpenAddress;
    // Replaces the modal question window (tests); true for the first button.
    std::function<bool(TCheckedQuestion& question)> CheckedQuestion;
    // Replaces the record open dialog (tests): the path chosen, empty for none.
    std::function<std::string(const std::string& caption)> ChooseRecordPath;

    // Set by the session and the record code.
    bool CommentaryFromServer = false;
    bool IsParticipant = false;
    bool ReviewHost = false;
    std::string CurrentGameKey;
    std::string CurrentRecordName;
    std::string ReviewTitle;

    void EnterMode(int mode, const TGoSnapshot& snapshot);
    // The session's board input for the live game: shown on the board control
    // while the live game is shown, and given back whenever the window
    // returns to it.
    void SetLiveBoardInput(bool on);
    bool LiveBoardInput() const { return liveInput_; }
    void SetLayout(int layout);
    // Button index 0..8 carries `command` (and its partner) from now on.
    void SetButtonCommand(int index, int command);
    // Shows a commentary body; false (and nothing shown) when its lengths
    // do not match its counts.
    bool ShowCommentary(const std::string& body);
    // A commentary received during the live game, shown over `snapshot`.
    // Outside the live game it is kept for the game's record instead.
    void ShowReceivedCommentary(const std::string& body, const TGoSnapshot& snapshot);
    // Reads CurrentRecordName from the record store into a new record.
    RecordStatus LoadRecordFile(const std::string& myId, bool viewing);
    void SeekReviewPosition(int n);
    // Views the record file at `path` (from the command line): the window
    // reads it from the file's own directory, without connecting.
    RecordStatus OpenRecordPath(const std::string& path);
    // Ends viewing a record file as "보기 마침" does (closing a commentary
    // shown from it first); false when not viewing.
    bool EndRecordViewing();
    void SetRecordStore(FileStore* store) { store_ = recordStore_ = store; }
    // The record open dialog titled `caption` (CP949) in the record
    // directory: the chosen path, empty when cancelled.
    std::string ChooseRecord(const std::string& caption);
    // Enters the review mode and reads the record at `path`; a bare name is
    // read from the record directory. `host`: the user opened the review.
    RecordStatus OpenReviewPath(const std::string& path, bool host, const std::string& myId);
    // A commentary another reviewer finished, shown over the review's board;
    // kept in the record when the user ends the showing.
    void ShowReviewCommentary(const std::string& body);

    // The handlers of the buttons, the board and the timer.
    void ButtonClick(int tag);
    void BoardClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void TimerTick();
    // A finished chat input line or macro text.
    void SendChatLine(const std::string& line, bool macro);

    int Mode() const { return mode_; }
    int PreviousMode() const { return previousMode_; }
    int Layout() const { return layout_; }
    bool MarkerOpen() const { return markerOpen_; }
    int VariationStart() const { return variationStart_; }
    int StepCount() const { return stepCount_; }
    const TButtonCommand& ButtonCommand(int i) const { return buttonCommands_[static_cast<std::size_t>(i)]; }
    TGoBoard& Board() { return board_; }
    TGiboList* Record() const { return record_.get(); }
    THelpList& HelpList() { return helpList_; }
    TGoPaintBox* GoPaintBox() const { return paintBox_; }
    TElmGoInfoPanel* GameInfo() const { return gameInfo_; }
    TChatTerm* GoTerminal() const { return terminal_; }
    TEditPanel* ChatBox() const { return chatBox_; }
    QTextEdit* GoEdit() const { return goEdit_; }
    QToolButton* CommandButton(int i) const { return commandButtons_[static_cast<std::size_t>(i)]; }
    QToolButton* NavButton(int i) const { return navButtons_[static_cast<std::size_t>(i)]; }
    QTimer* AutoTimer() const { return aTimer_; }
    QLabel* StatusCell(int i) const { return cells_[static_cast<std::size_t>(i)]; }
    // The lobby's own status texts, shown in cells 10..14 as in the lobby
    // window; other cells are the window's own and are left alone.
    void SetStatusText(int index, const QString& text);

    // The banner address a click on the logo (tag 3) or the banner (tag 5)
    // opens; empty when there is none or it is not a web address.
    std::string BannerAddress(int tag) const;
    void BannerClick(int tag);
    // Shows the downloaded top logo (file 3) and game-window banner (file 5)
    // of banner directory `dir`; a picture missing there keeps what is shown.
    void LoadBanners(const QString& dir);
    BannerLabel* Banner() const { return banner_; }

    // Board placement inside a board panel of the given size: the side of the
    // board square and its top-left corner.
    static int BoardSide(int width, int height);

    void setVisible(bool visible) override;
    QWidget* DockFocus() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildShowPanel();
    QWidget* BuildInfoPanel(const Clock& clock);
    void BuildButtons(QWidget* panel);
    void BuildStatusBar();
    void PlaceBoard();
    void FitChatPanel();
    void SetCommand(int index, int command);

    void ModeCommand(int index, int code);
    void WritingCommand(int code);
    void ShowingCommand(int code);
    void ViewingCommand(int code);
    void ReviewingCommand(int code);
    void ExaminingCommand(int code);
    void KeepShownBody();
    // "기보 인쇄": the record being viewed, or without one the moves on the board.
    void PrintRecord();
    void FinishCommentary();
    void CloseMarkers();
    void ReturnToPreviousMode();
    void EndViewing();
    // Writes the record back to `fileName`, frees it and returns to the live caption.
    void CloseRecord(const std::string& fileName);
    // The automatic replay timer, at "autotimei" seconds.
    void AutoReplay(bool on);

    void Navigate(int tag);
    void RecordFirst();
    void RecordBack(int n);
    void RecordStepBack();
    void RecordStepForward();
    void RecordForward(int n);
    void RecordLast();
    void PlayRecordPoint(int x, int y);
    void ShowStepCommentary();
    void AnnouncePosition();
    void ToggleAnalysis();
    bool AskOnce(const char* text, const char* second, bool& option, bool withCancel);
    bool ShowCheckedQuestion(TCheckedQuestion& question);

    void BoardMoved(const TMoveInfo& info);
    void RedrawBoard();
    // Takes the move numbers off the board control, keeping the last-move
    // triangle and letter marks.
    void HideNumbers();

    TZelStatus& status_;
    Prompts& prompts_;
    TRecordPrinter& printer_;
    FileStore* store_ = nullptr;
    FileStore* recordStore_ = nullptr;
    std::unique_ptr<FileStore> ownStore_;

    TGoBoard board_;
    std::unique_ptr<TGiboList> record_;
    THelpList helpList_;

    int variationStart_ = 0;
    int variationEnd_ = 0;
    int stepCount_ = 5;
    bool markerOpen_ = false;
    bool firstShow_ = true;
    int lastSentPosition_ = 0;
    bool followMode_ = false;
    std::string recordFileName_;
    int mode_ = kLive;
    int layout_ = 0;
    std::array<TButtonCommand, kCommandButtons> buttonCommands_{};
    // The live game's buttons, kept while a commentary or examining is shown.
    std::array<TButtonCommand, kCommandButtons> liveButtons_{};
    int liveLayout_ = 0;

    int previousMode_ = kLive;
    TGoSnapshot savedSnapshot_{};
    // Saved when a commentary is started from the examining mode.
    int examinePrevious_ = kLive;
    int examineEnd_ = 0;
    TGoSnapshot examineSaved_{};
    TGoSnapshot examineBoard_{};
    bool addingCommentary_ = false;
    std::string shownCommentary_;
    bool analysisShown_ = false;

    TGoPaintBox* paintBox_ = nullptr;
    QWidget* gpbPanel_ = nullptr;
    TEditPanel* chatBox_ = nullptr;
    QWidget* infoPanel_ = nullptr;
    QWidget* topPanel_ = nullptr;
    BannerLabel* logo_ = nullptr;
    BannerLabel* banner_ = nullptr;
    TElmGoInfoPanel* gameInfo_ = nullptr;
    QWidget* chatPanel_ = nullptr;
    TChatTerm* terminal_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTextEdit* goEdit_ = nullptr;
    QWidget* btnPanel_ = nullptr;
    TMarkerPalette* palette_ = nullptr;
    QTimer* aTimer_ = nullptr;
    int lastFloodToken_ = -1;
    bool liveInput_ = false;
    std::array<QToolButton*, kCommandButtons> commandButtons_{};
    std::array<QToolButton*, kNavButtons> navButtons_{};
    std::array<QLabel*, 15> cells_{};
};

} // namespace zel
