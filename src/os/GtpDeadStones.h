#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/ports/DeadStoneEstimator.h"
#include "os/GtpProcess.h"

namespace zel {

// The dead stones as a GTP engine finds them, the game set up anew for every
// question, in one of two ways:
// - Dragons: the stones of the dragons `dragon_status` calls dead (GNU Go's
//   static judgement, a fraction of the time of its full aftermath), or
//   `final_status_list dead` from an engine without that command;
// - Final: `final_status_list dead`, which plays the game out first: better,
//   and often several seconds.
class TGtpDeadStones : public DeadStoneEstimator {
public:
    enum class Method { Dragons, Final };
    TGtpDeadStones(std::vector<std::string> argv, int timeoutMs, std::string name, Method method = Method::Dragons);
    bool DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead) override;
    std::string Name() const override { return name_; }
    void Cancel() override { engine_.Abort(); }
    // The engine's own count of the same game ("B+3.5"), empty on failure;
    // for measurements.
    std::string FinalScore(const TDeadStoneQuery& query);
    // How often the engine has been started (a restart after a failure counts).
    int EngineStarts() const { return engine_.Starts(); }

private:
    bool SetUp(const TDeadStoneQuery& query);
    bool FinalStatusDead(std::vector<std::pair<int, int>>& dead);

    TGtpProcess engine_;
    std::string name_;
    Method method_;
};

// True when a GNU Go program can be run (on PATH or where Debian puts it).
bool GnuGoAvailable();

// GNU Go's level and time-outs for judging finished games: the quick
// judgement, and the full one that plays the game out.
constexpr int kJudgeLevel = 10;
constexpr int kJudgeTimeoutMs = 8000;
constexpr int kFinalJudgeTimeoutMs = 20000;

// The quick judge of finished games: GNU Go's dragons when it can be run, our
// own analysis otherwise (and whenever GNU Go gives no answer).
std::unique_ptr<DeadStoneEstimator> MakeDeadStoneEstimator();

// The better, slower second opinion shown after the quick one: GNU Go's
// `final_status_list dead`; null when GNU Go cannot be run (the quick
// answer is then all there is).
std::unique_ptr<DeadStoneEstimator> MakeFinalDeadStoneEstimator();

// For a judge with time to spare (the computer player): the second opinion,
// and the quick judge when it gives no answer, so that it marks what the
// game window finally suggests.
std::unique_ptr<DeadStoneEstimator> MakePatientDeadStoneEstimator();

} // namespace zel
