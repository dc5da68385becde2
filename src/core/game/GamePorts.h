#pragma once
#include <cstdint>
#include <string>

namespace zel {

class TGameSetModel;
class TGameRequestModel;
struct TGoSnapshot;

// What the game session asks of the game window. The window draws the
// session's board and info panel; these calls carry the rest.
class TGameWindow {
public:
    virtual ~TGameWindow() = default;
    // Shown with the layout for the session kind (1 player, 2 observer, ...).
    virtual void ShowSession(int layout) = 0;
    // Hidden, board display emptied.
    virtual void HideSession() = 0;
    virtual void SetBoardInput(bool on) = 0;
    // False while the window shows something else than the live game
    // (examining, commentary writing); received messages then wait.
    virtual bool ShowsLiveGame() const = 0;
    // The eighth command button becomes "지정 마침".
    virtual void ShowDeadMarkButton() = 0;
    // The eighth command button takes its playing command again (a
    // multi-game host's board that is not marking dead stones).
    virtual void ShowPlayButton() = 0;
    // The dead-stone marking notice, shown modally.
    virtual void ShowDeadMarkNotice() = 0;
    // A line for the window's chat terminal.
    virtual void ChatLine(const std::string& text) = 0;
    // A byo-yomi count written on the last move's point.
    virtual void ShowCountdown(int count) = 0;
    virtual void PointChanged(int x, int y, int mark, std::uint8_t colour) = 0;
    // The whole board drawn anew from the session board's snapshot (stones
    // and marks), after the session changed it without point reports.
    virtual void ShowBoard(const TGoSnapshot& snapshot) = 0;
    // The record of gameKey was written as fileName (pending commentary merges).
    virtual void RecordWritten(const std::string& gameKey, const std::string& fileName) = 0;
    // The 3-letter key of the game now shown; commentary written during the
    // game is kept under it until the record is written.
    virtual void GameKeyChanged(const std::string& gameKey) = 0;
    // A commentary another player or observer finished during this game.
    virtual void ShowReceivedCommentary(const std::string& body) = 0;

    // Records viewed alone or reviewed with others.
    // The record the user picks in the open dialog titled `caption` (CP949):
    // a path, or a bare name in the record directory; empty when none.
    virtual std::string ChooseRecord(const std::string& caption) = 0;
    // Enters review mode on an empty board and reads the record at `path`
    // (a bare name: from the record directory); false when it cannot be read.
    virtual bool OpenReview(const std::string& path, bool host, const std::string& myId) = 0;
    // True while the window shows the review itself (not a commentary over it).
    virtual bool ShowsReview() const = 0;
    // Another reviewer's position: the window follows it in follow mode only.
    virtual void SeekReviewPosition(int node) = 0;
    // A commentary another reviewer finished, shown over the review's board.
    virtual void ShowReviewCommentary(const std::string& body) = 0;
    // The open record as header data, "\!", the move count and three
    // letters (colour, X, Y) per move; empty without a record.
    virtual std::string CompactRecordText() const = 0;
};

// What the game session asks of the lobby.
class TGameLobby {
public:
    virtual ~TGameLobby() = default;
    // A room message, or a slash command when it begins with "/".
    virtual void SendRoomText(const std::string& text) = 0;
    virtual void SendPrivate(const std::string& id, const std::string& text) = 0;
    // A line for the lobby's server terminal.
    virtual void TerminalText(const std::string& text) = 0;
    virtual bool InRoom() const = 0;
    virtual bool InMultiRoom() const = 0;
    // True when the opponent may be asked; otherwise the lobby told the user.
    virtual bool CheckOpponent(const std::string& id) = 0;
    // Nickname(ID) and level, or the bare id of an unknown user.
    virtual std::string UserLabel(const std::string& id) = 0;
    // Today's date as records write it, and the text that follows it in a
    // record's date field.
    virtual std::string DateText() = 0;
    virtual std::string DateSuffix() = 0;
    // Whether another player's forced stop is announced in the terminal.
    virtual bool ForcedStopNotice() const = 0;
    virtual void ReportRequestCancelled() = 0;
    virtual void ReportRequestRefused() = 0;
    virtual void ReportGameStarted(const std::string& blackId, const std::string& whiteId) = 0;
    virtual void ReportGameOver() = 0;
    // Personal and friends' records; winnerWord is the result's first word.
    virtual void ReportResult(bool userIsBlack, const std::string& opponentId, const std::string& winnerWord,
                              const std::string& handicapCode) = 0;
    // The other player becomes the last opponent in the friends settings.
    virtual void RememberOpponent(const std::string& blackId, const std::string& whiteId) = 0;
    virtual void SessionStarted() = 0;
    virtual void SessionEnded(int previousKind) = 0;
    // The user's own review began or ended: the server marks the room.
    virtual void ReviewStarted() = 0;
    virtual void ReviewEnded() = 0;
};

// The two negotiation dialogs, modal. Each edits or reads its model.
class TGameDialogs {
public:
    virtual ~TGameDialogs() = default;
    // True for "대국 신청", whose button has confirmed the model (colours
    // settled, TGameSetModel::Confirm run once); false for "신청 취소".
    virtual bool ShowGameSet(TGameSetModel& model) = 0;
    // True when accepted; a dialog left alone closes refused after ten ticks.
    virtual bool ShowGameRequest(TGameRequestModel& model) = 0;
};

} // namespace zel
