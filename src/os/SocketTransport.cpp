#include "os/SocketTransport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zel {

namespace {

TransportError FromErrno(int e)
{
    switch (e) {
    case ECONNREFUSED:
        return TransportError::Refused;
    case ECONNRESET:
    case EPIPE:
        return TransportError::Reset;
    case ETIMEDOUT:
        return TransportError::TimedOut;
    case ECONNABORTED:
        return TransportError::Aborted;
    default:
        return TransportError::Other;
    }
}

} // namespace

SocketTransport::~SocketTransport()
{
    Drop();
}

void SocketTransport::Drop()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    connected_ = false;
    pending_.clear();
}

void SocketTransport::Open(const std::string& host, std::uint16_t port)
{
    Drop();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
        if (events_)
            events_->OnError(TransportError::Other);
        return;
    }
    sockaddr_in addr{};
    std::memcpy(&addr, found->ai_addr, sizeof addr);
    ::freeaddrinfo(found);
    addr.sin_port = htons(port);
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        if (events_)
            events_->OnError(TransportError::Other);
        return;
    }
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 && errno != EINPROGRESS)
        Fail(FromErrno(errno));
}

void SocketTransport::Fail(TransportError error)
{
    bool wasConnected = connected_;
    Drop();
    if (!events_)
        return;
    if (wasConnected)
        events_->OnClosed();
    else
        events_->OnError(error);
}

std::size_t SocketTransport::Send(const std::uint8_t* data, std::size_t size)
{
    if (!connected_ || pending_.size() + size > kMaxPending)
        return 0;
    pending_.insert(pending_.end(), data, data + size);
    Flush();
    return size;
}

void SocketTransport::Flush()
{
    while (fd_ >= 0 && connected_ && !pending_.empty()) {
        ssize_t n = ::send(fd_, pending_.data(), pending_.size(), MSG_NOSIGNAL);
        if (n > 0) {
            pending_.erase(pending_.begin(), pending_.begin() + n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        } else {
            Fail(FromErrno(errno));
            return;
        }
    }
}

void SocketTransport::Close()
{
    bool was = fd_ >= 0 && connected_;
    Drop();
    if (was && events_)
        events_->OnClosed();
}

bool SocketTransport::Poll(int timeoutMs, int extraFd)
{
    pollfd fds[2]{};
    nfds_t count = 0;
    int socketIndex = -1, extraIndex = -1;
    if (fd_ >= 0) {
        socketIndex = static_cast<int>(count);
        short want = POLLIN;
        if (!connected_ || !pending_.empty())
            want |= POLLOUT;
        fds[count++] = pollfd{fd_, want, 0};
    }
    if (extraFd >= 0) {
        extraIndex = static_cast<int>(count);
        fds[count++] = pollfd{extraFd, POLLIN, 0};
    }
    if (count == 0) {
        if (timeoutMs > 0)
            ::usleep(static_cast<useconds_t>(timeoutMs) * 1000);
        return false;
    }
    int ready = ::poll(fds, count, timeoutMs);
    if (ready <= 0)
        return false;
    bool extraReady = extraIndex >= 0 && (fds[extraIndex].revents & (POLLIN | POLLHUP)) != 0;
    if (socketIndex < 0)
        return extraReady;
    short revents = fds[socketIndex].revents;
    if (!connected_ && (revents & (POLLOUT | POLLERR | POLLHUP))) {
        int error = 0;
        socklen_t len = sizeof error;
        ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len);
        if (error != 0) {
            Fail(FromErrno(error));
            return extraReady;
        }
        connected_ = true;
        if (events_)
            events_->OnConnected();
    }
    if (connected_ && (revents & POLLOUT))
        Flush();
    if (fd_ >= 0 && connected_ && (revents & (POLLIN | POLLHUP | POLLERR))) {
        readBuffer_.resize(kReadSize);
        ssize_t n = ::recv(fd_, readBuffer_.data(), readBuffer_.size(), 0);
        if (n > 0) {
            if (events_)
                events_->OnBytes(readBuffer_.data(), static_cast<std::size_t>(n));
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            Fail(n == 0 ? TransportError::Reset : FromErrno(errno));
        }
    }
    return extraReady;
}

} // namespace zel
