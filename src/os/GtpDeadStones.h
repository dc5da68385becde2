#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/ports/DeadStoneEstimator.h"
#include "os/GtpProcess.h"

namespace zel {

// The dead stones as a GTP engine finds them, the game set up anew for every
// question: the stones of the dragons `dragon_status` calls dead (GNU Go's
// static judgement, a fraction of the time of its full aftermath), or
// `final_status_list dead` from an engine without that command.
class TGtpDeadStones : public DeadStoneEstimator {
public:
    TGtpDeadStones(std::vector<std::string> argv, int timeoutMs, std::string name);
    bool DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead) override;
    std::string Name() const override { return name_; }
    // The engine's own count of the same game ("B+3.5"), empty on failure;
    // for measurements.
    std::string FinalScore(const TDeadStoneQuery& query);

private:
    bool SetUp(const TDeadStoneQuery& query);

    TGtpProcess engine_;
    std::string name_;
};

// True when a GNU Go program can be run (on PATH or where Debian puts it).
bool GnuGoAvailable();

// GNU Go's level and time-out for judging finished games.
constexpr int kJudgeLevel = 10;
constexpr int kJudgeTimeoutMs = 8000;

// The judge of finished games: GNU Go when it can be run, our own analysis
// otherwise (and whenever GNU Go gives no answer).
std::unique_ptr<DeadStoneEstimator> MakeDeadStoneEstimator();

} // namespace zel
