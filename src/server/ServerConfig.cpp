#include "server/ServerConfig.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "core/base/Cp949.h"

namespace zel {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool ParseInt(const std::string& s, long long lo, long long hi, long long& out)
{
    long long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

// A field may not hold the separator or a line break.
std::string Field(const std::string& utf8)
{
    std::string text = Utf8ToCp949(utf8);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '#') {
            ++i;
            continue;
        }
        if (text[i] == '\r' || text[i] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

} // namespace

bool TServerConfig::Parse(const std::string& utf8, std::string& error)
{
    std::istringstream in(utf8);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string t = Trim(line);
        if (t.empty() || t[0] == '#')
            continue;
        std::size_t eq = t.find('=');
        auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        };
        if (eq == std::string::npos)
            return fail("expected key = value");
        std::string key = Trim(t.substr(0, eq));
        std::string value = Trim(t.substr(eq + 1));
        long long n = 0;
        if (key == "advhost") {
            advHost = Field(value);
        } else if (key == "advport") {
            if (!ParseInt(value, 1, 65535, n))
                return fail("bad port");
            advPort = static_cast<int>(n);
        } else if (key == "gameserver") {
            std::size_t colon = value.rfind(':');
            if (colon == std::string::npos || !ParseInt(value.substr(colon + 1), 1, 65535, n))
                return fail("gameserver wants host:port");
            if (gameServers.size() >= kMaxEntries)
                return fail("at most 10 game servers");
            gameServers.push_back({Field(value.substr(0, colon)), static_cast<int>(n)});
        } else if (key == "link") {
            if (links.size() >= kMaxEntries)
                return fail("at most 10 links");
            links.push_back(Field(value));
        } else if (key == "notetype") {
            if (!ParseInt(value, 0, 99, n))
                return fail("bad notetype");
            noteType = static_cast<int>(n);
        } else if (key == "notemsg1" || key == "notemsg2" || key == "notemsg3") {
            noteMsg[key.back() - '1'] = Field(value);
        } else if (key == "configflag") {
            if (!ParseInt(value, 0, 1, n))
                return fail("configflag is 0 or 1");
            configFlag = static_cast<int>(n);
        } else if (key == "gracems") {
            if (!ParseInt(value, 0, 3600000, n))
                return fail("bad gracems");
            graceMs = static_cast<std::uint64_t>(n);
        } else {
            return fail("unknown key " + key);
        }
    }
    return true;
}

bool TServerConfig::Load(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str(), error);
}

std::string TServerConfig::ServerList(const std::string& host, int gamePort, int configPort) const
{
    const std::string sep = "\\#";
    std::string out;
    auto add = [&](const std::string& field) { out += field + sep; };
    add(advHost.empty() ? host : advHost);
    add(std::to_string(advPort != 0 ? advPort : configPort));
    std::vector<GameServer> servers = gameServers;
    if (servers.empty())
        servers.push_back({host, gamePort});
    add(std::to_string(servers.size()));
    for (const GameServer& s : servers) {
        add(s.host);
        add(std::to_string(s.port));
    }
    add(std::to_string(links.size()));
    for (const std::string& link : links)
        add(link);
    add(std::to_string(noteType));
    for (const std::string& msg : noteMsg)
        add(msg);
    return out;
}

} // namespace zel
