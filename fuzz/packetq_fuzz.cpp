// TPacketQ reception: arbitrary lines handed to Receive with the markers the
// lobby would find, the clock moving between them. A message built from the
// same bytes must also survive the trip through a second queue unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/net/PacketQ.h"
#include "core/ports/Clock.h"
#include "core/ports/Random.h"

namespace {

class StepClock : public zel::Clock {
public:
    std::int32_t Now() const override { return now; }
    std::int32_t now = 0;
};

class CountingRandom : public zel::Random {
public:
    std::uint32_t Next(std::uint32_t bound) override { return bound ? (state += 104729) % bound : 0; }
    std::uint32_t state = 3;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    StepClock clock;
    CountingRandom random;

    // Reception of hostile lines.
    zel::TPacketQ q(clock, random);
    std::size_t delivered = 0;
    q.SetOnMessage([&](const std::string& m) { delivered += m.size(); });
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        std::string line = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::size_t o = 0, e = 0;
        if (zel::TPacketQ::FindMarkers(line, o, e))
            q.Receive(line, o, e);
        q.Receive(line, 1 + line.size() / 3, 1 + line.size() / 2);
        clock.now += line.empty() ? 31000 : 200;
        q.Tick(clock.now);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }

    // Round trip of a message made of the same bytes.
    std::string message = "XA" + input.substr(0, 3000);
    if (message.size() < 8)
        message.resize(8, 'x');
    zel::TPacketQ sender(clock, random), receiver(clock, random);
    std::vector<std::string> pieces, got;
    sender.SetOnWire([&](const std::string& p) { pieces.push_back(p); });
    receiver.SetOnMessage([&](const std::string& m) { got.push_back(m); });
    if (!sender.Enqueue(message))
        __builtin_trap();
    for (int i = 0; i < 20 && sender.Sending(); ++i) {
        clock.now += 200;
        sender.Tick(clock.now);
    }
    for (const std::string& p : pieces) {
        std::size_t o = 0, e = 0;
        if (!zel::TPacketQ::FindMarkers(p, o, e))
            __builtin_trap();
        receiver.Receive(p, o, e);
    }
    clock.now += 200;
    receiver.Tick(clock.now);
    if (got.size() != 1 || got[0].substr(0, 2) + got[0].substr(4) != message)
        __builtin_trap();
    return 0;
}
