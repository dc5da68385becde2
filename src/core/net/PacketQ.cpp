#include "core/net/PacketQ.h"

#include "core/ports/Clock.h"
#include "core/ports/Random.h"

namespace zel {

std::string SeqCode(int n)
{
    if (n < 0 || n > 675)
        n = 0;
    return std::string{static_cast<char>(65 + n / 26), static_cast<char>(65 + n % 26)};
}

int SeqCodeNumber(std::string_view text)
{
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'Z' || text[1] < 'A' || text[1] > 'Z')
        return -1;
    return (text[0] - 65) * 26 + (text[1] - 65);
}

namespace {

constexpr std::string_view kOpen = ">O<";
constexpr std::string_view kEnd = ">E<";

// Undoes the disguise of the 1-based positions [from, to] of `text` that
// exist: odd positions were disguised with character 3, even ones with 4.
void Restore(std::string& text, std::size_t from, std::size_t to)
{
    if (text.size() < 4)
        return;
    for (std::size_t p = from; p <= to && p <= text.size(); ++p) {
        auto key = static_cast<unsigned char>(text[p % 2 == 1 ? 2 : 3]);
        auto c = static_cast<unsigned char>(text[p - 1]);
        text[p - 1] = static_cast<char>(key ^ static_cast<unsigned char>(c - 65));
    }
}

} // namespace

TPacketQ::TPacketQ(const Clock& clock, Random& random) : clock_(clock), random_(random) {}

bool TPacketQ::Enqueue(const std::string& text)
{
    if (text.size() < 8 || text.size() > kMaxMessage || SeqCodeNumber(text) <= kLastChunk)
        return false;
    std::string key = SeqCode(static_cast<int>(random_.Next(675)));
    std::string queued = text.substr(0, 2) + key + text.substr(2);
    for (std::size_t p = 3; p <= 8; ++p) {
        auto k = static_cast<unsigned char>(key[p % 2 == 1 ? 0 : 1]);
        auto c = static_cast<unsigned char>(text[p - 1]);
        queued[p + 1] = static_cast<char>(static_cast<unsigned char>((c ^ k) + 65));
    }
    int next = (outQueued_ + 1) % kRing;
    if (next == outSent_)
        outSent_ = (outSent_ + 1) % kRing; // full: the oldest message is dropped
    out_[next] = OutSlot{0, std::move(queued), {}};
    outQueued_ = next;
    if (!sendRunning_) {
        sendRunning_ = true;
        sendMark_ = clock_.Now();
    }
    return true;
}

void TPacketQ::Tick(std::int32_t now)
{
    if (sendRunning_ && Elapsed(now, sendMark_) >= kInterval) {
        sendMark_ = now;
        SendOne();
    }
    if (deliverRunning_ && Elapsed(now, deliverMark_) >= kInterval) {
        deliverMark_ = now;
        DeliverOne();
    }
}

void TPacketQ::SendOne()
{
    if (outSent_ == outQueued_) {
        sendRunning_ = false;
        return;
    }
    int index = (outSent_ + 1) % kRing;
    OutSlot& slot = out_[index];
    std::string payload;
    bool done = false;
    if (slot.counter == 0 && slot.text.size() <= kWhole) {
        payload = slot.text;
        done = true;
    } else {
        ++slot.counter;
        if (slot.counter == 1)
            slot.messageId = slot.text.substr(2, 5);
        std::size_t cut = 0;
        if (slot.text.size() > kChunk) {
            while (cut < slot.text.size() && cut < kChunk)
                cut += static_cast<unsigned char>(slot.text[cut]) > 127 ? 2 : 1;
        }
        if (slot.text.size() <= kChunk || cut >= slot.text.size()) {
            payload = SeqCode(kLastChunk) + slot.messageId + slot.text;
            done = true;
        } else {
            payload = SeqCode(slot.counter) + slot.messageId + slot.text.substr(0, cut);
            slot.text.erase(0, cut);
        }
    }
    if (done) {
        slot = OutSlot{};
        outSent_ = index;
    }
    RememberEcho(payload);
    if (onWire_)
        onWire_(std::string(kOpen) + payload + std::string(kEnd));
    if (outSent_ == outQueued_)
        sendRunning_ = false;
}

void TPacketQ::DeliverOne()
{
    if (inDelivered_ == inQueued_) {
        deliverRunning_ = false;
        return;
    }
    inDelivered_ = (inDelivered_ + 1) % kRing;
    std::string message = std::move(in_[inDelivered_]);
    in_[inDelivered_].clear();
    if (inDelivered_ == inQueued_)
        deliverRunning_ = false;
    if (onMessage_)
        onMessage_(message);
}

void TPacketQ::QueueIncoming(std::string message)
{
    int next = (inQueued_ + 1) % kRing;
    if (next == inDelivered_)
        inDelivered_ = (inDelivered_ + 1) % kRing; // full: the oldest message is dropped
    in_[next] = std::move(message);
    inQueued_ = next;
    if (!deliverRunning_) {
        deliverRunning_ = true;
        deliverMark_ = clock_.Now();
    }
}

void TPacketQ::RememberEcho(const std::string& payload)
{
    echoes_[echoNext_] = payload;
    echoNext_ = (echoNext_ + 1) % kEchoes;
}

bool TPacketQ::IsEcho(const std::string& payload) const
{
    for (const std::string& e : echoes_) {
        if (!e.empty() && e == payload)
            return true;
    }
    return false;
}

bool TPacketQ::FindMarkers(std::string_view line, std::size_t& openPos, std::size_t& endPos)
{
    std::size_t o = line.find(kOpen);
    if (o == std::string_view::npos)
        return false;
    std::size_t e = line.rfind(kEnd);
    if (e == std::string_view::npos || e < o + kOpen.size())
        return false;
    openPos = o + 1;
    endPos = e + 1;
    return true;
}

void TPacketQ::Receive(const std::string& line, std::size_t openPos, std::size_t endPos)
{
    if (openPos == 0 || endPos == 0 || endPos > line.size() || openPos - 1 + kOpen.size() > endPos - 1)
        return;
    std::size_t start = openPos - 1 + kOpen.size();
    std::string payload = line.substr(start, endPos - 1 - start);
    if (payload.size() < 7 || IsEcho(payload))
        return;
    Restore(payload, 5, 7);
    int n = SeqCodeNumber(payload);
    if (n <= 0)
        return;
    if (n > kLastChunk) {
        Restore(payload, 8, 10);
        QueueIncoming(std::move(payload));
        return;
    }
    ReceiveChunk(payload, n);
}

void TPacketQ::ReceiveChunk(std::string& payload, int n)
{
    std::int32_t now = clock_.Now();
    std::string id = payload.substr(2, 5);
    std::string text = payload.substr(7);
    if (n == 1) {
        int chosen = kSlots - 1;
        for (int i = kSlots - 1; i >= 0; --i) {
            ReassemblySlot& s = slots_[i];
            if (s.expected != 0 && Elapsed(now, s.time) > kSlotTimeout)
                s = ReassemblySlot{};
        }
        for (int i = kSlots - 1; i >= 0; --i) {
            if (slots_[i].expected == 0) {
                chosen = i;
                break;
            }
        }
        slots_[chosen] = ReassemblySlot{std::move(text), id, now, 2};
        return;
    }
    ReassemblySlot* slot = nullptr;
    for (int i = kSlots - 1; i >= 0 && !slot; --i) {
        if (slots_[i].expected != 0 && slots_[i].messageId == id)
            slot = &slots_[i];
    }
    if (!slot)
        return;
    slot->time = now;
    if (n < kLastChunk) {
        if (n == slot->expected) {
            slot->text += text;
            slot->expected = n + 1;
        } else {
            *slot = ReassemblySlot{};
        }
        return;
    }
    std::string message = std::move(slot->text) + text;
    *slot = ReassemblySlot{};
    Restore(message, 5, 10);
    QueueIncoming(std::move(message));
}

void TPacketQ::Clear()
{
    out_.fill(OutSlot{});
    in_.fill(std::string{});
    echoes_.fill(std::string{});
    slots_.fill(ReassemblySlot{});
    outSent_ = outQueued_ = inDelivered_ = inQueued_ = echoNext_ = 0;
    sendRunning_ = deliverRunning_ = false;
}

int TPacketQ::Unsent() const
{
    return (outQueued_ - outSent_ + kRing) % kRing;
}

int TPacketQ::Undelivered() const
{
    return (inQueued_ - inDelivered_ + kRing) % kRing;
}

} // namespace zel
