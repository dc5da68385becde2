#pragma once
#include "core/ports/Clock.h"

namespace zel {

// The local wall clock: milliseconds since local midnight.
class QtClock : public Clock {
public:
    std::int32_t Now() const override;
};

} // namespace zel
