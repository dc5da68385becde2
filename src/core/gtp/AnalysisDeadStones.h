#pragma once
#include <memory>

#include "core/ports/DeadStoneEstimator.h"

namespace zel {

class TPositionAnalysis;

// The dead stones as our position analysis ("형세 분석") finds them.
class TAnalysisDeadStones : public DeadStoneEstimator {
public:
    TAnalysisDeadStones();
    ~TAnalysisDeadStones() override;
    // False for a position that is not 361 points.
    bool DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead) override;
    std::string Name() const override;

private:
    std::unique_ptr<TPositionAnalysis> analysis_;
};

} // namespace zel
