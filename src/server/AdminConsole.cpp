#include "server/AdminConsole.h"

#include <charconv>
#include <sstream>

#include "core/base/Cp949.h"

namespace zel {

namespace {

bool ParseMs(const std::string& s, std::uint64_t& out)
{
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v > 86400000)
        return false;
    out = v;
    return true;
}

} // namespace

std::string TAdminConsole::Execute(const std::string& line, std::uint64_t now)
{
    std::string text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    std::istringstream in(text);
    std::string command, id, number;
    in >> command;
    if (command == "kick" || command == "bye") {
        if (!(in >> id))
            return "error usage: " + command + " <id>";
        bool done = command == "kick" ? core_.Kick(Utf8ToCp949(id)) : core_.Bye(Utf8ToCp949(id));
        return done ? "ok " + command + " " + id : "error not connected: " + id;
    }
    if (command == "refuse") {
        std::uint64_t ms = 0;
        if (!(in >> number) || !ParseMs(number, ms))
            return "error usage: refuse <ms>";
        core_.Refuse(ms, now);
        return "ok refuse " + number;
    }
    if (command == "silence") {
        std::uint64_t ms = 0;
        if (!(in >> id >> number) || !ParseMs(number, ms))
            return "error usage: silence <id> <ms>";
        return core_.Silence(Utf8ToCp949(id), ms, now) ? "ok silence " + id : "error unknown user: " + id;
    }
    if (command == "users" || command == "grace") {
        std::string list = core_.Users(command == "grace");
        return list.empty() ? "ok" : "ok " + list;
    }
    if (command == "notice") {
        std::size_t start = text.find("notice") + 6;
        std::size_t b = text.find_first_not_of(' ', start);
        std::string message = b == std::string::npos ? std::string() : text.substr(b);
        core_.Notice(Utf8ToCp949(message));
        return "ok notice";
    }
    if (command == "quit") {
        quit_ = true;
        return "ok quit";
    }
    return "error unknown command: " + command;
}

} // namespace zel
