#pragma once
#include <chrono>
#include <cstdint>

#include "core/ports/Clock.h"

namespace zel {

// Milliseconds since local midnight, read once from the wall clock at
// construction and advanced by the steady clock after that, so that time
// marks never jump backwards while the program runs.
class SteadyClock : public Clock {
public:
    SteadyClock();
    std::int32_t Now() const override;

private:
    std::int32_t base_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace zel
