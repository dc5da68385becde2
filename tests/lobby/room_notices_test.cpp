#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/lobby/RoomNotices.h"
#include "LobbyWorld.h"

namespace zel {
namespace {

using test::LobbyWorld;

TEST(RoomNotices, OwnMovesAndOtherUsers)
{
    LobbyWorld w;
    TRoomNotices n{w.d, w.chat, w.ports};
    // The world's dispatch reports to a silent port; the reports are replayed by hand.
    // Open room 7 with alice, then enter it with bob and ourselves.
    w.Feed(test::RoomRecord(pk::RoomOpened, 7, RoomOpen, 2, "t"));
    w.Feed(test::UserMoves(3, 7));
    w.Feed(test::UserMoves(1, 7));
    n.RoomViewChanged(1, 1);
    EXPECT_EQ(n.PlaceText(), KS("7 번 방(3 명)"));
    ASSERT_FALSE(w.ports.printed.empty());
    EXPECT_EQ(w.ports.printed.back(), KS("### 7번 방에 들어 왔습니다!"));
    EXPECT_TRUE(n.OwnMovedSinceLastAsk());
    EXPECT_FALSE(n.OwnMovedSinceLastAsk());

    w.Feed(test::UserArrives(4, "dave", "Dave", 20));
    w.Feed(test::UserMoves(4, 7));
    n.RoomViewChanged(1, 4);
    EXPECT_EQ(w.ports.printed.back(), KS("### Dave(dave)님 입실"));
    n.RoomViewChanged(1, 4); // a repeated report prints nothing more
    EXPECT_EQ(w.ports.printed.size(), 2u);
    w.Feed(test::UserMoves(4, 0));
    n.RoomViewChanged(2, 4);
    EXPECT_EQ(w.ports.printed.back(), KS("### Dave(dave)님 퇴실"));

    auto lines = n.MemberLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 4 + 22), KS(" ※ ") + "Alice(alice)  5K      ");

    w.Feed(test::UserMoves(1, 0));
    n.RoomViewChanged(1, 1);
    EXPECT_EQ(w.ports.printed.back(), KS("### 대기실 입니다!"));
    EXPECT_EQ(n.PlaceText(), KS("대기실"));
}

TEST(RoomNotices, MultiGameHost)
{
    LobbyWorld w;
    TRoomNotices n{w.d, w.chat, w.ports};
    w.Feed(test::RoomRecord(pk::RoomOpened, 4, RoomMulti, 2, "t"));
    w.Feed(test::UserMoves(1, 4));
    n.RoomViewChanged(1, 1);
    EXPECT_EQ(w.chat.multiHost, "alice");
    EXPECT_EQ(w.ports.printed.back(), KS("   ### Alice(alice)  5K님의 다면기 지도대국방 입니다!"));
    LobbyButtons b = ComputeButtons(w.d.Model(), true, true, false);
    EXPECT_TRUE(b.myRI && b.find);
    EXPECT_FALSE(b.vGame || b.vGibo || b.study);
}

// A block of our own is repeated to whoever enters the room; a block by
// someone else is not ours to repeat.
TEST(RoomNotices, OwnChatBlockIsRepeatedToArrivals)
{
    for (const char* blocker : {"Me", "Alice"}) {
        SCOPED_TRACE(blocker);
        LobbyWorld w;
        TRoomNotices n{w.d, w.chat, w.ports};
        w.Feed(test::RoomRecord(pk::RoomOpened, 7, RoomOpen, 2, "t"));
        w.Feed(test::UserMoves(1, 7));
        n.RoomViewChanged(1, 1);
        w.chat.ChatBlockMarker(true, std::string(">M<") + blocker + ">Z<");
        w.Sent();
        w.Feed(test::UserArrives(4, "dave", "Dave", 20));
        w.Feed(test::UserMoves(4, 7));
        n.RoomViewChanged(1, 4);
        bool repeated = false;
        for (const auto& p : w.Sent())
            repeated = repeated || std::string(p.bytes.begin(), p.bytes.end()).find(">M<Me>Z<") != std::string::npos;
        EXPECT_EQ(repeated, std::string(blocker) == "Me");
    }
}

TEST(RoomNotices, ButtonEnabling)
{
    struct Row {
        int state;
        bool vGibo, study, vGame;
    };
    const std::vector<Row> rows = {{RoomOpen, true, true, false},
                                   {RoomWaiting, true, false, false},
                                   {RoomReview, false, false, true},
                                   {RoomGame, false, false, true},
                                   {RoomMulti, false, false, true}};
    for (const Row& r : rows) {
        LobbyWorld w;
        w.Feed(test::RoomRecord(pk::RoomOpened, 6, r.state, 1, "t"));
        LobbyButtons b = ComputeButtons(w.d.Model(), true, false, false);
        EXPECT_EQ(b.vGibo, r.vGibo) << r.state;
        EXPECT_EQ(b.study, r.study) << r.state;
        EXPECT_EQ(b.vGame, r.vGame) << r.state;
        EXPECT_FALSE(ComputeButtons(w.d.Model(), true, false, true).vGame);
    }
    LobbyButtons none = ComputeButtons(nullptr, false, false, false);
    EXPECT_FALSE(none.myRI || none.find || none.vGibo);
}

} // namespace
} // namespace zel
