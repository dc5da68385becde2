#include "core/gtp/AnalysisDeadStones.h"

#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/engine/PositionAnalysis.h"

namespace zel {

TAnalysisDeadStones::TAnalysisDeadStones() : analysis_(std::make_unique<TPositionAnalysis>()) {}

TAnalysisDeadStones::~TAnalysisDeadStones() = default;

bool TAnalysisDeadStones::DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead)
{
    dead.clear();
    if (query.Position.size() != static_cast<std::size_t>(kBoardSize * kBoardSize))
        return false;
    analysis_->ResetAnalysis();
    if (!analysis_->AnalysePosition(query.Position, query.SideToMove))
        return false;
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            if (query.Position[static_cast<std::size_t>((y - 1) * kBoardSize + x - 1)] != '-' &&
                analysis_->IsDead(y, x))
                dead.emplace_back(x, y);
    return true;
}

std::string TAnalysisDeadStones::Name() const
{
    return KS("형세 분석");
}

} // namespace zel
