#pragma once
#include <asio.hpp>
#include <cstdint>
#include <unordered_map>
#include <memory>
#include <string>
#include <vector>

#include "server/BatchSender.h"
#include "server/ServerIo.h"
#include "server/ServerOptions.h"

namespace zel {

class TServerCore;
class TConfigService;
class TAdminConsole;

// The socket side: listeners for the game, configuration and admin ports,
// one read loop and one bounded write queue per connection, and the timer
// that ticks the game server. Single-threaded on one io_context.
class TAsioServer : public TServerIo {
public:
    TAsioServer(asio::io_context& io, const TServerOptions& options);

    void Attach(TServerCore& core, TConfigService& config, TAdminConsole& admin);
    // Opens the listeners and prints "ready ..."; false with a reason when a port cannot be bound.
    bool Start(std::string& error);

    using TServerIo::Send;
    void Send(ConnId conn, const std::uint8_t* data, std::size_t size) override;
    void Close(ConnId conn, bool flush) override;
    void Log(const std::string& line) override;
    bool Logging() const override { return options_.log; }
    // Milliseconds since the server started: the time every core call is given.
    std::uint64_t Now() const;

    // A connection whose unsent bytes exceed this is dropped (a reader too slow to keep up).
    static constexpr std::size_t kMaxQueued = 1 << 20;
    // An output buffer larger than this is given back once it has been written.
    static constexpr std::size_t kKeptCapacity = 16384;
    // One read of a connection takes at most this many bytes.
    static constexpr std::size_t kReadSize = 65536;
    // Connections written per turn of the event loop before reads get their turn.
    static constexpr std::size_t kFlushSlice = TBatchSender::kDepth;
    // A configuration client gets this long to finish its exchange.
    static constexpr int kConfigTimeoutMs = 60000;

private:
    enum class Port { Game, Config, Admin };
    struct Connection {
        explicit Connection(asio::io_context& io) : socket(io), timer(io) {}
        asio::ip::tcp::socket socket;
        asio::steady_timer timer;
        ConnId id = 0;
        Port port = Port::Game;
        // Output gathers in `pending` and leaves in one write; `sending` is
        // the buffer a write in progress owns.
        std::vector<std::uint8_t> pending;
        std::vector<std::uint8_t> sending;
        bool writing = false;
        bool dirty = false;   // listed for the next flush
        bool closing = false; // close once the queue is written
        bool closed = false;
        std::string line; // admin input not yet ended by a newline
    };
    using ConnPtr = std::shared_ptr<Connection>;

    bool Listen(asio::ip::tcp::acceptor& acceptor, int port, std::string& error);
    void Accept(asio::ip::tcp::acceptor& acceptor, Port port);
    void Read(const ConnPtr& c);
    void ReadNow(const ConnPtr& c);
    void Received(const ConnPtr& c, std::size_t n);
    void FlushSome();
    void Write(const ConnPtr& c);
    // A write of `sending` returned: bytes taken (0 when it would block), or negative on failure.
    void Sent(const ConnPtr& c, std::ptrdiff_t result);
    void Written(const ConnPtr& c);
    void Finish(const ConnPtr& c);
    void AdminBytes(const ConnPtr& c, const std::uint8_t* data, std::size_t n);
    void ScheduleTick();

    asio::io_context& io_;
    TServerOptions options_;
    TServerCore* core_ = nullptr;
    TConfigService* config_ = nullptr;
    TAdminConsole* admin_ = nullptr;
    asio::ip::tcp::acceptor game_;
    asio::ip::tcp::acceptor configAcceptor_;
    asio::ip::tcp::acceptor adminAcceptor_;
    asio::steady_timer tick_;
    std::chrono::steady_clock::time_point start_;
    std::unordered_map<ConnId, ConnPtr> conns_;
    ConnId nextId_ = 0;
    std::vector<std::uint8_t> readBuffer_; // shared by every connection: reads wait without a buffer
    std::vector<ConnPtr> dirty_;           // connections with output, in the order it was queued
    std::size_t dirtyAt_ = 0;              // dirty_ before this is written
    TBatchSender sender_;
    std::vector<ConnPtr> batch_; // the slice being written, and its writes
    std::vector<TBatchSender::Item> writes_;
    bool flushPosted_ = false;
};

} // namespace zel
