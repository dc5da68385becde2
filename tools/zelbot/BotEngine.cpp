#include "BotEngine.h"

#include <cctype>
#include <cstdlib>

#include "core/engine/GoSnapshot.h"
#include "core/gtp/GtpPosition.h"
#include "core/gtp/GtpText.h"

namespace zel::bot {

TBotEngine::TBotEngine(std::vector<std::string> argv, int timeoutMs) : engine_(std::move(argv), timeoutMs) {}

bool TBotEngine::Run(const std::string& command, std::string& reply)
{
    const TGtpRunStatus status = engine_.Run(command, reply);
    if (status == TGtpRunStatus::Failed)
        failed_ = true;
    return status == TGtpRunStatus::Ok;
}

bool TBotEngine::Sync(const TDeadStoneQuery& game)
{
    const std::vector<std::string> want = GtpSetupCommands(game);
    const std::size_t setup = want.size() - game.Moves.size();
    std::string reply;
    // A restarted engine replayed its history, which may hold generated
    // moves of its own: it is set up afresh.
    std::size_t same = 0;
    if (!failed_ && startsAtSync_ == engine_.Starts())
        while (same < want.size() && same < sent_.size() && want[same] == sent_[same])
            ++same;
    failed_ = false;
    if (same < setup)
        same = 0;
    // Moves taken back are undone in the engine.
    while (same > 0 && sent_.size() > same) {
        if (!Run("undo", reply)) {
            same = 0;
            break;
        }
        sent_.pop_back();
    }
    if (same == 0)
        sent_.clear();
    for (std::size_t i = same; i < want.size(); ++i) {
        if (!Run(want[i], reply)) {
            sent_.clear();
            return false;
        }
        sent_.push_back(want[i]);
    }
    startsAtSync_ = engine_.Starts();
    return true;
}

TEngineMove TBotEngine::GenMove(std::uint8_t colour)
{
    std::string reply;
    TEngineMove move;
    const std::string who = colour == kWhite ? "W" : "B";
    if (!Run("genmove " + who, reply))
        return move;
    std::string word = reply.substr(0, reply.find_first_of(" \n"));
    for (char& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "resign") {
        move.What = TEngineMove::Resign;
        return move;
    }
    if (!ReadGtpVertex(word, move.X, move.Y))
        return move;
    move.What = move.X == 0 ? TEngineMove::Pass : TEngineMove::Play;
    sent_.push_back(GtpPlayCommand(TPlayedMove{colour, move.X, move.Y}));
    return move;
}

bool TBotEngine::EstimateMargin(double& margin)
{
    std::string reply;
    return Run("estimate_score", reply) && ReadGtpScore(reply, margin);
}

bool ReadGtpScore(const std::string& text, double& margin)
{
    const std::string word = text.substr(0, text.find_first_of(" \n"));
    if (word == "0") {
        margin = 0;
        return true;
    }
    if (word.size() < 3 || (word[0] != 'B' && word[0] != 'W' && word[0] != 'b' && word[0] != 'w') || word[1] != '+')
        return false;
    char* end = nullptr;
    const double value = std::strtod(word.c_str() + 2, &end);
    if (end == word.c_str() + 2 || *end != '\0' || value < 0 || value > 400)
        return false;
    margin = (word[0] == 'B' || word[0] == 'b') ? value : -value;
    return true;
}

} // namespace zel::bot
