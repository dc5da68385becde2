#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace zel {

// An open invitation (31010 game request, 31020 room) as the dialog shows
// it: two lines, the refusal text and a gauge that fills once a second and
// refuses automatically when full.
class TInvitation {
public:
    static constexpr int kSeconds = 10;
    static constexpr std::int32_t kStep = 1000;

    TInvitation(std::uint16_t code, const std::uint8_t* record, std::string first, std::string second,
                std::string refusal, std::int32_t now);

    // Advances the gauge; true once the time is up.
    bool Tick(std::int32_t now);

    std::uint16_t code;                  // 31010 or 31020
    std::array<std::uint8_t, 14> record; // the invitation as received
    std::string firstLine, secondLine;
    std::string refusal; // may be edited before refusing
    int gauge = 0;       // 0..kSeconds

private:
    std::int32_t mark_;
};

} // namespace zel
