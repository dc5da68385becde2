#pragma once
#include <cstdint>

namespace zel {

// Milliseconds since local midnight: every time mark in the system is one.
// The client reads the wall clock; tests advance a virtual clock by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int32_t Now() const = 0;
};

// Elapsed milliseconds between two marks, as the absolute difference.
inline std::int32_t Elapsed(std::int32_t now, std::int32_t mark)
{
    return now >= mark ? now - mark : mark - now;
}

} // namespace zel
