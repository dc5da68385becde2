#include "GameSim.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "Fakes.h"
#include "LinkedLobby.h"
#include "MemoryFileStore.h"
#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/game/BBS2Zel.h"
#include "core/game/ElmGoInfo.h"
#include "core/game/GamePorts.h"
#include "core/game/GameSetModel.h"
#include "core/net/CManager.h"
#include "core/net/PacketCodes.h"
#include "core/record/HelpList.h"

namespace zel::test {
namespace {

constexpr std::int64_t kStep = 50;
constexpr int kRoom = 5;

// ZEL_SIM_TRACE=1 prints every game message sent and handed to a session.
bool Tracing()
{
    static const bool on = std::getenv("ZEL_SIM_TRACE") != nullptr;
    return on;
}

class SimClock : public Clock {
public:
    std::int32_t Now() const override { return static_cast<std::int32_t>((start + t) % kDayMs); }
    std::int64_t start = 0;
    std::int64_t t = 0;
};

class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint64_t Next()
    {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 7;
        s_ ^= s_ << 17;
        return s_;
    }
    double Uniform() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }

private:
    std::uint64_t s_;
};

class SimClient;

// The server's part: room text (23020) reaches every member, the sender
// included, private text (23010) its addressee; members[i] is user i + 1.
// The lobby packets the clients send besides texts change nothing here.
class SimRelay {
public:
    SimRelay(Rng& rng, const SimFaults& faults) : rng_(rng), faults_(faults) {}
    // Takes what the client sent since the last call and schedules it.
    void Flush(SimClient& from);
    void Deliver(std::int64_t now);
    // A lobby change announced to every member at once.
    void Announce(const Bytes& packet);
    std::vector<SimClient*> members;
    std::int64_t now = 0;

private:
    struct Item {
        std::int64_t due;
        std::uint64_t seq;
        SimClient* to;
        Bytes packet;
    };
    void Schedule(SimClient* from, SimClient* to, const Bytes& packet);
    Rng& rng_;
    std::map<std::pair<SimClient*, SimClient*>, std::int64_t> linkDue_;
    SimFaults faults_;
    std::vector<Item> items_;
    std::uint64_t seq_ = 0;
};

// A client as the program builds it: the lobby dispatch and the game link
// in front of the session; the window, prompts and dialogs are a random player.
class SimClient : public TGameWindow, public Prompts, public TGameDialogs {
public:
    SimClient(SimClock& clock, const std::string& id, const std::string& nickname, std::uint64_t seed)
        : id(id), clock_(clock), random_(seed), lobby(clock, random_, id, nickname, 20),
          session(TSessionServices{clock, random_, *this, *this, lobby.link, *this, files, pending}), policy_(seed + 17)
    {
        lobby.host.suffix = "sim";
        lobby.Attach(session);
        auto toQueue = std::move(session.OnSendGame);
        session.OnSendGame = [this, toQueue](const std::string& text) {
            if (text.size() >= 11)
                lastCode = text.substr(8, 3);
            if (Tracing())
                std::printf("%8lld %-5s sends %s\n", static_cast<long long>(clock_.t), this->id.c_str(), text.c_str());
            toQueue(text);
        };
    }

    // A packet from the server.
    void OnPacket(const Bytes& packet)
    {
        if (present)
            lobby.Feed(packet);
    }

    void Tick(std::int32_t now) { lobby.link.Tick(now); }

    void Leave()
    {
        present = false;
        lobby.link.Queue().Clear();
    }

    // The random player: thinks, then moves, passes or asks for something.
    void Act(std::int64_t t);

    // TGameWindow
    void ShowSession(int) override {}
    void HideSession() override {}
    void SetBoardInput(bool on) override { boardInput = on; }
    bool ShowsLiveGame() const override { return true; }
    void ShowDeadMarkButton() override {}
    void ShowPlayButton() override {}
    void ShowDeadMarkNotice() override {}
    void ChatLine(const std::string&) override {}
    void ShowCountdown(int) override {}
    void PointChanged(int, int, int, std::uint8_t) override {}
    void ShowBoard(const TGoSnapshot&) override {}
    void RecordWritten(const std::string&, const std::string&) override {}
    void GameKeyChanged(const std::string&) override {}
    void ShowReceivedCommentary(const std::string&) override {}
    std::string ChooseRecord(const std::string&) override { return {}; }
    bool OpenReview(const std::string&, bool, const std::string&) override { return false; }
    bool ShowsReview() const override { return false; }
    void SeekReviewPosition(int) override {}
    void ShowReviewCommentary(const std::string&) override {}
    std::string CompactRecordText() const override { return {}; }

    // Prompts
    void Notify(const std::string&, int) override {}
    void Alert(const std::string&) override {}
    bool Confirm(const std::string& text, const std::string&, const std::string&) override
    {
        if (text == KS("대국 종료 요청입니다."))
            return policy_.Uniform() < 0.85;
        if (text == KS("사석지정에 동의 하십니까?"))
            return policy_.Uniform() < 0.85;
        if (text == KS("물림요청입니다!"))
            return policy_.Uniform() < 0.7;
        return true;
    }

    // TGameDialogs
    bool ShowGameSet(TGameSetModel& m) override
    {
        if (guest) {
            // A guest takes the terms as offered, now and then with stones.
            if (policy_.Uniform() < 0.2)
                m.HandicapChanged(policy_.Between(2, 5));
            m.Confirm(random_);
            return true;
        }
        if (policy_.Uniform() < 0.2)
            m.HandicapChanged(policy_.Between(2, 9));
        if (policy_.Uniform() < 0.2)
            m.KomiChanged(policy_.Below(8));
        if (policy_.Uniform() < 0.15) {
            m.TimeMode = 0;
        } else if (policy_.Uniform() < 0.3) {
            m.KBase = 1;
            m.KSec = 10;
            m.KCount = 1;
        }
        if (policy_.Uniform() < 0.3)
            m.ColourClicked(policy_.Uniform() < 0.5 ? TGameSetModel::Colour::Black : TGameSetModel::Colour::White);
        m.Confirm(random_); // "대국 신청"
        return true;
    }
    bool ShowGameRequest(TGameRequestModel&) override { return true; }

    std::string id;
    bool present = true;
    bool boardInput = false;
    std::string lastCode;
    int targetMoves = 100;
    int ending = 0; // 0 count, 1 resign
    bool mayAdjourn = false;
    int inputOffOnTurn = 0;
    bool guest = false;

private:
    SimClock& clock_;
    SeededRandom random_;

public:
    LinkedLobby lobby;
    MemoryFileStore files;
    THelpList pending;
    TBBS2Zel session;

private:
    Rng policy_;
    std::int64_t deadline_ = -1;
    int marksLeft_ = -1;
    int undos_ = 0;
};

void SimRelay::Flush(SimClient& from)
{
    std::vector<Bytes> sent = from.lobby.TakeSent();
    if (!from.present)
        return;
    int user = 0;
    for (std::size_t i = 0; i < members.size(); ++i)
        if (members[i] == &from)
            user = static_cast<int>(i) + 1;
    for (Bytes& p : sent) {
        std::uint16_t code = GetU16(p.data());
        if (code == pk::RoomText) {
            PutU16(p.data() + 4, static_cast<std::uint16_t>(user));
            for (SimClient* m : members)
                Schedule(&from, m, p);
        } else if (code == pk::PrivateText && p.size() >= 12) {
            PutU16(p.data() + 8, static_cast<std::uint16_t>(user));
            int to = GetU16(p.data() + 4);
            if (to >= 1 && to <= static_cast<int>(members.size()))
                Schedule(&from, members[static_cast<std::size_t>(to - 1)], p);
        }
    }
}

void SimRelay::Announce(const Bytes& packet)
{
    for (SimClient* m : members)
        m->OnPacket(packet);
}

void SimRelay::Schedule(SimClient* from, SimClient* to, const Bytes& packet)
{
    if (rng_.Uniform() < faults_.drop)
        return;
    int copies = rng_.Uniform() < faults_.duplicate ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
        std::int64_t due = now + 1 + (faults_.maxDelayMs > 0 ? rng_.Below(faults_.maxDelayMs + 1) : 0);
        if (!faults_.reorder) {
            std::int64_t& last = linkDue_[{from, to}];
            due = std::max(due, last);
            last = due;
        }
        items_.push_back({due, seq_++, to, packet});
    }
}

void SimRelay::Deliver(std::int64_t t)
{
    now = t;
    std::vector<Item> due;
    auto split = std::partition(items_.begin(), items_.end(), [t](const Item& i) { return i.due > t; });
    due.assign(std::make_move_iterator(split), std::make_move_iterator(items_.end()));
    items_.erase(split, items_.end());
    std::sort(due.begin(), due.end(),
              [](const Item& a, const Item& b) { return a.due != b.due ? a.due < b.due : a.seq < b.seq; });
    for (Item& i : due)
        i.to->OnPacket(i.packet);
}

void SimClient::Act(std::int64_t t)
{
    if (!present || !session.GameOpen() || !session.IsPlayer()) {
        deadline_ = -1;
        marksLeft_ = -1;
        return;
    }
    TGoBoard& board = session.Board();
    if (session.DeadMarkStage() > 0) {
        if (session.DeadMarker() != id) {
            marksLeft_ = -1;
            return;
        }
        if (marksLeft_ < 0) {
            marksLeft_ = policy_.Below(3);
            deadline_ = t + policy_.Between(400, 2000);
        }
        if (t < deadline_)
            return;
        deadline_ = t + 400;
        if (marksLeft_ > 0) {
            --marksLeft_;
            for (int tries = 0; tries < 40; ++tries) {
                int x = policy_.Between(1, 19), y = policy_.Between(1, 19);
                if (board.Colour(x, y) != kEmpty) {
                    session.BoardClick(x, y);
                    break;
                }
            }
            return;
        }
        marksLeft_ = -1;
        deadline_ = -1;
        session.Command(25);
        return;
    }
    marksLeft_ = -1;
    if (!session.IsMyTurn() || session.AwaitingReply()) {
        deadline_ = -1;
        return;
    }
    if (deadline_ < 0) {
        // Now and then a player forgets the clock.
        deadline_ = t + (policy_.Uniform() < 0.004 ? 200000 : policy_.Between(400, 4000));
        return;
    }
    if (t < deadline_)
        return;
    deadline_ = -1;
    int count = board.MoveCount();
    if (count >= targetMoves) {
        session.Command(ending == 1 ? 10 : 11);
        return;
    }
    double r = policy_.Uniform();
    if (r < 0.02 && count > 1 && undos_ < 3) {
        ++undos_;
        session.Command(6);
        return;
    }
    if (r < 0.025 && mayAdjourn) {
        mayAdjourn = false;
        session.Command(12);
        return;
    }
    if (r < 0.06) {
        session.Command(9);
        return;
    }
    if (!boardInput) {
        ++inputOffOnTurn;
        session.Command(9);
        return;
    }
    for (int tries = 0; tries < 80; ++tries) {
        int x = policy_.Between(1, 19), y = policy_.Between(1, 19);
        if (board.IsLegalMove(x, y)) {
            session.BoardClick(x, y);
            return;
        }
    }
    session.Command(9);
}

std::string Summary(SimClient& a, SimClient& b)
{
    auto side = [](SimClient& c) {
        std::string s = c.id + (c.session.GameOpen() ? " open" : " closed");
        if (c.session.GameOpen()) {
            s += c.session.AwaitingReply() ? " waiting" : "";
            s += c.session.IsMyTurn() ? " to-move" : "";
            if (c.session.DeadMarkStage() > 0)
                s += " marking" + std::to_string(c.session.DeadMarkStage());
        }
        return s + " last " + c.lastCode;
    };
    return side(a) + "; " + side(b);
}

} // namespace

SimOutcome RunSimGame(std::uint64_t seed, const SimFaults& faults)
{
    SimOutcome out;
    Rng rng(seed);
    SimClock clock;
    // Some games cross midnight.
    clock.start = rng.Uniform() < 0.1 ? kDayMs - rng.Between(0, 600000) : rng.Below(kDayMs);
    SimRelay relay(rng, faults);
    SimClient a(clock, "alice", "Alice", seed * 2 + 1);
    SimClient b(clock, "bob", "Bob", seed * 2 + 2);
    relay.members = {&a, &b};
    a.session.Mends = (faults.asWritten & 1) == 0;
    b.session.Mends = (faults.asWritten & 2) == 0;
    for (SimClient* c : {&a, &b}) {
        c->lobby.Feed(LoginAccepted(c == &a ? 1 : 2, 0, 16));
        c->lobby.Feed(RoomMembers(kRoom, {{1, "alice", "Alice", 20}, {2, "bob", "Bob", 20}}));
    }
    for (SimClient* c : {&a, &b}) {
        c->targetMoves = rng.Between(10, 160);
        c->ending = rng.Uniform() < 0.3 ? 1 : 0;
        c->mayAdjourn = rng.Uniform() < 0.15;
    }
    b.targetMoves = a.targetMoves;

    std::int64_t disconnectAt = rng.Uniform() < faults.disconnect ? rng.Between(400, 4000) * kStep : -1;
    std::int64_t returnAt = -1;
    SimClient* leaver = rng.Uniform() < 0.5 ? &a : &b;

    int requests = 0;
    std::int64_t idleSince = -1;
    std::int64_t lastProgress = 0;
    int lastA = -1, lastB = -1;
    const std::int64_t kLimit = 6ll * 3600 * 1000;

    // The server announces the request back to its sender (32030).
    auto request = [&](SimClient& from, SimClient& to) {
        ++requests;
        from.OnPacket(TwoUsers(pk::GameRequest, &from == &a ? 1 : 2, &to == &a ? 1 : 2));
        relay.Flush(from);
    };
    request(a, b);

    for (clock.t = 0; clock.t < kLimit; clock.t += kStep) {
        const std::int64_t t = clock.t;
        relay.Deliver(t);
        a.Tick(clock.Now());
        relay.Flush(a);
        b.Tick(clock.Now());
        relay.Flush(b);
        a.Act(t);
        relay.Flush(a);
        b.Act(t);
        relay.Flush(b);

        if (t == disconnectAt && a.session.GameOpen() && b.session.GameOpen()) {
            // "/x", then the server moves the leaver to the waiting room.
            leaver->session.ForcedStop(KS("본인"), leaver->id);
            relay.Flush(*leaver);
            relay.Announce(UserMoves(leaver == &a ? 1 : 2, 0));
            leaver->Leave();
            relay.Flush(a);
            relay.Flush(b);
            returnAt = t + rng.Between(100, 400) * kStep;
        } else if (t == disconnectAt) {
            disconnectAt += 10000;
        }
        if (t == returnAt) {
            leaver->present = true;
            relay.Announce(UserMoves(leaver == &a ? 1 : 2, kRoom));
            lastProgress = t;
        }

        int ca = a.session.Board().MoveCount(), cb = b.session.Board().MoveCount();
        if (ca != lastA || cb != lastB) {
            lastA = ca;
            lastB = cb;
            lastProgress = t;
            if (ca == cb && a.session.GameOpen() && b.session.GameOpen() &&
                a.session.Header().GameId == b.session.Header().GameId &&
                a.session.Board().GameText() != b.session.Board().GameText()) {
                out.positionsAgree = false;
                out.disagreement = "move " + std::to_string(ca) + " at t=" + std::to_string(t);
            }
        }

        bool idle = !a.session.GameOpen() && !b.session.GameOpen() && !a.session.RequestPending() &&
                    !b.session.RequestPending() && a.present && b.present;
        if (!idle) {
            idleSince = -1;
        } else if (idleSince < 0) {
            idleSince = t;
        } else if (t - idleSince >= 3000) {
            idleSince = -1;
            bool recordA = !a.session.LastRecordName().empty(), recordB = !b.session.LastRecordName().empty();
            if (recordA || recordB) {
                out.moves = std::max(ca, cb);
                out.result = a.session.Info().PResult;
                if (recordA && recordB) {
                    const std::string& na = a.session.LastRecordName();
                    out.recordsEqual = na == b.session.LastRecordName() && b.files.files.count(na) &&
                                       a.files.files.at(na) == b.files.files.at(na);
                    bool sameResult = a.session.Info().PResult == b.session.Info().PResult;
                    out.completed = out.recordsEqual && sameResult;
                    if (!out.completed)
                        out.cause = out.recordsEqual ? "different result texts" : "different record files";
                } else {
                    out.cause = std::string("only ") + (recordA ? "alice" : "bob") + " finished: " + Summary(a, b);
                }
                const std::string& r = out.result;
                out.ending = r.find(KS("시간승")) != std::string::npos   ? "time"
                             : r.find(KS("불계승")) != std::string::npos ? "resign"
                                                                         : "count";
                return out;
            }
            SimClient* holder = a.files.Exists("alicebob.tmp") || a.files.Exists("bobalice.tmp")   ? &a
                                : b.files.Exists("alicebob.tmp") || b.files.Exists("bobalice.tmp") ? &b
                                                                                                   : nullptr;
            if (holder) {
                if (++out.adjournments > 6) {
                    out.cause = "adjourned too often";
                    return out;
                }
                request(*holder, holder == &a ? b : a);
            } else if (requests < 4) {
                request(a, b);
            } else {
                out.cause = "no game started after 4 requests";
                return out;
            }
            lastProgress = t;
        }
        if (t - lastProgress > 20 * 60 * 1000) {
            out.cause = "stalled: " + Summary(a, b);
            out.moves = std::max(ca, cb);
            return out;
        }
    }
    out.cause = "time limit: " + Summary(a, b);
    return out;
}

} // namespace zel::test

namespace zel::test {

std::string MultiSimOutcome::Figures() const
{
    return std::to_string(finished) + "/" + std::to_string(games) + " games finished alike (" +
           std::to_string(counted) + " counted, " + std::to_string(resigned) + " resigned, " +
           std::to_string(timeLosses) + " on time), " + std::to_string(restored) + " boards restored, " +
           std::to_string(resumed) + " resumed" + (cause.empty() ? std::string() : "; " + cause);
}

MultiSimOutcome RunMultiSim(std::uint64_t seed, const SimFaults& faults, int guests, bool hostAway)
{
    MultiSimOutcome out;
    Rng rng(seed);
    SimClock clock;
    clock.start = rng.Below(kDayMs - 8 * 3600 * 1000);
    SimRelay relay(rng, faults);
    std::vector<std::unique_ptr<SimClient>> clients;
    clients.push_back(std::make_unique<SimClient>(clock, "host", "Host", seed * 31 + 1));
    for (int i = 1; i <= guests; ++i)
        clients.push_back(std::make_unique<SimClient>(clock, "g" + std::to_string(i), "G" + std::to_string(i),
                                                      seed * 31 + 1 + static_cast<std::uint64_t>(i)));
    std::vector<MemberEntry> members;
    for (std::size_t i = 0; i < clients.size(); ++i)
        members.push_back({static_cast<int>(i) + 1, clients[i]->id, i == 0 ? "Host" : "G" + std::to_string(i), 20});
    for (std::size_t i = 0; i < clients.size(); ++i) {
        SimClient& c = *clients[i];
        relay.members.push_back(&c);
        c.lobby.Feed(LoginAccepted(static_cast<int>(i) + 1, 0, 32));
        c.lobby.Feed(RoomRecord(pk::RoomOpened, kRoom, RoomMulti, 1, "multi"));
        c.lobby.Feed(RoomMembers(kRoom, members));
        c.lobby.link.SetMultiHost("host");
        c.guest = i > 0;
        c.targetMoves = i == 0 ? 1 << 20 : rng.Between(20, 120);
        c.ending = rng.Uniform() < 0.4 ? 1 : 0;
    }
    SimClient& host = *clients[0];
    // Guests ask one after another; the server announces each request back.
    auto request = [&](std::size_t g) {
        SimClient& from = *clients[g];
        from.OnPacket(TwoUsers(pk::GameRequest, static_cast<int>(g) + 1, 1));
        relay.Flush(from);
    };
    std::vector<std::int64_t> askAt(clients.size(), -1);
    std::vector<int> state(clients.size(), 0); // 0 to ask, 1 playing, 3 ended, 2 compared
    std::vector<std::int64_t> closedAt(clients.size(), 0);
    std::vector<std::string> recordOf(clients.size());
    for (std::size_t g = 1; g < clients.size(); ++g)
        askAt[g] = static_cast<std::int64_t>(g) * rng.Between(20, 60) * kStep;

    std::int64_t awayAt = -1, backAt = -1;
    bool wentAway = false;
    std::int64_t lastProgress = 0;
    int lastMoves = -1;
    const std::int64_t kLimit = 8ll * 3600 * 1000;
    for (clock.t = 0; clock.t < kLimit; clock.t += kStep) {
        const std::int64_t t = clock.t;
        relay.Deliver(t);
        for (auto& c : clients) {
            c->Tick(clock.Now());
            relay.Flush(*c);
        }
        for (auto& c : clients) {
            c->Act(t);
            relay.Flush(*c);
        }
        for (std::size_t g = 1; g < clients.size(); ++g) {
            if (askAt[g] >= 0 && t >= askAt[g] && host.present) {
                askAt[g] = -1;
                request(g);
            }
        }
        int moves = 0;
        bool allDone = true;
        for (std::size_t g = 1; g < clients.size(); ++g) {
            SimClient& c = *clients[g];
            moves += c.session.Board().MoveCount();
            if (state[g] == 0 && c.session.GameOpen() && c.session.IsPlayer()) {
                state[g] = 1;
                ++out.games;
            }
            if (state[g] == 1 && !c.session.GameOpen() && !c.session.LastRecordName().empty() &&
                !c.files.Exists(c.id + "host.tmp")) {
                state[g] = 3;
                closedAt[g] = t;
            }
            // The host writes its record when it has handled the last message.
            if (state[g] == 3 && (host.files.Exists(c.session.LastRecordName()) || t - closedAt[g] > 30 * 60 * 1000)) {
                state[g] = 2;
                const std::string& name = c.session.LastRecordName();
                const bool alike = host.files.files.count(name) && c.files.files.count(name) &&
                                   host.files.files.at(name) == c.files.files.at(name);
                const std::string& r = c.session.Info().PResult;
                if (alike) {
                    ++out.finished;
                    if (r.find(KS("시간승")) != std::string::npos)
                        ++out.timeLosses;
                    else if (r.find(KS("불계승")) != std::string::npos)
                        ++out.resigned;
                    else
                        ++out.counted;
                } else if (out.cause.empty()) {
                    out.cause = c.id + ": records differ (" + name + ")";
                    if (std::getenv("ZEL_SIM_DIFF")) {
                        std::printf("guest:\n%s\n", c.files.files.count(name) ? c.files.files.at(name).c_str() : "-");
                        std::printf("host:\n%s\n",
                                    host.files.files.count(name) ? host.files.files.at(name).c_str() : "-");
                    }
                }
            }
            allDone = allDone && state[g] == 2;
        }
        if (moves != lastMoves) {
            lastMoves = moves;
            lastProgress = t;
        }
        // Once every game is under way, the host stops and goes.
        if (hostAway && !wentAway && awayAt < 0 && out.games == guests && moves >= 6 * guests)
            awayAt = t + rng.Between(10, 100) * kStep;
        if (t == awayAt) {
            wentAway = true;
            host.session.ForcedStop(KS("본인"), "host");
            relay.Flush(host);
            relay.Announce(UserMoves(1, 0));
            host.lobby.link.SetMultiHost("");
            host.Leave();
            backAt = t + rng.Between(200, 600) * kStep;
        }
        if (t == backAt) {
            host.present = true;
            relay.Announce(UserMoves(1, kRoom));
            host.lobby.link.SetMultiHost("host");
            out.restored = host.session.ActiveBoards();
            // Every guest whose game was stopped asks to go on with it.
            for (std::size_t g = 1; g < clients.size(); ++g)
                if (clients[g]->files.Exists(clients[g]->id + "host.tmp"))
                    askAt[g] = t + static_cast<std::int64_t>(g) * rng.Between(20, 60) * kStep;
            lastProgress = t;
        }
        if (backAt >= 0 && t > backAt) {
            for (std::size_t g = 1; g < clients.size(); ++g) {
                SimClient& c = *clients[g];
                if (state[g] == 1 && askAt[g] < 0 && recordOf[g].empty() && c.session.GameOpen() &&
                    !c.files.Exists(c.id + "host.tmp")) {
                    recordOf[g] = "resumed";
                    ++out.resumed;
                }
            }
        }
        if (allDone && out.games == guests)
            return out;
        if (t - lastProgress > 20 * 60 * 1000) {
            if (out.cause.empty()) {
                out.cause = "stalled:";
                for (auto& c : clients)
                    out.cause += " " + c->id + (c->session.GameOpen() ? " open" : " closed") +
                                 (c->session.AwaitingReply() ? " waiting" : "") +
                                 (c->session.IsMyTurn() ? " to-move" : "") + " last " + c->lastCode + ";";
            }
            return out;
        }
    }
    if (out.cause.empty())
        out.cause = "time limit";
    return out;
}

} // namespace zel::test
