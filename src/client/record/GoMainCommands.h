#pragma once
#include <array>
#include <cstdint>

namespace zel {

// The command buttons of the game window: each of the nine carries a command
// code (1..34) and the partner code it turns into after a click (0: stays).
struct TButtonCommand {
    std::uint8_t Partner = 0;
    std::uint8_t Command = 0;
};

// The commands a command button can carry; the captions are in CommandCaption.
enum TGoCommand : int {
    kCmdNone = 0,
    kCmdCommentary = 1,         // "참고 해설"
    kCmdAnalysis = 2,           // "형세 분석"
    kCmdSaveRecord = 3,         // "기보 저장"
    kCmdShowNumbers = 4,        // "수순 표시"
    kCmdHideNumbers = 5,        // "수순 지움"
    kCmdUndoRequest = 6,        // "물림 요청"
    kCmdBlockChat = 7,          // "대화 차단"
    kCmdAllowChat = 8,          // "대화 허용"
    kCmdPass = 9,               // "순서 넘김"
    kCmdResign = 10,            // "불계 선언"
    kCmdCountRequest = 11,      // "계가 요청"
    kCmdAdjournRequest = 12,    // "중단 요청"
    kCmdStopWatching = 13,      // "관전 마침"
    kCmdLeaveRoom = 14,         // "퇴실 하기"
    kCmdShowMarkers = 15,       // "표시 하기"
    kCmdHideMarkers = 16,       // "표시 마침"
    kCmdCancelWriting = 17,     // "작성 취소"
    kCmdFinishWriting = 18,     // "작성 마침"
    kCmdAutoReplay = 19,        // "자동 진행"
    kCmdAddCommentary = 20,     // "추가 작성"
    kCmdDeleteCommentary = 21,  // "해설 삭제"
    kCmdEndShowing = 22,        // "보기 마침"
    kCmdOtherSettings = 23,     // "기타 설정"
    kCmdPrintRecord = 24,       // "기보 인쇄"
    kCmdDeadMarkDone = 25,      // "지정 마침"
    kCmdManualReplay = 26,      // "수동 진행"
    kCmdMarkDone = 27,          // "지정 마침" (not in any layout)
    kCmdFollowReview = 28,      // "동시 진행"
    kCmdFreeReview = 29,        // "자율 진행"
    kCmdCheckParticipants = 30, // "참여 확인"
    kCmdEndReview = 31,         // "복기 마침"
    kCmdClearBoard = 32,        // "판 치우기"
    kCmdWatchState = 33,        // "관전 상태"
    kCmdEndExamining = 34,      // "검토 마침"
    kCmdAutoMark = 35,          // "자동 지정": the suggested dead stones as own clicks
};

// The window's modes.
enum TGoMode : int {
    kLive = 0,      // the live game, played or watched
    kWriting = 1,   // writing a commentary
    kShowing = 2,   // showing a commentary
    kViewing = 3,   // viewing a record file
    kReviewing = 5, // reviewing a record with others
    kExamining = 8, // examining the moves of the watched game
};

// The button layouts, 1..7.
enum TGoLayout : int {
    kLayoutNone = 0,
    kLayoutPlaying = 1,
    kLayoutObserving = 2,
    kLayoutWriting = 3,
    kLayoutShowing = 4,
    kLayoutViewing = 5,
    kLayoutReviewing = 6,
    kLayoutExamining = 7,
};

// Kinds of the window's text event.
enum TGiboKind : int {
    kGiboChat = 0,             // a chat line or macro text
    kGiboLiveCommentary = 1,   // a commentary finished during a live game
    kGiboReviewCommentary = 2, // record name + "\#" + a commentary finished while reviewing
    kGiboReviewCheck = 3,      // "참여 확인" pressed
    kGiboReviewPosition = 4,   // the review position (two letters)
    kGiboReviewEnd = 5,        // the review ended
};

// Codes of the navigation event besides the navigation tags.
enum TNavCode : int {
    kNavSessionEnd = 1,    // the session ends
    kNavViewingEnd = 2,    // viewing or reviewing ended
    kNavFirst = 10,        // "처음으로 가기"
    kNavBackSteps = 11,    // "몇수 후퇴"
    kNavBackOne = 12,      // "한수 후퇴"
    kNavForwardOne = 13,   // "한수 진행"
    kNavForwardSteps = 14, // "몇수 진행"
    kNavLast = 15,         // "마지막으로 가기"
};

// The eighth button of the playing layout: "중단 요청", or "판 치우기" for
// the host of a multi-game room.
constexpr int kStopButton = 7;

constexpr int kCommandButtons = 9;
constexpr int kNavButtons = 6;
constexpr int kFirstNavTag = kNavFirst;
// The code a navigation button carries in place of a command.
constexpr int kNavCommand = 100;
constexpr int kLastCommand = 35;
// The button that carries "자동 지정" while dead stones are marked ("불계 선언" otherwise).
constexpr int kAutoMarkButton = 6;

// Caption of a command (UTF-8); empty for 0 and unknown codes.
const char* CommandCaption(int command);
// The command a button turns into after a click; 0 when it stays.
int CommandPartner(int command);
// The nine commands of a layout 1..7 (0: the button is hidden). In layout 1
// the eighth button clears the board instead of asking to stop when the user
// hosts a multi-game room.
std::array<std::uint8_t, kCommandButtons> LayoutCommands(int layout, bool multiGameHost);
// Hint of navigation button tag 10..15 (UTF-8).
const char* NavHint(int tag);

// Where the buttons of a layout go inside the button panel.
struct TButtonPlace {
    int Left = 0, Top = 0, Width = 0;
    bool Visible = false;
};
TButtonPlace CommandButtonPlace(int layout, int index);
TButtonPlace NavButtonPlace(int layout, int index);

} // namespace zel
