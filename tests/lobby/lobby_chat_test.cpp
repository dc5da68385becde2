#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/lobby/ChatCommand.h"
#include "core/lobby/FloodRing.h"
#include "LobbyWorld.h"

namespace zel {
namespace {

using test::LobbyWorld;

TEST(ChatCommand, Parsing)
{
    struct Row {
        std::string line, word, argument;
    };
    const std::vector<Row> rows = {
        {"/Q", "q", ""},   {"/q!", "", ""}, // a character outside letters and digits: chat
        {"/12", "12", ""}, {"/j 12", "j", "12"}, {"/J x", "j", "x"}, {"/memo bob hi there", "memo", "bob hi there"},
        {"hello", "", ""}, {"/", "", ""},        {"/ x", "", ""},    {KS("/한글"), "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        ChatCommand c = ParseChatCommand(r.line);
        EXPECT_EQ(c.word, r.word);
        if (!r.word.empty()) {
            EXPECT_EQ(c.argument, r.argument);
        }
    }
    int n = 0;
    EXPECT_TRUE(ParseRoomNumber("12", n));
    EXPECT_EQ(n, 12);
    EXPECT_FALSE(ParseRoomNumber("x", n));
    EXPECT_FALSE(ParseRoomNumber("1x", n));
    EXPECT_FALSE(ParseRoomNumber("", n));
    EXPECT_FALSE(ParseRoomNumber("999999", n));
}

TEST(FloodRing, FiveEqualLinesWithinTwoSeconds)
{
    TFloodRing ring;
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(ring.Record(1000 + i * 400, "hi"));
    EXPECT_TRUE(ring.Record(2999, "hi")); // 1999 ms from the first

    TFloodRing slow;
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(slow.Record(1000 + i * 400, "hi"));
    EXPECT_FALSE(slow.Record(3000, "hi")); // exactly two seconds
    // The ring moves on: the newest five lines count, not fixed slots.
    EXPECT_TRUE(slow.Record(3001, "hi"));

    TFloodRing mixed;
    for (int i = 0; i < 4; ++i)
        mixed.Record(1000 + i, "hi");
    EXPECT_FALSE(mixed.Record(1005, "ho"));
}

TEST(LobbyChat, CommandWords)
{
    LobbyWorld w;
    w.Feed(test::UserMoves(1, 12));
    w.Sent();

    w.Type("/Q"); // back to the waiting room
    auto s = w.Sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].code, pk::EnterRoom);
    EXPECT_EQ(s[0].U16(6), 0);

    w.Type("/q!"); // room chat, as typed
    s = w.Sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].code, pk::RoomText);
    EXPECT_EQ(s[0].Text(6), "Me [3D] : /q!");

    for (const char* line : {"/12", "/j 12"}) {
        w.Feed(test::UserMoves(1, 0));
        w.Type(line);
        s = w.Sent();
        ASSERT_EQ(s.size(), 1u) << line;
        EXPECT_EQ(s[0].code, pk::EnterRoom);
        EXPECT_EQ(s[0].U16(4), 1);
        EXPECT_EQ(s[0].U16(6), 12);
    }
    w.Type("/j x");
    w.Type("/j");
    w.Type("/nonsense");
    EXPECT_TRUE(w.Sent().empty());

    w.ports.playing = true; // no room changes during a game
    w.Type("/7");
    w.Type("/m title");
    EXPECT_TRUE(w.Sent().empty());
    w.ports.playing = false;

    w.Type("/m My room");
    s = w.Sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].code, pk::MakeRoom);

    w.Type("/ver");
    w.Type("/elmzs");
    w.Type("/b");
    s = w.Sent();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].Text(6), ">M<me>X<");
    EXPECT_EQ(s[1].Text(6), ">M<Me>Z<");
    EXPECT_EQ(s[2].Text(6), ">B<Me(me)>I<");

    w.Type("/ts 5/30"); // only during a game
    EXPECT_TRUE(w.Sent().empty());
    w.ports.playing = true;
    w.Type("/ts 5/30");
    w.Type("/ts 0/30");
    s = w.Sent();
    ASSERT_EQ(s.size(), 1u);
    // In the two-letter form the players' clocks read: 5 = "AF", 30 = "BE".
    EXPECT_EQ(s[0].Text(6), ">M<AFBE>T<");
}

TEST(LobbyChat, MemoCommandAndFind)
{
    LobbyWorld w;
    w.Type("/to bob");
    w.Type("/memo");
    ASSERT_EQ(w.ports.printed.size(), 2u);
    EXPECT_EQ(w.ports.printed[0], KS("   ### 메모 보내기는 '/to ID 내용' 또는 '/memo ID 내용' 입니다"));
    EXPECT_TRUE(w.Sent().empty());

    w.Type("/to nobody hello"); // no such user: nothing is sent
    EXPECT_TRUE(w.Sent().empty());
    w.Type("/to bob hello there");
    auto s = w.Sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].code, pk::PrivateText);
    EXPECT_EQ(s[0].U16(4), 3);
    EXPECT_EQ(s[0].bytes[10], 1);
    EXPECT_EQ(s[0].Text(11), KS("   ### [메모] Me [3D] hello there"));

    w.ports.printed.clear();
    w.Feed(test::UserMoves(2, 7));
    w.Type("/f alice");
    w.Type("/f bob");
    w.Type("/f carol");
    ASSERT_EQ(w.ports.printed.size(), 3u);
    EXPECT_EQ(w.ports.printed[0], KS("   ### 찾기결과 :: Alice   (alice)     5K 님 >> 7 번 방"));
    EXPECT_EQ(w.ports.printed[1], KS("   ### 찾기결과 :: Bob     (bob)       3D 님 >> 대기실"));
    EXPECT_EQ(w.ports.printed[2], KS("   ### 접속자 중에서 일치되는 사람이 없습니다."));
}

TEST(LobbyChat, LineRules)
{
    LobbyWorld w;
    w.clock.Advance(1);
    w.chat.ChatBoxLine("one");
    w.chat.ChatBoxLine("two"); // the same millisecond: dropped
    EXPECT_EQ(w.Sent().size(), 1u);
    w.Type(std::string(150, 'a'));
    w.Type("");
    EXPECT_TRUE(w.Sent().empty());
    w.Type(std::string(149, 'a'));
    EXPECT_EQ(w.Sent().size(), 1u);
    EXPECT_TRUE(w.ports.notices.empty());
}

TEST(LobbyChat, FiveEqualLinesQuit)
{
    LobbyWorld w;
    for (int i = 0; i < 5; ++i) {
        w.clock.Advance(300);
        w.chat.ChatBoxLine("spam");
    }
    EXPECT_EQ(w.ports.quits, 1);

    LobbyWorld macros;
    for (int i = 0; i < 5; ++i) {
        macros.clock.Advance(300);
        macros.chat.SendMacro(i % 2 ? "hello" : "bye"); // the ring records one constant text
    }
    EXPECT_EQ(macros.ports.quits, 1);
    EXPECT_EQ(macros.Sent().size(), 5u);
}

TEST(LobbyChat, LineBeforeTheLobbyIsEnteredIsNoMemo)
{
    LobbyWorld w(false);
    w.Type("early");
    ASSERT_EQ(w.ports.notices.size(), 1u);
    EXPECT_EQ(w.ports.notices[0], KS("정보를 받는 중에는 대화가 안됩니다."));
    auto s = w.Sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].code, pk::RoomText); // room chat, not a memo to user 0
}

TEST(LobbyChat, MemoRoutingAndBlockList)
{
    LobbyWorld w;
    const std::string memo = KS("   ### [메모] Alice [5K] hi");
    EXPECT_TRUE(w.chat.OfferMemo(2, memo));
    EXPECT_TRUE(w.chat.OfferMemo(2, memo));
    EXPECT_TRUE(w.chat.OfferMemo(3, memo));
    ASSERT_EQ(w.ports.memoLines.size(), 3u);
    EXPECT_EQ(w.ports.memoLines[0], "0:<-- hi");
    EXPECT_EQ(w.ports.memoLines[1], "0:<-- hi"); // the same window again
    EXPECT_EQ(w.ports.memoLines[2], "1:<-- hi");
    EXPECT_FALSE(w.chat.OfferMemo(999, memo)); // an unknown sender goes to the terminal

    w.chat.CloseMemo(0, true); // refused: alice is blocked
    EXPECT_TRUE(w.chat.OfferMemo(2, memo));
    EXPECT_EQ(w.ports.memoLines.size(), 3u);
    EXPECT_TRUE(w.chat.Memos().IsBlocked("alice"));

    // All four windows in use: the fifth sender's memo goes to the terminal.
    for (int u = 4; u <= 7; ++u)
        w.Feed(test::UserArrives(u, "u" + std::to_string(u), "U", 5));
    EXPECT_TRUE(w.chat.OfferMemo(4, memo));
    EXPECT_TRUE(w.chat.OfferMemo(5, memo));
    EXPECT_TRUE(w.chat.OfferMemo(6, memo));
    EXPECT_FALSE(w.chat.OfferMemo(7, memo));

    // A window whose user leaves the server is hidden.
    w.ports.hidden.clear();
    w.Feed(test::Packet6(pk::UserLeaves, 3));
    w.chat.UserLeft(3);
    ASSERT_EQ(w.ports.hidden.size(), 1u);
    EXPECT_EQ(w.ports.hidden[0], 1);

    // Sending from a memo window follows the millisecond rule.
    w.clock.Advance(1);
    EXPECT_TRUE(w.chat.SendMemoLine(4, "yo"));
    EXPECT_FALSE(w.chat.SendMemoLine(4, "yo"));
    EXPECT_EQ(w.Sent().size(), 1u);
}

TEST(LobbyChat, ChatBlockRecordsTheBlockerUntilAllowed)
{
    LobbyWorld w;
    // An end without a block in force says nothing.
    w.chat.ChatBlockMarker(false, ">M<Alice>R<");
    EXPECT_TRUE(w.ports.notices.empty());

    w.chat.ChatBlockMarker(true, ">M<Alice>Z<");
    EXPECT_EQ(w.chat.chatBlocker, "Alice");
    ASSERT_EQ(w.ports.notices.size(), 1u);
    EXPECT_EQ(w.ports.notices[0], KS("대화차단: ") + "Alice");

    // Malformed texts leave the blocker as it is.
    for (const char* text : {">M<>Z<", "Bob>Z<", ">Z<Bob>M<", ">M<Bob"}) {
        SCOPED_TRACE(text);
        w.chat.ChatBlockMarker(true, text);
        EXPECT_EQ(w.chat.chatBlocker, "Alice");
    }
    EXPECT_EQ(w.ports.notices.size(), 1u);

    w.chat.ChatBlockMarker(false, ">M<Alice>R<");
    EXPECT_TRUE(w.chat.chatBlocker.empty());
    ASSERT_EQ(w.ports.notices.size(), 2u);
    EXPECT_EQ(w.ports.notices[1], KS("대화허용: ") + "Alice");

    // A new connection forgets the block.
    w.chat.ChatBlockMarker(true, ">M<Bob>Z<");
    w.chat.ConnectionClosed();
    EXPECT_TRUE(w.chat.chatBlocker.empty());
}

TEST(LobbyChat, FriendNotices)
{
    LobbyWorld w;
    w.friends.count = 2;
    w.friends.friends[0].id = "bob";
    w.friends.friends[1].id = "carol";
    w.chat.LobbyEntered();
    EXPECT_EQ(w.ports.online, 1);
    EXPECT_EQ(w.ports.stored, 2);
    w.Feed(test::UserArrives(5, "carol", "Carol", 20));
    w.chat.UserJoined(5);
    EXPECT_EQ(w.ports.online, 2);
    ASSERT_FALSE(w.ports.printed.empty());
    EXPECT_EQ(w.ports.printed.back(), KS("   ### 친구접속 :: Carol   (carol)     3D 님 >> 대기실"));
    w.chat.UserJoined(2); // not a friend
    EXPECT_EQ(w.ports.online, 2);
    w.chat.UserLeft(5);
    EXPECT_EQ(w.ports.online, 1);
}

} // namespace
} // namespace zel

namespace zel::test {
namespace {

TEST(LobbyChat, OnlyTheMultiGameHostClearsItsBoards)
{
    LobbyWorld w;
    w.Type("/clear");
    w.chat.multiHost = "alice";
    w.Type("/clear");
    EXPECT_EQ(w.ports.clears, 0);
    w.chat.multiHost = "me";
    w.Type("/CLEAR");
    EXPECT_EQ(w.ports.clears, 1);
    // Nothing of it goes to the room.
    for (const SentPacket& p : w.Sent())
        EXPECT_NE(p.code, pk::RoomText);
}

} // namespace
} // namespace zel::test
