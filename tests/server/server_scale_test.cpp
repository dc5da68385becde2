#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <asio.hpp>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "core/net/PacketLayout.h"
#include "server/AdminConsole.h"
#include "server/AsioServer.h"
#include "server/ConfigService.h"
#include "server/ServerCore.h"
#include "ServerTestIo.h"

namespace zel {
namespace {

std::vector<std::uint8_t> LoginRecord(const std::string& id)
{
    std::vector<std::uint8_t> r(38, 0);
    PacketHeader{pk::Login, 38, 0}.Encode(r.data());
    r[4] = 20;
    r[5] = 10;
    PutText(&r[20], 8, id);
    PutText(&r[28], 10, id);
    return r;
}

std::vector<std::uint8_t> RoomText(const std::string& text)
{
    std::vector<std::uint8_t> p(6 + text.size(), 0);
    PacketHeader{pk::RoomText, static_cast<std::uint16_t>(p.size()), 0}.Encode(p.data());
    std::copy(text.begin(), text.end(), p.begin() + 6);
    return p;
}

// Lines for --log are built only when logging is on, and then all of them are.
TEST(ServerLog, LinesAreBuiltOnlyWhenWanted)
{
    for (bool logging : {false, true}) {
        test::RecordingIo io;
        io.logging = logging;
        TServerCore core(io, {8, 0, 60000});
        for (ConnId conn : {1u, 2u}) {
            core.OnConnected(conn, 0);
            auto login = LoginRecord(conn == 1 ? "ann" : "ben");
            core.OnBytes(conn, login.data(), login.size(), 0);
        }
        auto text = RoomText("hello");
        core.OnBytes(1, text.data(), text.size(), 0);
        core.OnClosed(2, 0);
        core.Tick(1);
        if (!logging) {
            EXPECT_TRUE(io.log.empty()) << io.log.front();
            continue;
        }
        auto has = [&](const std::string& start) {
            return std::any_of(io.log.begin(), io.log.end(),
                               [&](const std::string& l) { return l.rfind(start, 0) == 0; });
        };
        for (const char* start :
             {"recv conn=1 code=20010", "send conn=1 code=21030", "login conn=2", "grace user=", "leave user="})
            EXPECT_TRUE(has(start)) << start;
    }
}

// A blocking loopback client of the real socket server.
class RawClient {
public:
    RawClient(int port, int receiveBuffer)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        timeval tv{5, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~RawClient() { ::close(fd_); }
    bool Connected() const { return connected_; }
    void Send(const std::vector<std::uint8_t>& bytes) { (void)!::write(fd_, bytes.data(), bytes.size()); }
    // The next packet, whole; empty when the connection ended or nothing came in time.
    std::vector<std::uint8_t> Next()
    {
        std::vector<std::uint8_t> p(6);
        if (!ReadAll(p.data(), 6))
            return {};
        p.resize(GetU16(&p[2]));
        if (p.size() < 6 || !ReadAll(p.data() + 6, p.size() - 6))
            return {};
        return p;
    }
    // Skips packets up to the first with `code`.
    std::vector<std::uint8_t> Expect(std::uint16_t code)
    {
        for (;;) {
            auto p = Next();
            if (p.empty() || GetU16(p.data()) == code)
                return p;
        }
    }
    // Logs in as `id` after the greeting: the acceptance, or empty.
    std::vector<std::uint8_t> LogIn(const std::string& id)
    {
        Expect(pk::Greeting);
        Send(LoginRecord(id));
        return Expect(pk::LoginAccepted);
    }

private:
    bool ReadAll(std::uint8_t* at, std::size_t n)
    {
        while (n > 0) {
            ssize_t got = ::read(fd_, at, n);
            // io_uring's completion work interrupts a read that has a time-out.
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            at += got;
            n -= static_cast<std::size_t>(got);
        }
        return true;
    }
    int fd_ = -1;
    bool connected_ = false;
};

int FreePort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// The real socket server on its own thread.
class LiveServer {
public:
    explicit LiveServer(bool batched = true)
        : server_(io_, Options(batched)), core_(server_, {16, 0, 60000}), config_(server_, 0, {}), admin_(core_)
    {
        server_.Attach(core_, config_, admin_);
        std::string error;
        started_ = server_.Start(error);
        if (started_)
            thread_ = std::thread([this] { io_.run(); });
    }
    ~LiveServer()
    {
        io_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    bool Started() const { return started_; }
    int Port() const { return port_; }
    // Keeps the server's loop busy for a while, as a heavy turn would.
    void Hold(int ms)
    {
        asio::post(io_, [ms] { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); });
    }

private:
    TServerOptions Options(bool batched)
    {
        TServerOptions o;
        o.batchedWrites = batched;
        o.gamePort = port_;
        o.configPort = 0;
        o.adminPort = 0;
        return o;
    }
    int port_ = FreePort();
    asio::io_context io_;
    TAsioServer server_;
    TServerCore core_;
    TConfigService config_;
    TAdminConsole admin_;
    bool started_ = false;
    std::thread thread_;
};

// Output gathered into one write per turn reaches a reading client whole and
// in order, while a client that stops reading is dropped once a megabyte
// waits for it; the dropped user's departure reaches the reader.
// Both ways of writing: in batches, and one send() per connection where the
// kernel allows no batches.
class AsioServerWrites : public ::testing::TestWithParam<bool> {};

TEST_P(AsioServerWrites, GatheredOutputArrivesInOrderAndASlowReaderIsDropped)
{
    LiveServer server(GetParam());
    ASSERT_TRUE(server.Started());
    RawClient reader(server.Port(), 0);
    RawClient sleeper(server.Port(), 4096);
    ASSERT_TRUE(reader.Connected() && sleeper.Connected());
    reader.LogIn("reader");
    reader.Expect(pk::LobbyEntered);
    auto accepted = sleeper.LogIn("sleeper");
    ASSERT_FALSE(accepted.empty());
    int sleeperUser = GetU16(&accepted[4]);
    sleeper.Expect(pk::LobbyEntered);
    reader.Expect(pk::UserArrives);

    // Both are in the waiting room: every room text goes to both. Far more
    // than a megabyte plus the sockets' buffers is sent; the reader reads
    // its echoes as they come, sent in batches so that many wait at once.
    constexpr int kTexts = 12000, kBatch = 40;
    std::atomic<bool> readerOk{true};
    std::atomic<int> next{0};
    std::atomic<bool> reading{true};
    std::thread writer([&] {
        for (int sent = 0; sent < kTexts;) {
            // The reader itself stays well under the megabyte that would drop it.
            while (reading && sent - next > 200)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::vector<std::uint8_t> batch;
            for (int i = 0; i < kBatch; ++i, ++sent) {
                std::string text =
                    "#" + std::to_string(sent) + "#" + std::string(1000, static_cast<char>('a' + sent % 26));
                auto p = RoomText(text);
                batch.insert(batch.end(), p.begin(), p.end());
            }
            reader.Send(batch);
        }
    });
    bool departed = false;
    while (next < kTexts || !departed) {
        auto p = reader.Next();
        if (p.empty())
            break;
        std::uint16_t code = GetU16(p.data());
        if (code == pk::UserLeaves && GetU16(&p[4]) == sleeperUser) {
            departed = true;
        } else if (code == pk::RoomText) {
            std::string text(p.begin() + 6, p.end());
            const int n = next;
            std::string want = "#" + std::to_string(n) + "#" + std::string(1000, static_cast<char>('a' + n % 26));
            if (text != want)
                readerOk = false;
            ++next;
        }
    }
    reading = false;
    writer.join();
    EXPECT_TRUE(readerOk);
    EXPECT_EQ(next.load(), kTexts);
    EXPECT_TRUE(departed);
}

INSTANTIATE_TEST_SUITE_P(Ways, AsioServerWrites, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Batched" : "OneByOne"; });

std::vector<std::uint8_t> PrivateText(int to, std::uint16_t handle, const std::string& text)
{
    std::vector<std::uint8_t> p(pk::at::privateText::kText + text.size() + 1, 0);
    PacketHeader{pk::PrivateText, static_cast<std::uint16_t>(p.size()), static_cast<std::uint16_t>(to)}.Encode(
        p.data());
    PutU16(&p[pk::at::privateText::kRecipientHandle], handle);
    std::copy(text.begin(), text.end(), p.begin() + pk::at::privateText::kText);
    return p;
}

// Bytes that piled up while the server was busy, more than one read takes,
// are all handled although nothing goes back to their sender and no more
// bytes follow them.
TEST(AsioServer, ABurstLargerThanOneReadIsReadWhole)
{
    LiveServer server;
    ASSERT_TRUE(server.Started());
    RawClient reader(server.Port(), 0);
    RawClient sender(server.Port(), 0);
    ASSERT_TRUE(reader.Connected() && sender.Connected());
    auto accepted = reader.LogIn("reader");
    ASSERT_FALSE(accepted.empty());
    const int user = GetU16(&accepted[4]);
    std::uint16_t handle = 0;
    for (auto p = reader.Next(); !p.empty() && GetU16(p.data()) != pk::LobbyEntered; p = reader.Next()) {
        if (GetU16(p.data()) != pk::RoomMembers)
            continue;
        for (std::size_t e = 8; e + 34 <= p.size(); e += 34) {
            if (GetU16(&p[e + 6]) == user)
                handle = GetU16(&p[e + 8]);
        }
    }
    ASSERT_NE(handle, 0);
    sender.LogIn("sender");
    ASSERT_FALSE(sender.Expect(pk::LobbyEntered).empty());

    constexpr int kTexts = 150, kRounds = 20;
    int got = 0;
    auto burst = [&](int first) {
        std::vector<std::uint8_t> b;
        for (int i = first; i < first + kTexts; ++i) {
            auto p = PrivateText(user, handle, "#" + std::to_string(i) + "#" + std::string(1000, 'b'));
            b.insert(b.end(), p.begin(), p.end());
        }
        return b;
    };
    auto receive = [&](int until) {
        for (auto p = reader.Expect(pk::PrivateText); !p.empty(); p = reader.Expect(pk::PrivateText)) {
            std::string text(p.begin() + pk::at::privateText::kText, p.end());
            EXPECT_EQ(text.substr(0, text.find('#', 1) + 1), "#" + std::to_string(got) + "#");
            if (++got == until)
                return;
        }
    };
    // Steady traffic first: the kernel then lets far more than one read's
    // worth wait in the server's socket.
    for (int round = 0; round < kRounds; ++round) {
        sender.Send(burst(got));
        receive(got + kTexts);
    }
    ASSERT_EQ(got, kRounds * kTexts);
    auto last = burst(got);
    ASSERT_GT(last.size(), TAsioServer::kReadSize * 2);
    server.Hold(300);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sender.Send(last);
    receive((kRounds + 1) * kTexts);
    EXPECT_EQ(got, (kRounds + 1) * kTexts);
}

} // namespace
} // namespace zel
