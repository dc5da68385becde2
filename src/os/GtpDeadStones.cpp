#include "os/GtpDeadStones.h"

#include <cstdlib>
#include <string_view>
#include <unistd.h>

#include "core/gtp/AnalysisDeadStones.h"
#include "core/gtp/EstimatorChain.h"
#include "core/gtp/GtpPosition.h"
#include "core/gtp/GtpText.h"

namespace zel {

TGtpDeadStones::TGtpDeadStones(std::vector<std::string> argv, int timeoutMs, std::string name, Method method)
    : engine_(std::move(argv), timeoutMs), name_(std::move(name)), method_(method)
{
}

bool TGtpDeadStones::FinalStatusDead(std::vector<std::pair<int, int>>& dead)
{
    std::string reply;
    return engine_.Run("final_status_list dead", reply) == TGtpRunStatus::Ok && ReadGtpVertexList(reply, dead);
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
    if (!SetUp(query))
        return false;
    if (method_ == Method::Final)
        return FinalStatusDead(dead);
    const TGtpRunStatus status = engine_.Run("dragon_status", reply);
    if (status == TGtpRunStatus::Refused)
        return FinalStatusDead(dead);
    std::vector<std::pair<int, int>> dragons;
    if (status != TGtpRunStatus::Ok || !ReadGtpDeadDragons(reply, dragons))
        return false;
    for (const auto& [x, y] : dragons) {
        std::vector<std::pair<int, int>> stones;
        if (engine_.Run("dragon_stones " + GtpVertexText(x, y), reply) != TGtpRunStatus::Ok ||
            !ReadGtpVertexList(reply, stones))
            return false;
        dead.insert(dead.end(), stones.begin(), stones.end());
    }
    return true;
}

std::string TGtpDeadStones::FinalScore(const TDeadStoneQuery& query)
{
    std::string reply;
    if (!SetUp(query) || engine_.Run("final_score", reply) != TGtpRunStatus::Ok)
        return {};
    return reply;
}

std::unique_ptr<DeadStoneEstimator> MakeDeadStoneEstimator()
{
    auto analysis = std::make_unique<TAnalysisDeadStones>();
    if (!GnuGoAvailable())
        return analysis;
    return std::make_unique<TEstimatorChain>(
        std::make_unique<TGtpDeadStones>(GnuGoCommand(kJudgeLevel), kJudgeTimeoutMs, "GNU Go"), std::move(analysis));
}

std::unique_ptr<DeadStoneEstimator> MakeFinalDeadStoneEstimator()
{
    if (!GnuGoAvailable())
        return nullptr;
    return std::make_unique<TGtpDeadStones>(GnuGoCommand(kJudgeLevel), kFinalJudgeTimeoutMs, "GNU Go",
                                            TGtpDeadStones::Method::Final);
}

std::unique_ptr<DeadStoneEstimator> MakePatientDeadStoneEstimator()
{
    auto final = MakeFinalDeadStoneEstimator();
    if (!final)
        return MakeDeadStoneEstimator();
    return std::make_unique<TEstimatorChain>(std::move(final), MakeDeadStoneEstimator());
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
