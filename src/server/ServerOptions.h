#pragma once
#include <string>

namespace zel {

// The command line:
//   zelserver [--host 127.0.0.1] [--game-port 5554] [--config-port 8080]
//             [--admin-port 0] [--table-size 1000] [--conf FILE] [--log]
//             [--redis HOST:PORT --node N]
// A port of 0 turns that listener off. With --redis the process is node N of
// a service whose nodes share their lobby through that redis-server.
struct TServerOptions {
    std::string host = "127.0.0.1";
    int gamePort = 5554;
    int configPort = 8080;
    int adminPort = 0;
    int tableSize = 1000;
    std::string confPath;
    bool log = false;
    std::string redisHost; // empty: a single node
    int redisPort = 0;
    int node = 0;
    // Not a switch: tests turn it off to write every connection with its own send().
    bool batchedWrites = true;

    static constexpr int kMinTable = 2;
    static constexpr int kMaxTable = 16384; // the clients' own bound; number 0 is never given out
    static constexpr int kMaxNode = 1000;

    // False with a message in `error` for an unknown switch or a bad value.
    bool Parse(int argc, const char* const* argv, std::string& error);
    static const char* Usage();
};

} // namespace zel
