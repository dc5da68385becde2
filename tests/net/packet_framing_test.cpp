#include <gtest/gtest.h>

#include <vector>

#include "core/net/PacketAssembler.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "core/net/PacketSender.h"
#include "support/Fakes.h"

namespace zel {
namespace {

std::vector<std::uint8_t> Header(std::uint16_t code, std::uint16_t length, std::uint16_t arg = 0)
{
    std::vector<std::uint8_t> v(6);
    PacketHeader{code, length, arg}.Encode(v.data());
    return v;
}

std::vector<std::uint8_t> Packet(std::uint16_t code, std::uint16_t length, std::uint16_t arg = 0)
{
    auto v = Header(code, length, arg);
    v.resize(length, 0xAB);
    return v;
}

struct Collector {
    std::vector<std::vector<std::uint8_t>> packets;
    PacketAssembler::Sink Sink()
    {
        return [this](const std::uint8_t* p, std::size_t n) { packets.emplace_back(p, p + n); };
    }
};

TEST(IsValidHeader, AcceptsTableLengthsOnly)
{
    struct Row {
        std::uint16_t code, length;
        bool valid;
    } rows[] = {
        {pk::Greeting, 6, true},        {pk::Greeting, 7, false},
        {pk::LoginAccepted, 12, true},  {pk::UserArrives, 38, true},
        {pk::UserArrives, 40, false},   {pk::PrivateText, 2060, true},
        {pk::PrivateText, 2061, false}, {pk::PrivateText, 11, false},
        {pk::RoomText, 2054, true},     {pk::RoomText, 2055, false},
        {pk::RoomText, 5, false},       {pk::RoomMembers, 1708, true},
        {pk::RoomMembers, 1709, false}, {pk::RoomMembers, 7, false},
        {pk::Login, 38, false},         {12345, 6, false},
        {pk::Unused33050, 6, true},     {pk::Stored27010, 16, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(IsValidHeader({r.code, r.length, 0}), r.valid) << r.code << "/" << r.length;
}

TEST(PacketAssembler, SplitGreetingDeliveredOnceAfterSecondRead)
{
    PacketAssembler a;
    Collector c;
    auto greeting = Packet(pk::Greeting, 6);
    a.Feed(greeting.data(), 3, nullptr, c.Sink());
    EXPECT_TRUE(c.packets.empty());
    a.Feed(greeting.data() + 3, 3, nullptr, c.Sink());
    ASSERT_EQ(c.packets.size(), 1u);
    EXPECT_EQ(c.packets[0], greeting);
}

TEST(PacketAssembler, TwoPacketsInOneReadInOrder)
{
    PacketAssembler a;
    Collector c;
    auto first = Packet(pk::LoginAccepted, 12, 1);
    auto second = Packet(pk::LobbyEntered, 6, 2);
    std::vector<std::uint8_t> read = first;
    read.insert(read.end(), second.begin(), second.end());
    a.Feed(read.data(), read.size(), nullptr, c.Sink());
    ASSERT_EQ(c.packets.size(), 2u);
    EXPECT_EQ(c.packets[0], first);
    EXPECT_EQ(c.packets[1], second);
}

TEST(PacketAssembler, InvalidHeaderDropsRestOfReadOnly)
{
    PacketAssembler a;
    Collector c;
    std::vector<std::uint8_t> read = Packet(pk::Greeting, 6);
    auto bad = Header(pk::UserArrives, 40);
    read.insert(read.end(), bad.begin(), bad.end());
    auto lost = Packet(pk::LobbyEntered, 6);
    read.insert(read.end(), lost.begin(), lost.end());
    EXPECT_FALSE(a.Feed(read.data(), read.size(), nullptr, c.Sink()));
    ASSERT_EQ(c.packets.size(), 1u); // the greeting before the bad header
    EXPECT_EQ(a.Pending(), 0u);
    // Framing resumes with the next read.
    auto next = Packet(pk::LobbyEntered, 6);
    a.Feed(next.data(), next.size(), nullptr, c.Sink());
    ASSERT_EQ(c.packets.size(), 2u);
    EXPECT_EQ(c.packets[1], next);
}

TEST(PacketAssembler, GateDropsPacketsSilently)
{
    PacketAssembler a;
    Collector c;
    bool open = false;
    auto p = Packet(pk::Greeting, 6);
    a.Feed(
        p.data(), p.size(), [&] { return open; }, c.Sink());
    EXPECT_TRUE(c.packets.empty());
    EXPECT_EQ(a.Pending(), 0u);
    open = true;
    a.Feed(
        p.data(), p.size(), [&] { return open; }, c.Sink());
    EXPECT_EQ(c.packets.size(), 1u);
}

TEST(PacketAssembler, LongestPacketByteByByte)
{
    PacketAssembler a;
    Collector c;
    auto p = Packet(pk::PrivateText, 2060);
    for (std::uint8_t b : p)
        a.Feed(&b, 1, nullptr, c.Sink());
    ASSERT_EQ(c.packets.size(), 1u);
    EXPECT_EQ(c.packets[0].size(), 2060u);
}

TEST(PacketSender, StampsHeaderAndRetriesPartialWrites)
{
    test::FakeTransport t;
    t.Open("h", 1);
    t.PeerAccepts();
    PacketSender s(t, [] { return true; });
    std::uint8_t* rec = s.Staging(pk::Login);
    ASSERT_NE(rec, nullptr);
    ASSERT_EQ(s.StagingSize(pk::ReLogin), 38u);
    rec[20] = 'a';
    t.acceptPerWrite = 5;
    EXPECT_TRUE(s.SendPacket(pk::Login, 38));
    ASSERT_EQ(t.sent.size(), 38u);
    EXPECT_EQ(PacketHeader::Decode(t.sent.data()).code, pk::Login);
    EXPECT_EQ(PacketHeader::Decode(t.sent.data()).length, 38);
    EXPECT_EQ(t.sent[20], 'a');

    // A socket that takes 1 byte per write gives up after ten writes.
    t.sent.clear();
    t.acceptPerWrite = 1;
    EXPECT_FALSE(s.SendPacket(pk::Login, 38));
    EXPECT_EQ(t.sent.size(), 10u);
}

TEST(PacketSender, RefusesWhenGatedOrUnknown)
{
    test::FakeTransport t;
    t.Open("h", 1);
    t.PeerAccepts();
    bool allowed = false;
    PacketSender s(t, [&] { return allowed; });
    EXPECT_FALSE(s.SendPacket(pk::Leave, 6));
    allowed = true;
    EXPECT_FALSE(s.SendPacket(pk::Greeting, 6)); // never sent by the client
    EXPECT_FALSE(s.SendPacket(pk::Leave, 7));    // longer than its record
    EXPECT_TRUE(s.SendPacket(pk::Leave, 6));
    EXPECT_EQ(t.sent.size(), 6u);
}

} // namespace
} // namespace zel
