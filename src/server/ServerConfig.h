#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

// The server's own config file: UTF-8 "key = value" lines, '#' starts a
// comment line. Texts are kept in CP949, as they go on the wire.
struct TServerConfig {
    std::string advHost; // empty: the listening host
    int advPort = 0;     // 0: the listening config port
    struct GameServer {
        std::string host;
        int port = 0;
    };
    std::vector<GameServer> gameServers; // empty: the listening game host and port
    std::vector<std::string> links;      // one web address per banner
    int noteType = 1;
    std::string noteMsg[3];
    int configFlag = 1; // 0: tell clients there is nothing to update
    std::uint64_t graceMs = 60000;

    static constexpr std::size_t kMaxEntries = 10; // the clients keep 10 servers and 10 links

    // Parses the file's text. Unknown keys and bad values are reported in
    // `error` (first problem only) and make it return false.
    bool Parse(const std::string& utf8, std::string& error);
    bool Load(const std::string& path, std::string& error);

    // The server-list file of the configuration exchange: every field ended
    // by "\#". Missing hosts and ports are filled from the listeners.
    std::string ServerList(const std::string& host, int gamePort, int configPort) const;
};

} // namespace zel
