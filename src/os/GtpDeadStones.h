#pragma once
#include <string>
#include <vector>

#include "core/ports/DeadStoneEstimator.h"
#include "os/GtpProcess.h"

namespace zel {

// The dead stones as a GTP engine's `final_status_list dead` finds them: the
// game is set up anew for every question.
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

} // namespace zel
