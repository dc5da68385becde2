#pragma once
// Test doubles for the game session's ports.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Fakes.h"
#include "core/engine/GoSnapshot.h"
#include "core/game/GamePorts.h"
#include "core/game/GameSetModel.h"
#include "core/ports/Sound.h"

namespace zel::test {

class RecordingWindow : public TGameWindow {
public:
    void ShowSession(int layout) override
    {
        shown = true;
        this->layout = layout;
    }
    void HideSession() override
    {
        shown = false;
        stones = {};
        marks = {};
    }
    void SetBoardInput(bool on) override { boardInput = on; }
    bool ShowsLiveGame() const override { return liveGame; }
    void ShowDeadMarkButton() override { ++deadMarkButtons; }
    void ShowPlayButton() override { ++playButtons; }
    void ShowDeadMarkNotice() override { ++deadMarkNotices; }
    void ChatLine(const std::string& text) override { chat.push_back(text); }
    void ShowCountdown(int count) override { countdown.push_back(count); }
    // The board as the window would show it: point reports and redraws.
    void PointChanged(int x, int y, int mark, std::uint8_t colour) override
    {
        if (x < 1 || x > kBoardSize || y < 1 || y > kBoardSize)
            return;
        stones[y][x] = colour;
        marks[y][x] = mark;
    }
    void ShowBoard(const TGoSnapshot& snapshot) override
    {
        stones = snapshot.Board;
        marks = snapshot.Marks;
        ++redraws;
    }
    int StonesShown(std::uint8_t colour) const
    {
        int n = 0;
        for (int y = 1; y <= kBoardSize; ++y)
            for (int x = 1; x <= kBoardSize; ++x)
                n += stones[y][x] == colour ? 1 : 0;
        return n;
    }
    void RecordWritten(const std::string& key, const std::string& name) override { records.emplace_back(key, name); }
    void GameKeyChanged(const std::string& key) override { gameKey = key; }
    void ShowReceivedCommentary(const std::string& body) override { commentaries.push_back(body); }
    std::string ChooseRecord(const std::string& caption) override
    {
        dialogCaptions.push_back(caption);
        return chosenRecord;
    }
    bool OpenReview(const std::string& path, bool host, const std::string&) override
    {
        openedReviews.emplace_back(path, host);
        reviewing = opens;
        return opens;
    }
    bool ShowsReview() const override { return reviewing && shown; }
    void SeekReviewPosition(int node) override { seeks.push_back(node); }
    void ShowReviewCommentary(const std::string& body) override { reviewCommentaries.push_back(body); }
    std::string CompactRecordText() const override { return compactRecord; }

    // Review: what the dialog answers, whether records open, what was asked.
    std::string chosenRecord;
    bool opens = true, reviewing = false;
    std::string compactRecord;
    std::vector<std::string> dialogCaptions, reviewCommentaries;
    std::vector<std::pair<std::string, bool>> openedReviews;
    std::vector<int> seeks;

    bool shown = false;
    int layout = 0;
    bool boardInput = false;
    bool liveGame = true;
    int deadMarkButtons = 0, deadMarkNotices = 0, playButtons = 0;
    std::vector<std::string> chat;
    std::vector<int> countdown;
    std::string gameKey;
    std::vector<std::string> commentaries;
    std::vector<std::pair<std::string, std::string>> records;
    TColourGrid stones{};
    TMarkGrid marks{};
    int redraws = 0;
};

class RecordingLobby : public TGameLobby {
public:
    void SendRoomText(const std::string& text) override { roomTexts.push_back(text); }
    void SendPrivate(const std::string& id, const std::string& text) override { privates.emplace_back(id, text); }
    void TerminalText(const std::string& text) override { terminal.push_back(text); }
    bool InRoom() const override { return inRoom; }
    bool InMultiRoom() const override { return multiRoom; }
    bool CheckOpponent(const std::string&) override { return opponentPresent; }
    std::string UserLabel(const std::string& id) override { return id; }
    std::string DateText() override { return "2026-12-07"; }
    std::string DateSuffix() override { return "zel"; }
    bool ForcedStopNotice() const override { return true; }
    void ReportRequestCancelled() override { ++cancelled; }
    void ReportRequestRefused() override { ++refused; }
    void ReportGameStarted(const std::string&, const std::string&) override { ++started; }
    void ReportGameOver() override { ++gameOvers; }
    void ReportResult(bool, const std::string&, const std::string& winner, const std::string&) override
    {
        results.push_back(winner);
    }
    void RememberOpponent(const std::string&, const std::string&) override { ++remembered; }
    void SessionStarted() override { ++sessionsStarted; }
    void SessionEnded(int) override { ++sessionsEnded; }
    void ReviewStarted() override { ++reviewsStarted; }
    void ReviewEnded() override { ++reviewsEnded; }

    bool inRoom = true, multiRoom = false, opponentPresent = true;
    std::vector<std::string> roomTexts, terminal, results;
    std::vector<std::pair<std::string, std::string>> privates;
    int cancelled = 0, refused = 0, started = 0, gameOvers = 0, remembered = 0;
    int sessionsStarted = 0, sessionsEnded = 0;
    int reviewsStarted = 0, reviewsEnded = 0;
};

// Answers the negotiation dialogs as a user would: `setup` works the
// settings dialog's controls (the model's handlers), then "대국 신청"
// confirms the model as the dialog's button does.
class ScriptedDialogs : public TGameDialogs {
public:
    bool ShowGameSet(TGameSetModel& model) override
    {
        if (setup)
            setup(model);
        if (request)
            model.Confirm(random);
        lastSet = model;
        if (whileOpen)
            whileOpen();
        return request;
    }
    bool ShowGameRequest(TGameRequestModel& model) override
    {
        lastRequest = model;
        if (whileOpen)
            whileOpen();
        return accept;
    }
    bool request = true, accept = true;
    std::function<void(TGameSetModel&)> setup;
    // Runs while either dialog is "open", before its answer returns.
    std::function<void()> whileOpen;
    TGameSetModel lastSet;
    TGameRequestModel lastRequest;
    SeededRandom random{11};
};

// Prompts whose questions and notices stay "open" while `whileOpen` runs
// (for each of them, with its text): what it does happens before the answer
// returns, as events arrive inside a modal dialog.
class OpenPrompts : public RecordingPrompts {
public:
    bool Confirm(const std::string& text, const std::string& ok, const std::string& cancel) override
    {
        bool answer = RecordingPrompts::Confirm(text, ok, cancel);
        Open(text);
        return answer;
    }
    void Alert(const std::string& text) override
    {
        RecordingPrompts::Alert(text);
        Open(text);
    }
    std::function<void(const std::string& text)> whileOpen;

private:
    void Open(const std::string& text)
    {
        if (whileOpen)
            whileOpen(text);
    }
};

// Records the sounds asked for, in order.
class RecordingSound : public Sound {
public:
    void PlayStone() override { ++stones; }
    void Speak(TSpokenWord word) override { words.push_back(word); }
    int stones = 0;
    std::vector<TSpokenWord> words;
};

} // namespace zel::test
