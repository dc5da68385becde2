// Watchers and reviewers in one room on a virtual clock: every client is the
// program's own lobby dispatch, game link and session; the relay delivers
// room text to every member (sender included) and private text to its
// addressee, late, doubled or not at all as a test asks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/net/PacketCodes.h"
#include "core/record/HelpList.h"
#include "support/Fakes.h"
#include "support/GameFakes.h"
#include "support/LinkedLobby.h"
#include "support/MemoryFileStore.h"

namespace zel::test {
namespace {

constexpr int kRoom = 5;
constexpr int kStep = 50;

// The review board as the window keeps it: in follow mode another
// reviewer's position is taken, in free mode it is not.
class SimWindow : public RecordingWindow {
public:
    void SeekReviewPosition(int node) override
    {
        RecordingWindow::SeekReviewPosition(node);
        if (follow)
            position = node;
    }
    bool follow = true;
    int position = 0;
};

struct Client {
    Client(const Clock& clock, Random& random, const std::string& id, const std::string& nick)
        : lobby(clock, random, id, nick, 20),
          session(TSessionServices{clock, random, prompts, window, lobby.link, dialogs, files, pending})
    {
        lobby.Attach(session);
    }
    RecordingPrompts prompts;
    SimWindow window;
    ScriptedDialogs dialogs;
    MemoryFileStore files;
    THelpList pending;
    LinkedLobby lobby;
    TBBS2Zel session;
};

struct Faults {
    double duplicate = 0;
    int maxDelayMs = 0;
};

class Room {
public:
    // Users 1 and 2 play; the others watch. `nicks[i]` is user i + 1's.
    Room(const std::vector<std::string>& nicks, const Faults& faults, std::uint64_t seed)
        : faults_(faults), random_(seed), rng_(seed * 7 + 3)
    {
        std::vector<MemberEntry> members;
        for (std::size_t i = 0; i < nicks.size(); ++i) {
            const std::string id = "u" + std::to_string(i + 1);
            clients.push_back(std::make_unique<Client>(clock, random_, id, nicks[i]));
            members.push_back({static_cast<int>(i) + 1, id, nicks[i], 20});
        }
        for (std::size_t i = 0; i < clients.size(); ++i) {
            clients[i]->lobby.Feed(LoginAccepted(static_cast<int>(i) + 1, 0, 16));
            clients[i]->lobby.Feed(RoomMembers(kRoom, members));
        }
        room_.assign(clients.size() + 1, true);
    }
    Client& operator[](int user) { return *clients[static_cast<std::size_t>(user - 1)]; }
    int Users() const { return static_cast<int>(clients.size()); }

    // User `user` leaves the room or comes back, as the server announces it.
    void Move(int user, bool inRoom)
    {
        room_[static_cast<std::size_t>(user)] = inRoom;
        for (auto& c : clients)
            c->lobby.Feed(UserMoves(user, inRoom ? kRoom : 0));
    }

    void StartGame()
    {
        (*this)[1].dialogs.setup = [](TGameSetModel& m) { m.Choice = TGameSetModel::Colour::Black; };
        (*this)[1].lobby.Feed(TwoUsers(pk::GameRequest, 1, 2));
        Run(5000);
    }

    // The player to move plays a random legal point (or passes).
    void PlayOne()
    {
        const int before = (*this)[1].session.Board().MoveCount();
        for (int guard = 0; guard < 400 && (*this)[1].session.Board().MoveCount() == before; ++guard) {
            for (int user : {1, 2}) {
                TBBS2Zel& s = (*this)[user].session;
                if (!s.IsMyTurn() || s.AwaitingReply() || !s.InputEnabled())
                    continue;
                for (int tries = 0; tries < 200; ++tries) {
                    const int x = 1 + static_cast<int>(rng_.Next(19)), y = 1 + static_cast<int>(rng_.Next(19));
                    if (s.Board().IsLegalMove(x, y)) {
                        s.BoardClick(x, y);
                        break;
                    }
                }
                if (s.Board().MoveCount() == before)
                    s.Command(9);
            }
            Run(kStep);
        }
    }

    void Run(int ms)
    {
        for (int t = 0; t < ms; t += kStep) {
            clock.Advance(kStep);
            now_ += kStep;
            Deliver();
            for (auto& c : clients)
                c->lobby.link.Tick(clock.Now());
            Flush();
        }
    }
    // Lets every delayed text arrive.
    void Settle() { Run(faults_.maxDelayMs + 40000); }

    // Texts user `from` sent privately that contain `marker`.
    int PrivateSent(int from, const std::string& marker) const
    {
        auto it = privates_.find(from);
        if (it == privates_.end())
            return 0;
        return static_cast<int>(std::count_if(it->second.begin(), it->second.end(), [&](const std::string& t) {
            return t.find(marker) != std::string::npos;
        }));
    }
    // Room texts to `user` are lost while it is deaf.
    void Deafen(int user, bool deaf) { deaf_[user] = deaf; }

    ManualClock clock{36000000};
    std::vector<std::unique_ptr<Client>> clients;

private:
    struct Item {
        std::int64_t due;
        std::uint64_t seq;
        int to;
        Bytes packet;
    };
    void Flush()
    {
        for (int from = 1; from <= Users(); ++from) {
            for (Bytes& p : (*this)[from].lobby.TakeSent()) {
                const std::uint16_t code = GetU16(p.data());
                if (code == pk::RoomText) {
                    PutU16(p.data() + 4, static_cast<std::uint16_t>(from));
                    for (int to = 1; to <= Users(); ++to)
                        if (room_[static_cast<std::size_t>(to)] && room_[static_cast<std::size_t>(from)] && !deaf_[to])
                            Schedule(from, to, p);
                } else if (code == pk::PrivateText && p.size() >= 12) {
                    PutU16(p.data() + 8, static_cast<std::uint16_t>(from));
                    const int to = GetU16(p.data() + 4);
                    privates_[from].emplace_back(p.begin() + 11, p.end());
                    if (to >= 1 && to <= Users())
                        Schedule(from, to, p);
                }
            }
        }
    }
    void Schedule(int from, int to, const Bytes& p)
    {
        const int copies = rng_.Next(1000) < static_cast<std::uint32_t>(faults_.duplicate * 1000) ? 2 : 1;
        for (int i = 0; i < copies; ++i) {
            std::int64_t due =
                now_ + 1 + (faults_.maxDelayMs > 0 ? rng_.Next(static_cast<std::uint32_t>(faults_.maxDelayMs) + 1) : 0);
            // Each link keeps its order, as TCP does.
            std::int64_t& last = linkDue_[{from, to}];
            due = std::max(due, last);
            last = due;
            items_.push_back({due, seq_++, to, p});
        }
    }
    void Deliver()
    {
        std::stable_sort(items_.begin(), items_.end(),
                         [](const Item& a, const Item& b) { return a.due != b.due ? a.due < b.due : a.seq < b.seq; });
        std::size_t n = 0;
        while (n < items_.size() && items_[n].due <= now_)
            ++n;
        std::vector<Item> due(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(n));
        items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(n));
        for (Item& i : due)
            (*this)[i.to].lobby.Feed(i.packet);
    }

    Faults faults_;
    SeededRandom random_;
    SeededRandom rng_;
    std::int64_t now_ = 0;
    std::vector<bool> room_;
    std::map<int, bool> deaf_;
    std::map<std::pair<int, int>, std::int64_t> linkDue_;
    std::map<int, std::vector<std::string>> privates_;
    std::vector<Item> items_;
    std::uint64_t seq_ = 0;
};

// The transferred state: the game-state line without its game key.
std::size_t StateLength(const TBBS2Zel& black)
{
    const std::string line = black.GameStateLine();
    return line.size() - line.find("\\#") - 2;
}

// An observer who comes into the room once the state is `length` long gets
// it in `pieces` pieces and then follows every move. The players' nicknames
// are padded until a move lands exactly on the length.
void WatchFromLength(std::size_t length, int pieces)
{
    for (int pad = 0; pad < 4; ++pad) {
        Room room({"Black" + std::string(static_cast<std::size_t>(pad), 'x'), "White", "Watcher"}, Faults{}, 5);
        room.Move(3, false);
        room.StartGame();
        ASSERT_TRUE(room[1].session.GameOpen());
        while (StateLength(room[1].session) < length && room[1].session.Board().MoveCount() < 480)
            room.PlayOne();
        if (StateLength(room[1].session) != length)
            continue;
        room.Move(3, true);
        room.Run(3000);
        EXPECT_EQ(room.PrivateSent(1, ">C<"), pieces) << length;
        ASSERT_TRUE(room[3].session.GameOpen()) << length;
        EXPECT_EQ(room[3].window.layout, kObservingLayout);
        EXPECT_EQ(room[3].session.Board().GameText(), room[1].session.Board().GameText()) << length;
        for (int i = 0; i < 6; ++i) {
            room.PlayOne();
            room.Run(2000);
            EXPECT_EQ(room[3].session.Board().GameText(), room[1].session.Board().GameText())
                << length << " move " << room[1].session.Board().MoveCount();
        }
        std::printf("state of %zu characters: %d pieces, watched from move %d\n", length, pieces,
                    room[1].session.Board().MoveCount() - 6);
        return;
    }
    ADD_FAILURE() << "no game reached a state of " << length << " characters";
}

TEST(ObserveSim, NewcomerGetsTheStateInOneOrTwoPiecesAndFollows)
{
    WatchFromLength(899, 1);
    WatchFromLength(900, 1);
    WatchFromLength(901, 2);
}

TEST(ObserveSim, ObserverTwoMovesBehindCatchesUpWithOneRequest)
{
    Room room({"Black", "White", "Watcher"}, Faults{}, 9);
    room.StartGame();
    room.PlayOne();
    room.Run(2000);
    ASSERT_EQ(room[3].session.Board().MoveCount(), 1);
    room.Deafen(3, true);
    room.PlayOne();
    room.PlayOne();
    room.Run(2000);
    room.Deafen(3, false);
    room.PlayOne();
    room.Run(3000);
    EXPECT_EQ(room.PrivateSent(3, ">D<"), 1);
    EXPECT_EQ(room.PrivateSent(1, ">B<"), 1);
    EXPECT_EQ(room[3].session.Board().MoveCount(), 4);
    EXPECT_EQ(room[3].session.Board().GameText(), room[1].session.Board().GameText());
}

TEST(ObserveSim, ObserversEndOnThePlayersPositionUnderDuplicatesAndDelays)
{
    int games = 0, observers = 0, agreeing = 0, askedTotal = 0;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        Room room({"Black", "White", "Ann", "Ben", "Cho"}, Faults{0.10, 2000}, seed);
        room.Move(5, false);
        room.StartGame();
        if (!room[1].session.GameOpen() || !room[2].session.GameOpen())
            continue;
        ++games;
        int asked = 0;
        for (int i = 0; i < 40; ++i) {
            room.PlayOne();
            if (i == 15)
                room.Move(5, true); // one comes in mid-game
            // A watcher whose window did not open presses "바둑 보기": the
            // acceptance can reach it before the request that names the game.
            if (i == 20)
                for (int user = 3; user <= 4; ++user)
                    if (!room[user].session.GameOpen()) {
                        ++asked;
                        room[user].lobby.dispatch.SendRoomRaw(">A<GRR>B<" + room[user].session.MyId);
                    }
        }
        askedTotal += asked;
        room.Settle();
        const std::string final = room[1].session.Board().GameText();
        EXPECT_EQ(room[2].session.Board().GameText(), final) << "seed " << seed;
        for (int user = 3; user <= 5; ++user) {
            ++observers;
            const bool same = room[user].session.Board().GameText() == final;
            if (!same)
                std::printf("seed %llu observer %d: %d moves, open %d, players %d\n",
                            static_cast<unsigned long long>(seed), user, room[user].session.Board().MoveCount(),
                            room[user].session.GameOpen(), room[1].session.Board().MoveCount());
            agreeing += same;
            EXPECT_TRUE(same) << "seed " << seed << " observer " << user;
        }
    }
    std::printf("10 %% duplicates, delays up to 2 s: %d games, %d of %d observers on the final position, %d had "
                "to ask to watch\n",
                games, agreeing, observers, askedTotal);
    EXPECT_GT(games, 0);
}

// Header data padded so that the record's text is `length` characters.
std::string RecordOfLength(std::size_t length, int moves, std::string& compact)
{
    std::string triples;
    for (int i = 0; i < moves; ++i) {
        triples += i % 2 == 0 ? 'B' : 'W';
        triples += static_cast<char>('B' + i % 19);
        triples += static_cast<char>('B' + (i / 19) % 19);
    }
    const std::string title = "long.zel";
    const std::size_t fixed = title.size() + 2 + 2 + 2 + triples.size();
    std::string header = "u1\\#u2\\#AAAF\\#2026-12-08 zel\\#";
    header += std::string(length - fixed - header.size(), 'x');
    compact = header + "\\!" + NumToCode2(moves) + triples;
    return title;
}

TEST(ObserveSim, ReviewFollowsTheHostAndAParticipantFetchesTheRecord)
{
    Room room({"Host", "Ann", "Ben", "Cho"}, Faults{}, 3);
    std::string compact;
    const std::string title = RecordOfLength(1801, 500, compact);
    room[1].files.files[title] = "OOAA...";
    room[2].files.files[title] = "OOAA...";
    room[3].files.files[title] = "OOAA...";
    room[1].window.chosenRecord = title;
    room[1].window.compactRecord = compact;
    ASSERT_TRUE(room[1].session.OpenReview());
    room.Run(4000);
    // Cho had no copy: three pieces of the 1801 characters, written and joined.
    EXPECT_EQ(room.PrivateSent(1, ">C<GSI"), 3);
    ASSERT_TRUE(room[4].files.Exists(title));
    for (int user = 2; user <= 4; ++user)
        ASSERT_EQ(room[user].session.SessionKind(), kReviewSession) << user;

    auto announce = [&](int node) {
        room[1].session.GiboEvent(4, NumToCode2(node));
        room.Run(1500);
    };
    for (int node = 1; node <= 5; ++node)
        announce(node);
    for (int user = 2; user <= 4; ++user)
        EXPECT_EQ(room[user].window.position, 5) << user;
    room[3].window.follow = false; // "자율 진행"
    announce(9);
    EXPECT_EQ(room[2].window.position, 9);
    EXPECT_EQ(room[3].window.position, 5);
    room[3].window.follow = true; // "동시 진행"
    announce(12);
    for (int user = 2; user <= 4; ++user)
        EXPECT_EQ(room[user].window.position, 12) << user;
}

} // namespace
} // namespace zel::test
