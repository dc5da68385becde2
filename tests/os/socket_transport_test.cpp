#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "os/SocketTransport.h"

namespace zel {
namespace {

struct Recorder : TransportEvents {
    int connected = 0, closed = 0, errors = 0;
    TransportError lastError = TransportError::Other;
    std::string bytes;
    void OnConnected() override { ++connected; }
    void OnBytes(const std::uint8_t* d, std::size_t n) override { bytes.append(reinterpret_cast<const char*>(d), n); }
    void OnClosed() override { ++closed; }
    void OnError(TransportError e) override
    {
        ++errors;
        lastError = e;
    }
};

// A listening socket on 127.0.0.1 with a free port.
struct Listener {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    std::uint16_t port = 0;
    Listener()
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 4);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~Listener() { ::close(fd); }
};

template <typename Pred> bool PollUntil(SocketTransport& t, Pred done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        t.Poll(10);
    return done();
}

TEST(SocketTransport, ConnectsExchangesBytesAndReportsPeerClose)
{
    Listener l;
    SocketTransport t;
    Recorder r;
    t.SetEvents(&r);
    t.Open("127.0.0.1", l.port);
    EXPECT_TRUE(t.IsOpen());
    ASSERT_TRUE(PollUntil(t, [&] { return r.connected == 1; }));
    int peer = ::accept(l.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);

    std::string big(300000, 'x');
    EXPECT_EQ(t.Send(reinterpret_cast<const std::uint8_t*>(big.data()), big.size()), big.size());
    std::string got;
    char buf[65536];
    while (got.size() < big.size()) {
        t.Poll(1);
        ssize_t n = ::recv(peer, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0)
            got.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, big);

    ASSERT_EQ(::send(peer, "hello", 5, 0), 5);
    ASSERT_TRUE(PollUntil(t, [&] { return r.bytes == "hello"; }));
    ::close(peer);
    ASSERT_TRUE(PollUntil(t, [&] { return r.closed == 1; }));
    EXPECT_FALSE(t.IsOpen());
    EXPECT_EQ(t.Send(reinterpret_cast<const std::uint8_t*>("x"), 1), 0u);
}

TEST(SocketTransport, RefusedConnectionIsAnError)
{
    std::uint16_t port;
    {
        Listener l;
        port = l.port;
    }
    SocketTransport t;
    Recorder r;
    t.SetEvents(&r);
    t.Open("127.0.0.1", port);
    ASSERT_TRUE(PollUntil(t, [&] { return r.errors > 0; }));
    EXPECT_EQ(r.lastError, TransportError::Refused);
    EXPECT_EQ(r.closed, 0);
    EXPECT_FALSE(t.IsOpen());
}

} // namespace
} // namespace zel
