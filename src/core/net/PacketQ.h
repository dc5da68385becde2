#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zel {

class Clock;
class Random;

// Two capital letters for a number 0..675 ("AA" = 0), and back. Decoding
// answers -1 for anything that is not two capital letters.
std::string SeqCode(int n);
int SeqCodeNumber(std::string_view text);

// Carries client-to-client messages inside room and private text: paces
// sending to one piece per 200 ms, cuts long messages without splitting a
// double-byte character, disguises a few characters with a per-message key,
// wraps pieces in ">O<" ... ">E<", drops the echo of its own pieces,
// reassembles chunks and delivers complete messages one per 200 ms.
// Both timers run inside Tick(now); nothing happens between ticks.
class TPacketQ {
public:
    using WireFn = std::function<void(const std::string& piece)>;
    using MessageFn = std::function<void(const std::string& message)>;

    static constexpr int kRing = 50;
    static constexpr int kEchoes = 10;
    static constexpr int kSlots = 10;
    static constexpr std::int32_t kInterval = 200;
    static constexpr std::int32_t kSlotTimeout = 30000;
    static constexpr std::size_t kWhole = 700; // sent unchunked up to this size
    static constexpr std::size_t kChunk = 650; // cut point of a chunk
    static constexpr int kLastChunk = 100;     // "DW"
    // Longest message that fits in 99 chunks and the last one.
    static constexpr std::size_t kMaxMessage = 99 * kChunk;

    TPacketQ(const Clock& clock, Random& random);

    void SetOnWire(WireFn fn) { onWire_ = std::move(fn); }
    void SetOnMessage(MessageFn fn) { onMessage_ = std::move(fn); }

    // Queues a message. Refuses (false) a text shorter than 8 bytes, one that
    // does not begin with two capital letters numbering more than 100, or one
    // longer than kMaxMessage. When 50 messages wait, the oldest is dropped.
    bool Enqueue(const std::string& text);

    // A received line with the 1-based positions of ">O<" and ">E<". Positions
    // that do not frame a payload inside the line are ignored.
    void Receive(const std::string& line, std::size_t openPos, std::size_t endPos);
    // Finds ">O<" (first) and ">E<" (last, after it); 1-based positions.
    static bool FindMarkers(std::string_view line, std::size_t& openPos, std::size_t& endPos);

    // Runs the send and delivery timers: at most one piece sent and one
    // message delivered per call, each no more often than every 200 ms.
    void Tick(std::int32_t now);

    // Drops everything queued and frees every reassembly slot.
    void Clear();

    bool Sending() const { return sendRunning_; }
    bool Delivering() const { return deliverRunning_; }
    int Unsent() const;
    int Undelivered() const;

private:
    struct OutSlot {
        int counter = 0; // 0 = not yet started
        std::string text;
        std::string messageId;
    };
    struct ReassemblySlot {
        std::string text;
        std::string messageId;
        std::int32_t time = 0;
        int expected = 0; // 0 = free
    };

    void SendOne();
    void DeliverOne();
    void QueueIncoming(std::string message);
    void RememberEcho(const std::string& payload);
    bool IsEcho(const std::string& payload) const;
    void ReceiveChunk(std::string& payload, int n);

    const Clock& clock_;
    Random& random_;
    WireFn onWire_;
    MessageFn onMessage_;

    std::array<OutSlot, kRing> out_{};
    int outSent_ = 0, outQueued_ = 0; // empty when equal
    std::array<std::string, kRing> in_{};
    int inDelivered_ = 0, inQueued_ = 0;
    std::array<std::string, kEchoes> echoes_{};
    int echoNext_ = 0;
    std::array<ReassemblySlot, kSlots> slots_{};

    bool sendRunning_ = false, deliverRunning_ = false;
    std::int32_t sendMark_ = 0, deliverMark_ = 0;
};

} // namespace zel
