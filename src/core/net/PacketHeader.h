#pragma once
#include <cstddef>
#include <cstdint>

namespace zel {

// The 6-byte header that starts every packet in both directions.
struct PacketHeader {
    std::uint16_t code = 0;
    std::uint16_t length = 0;   // total length, header included
    std::uint16_t argument = 0; // for 6-byte packets the whole payload

    static constexpr std::size_t kSize = 6;
    static PacketHeader Decode(const std::uint8_t* p);
    void Encode(std::uint8_t* p) const;
};

// The largest packet the server may send (23010 at its bound).
constexpr std::size_t kMaxPacketLength = 2060;

// True when the code is one the client accepts from the server and the
// length fits its table entry. Variable-length packets must at least hold
// their fixed part, so that no complete packet is shorter than its layout.
bool IsValidHeader(const PacketHeader& header);

} // namespace zel
