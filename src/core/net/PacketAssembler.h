#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/net/PacketHeader.h"

namespace zel {

// Cuts one connection's byte stream into validated packets.
// Bytes are fed one read at a time. An invalid header drops the rest of that
// read: framing resumes with the next read, never inside the same one.
class PacketAssembler {
public:
    // Decides, per complete packet, whether it is handed on (the connection
    // state allows delivery) or dropped.
    using Gate = std::function<bool()>;
    using Sink = std::function<void(const std::uint8_t* packet, std::size_t length)>;
    // Header check; the game connection uses IsValidHeader.
    using Validator = bool (*)(const PacketHeader&);

    explicit PacketAssembler(Validator validator = &IsValidHeader) : validator_(validator) {}

    // Feeds one read. Returns false when an invalid header dropped bytes.
    bool Feed(const std::uint8_t* data, std::size_t size, const Gate& mayDeliver, const Sink& deliver);
    void Reset();
    std::size_t Pending() const { return count_; }

    static constexpr std::size_t kBufferSize = 4120;

private:
    Validator validator_;
    std::array<std::uint8_t, kBufferSize> buffer_{};
    std::size_t count_ = 0;
    std::size_t expected_ = 0; // 0 until a header is complete
};

} // namespace zel
