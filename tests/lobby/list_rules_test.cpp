#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/lobby/FriendList.h"
#include "core/lobby/LevelRules.h"
#include "core/lobby/ListRules.h"
#include "core/lobby/UserSearch.h"
#include "core/net/CManager.h"
#include "core/net/PacketCodes.h"
#include "support/LobbyPackets.h"

namespace zel {
namespace {

using test::Bytes;

// Rooms: 0 waiting (me, free1, shy), 5 open (owner open1 + open2), 3 game
// (black, white), 9 review (reviewer), 4 multi-game (host, player, watcher).
struct World {
    TCManager m{40};
    World()
    {
        m.ownUser = 1;
        Open(0, RoomWaiting, -1, 2);
        Room(0, {{1, "me", "Me", 20}, {2, "free1", "Free", 10}});
        Apply(test::UserArrives(12, "shy", "Shy", 5, 10, 0, 10, 30), &TCManager::UserArrives);
        Open(5, RoomOpen, 3, 2);
        Room(5, {{3, "open1", "Opa", 15}, {4, "open2", "Opb", 8}});
        Open(3, RoomGame, 5, 2);
        Room(3, {{5, "black", "Blk", 22, 190}, {6, "white", "Wht", 19, 190}});
        Open(9, RoomReview, 7, 1);
        Room(9, {{7, "rev", "Rev", 2, 180}});
        Open(4, RoomMulti, 8, 3);
        Room(4, {{8, "host", "Host", 33, 200}, {9, "player", "Ply", 12, 190}, {10, "watch", "Wat", 12, 10}});
    }
    void Apply(const Bytes& b, bool (TCManager::*op)(const std::uint8_t*, std::size_t)) { (m.*op)(b.data(), b.size()); }
    void Open(int room, int state, int owner, int people)
    {
        Apply(test::RoomRecord(pk::RoomSnapshot, room, state, owner, "t" + std::to_string(room), owner, -1, people),
              &TCManager::RoomSnapshot);
    }
    void Room(int room, const std::vector<test::MemberEntry>& members)
    {
        Apply(test::RoomMembers(room, members), &TCManager::RoomMembers);
    }
};

TEST(ListRules, RowTexts)
{
    World w;
    EXPECT_EQ(RoomStateWord(RoomGame), KS("대국중"));
    EXPECT_EQ(RoomStateColor(RoomGame), ListColors::Game);
    EXPECT_EQ(RoomStateWord(RoomMulti), KS("다면기"));
    EXPECT_EQ(RoomStateWord(77), "");
    EXPECT_EQ(RoomStateColor(77), ListColors::Text);

    struct Row {
        int user;
        const char* word;
    };
    const std::vector<Row> rows = {{1, "대기"}, {3, "대화"}, {5, "대국"}, {7, "복기"},
                                   {8, "지도"}, {9, "대국"}, {10, "관전"}};
    for (const Row& r : rows)
        EXPECT_EQ(UserStateWord(w.m, r.user), Utf8ToCp949(r.word)) << r.user;

    EXPECT_EQ(UserFlags(w.m.User(12)), "--");
    EXPECT_EQ(UserFlags(w.m.User(1)), "++");
    EXPECT_EQ(LevelColor(0), ListColors::Low);
    EXPECT_EQ(LevelColor(12), ListColors::Game);
    EXPECT_EQ(LevelColor(13), ListColors::Level13);
    EXPECT_EQ(LevelColor(21), ListColors::Review);
    EXPECT_EQ(LevelColor(29), ListColors::Level22);
    EXPECT_EQ(LevelColor(30), ListColors::MultiGame);

    EXPECT_EQ(CutCellText("abcdef", 6), "abcdef");
    EXPECT_EQ(CutCellText("abcdefg", 6), "abcdef.  ");
    EXPECT_EQ(CutCellText(KS("가나다"), 3), KS("가") + ".  "); // never half a character
}

TEST(ListRules, RoomOrderKeepsTheWaitingRoomFirst)
{
    World w;
    std::vector<int> rooms = ListedRooms(w.m);
    EXPECT_EQ(rooms, (std::vector<int>{0, 3, 4, 5, 9}));

    struct Row {
        int column;
        bool ascending;
        std::vector<int> order;
    };
    const std::vector<Row> rows = {
        {RoomColNumber, false, {0, 9, 5, 4, 3}}, {RoomColNumber, true, {0, 3, 4, 5, 9}},
        {RoomColPeople, true, {0, 9, 3, 5, 4}},  {RoomColPeople, false, {0, 4, 3, 5, 9}},
        {RoomColState, true, {0, 5, 9, 3, 4}},   {RoomColTitle, false, {0, 4, 3, 9, 5}},
    };
    for (const Row& r : rows) {
        std::vector<int> order = rooms;
        SortRooms(w.m, order, r.column, r.ascending);
        EXPECT_EQ(order, r.order) << r.column << " " << r.ascending;
    }
}

TEST(ListRules, UserListContentsAndOrder)
{
    World w;
    // Free users: accept invitations and status below 150.
    std::vector<int> free = ListedUsers(w.m, -1);
    std::sort(free.begin(), free.end());
    EXPECT_EQ(free, (std::vector<int>{1, 2, 3, 4, 10}));
    EXPECT_EQ(ListedUsers(w.m, 4), (std::vector<int>{8, 9, 10}));

    std::vector<int> users = {1, 3, 7, 8};
    SortUsers(w.m, users, UserColLevel, false);
    EXPECT_EQ(users, (std::vector<int>{8, 1, 3, 7}));
    SortUsers(w.m, users, UserColName, true); // "Me" < "Opa" < "Rev" < "Host"? byte order
    EXPECT_EQ(users, (std::vector<int>{8, 1, 3, 7}));
    SortUsers(w.m, users, UserColState, true); // review 0, other 1, open 2, waiting 3
    EXPECT_EQ(users, (std::vector<int>{7, 8, 3, 1}));
}

TEST(ListRules, UserMenuEnabling)
{
    struct Row {
        const char* what;
        int ownRoom, user;
        bool gameWindow;
        bool play, watchCaption, invite, records;
    };
    const std::vector<Row> rows = {
        {"waiting room mate who accepts", 0, 2, false, true, false, false, true},
        {"waiting room mate who refuses, profile hidden", 0, 12, false, false, false, false, false},
        {"free user in another room, from the waiting room", 0, 3, false, true, false, false, true},
        {"player in another room", 0, 5, false, false, false, false, true},
        {"room mate in an open room", 5, 4, false, true, false, false, true},
        {"free user elsewhere from an open room", 5, 2, false, true, false, true, true},
        {"game window open", 5, 2, true, false, false, true, true},
        {"multi-game host", 0, 8, false, true, false, false, true},
        {"multi-game player", 0, 9, false, true, true, false, true},
        {"multi-game watcher", 0, 10, false, true, false, false, true},
        {"room mate in a game room", 3, 6, false, false, false, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        World w;
        w.m.currentRoom = r.ownRoom;
        UserMenuState s = PrepareUserMenu(w.m, r.user, r.gameWindow, false);
        EXPECT_EQ(s.enabled[0], r.play);
        EXPECT_EQ(s.watchCaption, r.watchCaption);
        EXPECT_EQ(s.enabled[1], r.invite);
        EXPECT_EQ(s.enabled[3], r.records);
        EXPECT_TRUE(s.enabled[5] && s.enabled[6] && s.enabled[8]);
        EXPECT_FALSE(s.enabled[2] || s.enabled[4] || s.enabled[7]);
    }
    World w;
    EXPECT_TRUE(PrepareUserMenu(w.m, 2, false, true).friendCaption);

    w.m.currentRoom = 4; // in a multi-game room, asking anyone but the host is a watch request
    EXPECT_EQ(ChooseGameAsk(w.m, 9), GameAsk::WatchRequest);
    EXPECT_EQ(ChooseGameAsk(w.m, 8), GameAsk::GameRequest);
    w.m.currentRoom = 5;
    EXPECT_EQ(ChooseGameAsk(w.m, 4), GameAsk::GameRequest);
    EXPECT_EQ(ChooseGameAsk(w.m, 2), GameAsk::GameInvite);
    w.m.currentRoom = 0;
    EXPECT_EQ(ChooseGameAsk(w.m, 2), GameAsk::GameInvite);
}

TEST(UserSearch, Conditions)
{
    World w;
    FriendsInfo friends;
    AddFriend(friends, "rev", "Rev", "16K");
    struct Row {
        int mode;
        std::string text;
        int low, high;
        std::vector<int> users;
    };
    const std::vector<Row> rows = {
        {SearchById, "open", 0, 0, {3, 4}},      {SearchByNickname, "W", 0, 0, {6, 10}},
        {SearchByLevel, "", 12, 15, {3, 9, 10}}, // highest first
        {SearchByLevel, "", 38, 30, {8}},        // professionals in their own numbering, range given backwards
        {SearchByFriend, "", 0, 0, {7}},
    };
    for (const Row& r : rows) {
        SearchResult found = SearchUsers(w.m, r.mode, r.text, r.low, r.high, friends);
        std::vector<int> users = found.users;
        if (r.mode != SearchByLevel)
            std::sort(users.begin(), users.end());
        EXPECT_EQ(users, r.users) << r.mode << " " << r.text;
        EXPECT_TRUE(found.notice.empty());
    }
    EXPECT_EQ(SearchUsers(w.m, SearchById, "", 0, 0, friends).notice, KS("아이디가 입력되지 않았습니다."));
    EXPECT_EQ(SearchUsers(w.m, SearchByNickname, "", 0, 0, friends).notice, KS("대화명이 입력되지 않았습니다."));
    EXPECT_EQ(SearchUsers(w.m, SearchById, "nobody", 0, 0, friends).notice,
              KS("접속자 중에서 일치되는 사람이 없습니다."));
}

TEST(FriendList, AddAndRemove)
{
    FriendsInfo f;
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(AddFriend(f, "f" + std::to_string(i), "n", "3D"));
    EXPECT_FALSE(AddFriend(f, "f2", "n", "3D")); // already there
    f.friends[3].wins = 4;
    EXPECT_TRUE(RemoveFriend(f, "f3"));
    EXPECT_EQ(f.count, 4);
    EXPECT_EQ(f.friends[2].id, "f4");
    EXPECT_EQ(f.friends[2].wins, 4);
    EXPECT_EQ(f.friends[3].id, "f5");
    EXPECT_EQ(f.friends[4].id, "");
    EXPECT_FALSE(RemoveFriend(f, "f3"));

    FriendsInfo full;
    for (int i = 0; i < FriendsInfo::kMax; ++i)
        ASSERT_TRUE(AddFriend(full, "x" + std::to_string(i), "n", "1K"));
    EXPECT_FALSE(AddFriend(full, "one-more", "n", "1K"));
    EXPECT_EQ(full.count, FriendsInfo::kMax);
}

TEST(LevelRules, ProfessionalLevels)
{
    // "프로기사" with "3D" gives 32 and "3P".
    LevelChoice pro = TickProfessional({20, false});
    EXPECT_EQ(LevelFromChoice(pro), 32);
    EXPECT_EQ(RankText(LevelFromChoice(pro), false), "3P");
    EXPECT_EQ(TickProfessional({5, false}).position, kFirstDan);
    EXPECT_FALSE(ChoosePosition(pro, 10).professional);
    EXPECT_TRUE(ChoosePosition(pro, 26).professional);
    EXPECT_EQ(ChoiceFromLevel(38).position, 26);
    EXPECT_TRUE(ChoiceFromLevel(38).professional);
    EXPECT_EQ(LevelFromChoice(ChoiceFromLevel(7)), 7);

    // The search range: entries 27..35 are levels 30..38 both ways.
    for (int level : {0, 26, 30, 34, 38})
        EXPECT_EQ(LevelFromRangeIndex(RangeIndexFromLevel(level)), level);
    EXPECT_EQ(LevelFromRangeIndex(27), 30);
    EXPECT_EQ(RangeEntryText(35), " 9P");
    EXPECT_EQ(RangeEntryText(0), "18K");
}

} // namespace
} // namespace zel
