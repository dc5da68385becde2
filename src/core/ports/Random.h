#pragma once
#include <cstdint>

namespace zel {

// A source of random numbers, injected so that tests and simulations replay.
class Random {
public:
    virtual ~Random() = default;
    // A number in 0 .. bound-1 (0 when bound is 0).
    virtual std::uint32_t Next(std::uint32_t bound) = 0;
};

} // namespace zel
