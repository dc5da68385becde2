#include "os/GtpDeadStones.h"

#include <cstdlib>
#include <string_view>
#include <unistd.h>

#include "core/gtp/GtpPosition.h"

namespace zel {

TGtpDeadStones::TGtpDeadStones(std::vector<std::string> argv, int timeoutMs, std::string name)
    : engine_(std::move(argv), timeoutMs), name_(std::move(name))
{
}

bool TGtpDeadStones::SetUp(const TDeadStoneQuery& query)
{
    std::string reply;
    for (const std::string& command : GtpSetupCommands(query))
        if (engine_.Run(command, reply) != TGtpRunStatus::Ok)
            return false;
    return true;
}

bool TGtpDeadStones::DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead)
{
    dead.clear();
    std::string reply;
    return SetUp(query) && engine_.Run("final_status_list dead", reply) == TGtpRunStatus::Ok &&
           ReadGtpVertexList(reply, dead);
}

std::string TGtpDeadStones::FinalScore(const TDeadStoneQuery& query)
{
    std::string reply;
    if (!SetUp(query) || engine_.Run("final_score", reply) != TGtpRunStatus::Ok)
        return {};
    return reply;
}

bool GnuGoAvailable()
{
    if (access("/usr/games/gnugo", X_OK) == 0)
        return true;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string dir(rest.substr(0, colon));
        if (!dir.empty() && access((dir + "/gnugo").c_str(), X_OK) == 0)
            return true;
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return false;
}

} // namespace zel
