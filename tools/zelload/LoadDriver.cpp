#include "LoadDriver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "RespProtocol.h"
#include "ZelProtocol.h"

namespace zel::load {

namespace {
constexpr std::size_t kReadSize = 256 * 1024;
constexpr int kMaxEvents = 1024;
constexpr int kSettleMs = 300;
constexpr std::uint64_t kBatch = 2000; // texts sent per loop turn at most, so reading keeps up
constexpr std::size_t kCompactAt = 64 * 1024;
} // namespace

TLoadDriver::TLoadDriver(const TLoadOptions& options) : options_(options), readBuffer_(kReadSize)
{
    if (options.target == Target::Redis)
        protocol_ = std::make_unique<TRespProtocol>(*this);
    else
        protocol_ = std::make_unique<TZelProtocol>(*this);
    epoll_ = epoll_create1(0);
    start_ = NowUs();
}

TLoadDriver::~TLoadDriver()
{
    for (auto& p : peers_) {
        if (p->fd >= 0)
            ::close(p->fd);
    }
    if (epoll_ >= 0)
        ::close(epoll_);
}

std::int64_t TLoadDriver::NowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string TLoadDriver::ServerFigures() const
{
    if (options_.pid <= 0)
        return "";
    return " rss_kb=" + std::to_string(RssKb(options_.pid)) + " cpu_ms=" + std::to_string(CpuMs(options_.pid));
}

int TLoadDriver::Run()
{
    if (epoll_ < 0) {
        std::perror("zelload: epoll");
        return 1;
    }
    bool ok = true;
    for (int step : options_.steps) {
        ok = LoginUpTo(step) && ok;
        if (ok && options_.extraAt == step)
            ok = Extra() && ok;
    }
    if (ok && options_.rooms > 0)
        ok = MakeRooms();
    if (ok && options_.traffic != Traffic::None)
        ok = Traffic();
    std::fflush(stdout);
    return ok ? 0 : 1;
}

TPeer& TLoadDriver::StartLogin()
{
    auto peer = std::make_unique<TPeer>();
    peer->index = static_cast<int>(peers_.size());
    peer->loginStartUs = NowUs();
    TPeer& p = *peer;
    peers_.push_back(std::move(peer));
    ++pending_;
    p.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (p.fd < 0) {
        std::perror("zelload: socket");
        LoginRefused(p);
        return p;
    }
    int one = 1;
    ::setsockopt(p.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(options_.port));
    inet_pton(AF_INET, options_.host.c_str(), &addr.sin_addr);
    int rc = ::connect(p.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    if (rc < 0 && errno != EINPROGRESS) {
        std::perror("zelload: connect");
        LoginRefused(p);
        return p;
    }
    epoll_event ev{};
    ev.events = EPOLLIN | EPOLLOUT;
    ev.data.u32 = static_cast<std::uint32_t>(p.index);
    epoll_ctl(epoll_, EPOLL_CTL_ADD, p.fd, &ev);
    p.wantWrite = true;
    return p;
}

bool TLoadDriver::LoginUpTo(int count)
{
    std::int64_t begin = NowUs();
    int first = loggedIn_;
    int toStart = count - loggedIn_; // each user is tried once
    loginLatency_.Clear();
    bool ok = RunUntil(
        [&] {
            for (; pending_ < options_.inflight && toStart > 0; --toStart)
                StartLogin();
            return loggedIn_ >= count || (toStart == 0 && pending_ == 0);
        },
        options_.phaseTimeoutS);
    std::int64_t lobby = NowUs();
    Settle(kSettleMs);
    double s = static_cast<double>(lobby - begin) / 1e6;
    double settled = static_cast<double>(NowUs() - begin - kSettleMs * 1000) / 1e6;
    std::printf("step users=%d logged_in=%d refused=%d dropped=%d seconds=%.3f settled_s=%.3f logins_per_s=%.0f "
                "login_p50_ms=%.1f login_p99_ms=%.1f login_max_ms=%.1f%s\n",
                count, loggedIn_, refused_, dropped_, s, settled, s > 0 ? (loggedIn_ - first) / s : 0.0,
                loginLatency_.Ms(50), loginLatency_.Ms(99), loginLatency_.MaxMs(), ServerFigures().c_str());
    std::fflush(stdout);
    return ok && loggedIn_ >= count;
}

bool TLoadDriver::Extra()
{
    TLatency times;
    long cpu = 0;
    bool ok = true;
    for (int k = 0; k < options_.extra && ok; ++k) {
        long cpuBefore = options_.pid > 0 ? CpuMs(options_.pid) : 0;
        loginLatency_.Clear();
        TPeer& p = StartLogin();
        ok = RunUntil([&] { return p.loggedIn || p.closed; }, 30);
        ok = ok && p.loggedIn;
        times.Add(static_cast<std::int64_t>(loginLatency_.MaxMs() * 1000));
        Settle(100);
        cpu += options_.pid > 0 ? CpuMs(options_.pid) - cpuBefore : 0;
        p.leaving = true;
        protocol_->Leave(p);
        if (options_.target == Target::Redis)
            Close(p);
        RunUntil([&] { return p.closed; }, 10);
        --loggedIn_;
        Settle(100);
    }
    std::printf("extra users=%d logins=%d extra_p50_ms=%.1f extra_max_ms=%.1f server_cpu_ms_per_login=%.1f%s\n",
                loggedIn_, options_.extra, times.Ms(50), times.MaxMs(), static_cast<double>(cpu) / options_.extra,
                ServerFigures().c_str());
    std::fflush(stdout);
    return ok;
}

void TLoadDriver::LoggedIn(TPeer& peer)
{
    peer.loggedIn = true;
    ++loggedIn_;
    --pending_;
    loginLatency_.Add(NowUs() - peer.loginStartUs);
}

void TLoadDriver::LoginRefused(TPeer& peer)
{
    if (!peer.loggedIn && !peer.closed) {
        ++refused_;
        --pending_;
    }
    Close(peer);
}

bool TLoadDriver::MakeRooms()
{
    std::vector<TPeer*> free;
    for (auto& p : peers_) {
        if (p->loggedIn && !p->closed)
            free.push_back(p.get());
    }
    roomMembers_.assign(static_cast<std::size_t>(options_.rooms), {});
    std::size_t next = 0;
    for (auto& members : roomMembers_) {
        for (int i = 0; i < options_.roomSize; ++i)
            members.push_back(free[next++]->index);
    }
    std::int64_t begin = NowUs();
    for (std::size_t r = 0; r < roomMembers_.size(); ++r)
        protocol_->MakeRoom(*peers_[static_cast<std::size_t>(roomMembers_[r][0])], static_cast<int>(r));
    int wanted = options_.rooms * options_.roomSize;
    bool ok = RunUntil([&] { return joined_ >= wanted; }, options_.phaseTimeoutS);
    double s = static_cast<double>(NowUs() - begin) / 1e6;
    Settle(kSettleMs);
    std::printf("rooms rooms=%d room_size=%d joined=%d seconds=%.3f settled_s=%.3f%s\n", options_.rooms,
                options_.roomSize, joined_, s, static_cast<double>(NowUs() - begin) / 1e6 - kSettleMs / 1000.0,
                ServerFigures().c_str());
    std::fflush(stdout);
    return ok;
}

void TLoadDriver::RoomKnown(TPeer& maker, int room)
{
    maker.room = room;
    for (auto& members : roomMembers_) {
        if (members[0] != maker.index)
            continue;
        for (std::size_t i = 1; i < members.size(); ++i)
            protocol_->EnterRoom(*peers_[static_cast<std::size_t>(members[i])], room);
    }
}

void TLoadDriver::Joined(TPeer& peer)
{
    if (!peer.joined) {
        peer.joined = true;
        ++joined_;
    }
}

void TLoadDriver::SendText(TPeer& from, std::uint64_t seq)
{
    char text[TLoadOptions::kMaxText];
    bool game = options_.traffic == Traffic::Game;
    std::size_t size = static_cast<std::size_t>(options_.textBytes);
    std::memset(text, 'x', size);
    int n = std::snprintf(text, size, "%sL%lld:%llu:", game ? ">O<" : "", static_cast<long long>(NowUs()),
                          static_cast<unsigned long long>(seq));
    if (n < 0 || static_cast<std::size_t>(n) + 3 >= size)
        n = static_cast<int>(size) - 4;
    text[n] = 'x';
    if (game)
        std::memcpy(text + size - 3, ">E<", 3);
    std::string_view body(text, size);
    if (options_.traffic == Traffic::Private) {
        const TPeer& to = *peers_[static_cast<std::size_t>(from.index + 1) % peers_.size()];
        protocol_->PrivateText(from, to.loggedIn && !to.closed ? to : from, body);
    } else {
        protocol_->RoomText(from, body);
    }
}

bool TLoadDriver::Traffic()
{
    std::vector<TPeer*> senders;
    for (auto& p : peers_) {
        bool eligible = options_.traffic == Traffic::Private ? p->loggedIn : p->joined;
        if (eligible && !p->closed)
            senders.push_back(p.get());
    }
    if (senders.empty())
        return false;
    std::uint64_t fanout = options_.traffic == Traffic::Private ? 1 : static_cast<std::uint64_t>(options_.roomSize);
    long cpuBefore = options_.pid > 0 ? CpuMs(options_.pid) : 0;
    std::int64_t begin = NowUs();
    windowEnd_ = begin + static_cast<std::int64_t>(options_.seconds * 1e6);
    delivered_ = inWindow_ = 0;
    deliveryLatency_.Clear();
    std::uint64_t sent = 0;
    std::size_t next = 0;
    while (NowUs() < windowEnd_) {
        double elapsed = static_cast<double>(NowUs() - begin) / 1e6;
        std::uint64_t due = static_cast<std::uint64_t>(elapsed * options_.rate);
        std::uint64_t now = due > sent ? std::min(due - sent, kBatch) : 0;
        for (std::uint64_t i = 0; i < now; ++i) {
            SendText(*senders[next], sent++);
            next = (next + 1) % senders.size();
        }
        Poll(now > 0 ? 0 : 1);
    }
    long cpuWindow = options_.pid > 0 ? CpuMs(options_.pid) - cpuBefore : 0;
    std::uint64_t expected = sent * fanout;
    RunUntil([&] { return delivered_ >= expected; }, options_.drainMs / 1000.0);
    double s = options_.seconds;
    std::printf("traffic kind=%s rooms=%d room_size=%d offered_per_s=%.0f sent=%llu sent_per_s=%.0f expected=%llu "
                "delivered=%llu delivered_per_s=%.0f missing=%lld p50_ms=%.2f p99_ms=%.2f max_ms=%.2f "
                "server_cpu_us_per_delivery=%.2f%s\n",
                options_.traffic == Traffic::Private ? "private"
                : options_.traffic == Traffic::Game  ? "game"
                                                     : "room",
                options_.rooms, options_.roomSize, options_.rate * static_cast<double>(fanout),
                static_cast<unsigned long long>(sent), static_cast<double>(sent) / s,
                static_cast<unsigned long long>(expected), static_cast<unsigned long long>(delivered_),
                static_cast<double>(inWindow_) / s,
                static_cast<long long>(expected) - static_cast<long long>(delivered_), deliveryLatency_.Ms(50),
                deliveryLatency_.Ms(99), deliveryLatency_.MaxMs(),
                inWindow_ ? static_cast<double>(cpuWindow) * 1000.0 / static_cast<double>(inWindow_) : 0.0,
                ServerFigures().c_str());
    std::fflush(stdout);
    return dropped_ == 0;
}

void TLoadDriver::Delivered(TPeer&, std::string_view text)
{
    std::size_t at = text.find('L');
    if (at == std::string_view::npos)
        return;
    long long sentAt = 0;
    auto [end, ec] = std::from_chars(text.data() + at + 1, text.data() + text.size(), sentAt);
    if (ec != std::errc())
        return;
    std::int64_t now = NowUs();
    ++delivered_;
    if (now <= windowEnd_)
        ++inWindow_;
    deliveryLatency_.Add(now - sentAt);
}

bool TLoadDriver::RunUntil(const std::function<bool()>& done, double timeoutS)
{
    std::int64_t until = NowUs() + static_cast<std::int64_t>(timeoutS * 1e6);
    while (!done()) {
        if (NowUs() >= until)
            return false;
        Poll(5);
    }
    return true;
}

void TLoadDriver::Settle(int quietMs)
{
    std::int64_t until = NowUs() + static_cast<std::int64_t>(options_.phaseTimeoutS) * 1000000;
    lastRecv_ = NowUs();
    while (NowUs() - lastRecv_ < quietMs * 1000 && NowUs() < until)
        Poll(5);
}

void TLoadDriver::Poll(int timeoutMs)
{
    epoll_event events[kMaxEvents];
    int n = epoll_wait(epoll_, events, kMaxEvents, timeoutMs);
    for (int i = 0; i < n; ++i) {
        TPeer& p = *peers_[events[i].data.u32];
        if (p.closed)
            continue;
        if (events[i].events & EPOLLOUT)
            Writable(p);
        if (!p.closed && (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
            Readable(p);
    }
}

void TLoadDriver::Writable(TPeer& p)
{
    if (!p.connected) {
        int err = 0;
        socklen_t len = sizeof err;
        getsockopt(p.fd, SOL_SOCKET, SO_ERROR, &err, &len);
        if (err != 0) {
            LoginRefused(p);
            return;
        }
        p.connected = true;
        protocol_->Connected(p);
    }
    Flush(p);
}

void TLoadDriver::Readable(TPeer& p)
{
    ssize_t n = ::read(p.fd, readBuffer_.data(), readBuffer_.size());
    if (n > 0) {
        lastRecv_ = NowUs();
        protocol_->Bytes(p, readBuffer_.data(), static_cast<std::size_t>(n));
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (!p.loggedIn)
        LoginRefused(p);
    else
        Close(p);
}

void TLoadDriver::Send(TPeer& p, std::string_view bytes)
{
    if (p.closed)
        return;
    p.out.append(bytes);
    if (p.connected)
        Flush(p);
}

void TLoadDriver::Flush(TPeer& p)
{
    while (p.outAt < p.out.size()) {
        ssize_t n = ::write(p.fd, p.out.data() + p.outAt, p.out.size() - p.outAt);
        if (n <= 0)
            break;
        p.outAt += static_cast<std::size_t>(n);
    }
    if (p.outAt == p.out.size()) {
        p.out.clear();
        p.outAt = 0;
    } else if (p.outAt > kCompactAt) {
        p.out.erase(0, p.outAt);
        p.outAt = 0;
    }
    Watch(p, !p.out.empty() || !p.connected);
}

void TLoadDriver::Watch(TPeer& p, bool write)
{
    if (p.wantWrite == write || p.closed)
        return;
    p.wantWrite = write;
    epoll_event ev{};
    ev.events = EPOLLIN | (write ? EPOLLOUT : 0u);
    ev.data.u32 = static_cast<std::uint32_t>(p.index);
    epoll_ctl(epoll_, EPOLL_CTL_MOD, p.fd, &ev);
}

void TLoadDriver::Close(TPeer& p)
{
    if (p.closed)
        return;
    if (p.loggedIn && !p.leaving)
        ++dropped_;
    p.closed = true;
    if (p.fd >= 0) {
        epoll_ctl(epoll_, EPOLL_CTL_DEL, p.fd, nullptr);
        ::close(p.fd);
        p.fd = -1;
    }
}

} // namespace zel::load
