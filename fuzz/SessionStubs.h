// Ports for a game session under a fuzzer: a stepping clock, a counting
// random source, and one object that answers the window, lobby, prompts,
// dialogs and record files (kept in memory).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/ports/Clock.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/ports/Random.h"
#include "core/record/HelpList.h"

namespace fuzzstubs {

class StepClock : public zel::Clock {
public:
    std::int32_t Now() const override { return now; }
    std::int32_t now = 86000000;
};

class Counter : public zel::Random {
public:
    std::uint32_t Next(std::uint32_t bound) override { return bound ? (n_++ * 7919u) % bound : 0; }

private:
    std::uint32_t n_ = 1;
};

class Stubs : public zel::TGameWindow,
              public zel::TGameLobby,
              public zel::Prompts,
              public zel::TGameDialogs,
              public zel::FileStore {
public:
    void ShowSession(int) override {}
    void HideSession() override {}
    void SetBoardInput(bool) override {}
    bool ShowsLiveGame() const override { return !reviewing; }
    void ShowDeadMarkButton() override {}
    void ShowPlayButton() override {}
    void ShowDeadMarkNotice() override {}
    void ChatLine(const std::string&) override {}
    void ShowCountdown(int) override {}
    void PointChanged(int, int, int, std::uint8_t) override {}
    void ShowBoard(const zel::TGoSnapshot&) override {}
    void RecordWritten(const std::string&, const std::string&) override {}
    void GameKeyChanged(const std::string&) override {}
    void ShowReceivedCommentary(const std::string&) override {}
    // A review opened here reads the record file the fuzzer may have written.
    std::string ChooseRecord(const std::string&) override { return "fuzz.zel"; }
    bool OpenReview(const std::string&, bool, const std::string&) override { return reviewing = true; }
    bool ShowsReview() const override { return reviewing; }
    void SeekReviewPosition(int) override {}
    void ShowReviewCommentary(const std::string&) override {}
    std::string CompactRecordText() const override { return {}; }
    void ReviewStarted() override {}
    void ReviewEnded() override { reviewing = false; }
    void SendRoomText(const std::string&) override {}
    void SendPrivate(const std::string&, const std::string&) override {}
    void TerminalText(const std::string&) override {}
    bool InRoom() const override { return true; }
    bool InMultiRoom() const override { return false; }
    bool CheckOpponent(const std::string&) override { return true; }
    std::string UserLabel(const std::string& id) override { return id; }
    std::string DateText() override { return "2026-12-07"; }
    std::string DateSuffix() override { return "fuzz"; }
    bool ForcedStopNotice() const override { return true; }
    void ReportRequestCancelled() override {}
    void ReportRequestRefused() override {}
    void ReportGameStarted(const std::string&, const std::string&) override {}
    void ReportGameOver() override {}
    void ReportResult(bool, const std::string&, const std::string&, const std::string&) override {}
    void RememberOpponent(const std::string&, const std::string&) override {}
    void SessionStarted() override {}
    void SessionEnded(int) override {}
    void Notify(const std::string&, int) override {}
    void Alert(const std::string&) override {}
    bool Confirm(const std::string&, const std::string&, const std::string&) override { return (++asked % 3) != 0; }
    bool ShowGameSet(zel::TGameSetModel&) override { return true; }
    bool ShowGameRequest(zel::TGameRequestModel&) override { return true; }
    bool Read(const std::string& name, std::string& out) override
    {
        auto it = files.find(name);
        if (it == files.end())
            return false;
        out = it->second;
        return true;
    }
    bool Write(const std::string& name, const std::string& data) override
    {
        files[name] = data;
        return true;
    }
    bool Remove(const std::string& name) override { return files.erase(name) > 0; }
    bool Exists(const std::string& name) override { return files.count(name) > 0; }
    long long Size(const std::string& name) override
    {
        auto it = files.find(name);
        return it == files.end() ? -1 : static_cast<long long>(it->second.size());
    }
    std::vector<std::string> List(const std::string&) override { return {}; }

    int asked = 0;
    bool reviewing = false;
    std::map<std::string, std::string> files;
};

// A session of user "alice" on the stubs; Tick(n) runs n timer ticks of
// `stepMs` each.
struct TFuzzSession {
    explicit TFuzzSession(std::int32_t stepMs) : step(stepMs)
    {
        session.MyId = "alice";
        session.OnSendGame = [](const std::string&) {};
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock.now = (clock.now + step) % 86400000;
            session.Tick(clock.now);
        }
    }

    std::int32_t step;
    StepClock clock;
    Counter random;
    Stubs stubs;
    zel::THelpList pending;
    zel::TBBS2Zel session{zel::TSessionServices{clock, random, stubs, stubs, stubs, stubs, stubs, pending}};
};

} // namespace fuzzstubs
