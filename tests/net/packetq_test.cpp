#include <gtest/gtest.h>

#include "core/net/PacketQ.h"
#include "support/Fakes.h"

namespace zel {
namespace {

// A message the session would send: "XA" and then `size` bytes in total.
std::string Message(std::size_t size, char fill = 'm')
{
    std::string s = "XA";
    s.resize(size, fill);
    return s;
}

struct Queue {
    test::ManualClock clock{1000};
    test::SeededRandom random{7};
    TPacketQ q{clock, random};
    std::vector<std::string> wire, delivered;
    Queue()
    {
        q.SetOnWire([this](const std::string& s) { wire.push_back(s); });
        q.SetOnMessage([this](const std::string& s) { delivered.push_back(s); });
    }
    // Advances the clock in 200 ms steps, ticking each time.
    void Run(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            clock.Advance(200);
            q.Tick(clock.Now());
        }
    }
    void Take(const std::string& line)
    {
        std::size_t o = 0, e = 0;
        if (TPacketQ::FindMarkers(line, o, e))
            q.Receive(line, o, e);
    }
};

// What the receiving owner sees of a sent message: the key sits at 3..4.
std::string Unkeyed(const std::string& delivered)
{
    return delivered.substr(0, 2) + delivered.substr(4);
}

std::string Payload(const std::string& piece)
{
    return piece.substr(3, piece.size() - 6);
}

TEST(SeqCode, RoundTripsAndRefusesNonLetters)
{
    EXPECT_EQ(SeqCode(0), "AA");
    EXPECT_EQ(SeqCode(1), "AB");
    EXPECT_EQ(SeqCode(100), "DW");
    EXPECT_EQ(SeqCode(598), "XA");
    EXPECT_EQ(SeqCodeNumber("DW"), 100);
    EXPECT_EQ(SeqCodeNumber("ZZ"), 675);
    EXPECT_EQ(SeqCodeNumber("a1"), -1);
    EXPECT_EQ(SeqCodeNumber("A"), -1);
}

TEST(TPacketQ, EnqueueRefusesWhatCannotBeAMessage)
{
    Queue t;
    EXPECT_FALSE(t.q.Enqueue("XA12345"));  // 7 bytes
    EXPECT_FALSE(t.q.Enqueue("AB123456")); // a chunk number
    EXPECT_FALSE(t.q.Enqueue("xa123456"));
    EXPECT_FALSE(t.q.Enqueue(Message(TPacketQ::kMaxMessage + 1)));
    EXPECT_TRUE(t.q.Enqueue("XA123456"));
    EXPECT_FALSE(t.q.Sending() && t.wire.size() > 0);
}

TEST(TPacketQ, ChunkingAtTheLimits)
{
    struct Row {
        std::size_t size;
        std::size_t leadAt; // offset of a double-byte lead byte in the queued text, or 0
        std::vector<std::size_t> payloadSizes;
        std::vector<std::string> codes;
    } rows[] = {
        // The queued text is the message plus the two key letters.
        {698, 0, {700}, {"XA"}},
        {699, 0, {2 + 5 + 650, 2 + 5 + 51}, {"AB", "DW"}},
        {699, 649, {2 + 5 + 651, 2 + 5 + 50}, {"AB", "DW"}},
        {1400, 0, {657, 657, 2 + 5 + 102}, {"AB", "AC", "DW"}},
    };
    for (const Row& r : rows) {
        Queue t;
        std::string m = Message(r.size);
        if (r.leadAt) {
            m[r.leadAt - 2] = static_cast<char>(0xB0); // the key adds two bytes in front
            m[r.leadAt - 1] = static_cast<char>(0xA1);
        }
        ASSERT_TRUE(t.q.Enqueue(m));
        t.Run(10);
        ASSERT_EQ(t.wire.size(), r.payloadSizes.size()) << r.size;
        for (std::size_t i = 0; i < t.wire.size(); ++i) {
            EXPECT_EQ(t.wire[i].substr(0, 3), ">O<");
            EXPECT_EQ(t.wire[i].substr(t.wire[i].size() - 3), ">E<");
            std::string p = Payload(t.wire[i]);
            EXPECT_EQ(p.size(), r.payloadSizes[i]) << r.size << " piece " << i;
            EXPECT_EQ(p.substr(0, 2), r.codes[i]);
        }
        EXPECT_FALSE(t.q.Sending());
    }
}

TEST(TPacketQ, PacesOnePiecePerInterval)
{
    Queue t;
    t.q.Enqueue(Message(20));
    t.q.Enqueue(Message(30));
    t.clock.Advance(199);
    t.q.Tick(t.clock.Now());
    EXPECT_TRUE(t.wire.empty());
    t.clock.Advance(1);
    t.q.Tick(t.clock.Now());
    t.q.Tick(t.clock.Now());
    EXPECT_EQ(t.wire.size(), 1u);
    t.Run(1);
    EXPECT_EQ(t.wire.size(), 2u);
}

TEST(TPacketQ, RoundTripRestoresTheMessageAndKeepsTheKey)
{
    for (std::size_t size : {8u, 20u, 700u, 2000u}) {
        Queue a, b;
        std::string m = Message(size);
        for (std::size_t i = 2; i < m.size(); ++i)
            m[i] = static_cast<char>(i % 2 ? 0xC7 : 0xD1); // Korean text, bytes above 127
        m.replace(2, 6, "GPMZ\xB0\xA1");
        ASSERT_TRUE(a.q.Enqueue(m));
        a.Run(10);
        for (const std::string& piece : a.wire)
            b.Take("prefix " + piece);
        b.Run(3);
        ASSERT_EQ(b.delivered.size(), 1u) << size;
        EXPECT_EQ(Unkeyed(b.delivered[0]), m) << size;
        EXPECT_EQ(b.delivered[0].substr(2, 2), Payload(a.wire[0]).substr(2, 2));
    }
}

TEST(TPacketQ, OwnEchoIsNotDelivered)
{
    Queue t;
    t.q.Enqueue(Message(1500));
    t.q.Enqueue(Message(40));
    t.Run(10);
    ASSERT_EQ(t.wire.size(), 4u);
    for (const std::string& piece : t.wire)
        t.Take(piece);
    t.Run(5);
    EXPECT_TRUE(t.delivered.empty());
    EXPECT_FALSE(t.q.Delivering());
}

TEST(TPacketQ, MissingChunks)
{
    Queue a;
    a.q.Enqueue(Message(1900)); // AB AC DW
    a.Run(10);
    ASSERT_EQ(a.wire.size(), 3u);
    {
        Queue b; // the middle chunk is lost and the next one is out of step
        b.Take(a.wire[0]);
        b.Take(">O<" + std::string("AD") + Payload(a.wire[1]).substr(2) + ">E<");
        b.Take(a.wire[2]);
        b.Run(5);
        EXPECT_TRUE(b.delivered.empty());
    }
    {
        Queue b; // only the middle chunk is lost: the last one closes the message
        b.Take(a.wire[0]);
        b.Take(a.wire[2]);
        b.Run(5);
        ASSERT_EQ(b.delivered.size(), 1u);
        EXPECT_EQ(b.delivered[0].size(), 650u + (1900 + 2 - 1300));
    }
    {
        Queue b; // the last chunk never comes: nothing is delivered, the slot ages out
        b.Take(a.wire[0]);
        b.Take(a.wire[1]);
        b.Run(5);
        EXPECT_TRUE(b.delivered.empty());
        b.clock.Advance(TPacketQ::kSlotTimeout + 1);
        Queue c;
        c.q.Enqueue(Message(900, 'z'));
        c.Run(5);
        for (const std::string& piece : c.wire)
            b.Take(piece);
        b.Take(a.wire[2]); // the stale message's slot was reused: its last chunk finds nothing
        b.Run(5);
        ASSERT_EQ(b.delivered.size(), 1u);
        EXPECT_EQ(b.delivered[0].substr(4), std::string(900 - 2, 'z'));
    }
}

TEST(TPacketQ, HostileLinesAreIgnored)
{
    Queue t;
    const char* lines[] = {">O<>E<",
                           ">O<XA>E<",
                           ">O<AB12>E<",
                           ">E<>O<XA123456",
                           ">O<DWabcdefgh>E<",
                           ">O<AAabcdefgh>E<",
                           ">O<\xff\xff\xff\xff\xff\xff\xff>E<"};
    for (const char* l : lines)
        t.Take(l);
    t.q.Receive("abc", 5, 1);
    t.q.Receive(">O<XA12345678>E<", 1, 100);
    t.Run(3);
    EXPECT_TRUE(t.delivered.empty());
}

TEST(TPacketQ, FullRingsDropTheOldest)
{
    Queue t;
    for (int i = 0; i < 60; ++i)
        t.q.Enqueue(Message(10, static_cast<char>('a' + i % 26)));
    EXPECT_EQ(t.q.Unsent(), TPacketQ::kRing - 1);
    t.Run(60);
    EXPECT_EQ(t.wire.size(), std::size_t(TPacketQ::kRing - 1));
    EXPECT_FALSE(t.q.Sending());
}

} // namespace
} // namespace zel
