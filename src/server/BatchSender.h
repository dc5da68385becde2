#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace zel {

// Writes to many non-blocking sockets at once: a broadcast to thousands of
// users is handed to the kernel in batches through io_uring, one system call
// per batch instead of one per user. Where the kernel refuses io_uring (older
// kernels, sandboxes that filter it) each socket gets its own send(). Either
// way a call never blocks and never raises SIGPIPE.
class TBatchSender {
public:
    struct Item {
        int fd = -1;
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        // Set by Send: bytes written (0 when the socket would block), or -errno.
        std::ptrdiff_t result = 0;
    };

    // Sockets handed to the kernel per system call.
    static constexpr unsigned kDepth = 256;

    // `batched` false always sends one socket at a time.
    explicit TBatchSender(bool batched = true);
    ~TBatchSender();
    TBatchSender(const TBatchSender&) = delete;
    TBatchSender& operator=(const TBatchSender&) = delete;

    // True while writes go through io_uring.
    bool Batched() const { return ring_ != nullptr; }
    void Send(std::span<Item> items);

private:
    struct Ring;
    // Batches through the ring; false (with nothing after `done` sent) when it failed.
    bool SendBatch(std::span<Item> items, std::size_t& done);
    static void SendOne(Item& item);

    std::unique_ptr<Ring> ring_;
};

} // namespace zel
