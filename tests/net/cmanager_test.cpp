#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/net/CManager.h"
#include "core/net/PacketCodes.h"
#include "support/LobbyPackets.h"

namespace zel {
namespace {

using test::Bytes;

struct Model {
    TCManager m{8};
    std::vector<std::pair<int, int>> roomEvents;
    Model()
    {
        m.ownUser = 0;
        m.onRoomChange = [this](int kind, int room) { roomEvents.emplace_back(kind, room); };
    }
    bool Feed(const Bytes& b)
    {
        switch (GetU16(b.data())) {
        case pk::UserArrives:
            return m.UserArrives(b.data(), b.size());
        case pk::UserMoves:
            return m.UserMoves(b.data(), b.size());
        case pk::UserLeaves:
            return m.UserLeaves(b.data(), b.size());
        case pk::RoomOpened:
            return m.RoomOpened(b.data(), b.size());
        case pk::RoomSnapshot:
            return m.RoomSnapshot(b.data(), b.size());
        case pk::RoomMembers:
            return m.RoomMembers(b.data(), b.size());
        case pk::GameStart:
            return m.GameStarts(b.data(), b.size());
        case pk::GameEnd:
            return m.GameEnds(b.data(), b.size());
        default:
            return false;
        }
    }
    static std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
    // Users 1 ("alice", 5K) and 2 ("bob", 3D) in room 3 owned by alice.
    void TwoInRoom3()
    {
        Feed(test::UserArrives(1, "alice", "Alice", 13));
        Feed(test::UserArrives(2, "bob", "Bob", 20));
        Feed(test::RoomRecord(pk::RoomOpened, 3, RoomOpen, 1, "fun"));
        Feed(test::UserMoves(2, 3));
    }
};

TEST(RankText, LevelsAndPadding)
{
    struct Row {
        int level;
        bool pad;
        const char* text;
    } rows[] = {{0, false, "18K"}, {0, true, "18K"},   {17, false, "1K"}, {17, true, " 1K"}, {18, false, "1D"},
                {20, true, " 3D"}, {29, false, "12D"}, {30, false, "1P"}, {35, false, "6P"}, {35, true, " 6P"}};
    for (const Row& r : rows)
        EXPECT_EQ(RankText(r.level, r.pad), r.text) << r.level;
}

TEST(TCManager, ArrivalGoesToWaitingRoomAndOwnUserIsIgnored)
{
    Model t;
    EXPECT_TRUE(t.Feed(test::UserArrives(3, "carol", "Carol", 20)));
    EXPECT_FALSE(t.Feed(test::UserArrives(0, "me", "Me", 20)));
    EXPECT_EQ(t.m.User(3).room, 0);
    EXPECT_EQ(t.m.User(3).rankText, " 3D");
    EXPECT_EQ(t.m.User(0).room, -1);
    EXPECT_EQ(t.m.Members(0), std::vector<int>{3});
    // Arriving again (a stale entry) does not duplicate the member.
    t.Feed(test::UserArrives(3, "carol", "Carol", 21));
    EXPECT_EQ(t.m.Members(0), std::vector<int>{3});
    EXPECT_EQ(t.m.Room(0).people, 1);
}

TEST(TCManager, OwnerLeavingHandsOverToNextMember)
{
    Model t;
    t.TwoInRoom3();
    EXPECT_EQ(t.m.Room(3).owner, 1);
    EXPECT_EQ(t.m.Room(3).people, 2);
    t.Feed(test::UserMoves(1, 0));
    EXPECT_EQ(t.m.Room(3).owner, 2);
    EXPECT_EQ(t.m.Room(3).line, KS("방장 :: ") + "Bob      " + " 3D");
    EXPECT_EQ(t.m.Room(3).level, 20);
    EXPECT_EQ(t.m.Members(3), std::vector<int>{2});
}

TEST(TCManager, PlayerLeavingDuringGameEndsIt)
{
    Model t;
    t.TwoInRoom3();
    t.Feed(test::UserArrives(4, "dave", "Dave", 5));
    t.Feed(test::UserMoves(4, 3));
    t.Feed(test::TwoUsers(pk::GameStart, 1, 2));
    ASSERT_EQ(t.m.Room(3).state, RoomGame);
    EXPECT_EQ(t.m.User(1).status, UserPlaying);
    EXPECT_EQ(t.m.Room(3).line, KS("흑(") + "Alice   " + "  5K" + KS(") :: 백(") + "Bob     " + "  3D)");
    EXPECT_EQ(t.m.Room(3).level, 20);

    t.Feed(test::Packet6(pk::UserLeaves, 2));
    EXPECT_EQ(t.m.Room(3).state, RoomOpen);
    EXPECT_EQ(t.m.Room(3).first, -1);
    EXPECT_EQ(t.m.User(1).status, UserFree);
    EXPECT_EQ(t.m.User(2).room, -1);
    EXPECT_EQ(t.m.Members(3), (std::vector<int>{1, 4}));
}

TEST(TCManager, GameEndFreesBothPlayersButMultiGameOnlyTheOne)
{
    Model t;
    t.TwoInRoom3();
    t.Feed(test::TwoUsers(pk::GameStart, 1, 2));
    t.Feed(test::Packet6(pk::GameEnd, 2));
    EXPECT_EQ(t.m.Room(3).state, RoomOpen);
    EXPECT_EQ(t.m.User(1).status, UserFree);
    EXPECT_EQ(t.m.User(2).status, UserFree);

    t.Feed(test::UserArrives(5, "host", "Host", 25));
    t.Feed(test::RoomRecord(pk::RoomOpened, 4, RoomMulti, 5, "multi", 5));
    EXPECT_EQ(t.m.User(5).status, UserHosting);
    t.Feed(test::UserMoves(1, 4));
    t.Feed(test::UserMoves(2, 4));
    t.Feed(test::TwoUsers(pk::GameStart, 5, 1)); // the host is 200 and stays so
    t.Feed(test::TwoUsers(pk::GameStart, 2, 5));
    EXPECT_EQ(t.m.Room(4).state, RoomMulti);
    EXPECT_EQ(t.m.User(1).status, UserPlaying);
    t.Feed(test::Packet6(pk::GameEnd, 1));
    EXPECT_EQ(t.m.User(1).status, UserFree);
    EXPECT_EQ(t.m.User(2).status, UserPlaying);
    EXPECT_EQ(t.m.User(5).status, UserHosting);
}

TEST(TCManager, MatchRoomTakesBothUsers)
{
    Model t;
    t.Feed(test::UserArrives(1, "alice", "Alice", 13));
    t.Feed(test::UserArrives(2, "bob", "Bob", 20));
    Bytes match(48, 0);
    match[0] = pk::MatchRoom & 0xFF;
    match[1] = pk::MatchRoom >> 8;
    match[2] = 48;
    match[4] = 6;
    match[6] = 2;
    match[8] = 1;
    match[16] = 'm';
    EXPECT_TRUE(t.m.MatchRoom(match.data(), match.size()));
    EXPECT_EQ(t.m.Members(6), (std::vector<int>{2, 1}));
    EXPECT_EQ(t.m.Room(6).owner, 2);
    EXPECT_EQ(t.m.Room(6).title, "m");
    EXPECT_EQ(t.m.Room(6).line, KS("방장 :: ") + "Bob     " + "  3D");
    EXPECT_TRUE(t.m.Members(0).empty());
}

TEST(TCManager, LastMemberLeavingResetsAndRemovesRoom)
{
    Model t;
    t.Feed(test::UserArrives(1, "alice", "Alice", 13));
    t.Feed(test::RoomRecord(pk::RoomOpened, 3, RoomOpen, 1, "fun"));
    EXPECT_EQ(t.m.Room(3).title, "fun");
    t.roomEvents.clear();
    t.Feed(test::UserMoves(1, 0));
    const RoomRecord& r = t.m.Room(3);
    EXPECT_EQ(r.title, KS("제목 없음"));
    EXPECT_EQ(r.state, RoomOpen);
    EXPECT_EQ(r.owner, -1);
    EXPECT_EQ(r.people, 0);
    ASSERT_FALSE(t.roomEvents.empty());
    EXPECT_EQ(t.roomEvents.front(), std::make_pair(int(ChangeRemoved), 3));
    EXPECT_TRUE(t.m.Members(3).empty());
}

TEST(TCManager, SnapshotBuildsLineOfItsOwnRoom)
{
    Model t;
    t.Feed(test::RoomMembers(0, {{1, "alice", "Alice", 13}, {2, "bob", "Bob", 20}}));
    t.Feed(test::RoomRecord(pk::RoomSnapshot, 2, RoomOpen, 1, "two", -1, -1, 1));
    EXPECT_EQ(t.m.Room(2).line, KS("방장 :: ") + "Alice   " + "  5K");
    EXPECT_EQ(t.m.Room(1).line, "");
    EXPECT_EQ(t.m.Room(2).people, 1);
    // The members that follow move alice out of the waiting room's list.
    t.Feed(test::RoomMembers(2, {{1, "alice", "Alice", 13}}));
    EXPECT_EQ(t.m.Members(0), std::vector<int>{2});
    EXPECT_EQ(t.m.Members(2), std::vector<int>{1});
    EXPECT_EQ(t.m.Room(2).people, 1);
    EXPECT_EQ(t.m.FindUserInRoom("alice", 2), 1);
    EXPECT_EQ(t.m.FindUserInRoom("alice", 0), -1);
    EXPECT_EQ(t.m.FindUser("bob"), 2);
}

TEST(TCManager, NumbersOutsideTheTablesAreIgnored)
{
    Model t;
    t.Feed(test::UserArrives(1, "alice", "Alice", 13));
    EXPECT_FALSE(t.Feed(test::UserArrives(8, "x", "X", 1)));
    EXPECT_FALSE(t.Feed(test::UserMoves(1, 8)));
    EXPECT_FALSE(t.Feed(test::UserMoves(9, 1)));
    EXPECT_FALSE(t.Feed(test::Packet6(pk::UserLeaves, 65535)));
    EXPECT_FALSE(t.Feed(test::RoomRecord(pk::RoomOpened, 8, RoomOpen, 1, "x")));
    EXPECT_FALSE(t.Feed(test::TwoUsers(pk::GameStart, 1, 8)));
    EXPECT_FALSE(t.Feed(test::RoomMembers(8, {{1, "a", "A"}})));
    // An entry out of range is skipped, the others are taken.
    EXPECT_TRUE(t.Feed(test::RoomMembers(2, {{100, "a", "A"}, {3, "c", "C"}})));
    EXPECT_EQ(t.m.Members(2), std::vector<int>{3});
    // A room record whose owner is out of range leaves the room ownerless.
    EXPECT_TRUE(t.Feed(test::RoomRecord(pk::RoomOpened, 5, RoomOpen, 1000, "x", 99, -7)));
    EXPECT_EQ(t.m.Room(5).owner, -1);
    EXPECT_EQ(t.m.Room(5).first, -1);
    // A member count larger than the packet holds reads only whole entries.
    Bytes b = test::RoomMembers(6, {{4, "d", "D"}});
    b[6] = 200;
    EXPECT_TRUE(t.Feed(b));
    EXPECT_EQ(t.m.Members(6), std::vector<int>{4});
    // Short packets are refused.
    Bytes shortArrival = test::UserArrives(1, "alice", "Alice", 13);
    EXPECT_FALSE(t.m.UserArrives(shortArrival.data(), 20));
}

TEST(TCManager, OwnMovesTrackCurrentRoomAndResetEmptiesEverything)
{
    Model t;
    t.Feed(test::RoomMembers(0, {{0, "me", "Me", 20}}));
    t.Feed(test::RoomRecord(pk::RoomOpened, 1, RoomOpen, 0, "mine"));
    EXPECT_EQ(t.m.currentRoom, 1);
    t.m.Reset();
    EXPECT_EQ(t.m.currentRoom, 0);
    EXPECT_TRUE(t.m.Members(1).empty());
    EXPECT_EQ(t.m.User(0).room, -1);
    EXPECT_EQ(t.m.Room(0).title, KS("벨다바둑 대기실"));
    EXPECT_EQ(t.m.Room(0).state, RoomWaiting);
}

// The lobby's counters are kept as people come and go; they must always equal
// the room table added up, whatever order the packets come in.
TEST(TCManager, PeopleCountersFollowEveryChange)
{
    Model t;
    auto expectSums = [&](const char* step) {
        std::int64_t people = 0;
        int rooms = 0;
        for (int r = 0; r < t.m.Count(); ++r) {
            people += t.m.Room(r).people;
            rooms += r > 0 && t.m.Room(r).people > 0;
        }
        EXPECT_EQ(t.m.TotalPeople(), people) << step;
        EXPECT_EQ(t.m.OccupiedRooms(), rooms) << step;
    };
    t.TwoInRoom3();
    expectSums("two in room 3");
    EXPECT_EQ(t.m.OccupiedRooms(), 1);
    t.Feed(test::UserArrives(4, "carol", "Carol", 2));
    t.Feed(test::RoomRecord(pk::RoomSnapshot, 5, RoomOpen, 4, "five", -1, -1, 3));
    t.Feed(test::RoomMembers(5, {{4, "carol", "Carol", 2}}));
    expectSums("snapshot and members");
    t.Feed(test::UserMoves(1, 0));
    t.Feed(test::UserMoves(2, 0));
    expectSums("room 3 emptied");
    t.Feed(test::Packet6(pk::UserLeaves, 4));
    expectSums("carol left");
    // A hostile count is kept within range and an arrival does not overflow it.
    t.Feed(test::RoomRecord(pk::RoomSnapshot, 6, RoomOpen, -1, "six", -1, -1, 0x7fffffff));
    t.Feed(test::UserMoves(2, 6));
    EXPECT_EQ(t.m.Room(6).people, 0x7fffffff);
    expectSums("hostile count");
    t.m.Reset();
    EXPECT_EQ(t.m.TotalPeople(), 0);
    EXPECT_EQ(t.m.OccupiedRooms(), 0);
}

} // namespace
} // namespace zel
