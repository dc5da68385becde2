#include "server/ServerCore.h"

#include <algorithm>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "server/ClientHeaderRules.h"

namespace zel {

namespace {

// A CP949 field made safe for one log line: UTF-8, no blanks or controls.
std::string Printable(const std::string& cp949)
{
    std::string text = Cp949ToUtf8(cp949);
    for (char& ch : text) {
        if (static_cast<unsigned char>(ch) <= 32 || ch == 127)
            ch = '_';
    }
    return text.empty() ? "-" : text;
}

std::uint32_t InviteKey(int inviter, int invited)
{
    return (static_cast<std::uint32_t>(inviter) << 16) | static_cast<std::uint32_t>(invited);
}

constexpr std::size_t kMaxInvitations = 10000;

} // namespace

TServerCore::TServerCore(TServerIo& io, Options options)
    : io_(io), options_(options), lobby_(options.tableSize), sessions_(options.tableSize)
{
}

void TServerCore::OnConnected(ConnId conn, std::uint64_t now)
{
    now_ = now;
    if (now < refuseUntil_) {
        if (Logging())
            Log("refuse conn=" + std::to_string(conn));
        io_.Close(conn, false);
        return;
    }
    Conn c{PacketAssembler(&IsValidClientHeader)};
    c.openedAt = now;
    conns_.emplace(conn, std::move(c));
    SendConn(conn, spk::Simple(pk::Greeting, 0));
}

void TServerCore::OnBytes(ConnId conn, const std::uint8_t* data, std::size_t size, std::uint64_t now)
{
    now_ = now;
    auto it = conns_.find(conn);
    if (it == conns_.end() || it->second.closing)
        return;
    Conn& c = it->second;
    bool framed = c.assembler.Feed(
        data, size, [&c]() { return !c.closing; },
        [&](const std::uint8_t* p, std::size_t n) { Handle(conn, c, p, n); });
    if (!framed) {
        if (Logging())
            Log("garbage conn=" + std::to_string(conn));
        Drop(conn);
    }
}

void TServerCore::OnClosed(ConnId conn, std::uint64_t now)
{
    now_ = now;
    auto it = conns_.find(conn);
    if (it == conns_.end())
        return;
    int u = it->second.user;
    conns_.erase(it);
    if (u < 0 || sessions_[static_cast<std::size_t>(u)].conn != conn)
        return;
    Session& s = sessions_[static_cast<std::size_t>(u)];
    if (s.departing) {
        Depart(u);
        return;
    }
    s.conn = 0;
    s.graceUntil = now + options_.graceMs;
    if (Logging())
        Log("grace user=" + std::to_string(u) + " ms=" + std::to_string(options_.graceMs));
    if (cluster_) {
        s.live = false;
        TClusterEvent e;
        e.kind = ClusterKind::Drop;
        e.number = static_cast<std::uint16_t>(u);
        Emit(0, e);
    }
}

void TServerCore::Tick(std::uint64_t now)
{
    now_ = now;
    for (std::size_t u = 0; u < sessions_.size(); ++u) {
        int n = static_cast<int>(u);
        const Session& s = sessions_[u];
        if (!lobby_.ValidUser(n) || s.conn != 0 || s.graceUntil > now)
            continue;
        // With several nodes the node holding the user ends its grace.
        if (!cluster_ || (s.node == Me() && !s.live && !s.leaving))
            Depart(n);
    }
    for (auto& [conn, c] : conns_) {
        if (c.user < 0 && !c.closing && now - c.openedAt >= options_.loginMs) {
            if (Logging())
                Log("idle conn=" + std::to_string(conn));
            c.closing = true;
            io_.Close(conn, false);
        }
    }
}

void TServerCore::Drop(ConnId conn)
{
    Conn& c = conns_.at(conn);
    if (c.user >= 0)
        Depart(c.user);
    c.user = -1;
    c.closing = true;
    io_.Close(conn, false);
}

void TServerCore::Handle(ConnId conn, Conn& c, const std::uint8_t* p, std::size_t n)
{
    PacketHeader h = PacketHeader::Decode(p);
    bool loginRecord = h.code == pk::Login || h.code == pk::ReLogin || h.code == pk::Probe;
    if (Logging()) {
        std::string line = "recv conn=" + std::to_string(conn) + " code=" + std::to_string(h.code) +
                           " len=" + std::to_string(h.length) + " arg=" + std::to_string(h.argument);
        if (loginRecord)
            line += " user=" + std::to_string(GetU16(p + 10)) + " room=" + std::to_string(GetU16(p + 12)) +
                    " id=" + Printable(GetText(p + 20, 8));
        Log(line);
    }
    if (c.closing)
        return;
    if (loginRecord) {
        if (c.user >= 0 || c.waiting)
            return;
        if (h.code == pk::Probe)
            HandleProbe(conn, p);
        else
            HandleLogin(conn, c, p, h.code);
        return;
    }
    if (h.code == pk::Leave) {
        if (c.user >= 0)
            Depart(c.user);
        c.user = -1;
        c.closing = true;
        io_.Close(conn, true);
        return;
    }
    if (c.user < 0)
        return;
    if (cluster_) {
        Session& s = sessions_[static_cast<std::size_t>(c.user)];
        if (s.pending > 0 || !s.held.empty()) {
            if (s.held.size() >= kMaxHeld) {
                Drop(conn);
                return;
            }
            s.held.emplace_back(p, p + n);
            return;
        }
    }
    HandleUser(c.user, p, n);
}

void TServerCore::HandleLogin(ConnId conn, Conn& c, const std::uint8_t* p, std::uint16_t code)
{
    std::string id = GetText(p + 20, 8);
    if (id.empty() || !IsWellFormedCp949(id)) {
        c.closing = true;
        io_.Close(conn, false);
        return;
    }
    if (code == pk::ReLogin && cluster_) {
        int u = GetU16(p + 10);
        if (lobby_.ValidUser(u) && lobby_.User(u).id == id && !sessions_[static_cast<std::size_t>(u)].leaving) {
            if (!cluster_->Up()) {
                Refuse(conn, c, pk::ServerBye);
                return;
            }
            c.waiting = true;
            c.record.assign(p, p + 38);
            TClusterEvent e;
            e.kind = ClusterKind::Takeover;
            e.number = static_cast<std::uint16_t>(u);
            e.conn = conn;
            e.id = id;
            Emit(0, e);
            return;
        }
    }
    if (code == pk::ReLogin && !cluster_) {
        int u = GetU16(p + 10);
        if (lobby_.ValidUser(u) && lobby_.User(u).id == id && !sessions_[static_cast<std::size_t>(u)].departing) {
            Session& s = sessions_[static_cast<std::size_t>(u)];
            if (s.conn != 0 && s.conn != conn) {
                // The old connection is dead from the client's side: hand the user over.
                auto old = conns_.find(s.conn);
                if (old != conns_.end()) {
                    old->second.user = -1;
                    old->second.closing = true;
                }
                io_.Close(s.conn, false);
            }
            Welcome(conn, c, u, true);
            return;
        }
    }
    FreshLogin(conn, c, id, p);
}

void TServerCore::Welcome(ConnId conn, Conn& c, int u, bool relogin)
{
    Attach(conn, c, u);
    if (relogin) {
        int room = std::max(lobby_.User(u).room, 0);
        if (Logging())
            Log("relogin conn=" + std::to_string(conn) + " user=" + std::to_string(u) +
                " room=" + std::to_string(room));
        SendConn(conn, spk::LoginAccepted(u, room, lobby_.Size()));
        SendConn(conn, spk::Simple(pk::LobbyReset, 0));
        SendLobby(u);
        return;
    }
    if (Logging())
        Log("login conn=" + std::to_string(conn) + " user=" + std::to_string(u) +
            " id=" + Printable(lobby_.User(u).id) + " handle=" + std::to_string(lobby_.User(u).handle));
    SendConn(conn, spk::LoginAccepted(u, 0, lobby_.Size()));
    SendAll(spk::UserArrives(lobby_, u), u);
    SendLobby(u);
}

void TServerCore::Refuse(ConnId conn, Conn& c, std::uint16_t code)
{
    c.waiting = false;
    SendConn(conn, spk::Simple(code, 0));
    c.closing = true;
    io_.Close(conn, true);
}

void TServerCore::FreshLogin(ConnId conn, Conn& c, const std::string& id, const std::uint8_t* p)
{
    if (cluster_) {
        ClusterLogin(conn, c, id, p);
        return;
    }
    int existing = lobby_.FindUser(id);
    if (existing >= 0) {
        if (Connected(existing)) {
            SendConn(conn, spk::Simple(pk::DuplicateLogin, 0));
            c.closing = true;
            io_.Close(conn, true);
            return;
        }
        Depart(existing);
    }
    int u = lobby_.AddUser();
    if (u < 0) {
        SendConn(conn, spk::Simple(pk::ServerBye, 0));
        c.closing = true;
        io_.Close(conn, true);
        return;
    }
    TServerUser& user = lobby_.User(u);
    lobby_.SetId(u, id);
    user.nickname = GetText(p + 28, 10);
    if (user.nickname.empty() || !IsWellFormedCp949(user.nickname))
        user.nickname = id;
    user.invitations = p[4] == 10 ? 10 : 20;
    user.profile = p[5] == 30 ? 30 : 10;
    user.level = p[6];
    user.handle = NewHandle();
    lobby_.MoveUser(u, 0);
    Welcome(conn, c, u, false);
}

void TServerCore::Attach(ConnId conn, Conn& c, int u)
{
    Session& s = sessions_[static_cast<std::size_t>(u)];
    s.conn = conn;
    s.graceUntil = 0;
    s.silentUntil = 0;
    s.departing = false;
    s.node = Me();
    s.live = true;
    s.leaving = false;
    c.user = u;
    c.waiting = false;
}

void TServerCore::SendLobby(int u)
{
    for (std::size_t r = 0; r < lobby_.Size(); ++r) {
        if (lobby_.OpenRoom(static_cast<int>(r)))
            SendTo(u, spk::RoomRecord(pk::RoomSnapshot, lobby_, static_cast<int>(r)));
    }
    for (std::size_t r = 0; r < lobby_.Size(); ++r) {
        int room = static_cast<int>(r);
        if (!lobby_.OpenRoom(room))
            continue;
        for (std::size_t first = 0; first < lobby_.Room(room).members.size(); first += spk::kMembersPerPacket)
            SendTo(u, spk::RoomMembers(lobby_, room, first));
    }
    SendTo(u, spk::Simple(pk::LobbyEntered, 0));
}

void TServerCore::HandleProbe(ConnId conn, const std::uint8_t* p)
{
    int u = GetU16(p + 10);
    std::string id = GetText(p + 20, 8);
    std::uint16_t verdict = pk::VerdictUnknown;
    if (lobby_.ValidUser(u) && lobby_.User(u).id == id && !sessions_[static_cast<std::size_t>(u)].departing &&
        !sessions_[static_cast<std::size_t>(u)].leaving)
        verdict = Online(u) ? pk::VerdictAlive : pk::VerdictReconnect;
    if (Logging())
        Log("probe conn=" + std::to_string(conn) + " user=" + std::to_string(u) +
            " verdict=" + std::to_string(verdict));
    SendConn(conn, spk::Simple(pk::ProbeVerdict, verdict));
}

void TServerCore::Depart(int u)
{
    if (cluster_ && cluster_->Up()) {
        Leave(u);
        return;
    }
    DoDepart(u);
}

void TServerCore::DoDepart(int u)
{
    for (auto it = invitations_.begin(); it != invitations_.end();) {
        bool involved = static_cast<int>(it->first >> 16) == u || static_cast<int>(it->first & 0xFFFF) == u;
        it = involved ? invitations_.erase(it) : std::next(it);
    }
    Session& s = sessions_[static_cast<std::size_t>(u)];
    if (s.conn != 0) {
        auto it = conns_.find(s.conn);
        if (it != conns_.end())
            it->second.user = -1;
    }
    s = Session{};
    handleUsed_[lobby_.User(u).handle] = false;
    lobby_.RemoveUser(u);
    if (Logging())
        Log("leave user=" + std::to_string(u));
    SendAll(spk::Simple(pk::UserLeaves, static_cast<std::uint16_t>(u)));
}

void TServerCore::HandleUser(int u, const std::uint8_t* p, std::size_t n)
{
    PacketHeader h = PacketHeader::Decode(p);
    int room = lobby_.User(u).room;
    switch (h.code) {
    case pk::PrivateText:
        PrivateText(u, p, n);
        break;
    case pk::RoomText:
    case pk::NoticeText: {
        // The relayed copy is built once, in a buffer kept for it, and shared by every member.
        relay_.assign(p, p + n);
        PutU16(&relay_[4], static_cast<std::uint16_t>(u));
        if (h.code == pk::RoomText)
            DeliverRoom(room, relay_);
        else
            DeliverAll(relay_);
        break;
    }
    case pk::MakeRoom:
        MakeRoom(u, p);
        break;
    case pk::EnterRoom:
        EnterRoom(u, GetU16(p + 6));
        break;
    case pk::RoomTitle:
        if (room > 0 && lobby_.Room(room).owner == u) {
            if (cluster_) {
                TClusterEvent e;
                e.kind = ClusterKind::Title;
                e.number = static_cast<std::uint16_t>(room);
                e.data.assign(p + 28, p + 60);
                Emit(u, e);
                break;
            }
            lobby_.SetTitle(room, p + 28);
            SendAll(spk::RoomRecord(pk::RoomTitle, lobby_, room));
        }
        break;
    case pk::ProfileChange: {
        if (cluster_) {
            TClusterEvent e;
            e.kind = ClusterKind::Profile;
            e.number = static_cast<std::uint16_t>(u);
            e.a = p[8];
            e.b = p[9];
            e.c = p[10];
            Emit(u, e);
            break;
        }
        TServerUser& user = lobby_.User(u);
        user.invitations = p[8] == 10 ? 10 : 20;
        user.profile = p[9] == 30 ? 30 : 10;
        user.level = p[10];
        SendAll(spk::ProfileChange(lobby_, u));
        break;
    }
    case pk::GameInvite:
    case pk::RoomInvite:
        Invite(u, p, h.code);
        break;
    case pk::GameInviteAccept:
    case pk::RoomInviteAccept:
        Accept(u, p, h.code);
        break;
    case pk::RoomInviteRefuse:
    case pk::GameInviteRefuse:
        Refusal(u, p, h.code);
        break;
    case pk::GameRequest: {
        int target = GetU16(p + 6);
        if (target != u && SameRoom(u, target))
            DeliverRoom(room, spk::UserPair(pk::GameRequest, u, target));
        break;
    }
    case pk::GameRequestCancel:
    case pk::GameRequestRefuse:
        RequestAnswer(u, h.code, h.argument);
        break;
    case pk::GameStart: {
        int black = GetU16(p + 4);
        int white = GetU16(p + 6);
        if (black != white && (u == black || u == white) && SameRoom(black, white)) {
            if (cluster_) {
                TClusterEvent e;
                e.kind = ClusterKind::GameStart;
                e.a = static_cast<std::uint16_t>(black);
                e.b = static_cast<std::uint16_t>(white);
                Emit(u, e);
                break;
            }
            lobby_.StartGame(black, white);
            SendAll(spk::UserPair(pk::GameStart, black, white));
        }
        break;
    }
    case pk::GameEnd:
        if (h.argument == u || SameRoom(u, h.argument)) {
            if (cluster_) {
                TClusterEvent e;
                e.kind = ClusterKind::GameEnd;
                e.number = h.argument;
                Emit(u, e);
                break;
            }
            lobby_.EndGame(h.argument);
            SendAll(spk::Simple(pk::GameEnd, h.argument));
        }
        break;
    case pk::ReviewStart:
    case pk::ReviewEnd:
        if (room > 0 && SameRoom(u, h.argument)) {
            if (cluster_) {
                TClusterEvent e;
                e.kind = ClusterKind::Review;
                e.number = h.argument;
                e.a = h.code;
                Emit(u, e);
                break;
            }
            if (h.code == pk::ReviewStart)
                lobby_.StartReview(h.argument);
            else
                lobby_.EndReview(h.argument);
            SendAll(spk::Simple(h.code, h.argument));
        }
        break;
    default:
        break; // 10000, 11050, 21050: accepted and not acted on
    }
}

void TServerCore::PrivateText(int u, const std::uint8_t* p, std::size_t n)
{
    int to = GetU16(p + 4);
    std::uint16_t handle = GetU16(p + 6);
    if (!lobby_.ValidUser(to) || lobby_.User(to).handle != handle) {
        if (Logging())
            Log("misaddressed user=" + std::to_string(to) + " handle=" + std::to_string(handle));
        return;
    }
    Bytes b(p, p + n);
    PutU16(&b[8], static_cast<std::uint16_t>(u));
    b[n - 1] = 0;
    DeliverTo(to, b);
}

void TServerCore::MakeRoom(int u, const std::uint8_t* p)
{
    std::uint16_t asked = GetU16(p + 6) == lobby::RoomMulti ? lobby::RoomMulti : lobby::RoomOpen;
    if (cluster_) {
        if (!cluster_->Up())
            return;
        TClusterEvent e = NewEvent(ClusterKind::Open);
        e.actor = static_cast<std::uint16_t>(u);
        e.a = static_cast<std::uint16_t>(u);
        e.b = asked;
        e.data.assign(p + 28, p + 60);
        ++sessions_[static_cast<std::size_t>(u)].pending;
        cluster_->ClaimRoom(e.Encode());
        return;
    }
    int r = lobby_.FreeRoom();
    if (r < 0) {
        std::string text = KS("   ### [알림] : 빈 방이 없습니다.");
        Bytes b = spk::Simple(pk::NoticeText, 0);
        b.insert(b.end(), text.begin(), text.end());
        PutU16(&b[2], static_cast<std::uint16_t>(b.size()));
        SendTo(u, b);
        return;
    }
    lobby_.Open(r, u, asked, p + 28);
    SendAll(spk::RoomRecord(pk::RoomOpened, lobby_, r));
}

void TServerCore::EnterRoom(int u, int room)
{
    if (!lobby_.InRange(room) || !lobby_.OpenRoom(room) || lobby_.User(u).room == room)
        return;
    if (cluster_) {
        TClusterEvent e;
        e.kind = ClusterKind::Move;
        e.number = static_cast<std::uint16_t>(u);
        e.a = static_cast<std::uint16_t>(room);
        Emit(u, e);
        return;
    }
    DoMove(u, room);
}

int TServerCore::DoMove(int u, int room)
{
    int from = lobby_.User(u).room;
    lobby_.MoveUser(u, room);
    SendAll(spk::UserMoves(u, room));
    if (room == 0)
        return from;
    for (std::size_t first = 0; first < lobby_.Room(room).members.size(); first += spk::kMembersPerPacket)
        SendTo(u, spk::RoomMembers(lobby_, room, first));
    return from;
}

void TServerCore::Invite(int u, const std::uint8_t* p, std::uint16_t code)
{
    int invited = GetU16(p + 8);
    if (invited == u || !Online(invited))
        return;
    Bytes b(p, p + 14);
    int room = std::max(lobby_.User(u).room, 0);
    PutU16(&b[4], static_cast<std::uint16_t>(u));
    PutU16(&b[10], lobby_.User(invited).handle);
    PutU16(&b[12], static_cast<std::uint16_t>(room));
    if (Connected(invited)) {
        ReceiveInvite(u, invited, room, code, b);
    } else {
        // The invitation is kept where the invited user answers it.
        TClusterEvent e = NewEvent(ClusterKind::Invite);
        e.actor = static_cast<std::uint16_t>(u);
        e.number = static_cast<std::uint16_t>(invited);
        e.a = static_cast<std::uint16_t>(room);
        e.b = code;
        e.data = b;
        cluster_->PublishTo(sessions_[static_cast<std::size_t>(invited)].node, e.Encode());
    }
    SendTo(u, spk::Simple(pk::InviteSent, code == pk::GameInvite ? pk::SendInviteDone : pk::RoomInviteDone));
}

void TServerCore::ReceiveInvite(int inviter, int invited, int room, std::uint16_t code, const Bytes& b)
{
    if (invitations_.size() >= kMaxInvitations)
        invitations_.erase(invitations_.begin());
    invitations_[InviteKey(inviter, invited)] = Invitation{room, code};
    SendTo(invited, b);
}

void TServerCore::Accept(int u, const std::uint8_t* p, std::uint16_t code)
{
    int inviter = GetU16(p + 4);
    std::uint16_t asked = code == pk::GameInviteAccept ? pk::GameInvite : pk::RoomInvite;
    auto it = lobby_.ValidUser(inviter) ? invitations_.find(InviteKey(inviter, u)) : invitations_.end();
    if (it == invitations_.end() || it->second.code != asked) {
        if (Logging())
            Log("uninvited user=" + std::to_string(u) + " inviter=" + std::to_string(inviter));
        return;
    }
    int room = it->second.room;
    invitations_.erase(it);
    if (code == pk::RoomInviteAccept) {
        EnterRoom(u, room);
        return;
    }
    // A game request: both players need a room of their own to play in.
    room = lobby_.User(inviter).room;
    if (room <= 0) {
        std::array<std::uint8_t, 32> title{};
        PutText(title.data(), 31, KS("대국실"));
        if (cluster_) {
            // The go-ahead follows once the room is there.
            if (!cluster_->Up())
                return;
            TClusterEvent e = NewEvent(ClusterKind::Match);
            e.actor = static_cast<std::uint16_t>(u);
            e.a = static_cast<std::uint16_t>(inviter);
            e.b = static_cast<std::uint16_t>(u);
            e.data.assign(title.begin(), title.end());
            ++sessions_[static_cast<std::size_t>(u)].pending;
            cluster_->ClaimRoom(e.Encode());
            return;
        }
        room = lobby_.FreeRoom();
        if (room < 0)
            return;
        DoMatch(room, inviter, u, title.data());
    } else {
        EnterRoom(u, room);
    }
    DeliverTo(inviter, spk::Simple(pk::GameRequestGo, static_cast<std::uint16_t>(u)), true);
}

void TServerCore::DoMatch(int room, int inviter, int invited, const std::uint8_t* title32)
{
    lobby_.Open(room, inviter, lobby::RoomOpen, title32);
    lobby_.MoveUser(invited, room);
    Bytes b(48, 0);
    PacketHeader{pk::MatchRoom, 48, static_cast<std::uint16_t>(room)}.Encode(b.data());
    PutU16(&b[4], static_cast<std::uint16_t>(room));
    PutU16(&b[6], static_cast<std::uint16_t>(inviter));
    PutU16(&b[8], static_cast<std::uint16_t>(invited));
    std::copy(title32, title32 + 32, b.begin() + 16);
    SendAll(b);
}

void TServerCore::Refusal(int u, const std::uint8_t* p, std::uint16_t code)
{
    int inviter = GetU16(p + 6);
    std::uint16_t asked = code == pk::GameInviteRefuse ? pk::GameInvite : pk::RoomInvite;
    auto it = lobby_.ValidUser(inviter) ? invitations_.find(InviteKey(inviter, u)) : invitations_.end();
    if (it == invitations_.end() || it->second.code != asked)
        return;
    invitations_.erase(it);
    Bytes b(p, p + 42);
    PutU16(&b[4], static_cast<std::uint16_t>(u));
    PutText(&b[10], 31, GetText(&b[10], 31));
    b[41] = 0;
    DeliverTo(inviter, b);
}

void TServerCore::RequestAnswer(int u, std::uint16_t code, int target)
{
    Bytes b = spk::Simple(code, static_cast<std::uint16_t>(u));
    if (target != u && SameRoom(u, target))
        DeliverTo(target, b);
    else
        DeliverRoom(lobby_.User(u).room, b, u);
}

bool TServerCore::Kick(const std::string& id)
{
    int u = lobby_.FindUser(id);
    if (u < 0 || !Connected(u))
        return false;
    ConnId conn = sessions_[static_cast<std::size_t>(u)].conn;
    conns_.at(conn).closing = true;
    io_.Close(conn, false);
    return true;
}

bool TServerCore::Bye(const std::string& id)
{
    int u = lobby_.FindUser(id);
    if (u < 0 || !Connected(u))
        return false;
    SendTo(u, spk::Simple(pk::ServerBye, 0));
    sessions_[static_cast<std::size_t>(u)].departing = true;
    return true;
}

bool TServerCore::Silence(const std::string& id, std::uint64_t ms, std::uint64_t now)
{
    int u = lobby_.FindUser(id);
    if (u < 0)
        return false;
    sessions_[static_cast<std::size_t>(u)].silentUntil = now + ms;
    return true;
}

void TServerCore::Notice(const std::string& text)
{
    std::string line = KS("   ### [알림] : ") + text;
    line.resize(Cp949PrefixLength(line, 2048));
    Bytes b = spk::Simple(pk::NoticeText, 0);
    b.insert(b.end(), line.begin(), line.end());
    PutU16(&b[2], static_cast<std::uint16_t>(b.size()));
    SendAll(b);
}

std::string TServerCore::Users(bool grace) const
{
    std::string out;
    for (std::size_t u = 0; u < lobby_.Size(); ++u) {
        int n = static_cast<int>(u);
        // With several nodes each node lists the users it holds.
        if (!lobby_.ValidUser(n) || Connected(n) == grace || sessions_[u].node != Me())
            continue;
        if (!out.empty())
            out += ' ';
        out += Printable(lobby_.User(n).id) + ":" + std::to_string(n) + ":" + std::to_string(lobby_.User(n).room);
    }
    return out;
}

void TServerCore::SendConn(ConnId conn, const std::uint8_t* p, std::size_t n)
{
    if (Logging()) {
        PacketHeader h = PacketHeader::Decode(p);
        Log("send conn=" + std::to_string(conn) + " code=" + std::to_string(h.code) +
            " len=" + std::to_string(h.length) + " arg=" + std::to_string(h.argument));
    }
    io_.Send(conn, p, n);
}

void TServerCore::SendTo(int u, const std::uint8_t* p, std::size_t n)
{
    if (!Connected(u))
        return;
    const Session& s = sessions_[static_cast<std::size_t>(u)];
    if (now_ < s.silentUntil)
        return;
    SendConn(s.conn, p, n);
}

void TServerCore::SendRoom(int room, const std::uint8_t* p, std::size_t n, int except)
{
    if (room < 0)
        return;
    // TServerIo::Send never calls back, so the member list cannot change under the loop.
    for (int m : lobby_.Room(room).members) {
        if (m != except)
            SendTo(m, p, n);
    }
}

void TServerCore::SendAll(const std::uint8_t* p, std::size_t n, int except)
{
    for (std::size_t u = 0; u < lobby_.Size(); ++u) {
        if (static_cast<int>(u) != except)
            SendTo(static_cast<int>(u), p, n);
    }
}

bool TServerCore::Connected(int u) const
{
    return lobby_.ValidUser(u) && sessions_[static_cast<std::size_t>(u)].conn != 0;
}

bool TServerCore::SameRoom(int a, int b) const
{
    return lobby_.ValidUser(a) && lobby_.ValidUser(b) && lobby_.User(a).room >= 0 &&
           lobby_.User(a).room == lobby_.User(b).room;
}

std::uint16_t TServerCore::NewHandle()
{
    // At most 16383 users hold a handle, so a free one is always found.
    for (;;) {
        lastHandle_ = static_cast<std::uint16_t>(lastHandle_ + 1);
        if (lastHandle_ != 0 && !handleUsed_[lastHandle_]) {
            handleUsed_[lastHandle_] = true;
            return lastHandle_;
        }
    }
}

} // namespace zel
