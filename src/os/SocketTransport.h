#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ports/Transport.h"

namespace zel {

// A non-blocking POSIX TCP client connection. Nothing happens by itself: the
// owner calls Poll() from its loop, which finishes connecting, flushes what
// Send() buffered and delivers received bytes and closes as events.
class SocketTransport : public Transport {
public:
    static constexpr std::size_t kMaxPending = 1 << 20; // unsent bytes accepted
    static constexpr std::size_t kReadSize = 163840;

    SocketTransport() = default;
    ~SocketTransport() override;
    SocketTransport(const SocketTransport&) = delete;
    SocketTransport& operator=(const SocketTransport&) = delete;

    void SetEvents(TransportEvents* events) override { events_ = events; }
    // Host is a numeric IPv4 address or a name resolved at once.
    void Open(const std::string& host, std::uint16_t port) override;
    // Takes everything while connected and the pending bytes stay under the cap.
    std::size_t Send(const std::uint8_t* data, std::size_t size) override;
    void Close() override;
    bool IsConnected() const override { return connected_; }
    bool IsOpen() const override { return fd_ >= 0; }

    // Waits up to `timeoutMs` for the socket (and for `extraFd` to become
    // readable, when given) and handles what is ready. Returns true when
    // `extraFd` is readable.
    bool Poll(int timeoutMs, int extraFd = -1);
    std::size_t PendingBytes() const { return pending_.size(); }

private:
    void Fail(TransportError error);
    void Flush();
    void Drop();

    TransportEvents* events_ = nullptr;
    int fd_ = -1;
    bool connected_ = false;
    std::vector<std::uint8_t> pending_;
    std::vector<std::uint8_t> readBuffer_;
};

} // namespace zel
