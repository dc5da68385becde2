#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "server/BatchSender.h"

namespace zel {
namespace {

// A connected pair of sockets, the writing end non-blocking as the server's are.
struct Pair {
    int out = -1;
    int in = -1;
    Pair()
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) == 0) {
            out = fds[0];
            in = fds[1];
            ::fcntl(out, F_SETFL, ::fcntl(out, F_GETFL) | O_NONBLOCK);
            ::fcntl(in, F_SETFL, ::fcntl(in, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pair()
    {
        CloseIn();
        if (out >= 0)
            ::close(out);
    }
    void CloseIn()
    {
        if (in >= 0)
            ::close(in);
        in = -1;
    }
    std::vector<std::uint8_t> Drain() const
    {
        std::vector<std::uint8_t> got;
        std::uint8_t buf[4096];
        ssize_t n = 0;
        while ((n = ::read(in, buf, sizeof buf)) > 0)
            got.insert(got.end(), buf, buf + n);
        return got;
    }
};

class BatchSenderTest : public ::testing::TestWithParam<bool> {
protected:
    TBatchSender sender{GetParam()};
    void SetUp() override
    {
        if (GetParam())
            RecordProperty("io_uring", sender.Batched() ? "yes" : "refused by the kernel");
        else
            ASSERT_FALSE(sender.Batched());
    }
};

// More sockets than one batch holds: each gets exactly its own bytes, in order.
TEST_P(BatchSenderTest, EverySocketGetsItsOwnBytes)
{
    constexpr int kSockets = static_cast<int>(TBatchSender::kDepth) * 2 + 7;
    std::vector<Pair> pairs(kSockets);
    std::vector<std::vector<std::uint8_t>> texts(kSockets);
    std::vector<TBatchSender::Item> items;
    for (int i = 0; i < kSockets; ++i) {
        ASSERT_GE(pairs[i].out, 0);
        texts[i].assign(static_cast<std::size_t>(1 + i % 97), static_cast<std::uint8_t>(i));
        items.push_back({pairs[i].out, texts[i].data(), texts[i].size(), 0});
    }
    for (int round = 0; round < 2; ++round) {
        sender.Send(items);
        for (int i = 0; i < kSockets; ++i)
            ASSERT_EQ(items[i].result, static_cast<std::ptrdiff_t>(texts[i].size())) << "socket " << i;
    }
    for (int i = 0; i < kSockets; ++i) {
        std::vector<std::uint8_t> twice = texts[i];
        twice.insert(twice.end(), texts[i].begin(), texts[i].end());
        ASSERT_EQ(pairs[i].Drain(), twice) << "socket " << i;
    }
}

// A reader that stops reading makes a short write and then none, without
// blocking; a vanished reader or a bad socket fails alone, and the sockets
// around it in the same call are still written.
TEST_P(BatchSenderTest, FullGoneAndBadSocketsFailAlone)
{
    Pair full, gone, before, after;
    int small = 4096;
    ::setsockopt(full.out, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    gone.CloseIn();
    std::vector<std::uint8_t> big(1 << 20, 0x5a);
    const std::uint8_t hello[] = {'h', 'e', 'l', 'l', 'o'};
    std::vector<TBatchSender::Item> items = {
        {before.out, hello, sizeof hello, 0}, {full.out, big.data(), big.size(), 0}, {gone.out, hello, sizeof hello, 0},
        {-1, hello, sizeof hello, 0},         {after.out, hello, sizeof hello, 0},
    };
    bool batched = sender.Batched();
    sender.Send(items);
    EXPECT_EQ(items[0].result, 5);
    EXPECT_GT(items[1].result, 0);
    EXPECT_LT(items[1].result, static_cast<std::ptrdiff_t>(big.size()));
    EXPECT_EQ(items[2].result, -EPIPE);
    EXPECT_EQ(items[3].result, -EBADF);
    EXPECT_EQ(items[4].result, 5);

    sender.Send(std::span(items).subspan(1, 1));
    EXPECT_EQ(items[1].result, 0) << "a full socket takes nothing and does not wait";
    EXPECT_EQ(after.Drain(), std::vector<std::uint8_t>(hello, hello + 5));
    EXPECT_EQ(sender.Batched(), batched) << "a failed request does not end batching";
}

INSTANTIATE_TEST_SUITE_P(Ways, BatchSenderTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Batched" : "OneByOne"; });

} // namespace
} // namespace zel
