#include "LoadOptions.h"

#include <arpa/inet.h>
#include <charconv>
#include <sstream>

namespace zel::load {

namespace {

bool Int(const std::string& s, int lo, int hi, int& out)
{
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool Real(const std::string& s, double lo, double hi, double& out)
{
    try {
        std::size_t used = 0;
        double v = std::stod(s, &used);
        if (used != s.size() || !(v >= lo && v <= hi))
            return false;
        out = v;
        return true;
    } catch (...) {
        return false;
    }
}

bool Loopback(const std::string& host)
{
    in_addr a4{};
    if (inet_pton(AF_INET, host.c_str(), &a4) == 1)
        return (ntohl(a4.s_addr) >> 24) == 127;
    return false;
}

} // namespace

const char* TLoadOptions::Usage()
{
    return "usage: zelload [--target zel|redis] [--host 127.0.0.1] [--port P] [--pid SERVERPID]\n"
           "               [--users N | --steps N1,N2,...] [--inflight 32] [--extra-at N] [--extra K]\n"
           "               [--rooms R] [--room-size M] [--traffic none|room|private|game]\n"
           "               [--rate TEXTS_PER_S] [--seconds S] [--text-bytes B] [--drain-ms MS]\n"
           "Prints one 'key=value' line per phase: step, extra, rooms, traffic.\n";
}

bool TLoadOptions::Parse(int argc, const char* const* argv, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) {
            error = "missing value after " + arg;
            return false;
        }
        std::string v = argv[++i];
        bool ok = true;
        if (arg == "--target") {
            ok = v == "zel" || v == "redis";
            target = v == "redis" ? Target::Redis : Target::Zel;
        } else if (arg == "--host") {
            host = v;
            ok = Loopback(v);
        } else if (arg == "--port") {
            ok = Int(v, 1, 65535, port);
        } else if (arg == "--pid") {
            ok = Int(v, 0, 1 << 30, pid);
        } else if (arg == "--users" || arg == "--steps") {
            steps.clear();
            std::istringstream in(v);
            std::string item;
            int last = 0;
            while (ok && std::getline(in, item, ',')) {
                int n = 0;
                ok = Int(item, 1, kMaxUsers, n) && n > last;
                steps.push_back(n);
                last = n;
            }
            ok = ok && !steps.empty();
        } else if (arg == "--inflight") {
            ok = Int(v, 1, 1024, inflight);
        } else if (arg == "--extra-at") {
            ok = Int(v, 0, kMaxUsers, extraAt);
        } else if (arg == "--extra") {
            ok = Int(v, 1, 1000, extra);
        } else if (arg == "--rooms") {
            ok = Int(v, 0, kMaxUsers, rooms);
        } else if (arg == "--room-size") {
            ok = Int(v, 1, kMaxUsers, roomSize);
        } else if (arg == "--traffic") {
            ok = v == "none" || v == "room" || v == "private" || v == "game";
            traffic = v == "room"      ? Traffic::Room
                      : v == "private" ? Traffic::Private
                      : v == "game"    ? Traffic::Game
                                       : Traffic::None;
        } else if (arg == "--rate") {
            ok = Real(v, 1, kMaxRate, rate);
        } else if (arg == "--seconds") {
            ok = Real(v, 0.1, kMaxSeconds, seconds);
        } else if (arg == "--text-bytes") {
            ok = Int(v, kMinText, kMaxText, textBytes);
        } else if (arg == "--drain-ms") {
            ok = Int(v, 0, 60000, drainMs);
        } else {
            error = "unknown option " + arg;
            return false;
        }
        if (!ok) {
            error = "bad value for " + arg + ": " + v + (arg == "--host" ? " (loopback only)" : "");
            return false;
        }
    }
    if (static_cast<long>(rooms) * roomSize > Users()) {
        error = "rooms x room-size exceeds the users";
        return false;
    }
    if (traffic != Traffic::None && traffic != Traffic::Private && rooms == 0) {
        error = "room and game traffic need --rooms";
        return false;
    }
    return true;
}

} // namespace zel::load
