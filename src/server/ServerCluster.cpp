// The parts of the game server that make several nodes one service: what a
// node publishes for its users' packets and what every node makes of it.
#include <algorithm>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "server/ServerCore.h"

namespace zel {

namespace {

constexpr std::uint16_t kNobody = 0xFFFF;
constexpr int kLoginAttempts = 2;

// A packet from another node is passed on only when it is one whole packet.
bool WholePacket(const std::vector<std::uint8_t>& b)
{
    return b.size() >= PacketHeader::kSize && GetU16(&b[2]) == b.size();
}

} // namespace

void TServerCore::AttachCluster(TClusterIo& cluster)
{
    cluster_ = &cluster;
}

bool TServerCore::Online(int u) const
{
    if (!cluster_)
        return Connected(u);
    if (!lobby_.ValidUser(u))
        return false;
    const Session& s = sessions_[static_cast<std::size_t>(u)];
    return s.conn != 0 || (s.live && !s.leaving);
}

std::set<int> TServerCore::OtherNodes() const
{
    std::set<int> nodes;
    for (std::size_t u = 1; u < sessions_.size(); ++u) {
        if (lobby_.ValidUser(static_cast<int>(u)) && sessions_[u].node != Me())
            nodes.insert(sessions_[u].node);
    }
    return nodes;
}

void TServerCore::Emit(int actor, TClusterEvent e)
{
    if (!cluster_->Up())
        return;
    e.origin = static_cast<std::uint16_t>(Me());
    e.actor = static_cast<std::uint16_t>(actor);
    if (actor > 0)
        ++sessions_[static_cast<std::size_t>(actor)].pending;
    cluster_->Publish(e.Encode());
}

void TServerCore::ClusterLogin(ConnId conn, Conn& c, const std::string& id, const std::uint8_t* p)
{
    if (!cluster_->Up()) {
        Refuse(conn, c, pk::ServerBye);
        return;
    }
    TClusterEvent e = NewEvent(ClusterKind::Login);
    e.conn = conn;
    e.id = id;
    e.nick = GetText(p + 28, 10);
    if (e.nick.empty() || !IsWellFormedCp949(e.nick))
        e.nick = id;
    e.a = p[4] == 10 ? 10 : 20;
    e.b = p[5] == 30 ? 30 : 10;
    e.data.push_back(p[6]);
    c.waiting = true;
    c.record.assign(p, p + 38);
    c.loginEvent = e.Encode();
    cluster_->ClaimUser(conn, id, c.loginEvent);
}

void TServerCore::OnUserClaimed(ConnId conn, int result, std::uint64_t now)
{
    now_ = now;
    auto it = conns_.find(conn);
    if (it == conns_.end() || !it->second.waiting || it->second.closing || result > 0)
        return; // a claimed number comes back with its Login event
    Conn& c = it->second;
    std::string id = GetText(c.record.data() + 20, 8);
    if (result == 0) {
        Refuse(conn, c, pk::ServerBye);
        return;
    }
    int existing = -result;
    // A claim whose login has not come round yet is a login elsewhere in progress.
    bool known = lobby_.ValidUser(existing) && lobby_.User(existing).id == id;
    if (!known || Online(existing)) {
        Refuse(conn, c, pk::DuplicateLogin);
        return;
    }
    if (++c.attempts > kLoginAttempts) {
        Refuse(conn, c, pk::ServerBye);
        return;
    }
    // The id belongs to a user waiting for its re-login: that user leaves and
    // the login is tried again behind its departure.
    Leave(existing);
    cluster_->ClaimUser(conn, id, c.loginEvent);
}

void TServerCore::OnRoomClaimed(const std::vector<std::uint8_t>& event, std::uint64_t now)
{
    now_ = now;
    auto e = TClusterEvent::Decode(event.data(), event.size());
    if (!e || e->origin != Me())
        return;
    int u = e->actor;
    if (e->kind == ClusterKind::Open && Connected(u)) {
        std::string text = KS("   ### [알림] : 빈 방이 없습니다.");
        Bytes b = spk::Simple(pk::NoticeText, 0);
        b.insert(b.end(), text.begin(), text.end());
        PutU16(&b[2], static_cast<std::uint16_t>(b.size()));
        SendTo(u, b);
    }
    Done(u);
}

void TServerCore::OnNodeGone(int node, std::uint64_t now)
{
    now_ = now;
    if (node == Me())
        return;
    TClusterEvent e;
    e.kind = ClusterKind::NodeDown;
    e.number = static_cast<std::uint16_t>(node);
    Emit(0, e);
}

void TServerCore::OnClusterLost(std::uint64_t now)
{
    now_ = now;
    if (Logging())
        Log("store lost: logins refused");
    // Nothing more comes back: held packets go on as far as this node alone can take them.
    for (std::size_t u = 1; u < sessions_.size(); ++u) {
        sessions_[u].pending = 0;
        Drain(static_cast<int>(u));
    }
}

void TServerCore::Leave(int u)
{
    Session& s = sessions_[static_cast<std::size_t>(u)];
    if (s.leaving)
        return;
    if (s.conn != 0) {
        auto it = conns_.find(s.conn);
        if (it != conns_.end())
            it->second.user = -1;
    }
    s.conn = 0;
    s.live = false;
    s.leaving = true;
    s.pending = 0;
    s.held.clear();
    TClusterEvent e = NewEvent(ClusterKind::Leave);
    e.number = static_cast<std::uint16_t>(u);
    e.id = lobby_.User(u).id;
    cluster_->ReleaseUser(u, e.id, e.Encode());
}

void TServerCore::Done(int actor)
{
    if (actor <= 0 || !lobby_.InRange(actor))
        return;
    Session& s = sessions_[static_cast<std::size_t>(actor)];
    if (s.pending > 0)
        --s.pending;
    Drain(actor);
}

void TServerCore::Drain(int u)
{
    while (Connected(u)) {
        Session& s = sessions_[static_cast<std::size_t>(u)];
        if (s.pending > 0 || s.held.empty())
            return;
        Bytes b = std::move(s.held.front());
        s.held.pop_front();
        HandleUser(u, b.data(), b.size());
    }
}

void TServerCore::Released(int room)
{
    if (room > 0 && !lobby_.OpenRoom(room))
        cluster_->ReleaseRoom(room);
}

void TServerCore::OnClusterEvent(const std::uint8_t* data, std::size_t size, std::uint64_t now)
{
    now_ = now;
    auto e = TClusterEvent::Decode(data, size);
    if (!e) {
        if (Logging())
            Log("bad store message len=" + std::to_string(size));
        return;
    }
    Apply(*e);
    if (e->origin == Me())
        Done(e->actor);
}

void TServerCore::Apply(const TClusterEvent& e)
{
    bool mine = e.origin == Me();
    int n = e.number;
    switch (e.kind) {
    case ClusterKind::Login:
        ApplyLogin(e);
        break;
    case ClusterKind::Takeover:
        ApplyTakeover(e);
        break;
    case ClusterKind::Leave:
        if (lobby_.ValidUser(n) && lobby_.User(n).id == e.id) {
            int room = lobby_.User(n).room;
            DoDepart(n);
            if (mine)
                Released(room);
        }
        break;
    case ClusterKind::Drop:
        if (lobby_.ValidUser(n) && sessions_[static_cast<std::size_t>(n)].node == e.origin) {
            Session& s = sessions_[static_cast<std::size_t>(n)];
            s.live = false;
            s.graceUntil = now_ + options_.graceMs;
        }
        break;
    case ClusterKind::NodeDown:
        if (n == Me())
            break;
        for (std::size_t u = 1; u < sessions_.size(); ++u) {
            Session& s = sessions_[u];
            if (lobby_.ValidUser(static_cast<int>(u)) && s.node == n) {
                s.node = e.origin;
                s.live = false;
                s.leaving = false;
                s.graceUntil = now_ + options_.graceMs;
            }
        }
        break;
    case ClusterKind::Move:
        if (lobby_.ValidUser(n) && lobby_.InRange(e.a) && lobby_.OpenRoom(e.a) && lobby_.User(n).room != e.a) {
            int from = DoMove(n, e.a);
            if (mine)
                Released(from);
        }
        break;
    case ClusterKind::Open:
        ApplyOpen(e, mine);
        break;
    case ClusterKind::Match:
        ApplyMatch(e, mine);
        break;
    case ClusterKind::Title:
        if (n > 0 && lobby_.InRange(n) && lobby_.OpenRoom(n) && lobby_.Room(n).owner == e.actor &&
            e.data.size() >= 32) {
            lobby_.SetTitle(n, e.data.data());
            SendAll(spk::RoomRecord(pk::RoomTitle, lobby_, n));
        }
        break;
    case ClusterKind::Profile:
        if (lobby_.ValidUser(n)) {
            TServerUser& user = lobby_.User(n);
            user.invitations = e.a == 10 ? 10 : 20;
            user.profile = e.b == 30 ? 30 : 10;
            user.level = static_cast<std::uint8_t>(e.c);
            SendAll(spk::ProfileChange(lobby_, n));
        }
        break;
    case ClusterKind::GameStart:
        if (e.a != e.b && (e.actor == e.a || e.actor == e.b) && SameRoom(e.a, e.b)) {
            lobby_.StartGame(e.a, e.b);
            SendAll(spk::UserPair(pk::GameStart, e.a, e.b));
        }
        break;
    case ClusterKind::GameEnd:
        if (lobby_.ValidUser(n) && (n == e.actor || SameRoom(e.actor, n))) {
            lobby_.EndGame(n);
            SendAll(spk::Simple(pk::GameEnd, e.number));
        }
        break;
    case ClusterKind::Review:
        if (SameRoom(e.actor, n) && lobby_.User(n).room > 0 && (e.a == pk::ReviewStart || e.a == pk::ReviewEnd)) {
            if (e.a == pk::ReviewStart)
                lobby_.StartReview(n);
            else
                lobby_.EndReview(n);
            SendAll(spk::Simple(e.a, e.number));
        }
        break;
    case ClusterKind::DeliverUser:
        if (WholePacket(e.data))
            SendTo(n, e.data.data(), e.data.size());
        break;
    case ClusterKind::DeliverRoom:
        if (WholePacket(e.data) && lobby_.InRange(n))
            SendRoom(n, e.data.data(), e.data.size(), e.a == kNobody ? -1 : e.a);
        break;
    case ClusterKind::DeliverAll:
        if (!mine && WholePacket(e.data))
            SendAll(e.data.data(), e.data.size());
        break;
    case ClusterKind::Invite:
        if (lobby_.ValidUser(e.actor) && Connected(n) && e.data.size() == 14 && lobby_.InRange(e.a) &&
            (e.b == pk::GameInvite || e.b == pk::RoomInvite))
            ReceiveInvite(e.actor, n, e.a, e.b, e.data);
        break;
    }
}

void TServerCore::ApplyLogin(const TClusterEvent& e)
{
    int u = e.number;
    bool mine = e.origin == Me();
    if (e.id.empty() || e.data.size() != 1 || e.c == 0 || lobby_.FindUser(e.id) >= 0 || !lobby_.TakeUser(u)) {
        if (Logging())
            Log("stale login user=" + std::to_string(u));
        return;
    }
    TServerUser& user = lobby_.User(u);
    lobby_.SetId(u, e.id);
    user.nickname = e.nick.empty() ? e.id : e.nick;
    user.invitations = e.a == 10 ? 10 : 20;
    user.profile = e.b == 30 ? 30 : 10;
    user.level = e.data[0];
    // The store hands out handles, so every node gives the user the same one.
    user.handle = e.c;
    handleUsed_[e.c] = true;
    lobby_.MoveUser(u, 0);
    Session& s = sessions_[static_cast<std::size_t>(u)];
    s = Session{};
    s.node = e.origin;
    s.live = true;
    auto it = mine ? conns_.find(e.conn) : conns_.end();
    if (it != conns_.end() && it->second.waiting && it->second.user < 0 && !it->second.closing) {
        Welcome(e.conn, it->second, u, false);
        return;
    }
    SendAll(spk::UserArrives(lobby_, u), u);
    if (mine)
        Leave(u); // the client went away while its number was claimed
}

void TServerCore::ApplyTakeover(const TClusterEvent& e)
{
    int u = e.number;
    bool mine = e.origin == Me();
    auto it = mine ? conns_.find(e.conn) : conns_.end();
    bool waiting = it != conns_.end() && it->second.waiting && it->second.user < 0 && !it->second.closing;
    if (!lobby_.ValidUser(u) || lobby_.User(u).id != e.id) {
        // The user left before its re-login came round: a fresh login instead.
        if (waiting)
            FreshLogin(e.conn, it->second, e.id, it->second.record.data());
        return;
    }
    Session& s = sessions_[static_cast<std::size_t>(u)];
    if (s.conn != 0 && s.conn != e.conn) {
        // The old connection is dead from the client's side: hand the user over.
        auto old = conns_.find(s.conn);
        if (old != conns_.end()) {
            old->second.user = -1;
            old->second.closing = true;
        }
        io_.Close(s.conn, false);
        s.conn = 0;
    }
    s.node = e.origin;
    s.live = true;
    s.leaving = false;
    s.graceUntil = 0;
    if (!mine)
        return;
    if (waiting) {
        Welcome(e.conn, it->second, u, true);
        return;
    }
    s.live = false;
    s.graceUntil = now_ + options_.graceMs;
    TClusterEvent drop;
    drop.kind = ClusterKind::Drop;
    drop.number = static_cast<std::uint16_t>(u);
    Emit(0, drop);
}

void TServerCore::ApplyOpen(const TClusterEvent& e, bool mine)
{
    int r = e.number;
    int owner = e.a;
    if (r <= 0 || !lobby_.InRange(r) || lobby_.OpenRoom(r))
        return; // a number in use is not given back
    if (!lobby_.ValidUser(owner) || e.data.size() < 32) {
        if (mine)
            cluster_->ReleaseRoom(r);
        return;
    }
    int from = lobby_.User(owner).room;
    std::uint16_t state = e.b == lobby::RoomMulti ? lobby::RoomMulti : lobby::RoomOpen;
    lobby_.Open(r, owner, state, e.data.data());
    SendAll(spk::RoomRecord(pk::RoomOpened, lobby_, r));
    if (mine)
        Released(from);
}

void TServerCore::ApplyMatch(const TClusterEvent& e, bool mine)
{
    int r = e.number;
    int inviter = e.a;
    int invited = e.b;
    if (r <= 0 || !lobby_.InRange(r) || lobby_.OpenRoom(r))
        return;
    if (!lobby_.ValidUser(inviter) || !lobby_.ValidUser(invited) || inviter == invited || e.data.size() < 32) {
        if (mine)
            cluster_->ReleaseRoom(r);
        return;
    }
    int fromInviter = lobby_.User(inviter).room;
    int fromInvited = lobby_.User(invited).room;
    DoMatch(r, inviter, invited, e.data.data());
    if (!mine)
        return;
    Released(fromInviter);
    Released(fromInvited);
    DeliverTo(inviter, spk::Simple(pk::GameRequestGo, static_cast<std::uint16_t>(invited)), true);
}

void TServerCore::DeliverTo(int u, const Bytes& b, bool ordered)
{
    if (!cluster_ || (Connected(u) && !ordered)) {
        SendTo(u, b);
        return;
    }
    if (!lobby_.ValidUser(u) || !cluster_->Up())
        return;
    TClusterEvent e = NewEvent(ClusterKind::DeliverUser);
    e.number = static_cast<std::uint16_t>(u);
    e.data = b;
    cluster_->PublishTo(sessions_[static_cast<std::size_t>(u)].node, e.Encode());
}

void TServerCore::DeliverRoom(int room, const Bytes& b, int except)
{
    SendRoom(room, b, except);
    if (!cluster_ || room < 0 || !cluster_->Up())
        return;
    std::set<int> nodes;
    for (int m : lobby_.Room(room).members) {
        if (m != except && sessions_[static_cast<std::size_t>(m)].node != Me())
            nodes.insert(sessions_[static_cast<std::size_t>(m)].node);
    }
    if (nodes.empty())
        return;
    TClusterEvent e = NewEvent(ClusterKind::DeliverRoom);
    e.number = static_cast<std::uint16_t>(room);
    e.a = except < 0 ? kNobody : static_cast<std::uint16_t>(except);
    e.data = b;
    Bytes encoded = e.Encode();
    for (int node : nodes)
        cluster_->PublishTo(node, encoded);
}

void TServerCore::DeliverAll(const Bytes& b)
{
    SendAll(b);
    if (!cluster_ || !cluster_->Up())
        return;
    TClusterEvent e = NewEvent(ClusterKind::DeliverAll);
    e.data = b;
    cluster_->Publish(e.Encode());
}

} // namespace zel
