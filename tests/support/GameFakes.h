#pragma once
// Test doubles for the game session's ports.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/game/GamePorts.h"
#include "core/game/GameSetModel.h"

namespace zel::test {

class RecordingWindow : public TGameWindow {
public:
    void ShowSession(int layout) override
    {
        shown = true;
        this->layout = layout;
    }
    void HideSession() override { shown = false; }
    void SetBoardInput(bool on) override { boardInput = on; }
    bool ShowsLiveGame() const override { return liveGame; }
    void ShowDeadMarkButton() override { ++deadMarkButtons; }
    void ShowDeadMarkNotice() override { ++deadMarkNotices; }
    void ChatLine(const std::string& text) override { chat.push_back(text); }
    void ShowCountdown(int count) override { countdown.push_back(count); }
    void PointChanged(int, int, int, std::uint8_t) override {}
    void RecordWritten(const std::string& key, const std::string& name) override { records.emplace_back(key, name); }
    void GameKeyChanged(const std::string& key) override { gameKey = key; }
    void ShowReceivedCommentary(const std::string& body) override { commentaries.push_back(body); }

    bool shown = false;
    int layout = 0;
    bool boardInput = false;
    bool liveGame = true;
    int deadMarkButtons = 0, deadMarkNotices = 0;
    std::vector<std::string> chat;
    std::vector<int> countdown;
    std::string gameKey;
    std::vector<std::string> commentaries;
    std::vector<std::pair<std::string, std::string>> records;
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

    bool inRoom = true, multiRoom = false, opponentPresent = true;
    std::vector<std::string> roomTexts, terminal, results;
    std::vector<std::pair<std::string, std::string>> privates;
    int cancelled = 0, refused = 0, started = 0, gameOvers = 0, remembered = 0;
    int sessionsStarted = 0, sessionsEnded = 0;
};

// Answers the negotiation dialogs as told; `setup` edits the settings.
class ScriptedDialogs : public TGameDialogs {
public:
    bool ShowGameSet(TGameSetModel& model) override
    {
        if (setup)
            setup(model);
        return request;
    }
    bool ShowGameRequest(TGameRequestModel& model) override
    {
        lastRequest = model;
        return accept;
    }
    bool request = true, accept = true;
    std::function<void(TGameSetModel&)> setup;
    TGameRequestModel lastRequest;
};

} // namespace zel::test
