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
      start_(std::chrono::steady_clock::now())
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
    c->socket.async_read_some(asio::buffer(c->buffer), [this, c](const asio::error_code& ec, std::size_t n) {
        if (c->closed)
            return;
        if (ec) {
            Finish(c);
            return;
        }
        switch (c->port) {
        case Port::Game:
            core_->OnBytes(c->id, c->buffer.data(), n, Now());
            break;
        case Port::Config:
            config_->OnBytes(c->id, c->buffer.data(), n);
            break;
        case Port::Admin:
            AdminBytes(c, n);
            break;
        }
        if (!c->closed)
            Read(c);
    });
}

void TAsioServer::AdminBytes(const ConnPtr& c, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        char ch = static_cast<char>(c->buffer[i]);
        if (ch != '\n') {
            c->line += ch;
            if (c->line.size() > TAdminConsole::kMaxLine) {
                Close(c->id, false);
                return;
            }
            continue;
        }
        std::string reply = admin_->Execute(c->line, Now()) + "\n";
        Log("admin conn=" + std::to_string(c->id) + " " + reply.substr(0, reply.size() - 1));
        c->line.clear();
        Send(c->id, std::vector<std::uint8_t>(reply.begin(), reply.end()));
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

void TAsioServer::Send(ConnId conn, std::vector<std::uint8_t> bytes)
{
    auto it = conns_.find(conn);
    if (it == conns_.end() || it->second->closed || it->second->closing || bytes.empty())
        return;
    ConnPtr c = it->second;
    c->queued += bytes.size();
    if (c->queued > kMaxQueued) {
        Log("overflow conn=" + std::to_string(conn));
        Close(conn, false);
        return;
    }
    c->queue.push_back(std::move(bytes));
    if (!c->writing)
        Write(c);
}

void TAsioServer::Write(const ConnPtr& c)
{
    c->writing = true;
    asio::async_write(c->socket, asio::buffer(c->queue.front()), [this, c](const asio::error_code& ec, std::size_t) {
        if (c->closed)
            return;
        c->queued -= c->queue.front().size();
        c->queue.pop_front();
        if (ec) {
            Finish(c);
            return;
        }
        if (!c->queue.empty()) {
            Write(c);
            return;
        }
        c->writing = false;
        if (c->closing)
            Finish(c);
    });
}

void TAsioServer::Close(ConnId conn, bool flush)
{
    auto it = conns_.find(conn);
    if (it == conns_.end() || it->second->closed)
        return;
    ConnPtr c = it->second;
    c->closing = true;
    if (flush && c->writing)
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
