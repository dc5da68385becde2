#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "BotEngine.h"
#include "core/app/GameLink.h"
#include "core/app/LobbyApp.h"
#include "core/app/LobbyLink.h"
#include "core/app/LobbyView.h"
#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/ports/Prompts.h"
#include "core/ports/Random.h"
#include "core/ports/SettingsBackend.h"
#include "core/record/HelpList.h"
#include "core/settings/ZelStatus.h"
#include "os/DirFileStore.h"
#include "os/SocketTransport.h"
#include "os/SteadyClock.h"

namespace zel::bot {

struct TBotOptions {
    std::string host = "127.0.0.1";
    std::uint16_t port = 5554;
    std::uint16_t configPort = 8080;
    std::string id = "zelbot";
    std::string nickname = "바둑봇";
    int level = 18;
    std::vector<std::string> engine; // the GTP engine's command line
    int engineTimeoutMs = 30000;
    std::string dataDir = "zelbot-data"; // records and adjourned games
    std::string roomTitle;               // CP949
    // Resign when, from this move on, the estimate is this far behind.
    int resignFromMove = 150;
    double resignMargin = 60;
    // False: every game is played to the end; an engine's resignation is a pass.
    bool mayResign = true;
};

// Settings kept in memory only.
class TMemorySettings : public SettingsBackend {
public:
    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key, const std::string& value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

class TMtRandom : public Random {
public:
    std::uint32_t Next(std::uint32_t bound) override
    {
        return bound ? std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_) : 0;
    }

private:
    std::mt19937 engine_{std::random_device{}()};
};

// A player without a screen: the lobby, dispatch, text queue and game
// session of the client, with the window, dialogs and questions answered by
// the bot's policy and the moves chosen by a GTP engine. It waits in its own
// room, takes invitations and game requests, and plays one game at a time.
class TZelBot : private LobbyView,
                private Prompts,
                private TGameWindow,
                private TGameDialogs,
                private TGameLinkHost,
                private LobbyPorts {
public:
    explicit TZelBot(TBotOptions options);
    ~TZelBot() override;

    // Runs until the server ends the connection for good or Stop is called.
    int Run();
    void Stop() { stop_ = true; }

private:
    // The bot's turn: what it does next in the open game.
    void Act();
    void PlayTurn();
    void MarkDeadStones();
    void GiveUp(const std::string& why);
    bool EngineHoldsGame();
    // The dead stones of the finished game, as the judge sees them.
    bool EngineDeadStones(std::vector<std::pair<int, int>>& dead);
    bool AgreeToEnd();
    bool AgreeToDeadStones();
    void Say(const std::string& utf8);
    void Log(const std::string& cp949);
    bool LastMovesArePasses(int count) const;

    // LobbyView
    void SetPanel(int, const std::string&) override {}
    void EnableConnect(bool) override {}
    void SetConnectGlyph(bool) override {}
    void EnableRoom(bool) override {}
    void PrintLine(const std::string& line) override;
    bool OpenLoginDialog() override;
    void OpenPersonalInfo() override;
    void LoadBanners() override {}
    void CloseWindow() override { stop_ = true; }

    // Prompts
    void Notify(const std::string& text, int ms) override;
    void Alert(const std::string& text) override;
    bool Confirm(const std::string& text, const std::string& ok, const std::string& cancel) override;

    // TGameWindow
    void ShowSession(int) override {}
    void HideSession() override {}
    void SetBoardInput(bool) override {}
    // The bot has no other view than the game it plays.
    bool ShowsLiveGame() const override { return true; }
    void ShowDeadMarkButton() override {}
    void ShowPlayButton() override {}
    void ShowDeadMarkNotice() override {}
    void ChatLine(const std::string& text) override;
    void ShowCountdown(int) override {}
    void PointChanged(int, int, int, std::uint8_t) override {}
    void ShowBoard(const TGoSnapshot&) override {}
    void RecordWritten(const std::string&, const std::string& fileName) override;
    void GameKeyChanged(const std::string&) override {}
    void ShowReceivedCommentary(const std::string&) override {}
    // The bot plays; it never opens or joins a review.
    std::string ChooseRecord(const std::string&) override { return {}; }
    bool OpenReview(const std::string&, bool, const std::string&) override { return false; }
    bool ShowsReview() const override { return false; }
    void SeekReviewPosition(int) override {}
    void ShowReviewCommentary(const std::string&) override {}
    std::string CompactRecordText() const override { return {}; }

    // TGameDialogs
    bool ShowGameSet(TGameSetModel&) override { return false; }
    bool ShowGameRequest(TGameRequestModel& model) override;

    // TGameLinkHost
    void RunCommand(const std::string&) override {}
    std::string DateText() const override;
    // What the client writes after the date: its game window's second
    // status cell, which reads "2"; the same bytes keep both records alike.
    std::string DateSuffix() const override { return "2"; }
    void GameSessionStarted() override;
    void GameSessionEnded(int) override;

    // LobbyPorts (the lobby's lists and dialogs)
    void Print(const std::string& line, bool) override { Log(line); }
    void LobbyEntered() override { wantRoom_ = true; }
    void InvitationOpened(const TInvitation& invitation) override;

    TBotOptions options_;
    TMemorySettings settings_;
    TZelStatus status_;
    SteadyClock clock_;
    TMtRandom random_;
    SocketTransport gameSocket_, probeSocket_, configSocket_;
    DirFileStore banners_, records_;
    THelpList commentary_;
    TLobbyApp app_;
    TGameLink link_;
    TLobbyLink lobby_;
    TBBS2Zel session_;
    TBotEngine engine_;
    // Judges finished games as the game window's final suggestion does, so
    // that the bot agrees with a suggestion applied as it stands. It may
    // take seconds: a position is judged once (marking and agreeing share it).
    std::unique_ptr<DeadStoneEstimator> judge_;
    std::string judgedKey_;
    bool judgedOk_ = false;
    std::vector<std::pair<int, int>> judged_;

    struct TPendingMove {
        int count;
        int x;
        int y;
    };
    static constexpr int kMaxRefusals = 2;

    bool stop_ = false;
    std::optional<TPendingMove> pending_;
    int endRequestedAt_ = -1;
    int shownRoom_ = -1;
    bool wantRoom_ = false;
    bool acceptInvitation_ = false;
    bool resignWanted_ = false;
    bool engineBroken_ = false; // the open game can no longer be played by the engine
    int refusals_ = 0;          // dead-stone lists refused in this game
    int lastEstimateMove_ = 0;
    std::int32_t lastTick_ = 0;
};

} // namespace zel::bot
