#include "server/ServerOptions.h"

#include <charconv>

namespace zel {

namespace {

bool ParseRange(const std::string& s, int lo, int hi, int& out)
{
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

} // namespace

const char* TServerOptions::Usage()
{
    return "usage: zelserver [--host 127.0.0.1] [--game-port 5554] [--config-port 8080]\n"
           "                 [--admin-port 0] [--table-size 1000] [--conf FILE] [--log]\n"
           "                 [--redis HOST:PORT --node N]\n";
}

bool TServerOptions::Parse(int argc, const char* const* argv, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--log") {
            log = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + arg;
            return false;
        }
        std::string value = argv[++i];
        bool ok = true;
        if (arg == "--host")
            host = value;
        else if (arg == "--game-port")
            ok = ParseRange(value, 0, 65535, gamePort);
        else if (arg == "--config-port")
            ok = ParseRange(value, 0, 65535, configPort);
        else if (arg == "--admin-port")
            ok = ParseRange(value, 0, 65535, adminPort);
        else if (arg == "--table-size")
            ok = ParseRange(value, kMinTable, kMaxTable, tableSize);
        else if (arg == "--conf")
            confPath = value;
        else if (arg == "--redis") {
            std::size_t colon = value.rfind(':');
            ok = colon != std::string::npos && colon > 0 && ParseRange(value.substr(colon + 1), 1, 65535, redisPort);
            redisHost = ok ? value.substr(0, colon) : "";
        } else if (arg == "--node")
            ok = ParseRange(value, 1, kMaxNode, node);
        else {
            error = "unknown option " + arg;
            return false;
        }
        if (!ok || value.empty()) {
            error = "bad value for " + arg + ": " + value;
            return false;
        }
    }
    if (redisHost.empty() != (node == 0)) {
        error = "--redis and --node go together";
        return false;
    }
    return true;
}

} // namespace zel
