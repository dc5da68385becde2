#pragma once
#include <asio.hpp>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

    void Send(ConnId conn, std::vector<std::uint8_t> bytes) override;
    void Close(ConnId conn, bool flush) override;
    void Log(const std::string& line) override;

    // A connection whose unsent bytes exceed this is dropped (a reader too slow to keep up).
    static constexpr std::size_t kMaxQueued = 1 << 20;
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
        std::deque<std::vector<std::uint8_t>> queue;
        std::size_t queued = 0;
        bool writing = false;
        bool closing = false; // close once the queue is written
        bool closed = false;
        std::string line; // admin input not yet ended by a newline
        std::array<std::uint8_t, 16384> buffer{};
    };
    using ConnPtr = std::shared_ptr<Connection>;

    bool Listen(asio::ip::tcp::acceptor& acceptor, int port, std::string& error);
    void Accept(asio::ip::tcp::acceptor& acceptor, Port port);
    void Read(const ConnPtr& c);
    void Write(const ConnPtr& c);
    void Finish(const ConnPtr& c);
    void AdminBytes(const ConnPtr& c, std::size_t n);
    void ScheduleTick();
    std::uint64_t Now() const;

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
    std::map<ConnId, ConnPtr> conns_;
    ConnId nextId_ = 0;
};

} // namespace zel
