#include "server/BatchSender.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <liburing.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zel {

namespace {
constexpr std::ptrdiff_t kNoResult = std::numeric_limits<std::ptrdiff_t>::min();
// One write takes at most this much; the caller writes the rest as for any short write.
constexpr std::size_t kMaxWrite = std::size_t{1} << 30;
constexpr int kFlags = MSG_NOSIGNAL | MSG_DONTWAIT;

std::ptrdiff_t Outcome(long res)
{
    if (res >= 0)
        return static_cast<std::ptrdiff_t>(res);
    return res == -EAGAIN || res == -EWOULDBLOCK ? 0 : static_cast<std::ptrdiff_t>(res);
}

// Whether a send to a full socket is answered at once, as every batch
// relies on: a kernel that parked it until the socket drains would stall
// the whole server behind one slow reader.
bool AnswersAtOnce(io_uring& ring)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) != 0)
        return false;
    const std::uint8_t filler[4096] = {};
    while (::send(fds[0], filler, sizeof filler, kFlags) > 0) {
    }
    bool answered = false;
    bool refused = false;
    if (io_uring_sqe* sqe = io_uring_get_sqe(&ring)) {
        io_uring_prep_send(sqe, fds[0], filler, 1, kFlags);
        if (io_uring_submit(&ring) == 1) {
            io_uring_cqe* cqe = nullptr;
            answered = io_uring_peek_cqe(&ring, &cqe) == 0;
            refused = answered && cqe->res == -EAGAIN;
            if (answered)
                io_uring_cqe_seen(&ring, cqe);
        }
    }
    ::close(fds[0]);
    ::close(fds[1]);
    // A request still parked is dropped with the ring.
    return answered && refused;
}
} // namespace

struct TBatchSender::Ring {
    io_uring ring{};
};

TBatchSender::TBatchSender(bool batched)
{
    if (!batched)
        return;
    auto r = std::make_unique<Ring>();
    io_uring_params params{};
    // Keep going past a request that fails, so that every request handed in gets its answer.
    params.flags = IORING_SETUP_SUBMIT_ALL;
    if (io_uring_queue_init_params(kDepth, &r->ring, &params) != 0)
        return;
    if (AnswersAtOnce(r->ring))
        ring_ = std::move(r);
    else
        io_uring_queue_exit(&r->ring);
}

TBatchSender::~TBatchSender()
{
    if (ring_)
        io_uring_queue_exit(&ring_->ring);
}

void TBatchSender::Send(std::span<Item> items)
{
    for (Item& item : items)
        item.result = kNoResult;
    std::size_t done = 0;
    while (ring_ && done < items.size()) {
        std::size_t count = std::min<std::size_t>(kDepth, items.size() - done);
        if (!SendBatch(items.subspan(done, count), done)) {
            // The kernel stopped taking requests: no more batches from now on.
            io_uring_queue_exit(&ring_->ring);
            ring_.reset();
        }
    }
    for (; done < items.size(); ++done)
        SendOne(items[done]);
}

bool TBatchSender::SendBatch(std::span<Item> items, std::size_t& done)
{
    io_uring& ring = ring_->ring;
    for (std::size_t i = 0; i < items.size(); ++i) {
        io_uring_sqe* sqe = io_uring_get_sqe(&ring);
        if (sqe == nullptr)
            return false; // cannot happen with an empty ring of kDepth entries
        const Item& item = items[i];
        io_uring_prep_send(sqe, item.fd, item.data, std::min(item.size, kMaxWrite), kFlags);
        io_uring_sqe_set_data64(sqe, i);
    }
    // Sends that may not wait finish while they are submitted, so their
    // answers are in when this returns; waiting only collects them.
    int submitted = io_uring_submit(&ring);
    std::size_t expected = submitted > 0 ? static_cast<std::size_t>(submitted) : 0;
    std::size_t answered = 0;
    while (answered < expected) {
        io_uring_cqe* cqe = nullptr;
        int rc = io_uring_wait_cqe(&ring, &cqe);
        if (rc == -EINTR)
            continue;
        if (rc < 0)
            break;
        unsigned head = 0;
        unsigned seen = 0;
        io_uring_for_each_cqe(&ring, head, cqe)
        {
            std::uint64_t i = io_uring_cqe_get_data64(cqe);
            if (i < items.size())
                items[i].result = Outcome(cqe->res);
            ++seen;
        }
        io_uring_cq_advance(&ring, seen);
        answered += seen;
    }
    // A request the kernel took but never answered may still be written:
    // sending its bytes again would corrupt the stream, so it counts as failed.
    for (std::size_t i = 0; i < expected && i < items.size(); ++i) {
        if (items[i].result == kNoResult)
            items[i].result = -EIO;
    }
    done += std::min(expected, items.size());
    return answered >= expected && expected == items.size();
}

void TBatchSender::SendOne(Item& item)
{
    ssize_t n = 0;
    do
        n = ::send(item.fd, item.data, std::min(item.size, kMaxWrite), kFlags);
    while (n < 0 && errno == EINTR);
    item.result = Outcome(n >= 0 ? n : -errno);
}

} // namespace zel
