#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/engine/GoBoard.h"
#include "core/engine/Stack.h"
#include "core/game/ByoyomiVoice.h"
#include "core/game/ElmGoInfo.h"
#include "core/game/GameHeader.h"

namespace zel {

class Clock;
class FileStore;
class Prompts;
class Random;
class Sound;
class THelpList;
class TGameWindow;
class TGameLobby;
class TGameDialogs;

// What a session shows. Kinds 1, 2 and 4 belong to the game window.
enum TSessionKind : int {
    kGameSession = 0,     // a game, played or observed
    kRecordSession = 3,   // a record viewed alone
    kReviewSession = 5,   // a group review
    kNoSession = 6,       // idle
    kMultiLeftSession = 7 // a multi-game left by its player
};

// The game window's layouts the session asks for.
enum TSessionLayout : int { kPlayingLayout = 1, kObservingLayout = 2 };

// Everything the session talks to. All references outlive the session.
struct TSessionServices {
    const Clock& clock;
    Random& random;
    Prompts& prompts;
    TGameWindow& window;
    TGameLobby& lobby;
    TGameDialogs& dialogs;
    FileStore& records; // the record directory
    THelpList& pending; // commentary waiting for this game's record
    Sound* sound = nullptr;
    // The user's switch of the spoken countdown ("countvoice"); null: on.
    const bool* countdownVoice = nullptr;
};

// The one game session of the client: carries a game between two clients
// over room text (moves, passes, requests and answers, recovery), keeps the
// session's board and clocks, and ends, adjourns or resumes games. The
// server only relays, so every rule here runs on both players' clients.
// Time advances only through Tick(now).
class TBBS2Zel {
public:
    static constexpr int kSlots = 300;
    static constexpr std::int32_t kResendTimeout = 30000;
    static constexpr std::int32_t kBlackResendTimeout = 60000;
    static constexpr std::int32_t kClickLockSpan = 300;
    static constexpr std::int32_t kRequestTimeout = 30000;
    // Our game request goes out again this often while it waits for its
    // answer ("GSA" or "GSC"), until it lapses.
    static constexpr std::int32_t kRequestResendMs = 10000;
    // A resumed game's state goes out again this often until the opponent
    // is heard from in that game.
    static constexpr std::int32_t kStateResendMs = 15000;
    // How many payloads of the opponent are remembered to know a late copy.
    static constexpr int kRecentPayloads = 8;

    explicit TBBS2Zel(const TSessionServices& services);
    TBBS2Zel(const TBBS2Zel&) = delete;
    TBBS2Zel& operator=(const TBBS2Zel&) = delete;

    // Outlet to the text message queue: "XA" + game + session + body.
    std::function<void(const std::string&)> OnSendGame;

    std::string MyId;
    std::string MultiHostId;
    // On: lost handshake messages are sent again, a repeated request gets the
    // same answer again (also after its game ended), and a late copy of an
    // older message is never applied. Off: the wire exactly as first written,
    // for talking to and testing against clients that follow it.
    bool Mends = true;

    // Entry for every received game message without its marker and key:
    // game(3) + sender(3) + code(3) + payload.
    void OnGameData(const std::string& message);
    // A room or private line carrying ">C<" ... ">D<" (a game-state piece).
    void ReceiveChunk(std::string_view line);
    // Runs the main-timer duties (resend, click lock, request time-out), the
    // receive queue's timer and the clock's 500 ms timer.
    void Tick(std::int32_t now);

    // Local actions, as the lobby and the game window report them.
    void RequestGame(const std::string& opponentId);
    // A pending request stops waiting for its answer; nothing is sent.
    void CancelPendingRequest() { requestPending_ = false; }
    void BoardClick(int x, int y);
    // During dead-stone marking: each point's group marked as a click of the
    // player's would mark it, without the click lock between them; points
    // without a stone or already marked are skipped, so none is revived.
    void MarkDeadPoints(const std::vector<std::pair<int, int>>& points);
    void Command(int code);
    // Text from the game window: kind 0 a chat line or macro (to the room),
    // kind 1 a commentary finished during a live game (sent as "GPV").
    void GiboEvent(int kind, const std::string& text);
    // Viewing a record alone, only while no game is open: the session shows
    // the window for it and hides it again when the viewing ends. False when
    // a game is open.
    bool OpenRecord();
    // A line the lobby's terminal received; while a game is open it is also
    // written to the game window's chat.
    void FeedTerminalLine(const std::string& line);
    // Navigation: 1 ends the session, 2 also resets the info panel to 5 rows.
    void NavEvent(int code);
    // "/x" (the user's own name and id) or a departure from the room; true
    // when a state was saved.
    bool ForcedStop(const std::string& name, const std::string& id);
    // The game state for a user (empty: the whole room).
    void SendGameState(const std::string& toUser);
    // ">M<" + seconds and periods + ">T<" from user senderId: only the two
    // players of the open game may change its byo-yomi.
    void ChangeByoyomi(const std::string& senderId, std::string_view text);
    // ">M<" + count + id + "\#>D<" from an observer behind: the black player
    // of the open game sends that observer the moves after its count.
    void AnswerCatchUp(const std::string& senderId, std::string_view text);
    // ">M<" + moves + "\#>B<" from the black player: an observer plays the
    // moves it asked for, only while its board still stands where it asked.
    void PlayCatchUp(const std::string& senderId, std::string_view text);
    // ">M<" + name + ">Z<" (`blocked`) or ">R<" in the own room: while a game
    // is open and someone blocks the chat, a player ignores commentaries
    // ("GPV") and command 7 sends no second block.
    void ChatBlockMarker(bool blocked, std::string_view text);
    bool ChatBlocked() const { return chatBlocked_; }

    void StartSession(int kind);
    void EndSession();
    void CloseGame();

    // State read by the lobby, the game window and tests.
    const std::string& SessionId() const { return sessionId_; }
    int SessionKind() const { return sessionKind_; }
    int PreviousKind() const { return previousKind_; }
    bool GameOpen() const { return gameOpen_; }
    bool RequestPending() const { return requestPending_; }
    bool InputEnabled() const { return inputEnabled_; }
    bool AwaitingReply() const { return awaitingReply_; }
    bool ResendArmed() const { return resendArmed_; }
    std::int32_t ResendTimeout() const { return resendTimeout_; }
    int DeadMarkStage() const { return deadMarkStage_; }
    const std::string& DeadMarker() const { return deadMarker_; }
    const std::string& PendingBody() const { return pendingBody_; }
    int Queued() const { return (inWrite_ - inRead_ + kSlots) % kSlots; }
    int Dropped() const { return dropped_; }
    const std::string& LastRecordName() const { return lastRecordName_; }
    TGameHeader& Header() { return header_; }
    const TGameHeader& Header() const { return header_; }
    TGoBoard& Board() { return board_; }
    const TGoBoard& Board() const { return board_; }
    TElmGoInfo& Info() { return info_; }
    const TElmGoInfo& Info() const { return info_; }

    bool IsPlayer() const;
    bool IsBlackPlayer() const;
    bool IsMultiHost() const;
    bool IsMyTurn() const;
    bool ForThisGame() const;
    bool ForMyGame() const;
    bool ForShownGame() const;
    // The gate of every local game action; tells the user why not.
    bool CanAct();

    // The game-state line: GameId, ids, moves, clocks, labels, komi.
    std::string GameStateLine() const;

private:
    enum class Check { New, Duplicate };
    enum class Answer { Yes, No, Stale };

    // Prompts pump events: while one is open the session may end or change.
    // These ask, and report Stale (or false) when it did; the caller then
    // does nothing more.
    Answer Ask(const std::string& text, const std::string& okCaption, const std::string& cancelCaption);
    bool Tell(const std::string& text);
    bool ShowDeadMarkNotice();

    // Sending.
    char NextLetter();
    void SendGameMessage(bool store, int turnMode, const std::string& body);
    void SendRaw(const std::string& text);
    void ApplyTurnMode(int mode);
    void RefreshBoardInput();
    void ArmResend(std::int32_t timeout);
    void DisarmResend();
    void Resend();

    // Reception.
    void Enqueue(const std::string& message);
    // A multi-game host tells the guest whose request waits in the queue.
    void TellRequestWaits(const std::string& message);
    void HandleQueue();
    void Dispatch(const std::string& payload);
    Check CheckPayload(const std::string& payload, bool clear);
    void StartRecovery();
    // A repeat of the request we answered last, or any message for the game
    // we ended alone, is answered again at once; true when it was.
    bool AnswerRepeat(const std::string& message);
    // Whether a player's game is at the point where this message can come:
    // an answer to what we wait for, a request when the opponent may ask it,
    // a move not older than the board.
    bool Fits(const std::string& code, const std::string& payload) const;
    bool SeenRecently(const std::string& payload) const;
    void Remember(const std::string& payload);
    // Sends the answer to the request being handled and keeps both.
    void SendAnswer(const std::string& request, bool store, int turnMode, const std::string& body);

    // Handlers.
    void OnBoardMove(const TMoveInfo& info, bool advanced);
    void OnTimeOver(std::uint8_t colour, int count, int periodSeconds);
    void ReceiveMove(const std::string& p);
    void ReceiveRecoveryRequest(const std::string& p);
    void ReceiveRecoveryAnswer(const std::string& p);
    void ReceiveReceipt();
    void ReceiveLabel(const std::string& p);
    void ReceiveRequest(const std::string& p);
    void ReceiveAcceptance(const std::string& p);
    void ReceiveRefusal();
    void ReceiveEndRequest(const std::string& p);
    void ReceiveEndAnswer(bool accepted);
    void ReceiveDeadList(const std::string& p);
    void ReceiveDeadAgreement(const std::string& p);
    void ReceiveDeadRefusal(const std::string& p);
    void ReceiveResignation(const std::string& p);
    void ReceiveTimeLoss(const std::string& p);
    void ReceiveUndo(const std::string& code, const std::string& p);
    void ReceiveAdjourn(const std::string& code, const std::string& p);

    // Game end.
    void Pass();
    void Resign();
    void RequestEnd();
    void RequestUndo();
    void RequestAdjourn();
    void FinishMarking();
    void MarkClick(int x, int y);
    void Count();
    void LoseOnTime();
    void AdjournGame();
    // Writes the adjourned-game file; without replace an existing one stays.
    void SaveState(bool replace);
    void SaveRecord(const std::string& result);
    enum class Resumption { Resumed, Declined, Stale };
    Resumption ResumeAdjourned(const std::string& fileName);
    bool LoadGameState(std::string_view state);
    void ObserveFromState();
    void UndoTo(int count);
    // The move count of a recovery message (two capital letters), the board
    // taken back to it when it holds more moves; -1 for a malformed count.
    int RecoverTo(const std::string& p);

    // Header and clocks from the header's codes.
    void SetClocksFromHeader();
    void ShowHeaderInPanel();
    void ResetBoardWithHandicap();
    std::string AdjournedName() const { return header_.PairKey + ".tmp"; }
    void TimedNotice(const std::string& text, int ms);
    // The game key changes only here, so the window always knows it.
    void SetGameId(const std::string& key);
    // The board drawn anew, as after a replay without point events.
    void RedrawBoard();

    TSessionServices s_;
    std::int32_t now_ = 0;
    std::string sessionId_;
    int sessionKind_ = kGameSession;
    int previousKind_ = kNoSession;
    // Changes whenever a session starts or ends or the game key changes.
    std::uint32_t epoch_ = 0;
    bool gameOpen_ = false;
    bool requestPending_ = false;
    std::int32_t requestSince_ = 0;

    TGameHeader header_;
    TGoBoard board_;
    TElmGoInfo info_;
    TByoyomiVoice voice_;
    TStack clicks_;

    int msgLetterIndex_ = 0;
    std::string pendingBody_;
    std::string lastPayload_;
    // The move counts an observer asked the black player to catch up from,
    // oldest first; answers come back in the order asked.
    static constexpr std::size_t kMaxCatchUps = 8;
    std::vector<int> catchUpFrom_;
    bool chatBlocked_ = false;
    std::string lastMessage_;
    std::array<std::string, kSlots> inSlots_{};
    int inRead_ = 0;
    int inWrite_ = 0;
    int dropped_ = 0;
    bool queueTimerOn_ = false;
    std::int32_t queueInterval_ = 200;
    std::int32_t queueMark_ = 0;
    bool queueBusy_ = false;
    std::int32_t clockMark_ = 0;

    bool inputEnabled_ = false;
    bool awaitingReply_ = false;
    int deadMarkStage_ = 0;
    std::string deadMarker_;
    bool resendArmed_ = false;
    std::int32_t resendSince_ = 0;
    std::int32_t resendTimeout_ = kResendTimeout;
    bool clickLock_ = false;
    std::int32_t clickLockSince_ = 0;
    bool replaying_ = false;
    std::string lastRecordName_;

    // The request answered last and its answer, kept past the game's end.
    struct TAnswered {
        std::string GameId, Code, Payload, Body;
    };
    TAnswered answered_;
    // The last messages of a game this client ended alone (resignation, loss
    // on time), sent again while the opponent still talks to that game.
    std::string closedGameId_;
    std::vector<std::string> closingBodies_;
    // Payloads of the opponent handled lately in this game, oldest first over.
    std::array<std::string, kRecentPayloads> recent_{};
    int recentNext_ = 0;
    // A message of the opponent in this game was taken from the queue.
    bool peerHeard_ = false;
    // Our "GSR" and its game key, resent while the request waits.
    std::string requestBody_, requestKey_;
    std::int32_t requestSentAt_ = 0;
    // The headers of our last two requests as sent: an acceptance of one of
    // them that comes after it lapsed, or after we asked again, still starts
    // the game the accepter is already playing.
    std::array<TGameHeader, 2> asked_{};
    bool TakeAskedHeader(const std::string& accepter);
    void ForgetAsked();
    // A resumed game's state waits for the opponent to be heard.
    bool stateUnconfirmed_ = false;
    std::int32_t stateSentAt_ = 0;
    // Our "GPR" waits for its "GPS".
    bool recoveryAsked_ = false;

    // Game-state transfer in pieces.
    std::string xferKey_;
    int xferIndex_ = 100;
    int xferTotal_ = 0;
    std::string xferText_;

public:
    // Another user came into the own room. The black player of the running
    // game sends the newcomer the game state, so that it watches from the
    // current move on; a review host tells the newcomer the review's title.
    void MemberEntered(const std::string& id);

    // ---- group review ----
    // The host opens a review of a record the user picks ("기보 복기"), only
    // while no game is open; false when none was opened.
    bool OpenReview();
    // Joins the review of record `title` (a bare ".zel" name): from the own
    // record directory, or else the host is asked for the record.
    void JoinReview(const std::string& title);
    // The review host sends the record to user `toUser` in pieces ("GSI").
    void SendReviewRecord(const std::string& toUser);
    // ">B<" + label + ">I<" from user `toUser`: the host tells the title.
    void ReviewTitleAsked(const std::string& toUser);
    // ">B<\#" + title + "\#>H<": an idle user joins that review.
    void ReviewTitleMarker(std::string_view text);
    bool ReviewHost() const { return reviewHost_; }
    const std::string& ReviewTitle() const { return reviewTitle_; }

    // ---- multi-game host ----
    static constexpr int kMultiBoards = 20;
    // The host's boards as last saved in "multiinfo.tmp" are taken up again
    // when the host comes back into the room; false when there was none.
    bool RestoreMultiBoards();
    // The host gives up every board and ends the session.
    void ClearMultiBoards();
    // ">S<GRR>B<" from user `toUser`: a black guest of a multi-game tells
    // where its game stands.
    void SendStatusLine(const std::string& toUser);
    // The status line a black guest shows the room.
    std::string StatusLine();
    int BoardCount() const { return boardCount_; }
    int CurrentBoard() const { return currentBoard_; }
    int ActiveBoards() const;
    // The game key of board `slot` (1..kMultiBoards) while it is active.
    std::string BoardGameId(int slot) const;

private:
    void ReviewGiboEvent(int kind, const std::string& text);
    void ReviewOpened(const std::string& p);
    void HandleReviewMessage(const std::string& code, const std::string& p);
    // While the window shows the review: one review message per 100 ms.
    void HandleReviewQueue();
    // The pieces of `text` under `key` (at most three of 900 characters).
    void SendPieces(const std::string& key, const std::string& text, const std::string& toUser);
    // A received "GSI" record: written and joined only when it is the record
    // this user asked for under a safe name and well formed.
    void StoreReviewRecord(const std::string& text);
    std::string OwnNickname();

    bool reviewHost_ = false;
    std::string reviewTitle_;
    // The title whose record this user asked the host for (empty: none).
    std::string fetchTitle_;
    // The review position last announced here ("GBS"), for latecomers.
    std::string reviewNode_ = "AA";
    // One board of the multi-game host.
    struct TMultiBoard {
        bool Active = false;
        TGoSnapshot Snapshot{};
        TGameHeader Header;
        int DeadMarkStage = 0;
        std::string DeadMarker;
        std::string PendingBody;
        std::string LastPayload;
        // The acceptance that answered this board's request.
        std::string Accept;
    };
    // Slots 1..kMultiBoards; slot 0 is unused.
    std::vector<TMultiBoard> boards_ = std::vector<TMultiBoard>(kMultiBoards + 1);
    int boardCount_ = 0;
    int currentBoard_ = 0;
    // The slot whose board the session board and the window show now.
    int shownBoard_ = 0;
    // Picks the active board of the message being handled; false when none.
    bool SelectBoard();
    // The session's board, header and dead-stone state into the current slot.
    void SaveBoard();
    void ShowBoardOf(int slot);
    // The host takes a fresh slot for the game just accepted; 0 when all
    // are in use.
    int TakeBoard(const std::string& requester);
    bool BoardsFull(const std::string& requester) const;
    // A copy of a request whose board is active: its acceptance again.
    bool AnswerBoardRequest(const std::string& gameId);
    void AnswerHostDuplicate();
    // The same answer for a copy of the message handled last, from its
    // board's slot, without taking the board up.
    void AnswerBoardCopy(const std::string& message);
    // The host's boards into "multiinfo.tmp"; false when none was written.
    bool SaveMultiBoards();
    void AnnounceStatus();
};

} // namespace zel
