#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace zel {

class Transport;

// Staging records and SendPacket. Each outgoing code has one staging record
// (codes that share a layout share it); the caller fills the fields after the
// header and calls SendPacket, which stamps code and length and writes the
// bytes to the game connection.
class PacketSender {
public:
    // Sending is allowed only while this says so (connected, not closing,
    // not reconnecting).
    using Gate = std::function<bool()>;

    PacketSender(Transport& transport, Gate maysend) : transport_(transport), maySend_(std::move(maysend)) {}

    // The staging record of `code`, or nullptr for a code the client never sends.
    std::uint8_t* Staging(std::uint16_t code);
    // Capacity of that record in bytes (0 for unknown codes).
    std::size_t StagingSize(std::uint16_t code) const;

    // Copies `length` bytes of the code's staging record (code and length
    // stamped into its header) and writes them. Returns false when nothing or
    // not everything could be written; failures are otherwise silent.
    bool SendPacket(std::uint16_t code, std::size_t length);

    // Zeroes every staging record.
    void Clear();

    static constexpr int kMaxPartialWrites = 10;

private:
    struct Record {
        std::uint8_t* data;
        std::size_t size;
    };
    Record Find(std::uint16_t code) const;

    Transport& transport_;
    Gate maySend_;
    std::array<std::uint8_t, 6> header6_{};
    std::array<std::uint8_t, 38> login_{};
    std::array<std::uint8_t, 8> enter_{};       // 21050, 24030
    std::array<std::uint8_t, 2054> roomText_{}; // 23020, 23030
    std::array<std::uint8_t, 2060> privText_{}; // 23010
    std::array<std::uint8_t, 60> room_{};       // 24010, 24050
    std::array<std::uint8_t, 14> invite_{};     // 31010, 31020, 31110, 31120
    std::array<std::uint8_t, 42> refuse_{};     // 31130, 31140
    std::array<std::uint8_t, 14> profile_{};    // 26010
    std::array<std::uint8_t, 8> request_{};     // 32030
    std::array<std::uint8_t, 8> start_{};       // 33060
};

} // namespace zel
