#include <gtest/gtest.h>

#include <array>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "server/ServerLobby.h"

namespace zel {
namespace {

std::array<std::uint8_t, 32> Title(const std::string& text)
{
    std::array<std::uint8_t, 32> t{};
    PutText(t.data(), t.size(), text);
    return t;
}

class ServerLobbyTest : public ::testing::Test {
protected:
    TServerLobby lobby{10};
    int Add(const std::string& id)
    {
        int u = lobby.AddUser();
        lobby.SetId(u, id);
        lobby.MoveUser(u, 0);
        return u;
    }
};

TEST_F(ServerLobbyTest, NumbersStartAtOneAndAreReused)
{
    int a = Add("a");
    int b = Add("b");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    lobby.RemoveUser(a);
    EXPECT_EQ(Add("c"), 1);
    EXPECT_EQ(lobby.FindUser("b"), b);
    EXPECT_EQ(lobby.FindUser("a"), -1);
    for (int i = 0; i < 7; ++i)
        Add("x" + std::to_string(i));
    EXPECT_EQ(lobby.AddUser(), -1);
}

TEST_F(ServerLobbyTest, OwnerLeavingHandsTheRoomToTheNextMember)
{
    int a = Add("a"), b = Add("b"), c = Add("c");
    auto t = Title("t");
    lobby.Open(1, a, lobby::RoomOpen, t.data());
    lobby.MoveUser(b, 1);
    lobby.MoveUser(c, 1);
    lobby.MoveUser(a, 0);
    EXPECT_EQ(lobby.Room(1).owner, b);
    lobby.MoveUser(c, 0);
    lobby.MoveUser(b, -1);
    // Emptied: reset and free again.
    EXPECT_FALSE(lobby.OpenRoom(1));
    EXPECT_EQ(lobby.Room(1).owner, -1);
    EXPECT_EQ(GetText(lobby.Room(1).title.data(), 32), KS("제목 없음"));
    EXPECT_EQ(lobby.FreeRoom(), 1);
    EXPECT_EQ(lobby.Room(0).members, (std::vector<int>{a, c}));
}

TEST_F(ServerLobbyTest, PlayerLeavingEndsTheGameAndFreesTheOther)
{
    int a = Add("a"), b = Add("b"), w = Add("w");
    auto t = Title("g");
    lobby.Open(2, a, lobby::RoomOpen, t.data());
    lobby.MoveUser(b, 2);
    lobby.MoveUser(w, 2);
    lobby.StartGame(a, b);
    EXPECT_EQ(lobby.Room(2).state, lobby::RoomGame);
    EXPECT_EQ(lobby.User(a).status, lobby::StatusPlaying);
    lobby.MoveUser(b, 0);
    EXPECT_EQ(lobby.Room(2).state, lobby::RoomOpen);
    EXPECT_EQ(lobby.Room(2).first, -1);
    EXPECT_EQ(lobby.User(a).status, lobby::StatusFree);
    EXPECT_EQ(lobby.User(b).status, lobby::StatusFree);

    lobby.StartReview(w);
    EXPECT_EQ(lobby.Room(2).state, lobby::RoomReview);
    lobby.MoveUser(w, 0); // the reviewer leaves
    EXPECT_EQ(lobby.Room(2).state, lobby::RoomOpen);
}

TEST_F(ServerLobbyTest, MultiGameHostKeepsTheRoomAndIsMarkedHosting)
{
    int h = Add("h"), p = Add("p");
    auto t = Title("m");
    lobby.Open(3, h, lobby::RoomMulti, t.data());
    EXPECT_EQ(lobby.User(h).status, lobby::StatusHosting);
    lobby.MoveUser(p, 3);
    lobby.StartGame(h, p);
    EXPECT_EQ(lobby.Room(3).state, lobby::RoomMulti);
    EXPECT_EQ(lobby.User(p).status, lobby::StatusPlaying);
    lobby.EndGame(p);
    EXPECT_EQ(lobby.User(p).status, lobby::StatusFree);
    EXPECT_EQ(lobby.User(h).status, lobby::StatusHosting);
}

} // namespace
} // namespace zel
