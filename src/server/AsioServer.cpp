#include "server/AsioServer.h"

#include <iostream>

#include "server/AdminConsole.h"
#include "server/ConfigService.h"
#include "server/ServerCore.h"

namespace zel {

namespace {
const char* PortName(int kind)
{
    static const char* const names[] = {"game", "config", "admin"};
    return names[kind];
}
} // namespace

TAsioServer::TAsioServer(asio::io_context& io, const TServerOptions& options)
    : io_(io), options_(options), game_(io), configAcceptor_(io), adminAcceptor_(io), tick_(io),
      start_(std::chrono::steady_clock::now()), readBuffer_(kReadSize), sender_(options.batchedWrites)
{
}

void TAsioServer::Attach(TServerCore& core, TConfigService& config, TAdminConsole& admin)
{
    core_ = &core;
    config_ = &config;
    admin_ = &admin;
}

std::uint64_t TAsioServer::Now() const
{
    auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

bool TAsioServer::Listen(asio::ip::tcp::acceptor& acceptor, int port, std::string& error)
{
    if (port == 0)
        return true;
    asio::error_code ec;
    asio::ip::address address = asio::ip::make_address(options_.host, ec);
    if (ec) {
        error = "bad host " + options_.host;
        return false;
    }
    asio::ip::tcp::endpoint endpoint(address, static_cast<std::uint16_t>(port));
    acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true), ec);
    if (!ec)
        acceptor.bind(endpoint, ec);
    if (!ec)
        acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        error = "cannot listen on " + options_.host + ":" + std::to_string(port) + ": " + ec.message();
        return false;
    }
    return true;
}

bool TAsioServer::Start(std::string& error)
{
    if (!Listen(game_, options_.gamePort, error) || !Listen(configAcceptor_, options_.configPort, error) ||
        !Listen(adminAcceptor_, options_.adminPort, error))
        return false;
    if (game_.is_open())
        Accept(game_, Port::Game);
    if (configAcceptor_.is_open())
        Accept(configAcceptor_, Port::Config);
    if (adminAcceptor_.is_open())
        Accept(adminAcceptor_, Port::Admin);
    ScheduleTick();
    // Always printed: the harness and scripts wait for it.
    std::cout << "ready game=" << options_.gamePort << " config=" << options_.configPort
              << " admin=" << options_.adminPort << std::endl;
    return true;
}

void TAsioServer::ScheduleTick()
{
    tick_.expires_after(std::chrono::milliseconds(250));
    tick_.async_wait([this](const asio::error_code& ec) {
        if (ec)
            return;
        core_->Tick(Now());
        ScheduleTick();
    });
}

void TAsioServer::Accept(asio::ip::tcp::acceptor& acceptor, Port port)
{
    auto c = std::make_shared<Connection>(io_);
    acceptor.async_accept(c->socket, [this, &acceptor, port, c](const asio::error_code& ec) {
        if (ec) {
            if (ec != asio::error::operation_aborted)
                Accept(acceptor, port);
            return;
        }
        c->id = ++nextId_;
        c->port = port;
        conns_[c->id] = c;
        asio::error_code ignored;
        c->socket.set_option(asio::ip::tcp::no_delay(true), ignored);
        // Reads and the first attempt of every write are made without waiting.
        c->socket.non_blocking(true, ignored);
        if (Logging())
            Log("accept conn=" + std::to_string(c->id) + " port=" + PortName(static_cast<int>(port)));
        Read(c);
        if (port == Port::Game) {
            core_->OnConnected(c->id, Now());
        } else if (port == Port::Config) {
            config_->OnConnected(c->id);
            c->timer.expires_after(std::chrono::milliseconds(kConfigTimeoutMs));
            c->timer.async_wait([this, c](const asio::error_code& tec) {
                if (!tec)
                    Finish(c);
            });
        }
        Accept(acceptor, port);
    });
}

void TAsioServer::Read(const ConnPtr& c)
{
    c->socket.async_wait(asio::ip::tcp::socket::wait_read, [this, c](const asio::error_code& ec) {
        if (c->closed)
            return;
        if (ec) {
            Finish(c);
            return;
        }
        ReadNow(c);
    });
}

void TAsioServer::ReadNow(const ConnPtr& c)
{
    asio::error_code rec;
    std::size_t n = c->socket.read_some(asio::buffer(readBuffer_), rec);
    if (rec == asio::error::would_block || rec == asio::error::try_again) {
        Read(c);
        return;
    }
    if (rec) {
        Finish(c);
        return;
    }
    Received(c, n);
    if (c->closed)
        return;
    if (n < readBuffer_.size()) {
        Read(c);
        return;
    }
    // A full buffer may leave bytes behind, and the readiness wait only wakes
    // for bytes that arrive later: read again on a later turn, after the
    // other connections have had theirs.
    asio::post(io_, [this, c]() {
        if (!c->closed)
            ReadNow(c);
    });
}

void TAsioServer::Received(const ConnPtr& c, std::size_t n)
{
    switch (c->port) {
    case Port::Game:
        core_->OnBytes(c->id, readBuffer_.data(), n, Now());
        break;
    case Port::Config:
        config_->OnBytes(c->id, readBuffer_.data(), n);
        break;
    case Port::Admin:
        AdminBytes(c, readBuffer_.data(), n);
        break;
    }
}

void TAsioServer::AdminBytes(const ConnPtr& c, const std::uint8_t* data, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        char ch = static_cast<char>(data[i]);
        if (ch != '\n') {
            c->line += ch;
            if (c->line.size() > TAdminConsole::kMaxLine) {
                Close(c->id, false);
                return;
            }
            continue;
        }
        std::string reply = admin_->Execute(c->line, Now()) + "\n";
        if (Logging())
            Log("admin conn=" + std::to_string(c->id) + " " + reply.substr(0, reply.size() - 1));
        c->line.clear();
        Send(c->id, reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size());
        if (admin_->QuitRequested()) {
            Close(c->id, true);
            asio::post(io_, [this]() {
                game_.close();
                configAcceptor_.close();
                adminAcceptor_.close();
                tick_.cancel();
                io_.stop();
            });
            return;
        }
    }
}

void TAsioServer::Send(ConnId conn, const std::uint8_t* data, std::size_t size)
{
    auto it = conns_.find(conn);
    if (it == conns_.end() || it->second->closed || it->second->closing || size == 0)
        return;
    Connection& c = *it->second;
    // Every queued byte counts, in one buffer per direction: no block per packet.
    if (c.pending.size() + c.sending.size() + size > kMaxQueued) {
        if (Logging())
            Log("overflow conn=" + std::to_string(conn));
        Close(conn, false);
        return;
    }
    c.pending.insert(c.pending.end(), data, data + size);
    if (c.writing || c.dirty)
        return;
    c.dirty = true;
    dirty_.push_back(it->second);
    if (!flushPosted_) {
        flushPosted_ = true;
        asio::post(io_, [this]() { FlushSome(); });
    }
}

void TAsioServer::FlushSome()
{
    // A broadcast to thousands is written a slice at a time, oldest output
    // first, so that reads and the newcomer's own lobby are not held up.
    // The slice goes to the kernel in one call.
    flushPosted_ = false;
    std::size_t end = std::min(dirty_.size(), dirtyAt_ + kFlushSlice);
    for (; dirtyAt_ < end; ++dirtyAt_) {
        ConnPtr c = std::move(dirty_[dirtyAt_]);
        c->dirty = false;
        if (c->closed || c->writing)
            continue;
        if (c->pending.empty()) {
            if (c->closing)
                Finish(c);
            continue;
        }
        c->sending.swap(c->pending);
        writes_.push_back({c->socket.native_handle(), c->sending.data(), c->sending.size(), 0});
        batch_.push_back(std::move(c));
    }
    sender_.Send(writes_);
    for (std::size_t i = 0; i < batch_.size(); ++i)
        Sent(batch_[i], writes_[i].result);
    batch_.clear();
    writes_.clear();
    if (dirtyAt_ < dirty_.size()) {
        flushPosted_ = true;
        asio::post(io_, [this]() { FlushSome(); });
        return;
    }
    dirty_.clear();
    dirtyAt_ = 0;
}

void TAsioServer::Write(const ConnPtr& c)
{
    if (c->pending.empty()) {
        if (c->closing)
            Finish(c);
        return;
    }
    c->sending.swap(c->pending);
    TBatchSender::Item write{c->socket.native_handle(), c->sending.data(), c->sending.size(), 0};
    sender_.Send(std::span(&write, 1));
    Sent(c, write.result);
}

void TAsioServer::Sent(const ConnPtr& c, std::ptrdiff_t result)
{
    if (c->closed)
        return;
    if (result < 0) {
        Finish(c);
        return;
    }
    auto n = static_cast<std::size_t>(result);
    if (n >= c->sending.size()) {
        Written(c);
        return;
    }
    c->writing = true;
    asio::async_write(c->socket, asio::buffer(c->sending.data() + n, c->sending.size() - n),
                      [this, c](const asio::error_code& wec, std::size_t) {
                          if (c->closed)
                              return;
                          c->writing = false;
                          if (wec) {
                              Finish(c);
                              return;
                          }
                          Written(c);
                      });
}

void TAsioServer::Written(const ConnPtr& c)
{
    c->sending.clear();
    if (c->sending.capacity() > kKeptCapacity)
        std::vector<std::uint8_t>().swap(c->sending);
    if (c->pending.capacity() > kKeptCapacity && c->pending.empty())
        std::vector<std::uint8_t>().swap(c->pending);
    if (!c->pending.empty())
        Write(c);
    else if (c->closing)
        Finish(c);
}

void TAsioServer::Close(ConnId conn, bool flush)
{
    auto it = conns_.find(conn);
    if (it == conns_.end() || it->second->closed)
        return;
    ConnPtr c = it->second;
    c->closing = true;
    if (flush && (c->writing || c->dirty))
        return; // the write loop finishes it
    // Later, so that the owner never hears of the close while it is asking for it.
    asio::post(io_, [this, c]() { Finish(c); });
}

void TAsioServer::Finish(const ConnPtr& c)
{
    if (c->closed)
        return;
    c->closed = true;
    asio::error_code ignored;
    c->timer.cancel();
    c->socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    c->socket.close(ignored);
    conns_.erase(c->id);
    if (Logging())
        Log("close conn=" + std::to_string(c->id));
    if (c->port == Port::Game)
        core_->OnClosed(c->id, Now());
    else if (c->port == Port::Config)
        config_->OnClosed(c->id);
}

void TAsioServer::Log(const std::string& line)
{
    if (options_.log)
        std::cout << line << std::endl;
}

} // namespace zel
