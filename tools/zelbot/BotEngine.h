#pragma once
#include <string>
#include <utility>
#include <vector>

#include "core/ports/DeadStoneEstimator.h"
#include "os/GtpProcess.h"

namespace zel::bot {

// What the engine chose to play.
struct TEngineMove {
    enum Kind { Play, Pass, Resign, Failed } What = Failed;
    int X = 0;
    int Y = 0;
};

// The bot's GTP engine, kept at the session's game: before every question
// the engine is brought to the game's moves (new moves played, taken-back
// moves undone, anything else set up anew). Any failure after the
// process's own restart is reported, never hidden.
class TBotEngine {
public:
    TBotEngine(std::vector<std::string> argv, int timeoutMs);

    // The engine holds game (false: it failed).
    bool Sync(const TDeadStoneQuery& game);
    // The engine's move for colour in the synced game; it is not yet part
    // of the game until the session plays it.
    TEngineMove GenMove(std::uint8_t colour);
    // The engine's estimate of the margin for black (negative: white leads).
    bool EstimateMargin(double& margin);
    int Starts() const { return engine_.Starts(); }

private:
    bool Run(const std::string& command, std::string& reply);

    TGtpProcess engine_;
    std::vector<std::string> sent_; // setup and moves the engine holds
    int startsAtSync_ = -1;
    bool failed_ = false;
};

// "B+3.5", "W+12" (GTP scores, a first word of a longer reply) as a margin for black.
bool ReadGtpScore(const std::string& text, double& margin);

} // namespace zel::bot
