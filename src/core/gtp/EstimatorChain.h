#pragma once
#include <memory>

#include "core/ports/DeadStoneEstimator.h"

namespace zel {

// Asks first; when first gives no answer, second. Name tells who answered last.
class TEstimatorChain : public DeadStoneEstimator {
public:
    TEstimatorChain(std::unique_ptr<DeadStoneEstimator> first, std::unique_ptr<DeadStoneEstimator> second)
        : first_(std::move(first)), second_(std::move(second)), last_(first_.get())
    {
    }
    bool DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead) override
    {
        last_ = first_.get();
        if (first_->DeadStones(query, dead))
            return true;
        last_ = second_.get();
        return second_->DeadStones(query, dead);
    }
    std::string Name() const override { return last_->Name(); }

private:
    std::unique_ptr<DeadStoneEstimator> first_, second_;
    const DeadStoneEstimator* last_;
};

} // namespace zel
