#pragma once
#include <atomic>
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
        if (cancelled_)
            return false;
        last_ = second_.get();
        return second_->DeadStones(query, dead);
    }
    std::string Name() const override { return last_.load()->Name(); }
    void Cancel() override
    {
        cancelled_ = true;
        first_->Cancel();
        second_->Cancel();
    }

private:
    std::unique_ptr<DeadStoneEstimator> first_, second_;
    std::atomic<const DeadStoneEstimator*> last_;
    std::atomic<bool> cancelled_{false};
};

} // namespace zel
