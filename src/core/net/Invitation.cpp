#include "core/net/Invitation.h"

#include "core/ports/Clock.h"

#include <cstring>

namespace zel {

TInvitation::TInvitation(std::uint16_t c, const std::uint8_t* r, std::string first, std::string second,
                         std::string refusalText, std::int32_t now)
    : code(c), firstLine(std::move(first)), secondLine(std::move(second)), refusal(std::move(refusalText)), mark_(now)
{
    std::memcpy(record.data(), r, record.size());
}

bool TInvitation::Tick(std::int32_t now)
{
    while (gauge < kSeconds && Elapsed(now, mark_) >= kStep) {
        mark_ += kStep;
        ++gauge;
    }
    return gauge >= kSeconds;
}

} // namespace zel
