#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zel::load {

enum class Target { Zel, Redis };
enum class Traffic { None, Room, Private, Game };

// The command line of zelload; every figure is bounded so that a run ends.
struct TLoadOptions {
    Target target = Target::Zel;
    std::string host = "127.0.0.1";
    int port = 5554;
    int pid = 0;                 // server process, for RSS and CPU; 0: not reported
    std::vector<int> steps{100}; // log in up to each count in turn and report
    int inflight = 32;           // logins under way at once
    int extraAt = 0;             // after reaching this count, time `extra` more logins one by one
    int extra = 10;
    int rooms = 0;    // rooms made after the logins
    int roomSize = 2; // members per room
    Traffic traffic = Traffic::None;
    double rate = 1000; // texts sent per second, all senders together
    double seconds = 2; // length of the traffic phase
    int textBytes = 60;
    int drainMs = 2000;      // time after the traffic phase for late deliveries
    int phaseTimeoutS = 300; // no phase lasts longer

    static constexpr int kMaxUsers = 16000;
    static constexpr double kMaxSeconds = 600;
    static constexpr double kMaxRate = 5e6;
    static constexpr int kMinText = 48;
    static constexpr int kMaxText = 1000;

    // False with a message for an unknown switch, a bad value or a host off loopback.
    bool Parse(int argc, const char* const* argv, std::string& error);
    int Users() const { return steps.empty() ? 0 : steps.back(); }
    static const char* Usage();
};

} // namespace zel::load
