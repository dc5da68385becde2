#pragma once
// A room of game clients on a virtual clock: each client is a game session
// behind the program's own lobby dispatch and game link, the relay behaves
// like the server (room text packets reach every member, the sender
// included) and can drop, duplicate, delay and so reorder them, and random
// players play whole games through the session's own entry points.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/ports/Clock.h"

namespace zel::test {

// Faults applied to every room text, independently.
struct SimFaults {
    double drop = 0;       // share of texts lost
    double duplicate = 0;  // share of texts delivered twice
    int maxDelayMs = 0;    // each delivery is late by 0..maxDelayMs
    bool reorder = false;  // delays apart; otherwise each link stays in order as TCP keeps it
    double disconnect = 0; // chance per game that one side leaves and returns
    // Who runs the session as first written (mends off): bit 1 alice (who
    // asks for the first game), bit 2 bob.
    int asWritten = 0;
};

struct SimOutcome {
    bool completed = false; // both sides wrote the same record and result
    std::string cause;      // why not, when not completed
    std::string ending;     // "count", "resign", "time"
    std::string result;     // the result text (CP949)
    bool recordsEqual = false;
    bool positionsAgree = true; // never two positions for one move count
    std::string disagreement;
    int moves = 0;
    int adjournments = 0;
    int resends = 0;
};

// Plays one game between two random players; deterministic in the seed.
SimOutcome RunSimGame(std::uint64_t seed, const SimFaults& faults);

struct MultiSimOutcome {
    int games = 0;      // games the guests started
    int finished = 0;   // of them, ended with the same record on host and guest
    int counted = 0;    // finished by counting
    int resigned = 0;   // finished by resignation
    int timeLosses = 0; // finished on time
    int restored = 0;   // boards the host took up again after its absence
    int resumed = 0;    // guests who went on with their game after it
    std::string cause;  // the first thing that went wrong, if any
    std::string Figures() const;
};

// A host in a multi-game room plays `guests` random guests at once, each to
// the end of one game. With `hostAway` the host stops with "/x" once every
// game is under way, leaves the room, comes back and finishes them all.
MultiSimOutcome RunMultiSim(std::uint64_t seed, const SimFaults& faults, int guests, bool hostAway);

} // namespace zel::test
