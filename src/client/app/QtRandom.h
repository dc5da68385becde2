#pragma once
#include <QRandomGenerator>

#include "core/ports/Random.h"

namespace zel {

// The client's random numbers, from Qt's system-seeded generator.
class QtRandom : public Random {
public:
    std::uint32_t Next(std::uint32_t bound) override
    {
        return bound == 0 ? 0 : QRandomGenerator::global()->bounded(bound);
    }
};

} // namespace zel
