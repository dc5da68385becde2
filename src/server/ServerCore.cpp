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
    conns_.emplace(conn, Conn{PacketAssembler(&IsValidClientHeader), -1, false, now});
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
}

void TServerCore::Tick(std::uint64_t now)
{
    now_ = now;
    for (std::size_t u = 0; u < sessions_.size(); ++u) {
        int n = static_cast<int>(u);
        if (lobby_.ValidUser(n) && sessions_[u].conn == 0 && sessions_[u].graceUntil <= now)
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
        if (c.user >= 0)
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
    if (c.user >= 0)
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
    if (code == pk::ReLogin) {
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
            Attach(conn, c, u);
            int room = std::max(lobby_.User(u).room, 0);
            if (Logging())
                Log("relogin conn=" + std::to_string(conn) + " user=" + std::to_string(u) +
                    " room=" + std::to_string(room));
            SendConn(conn, spk::LoginAccepted(u, room, lobby_.Size()));
            SendConn(conn, spk::Simple(pk::LobbyReset, 0));
            SendLobby(u);
            return;
        }
    }
    FreshLogin(conn, c, id, p);
}

void TServerCore::FreshLogin(ConnId conn, Conn& c, const std::string& id, const std::uint8_t* p)
{
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
    Attach(conn, c, u);
    if (Logging())
        Log("login conn=" + std::to_string(conn) + " user=" + std::to_string(u) + " id=" + Printable(id) +
            " handle=" + std::to_string(user.handle));
    SendConn(conn, spk::LoginAccepted(u, 0, lobby_.Size()));
    SendAll(spk::UserArrives(lobby_, u), u);
    SendLobby(u);
}

void TServerCore::Attach(ConnId conn, Conn& c, int u)
{
    sessions_[static_cast<std::size_t>(u)] = Session{conn, 0, 0, false};
    c.user = u;
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
    if (lobby_.ValidUser(u) && lobby_.User(u).id == id && !sessions_[static_cast<std::size_t>(u)].departing)
        verdict = Connected(u) ? pk::VerdictAlive : pk::VerdictReconnect;
    if (Logging())
        Log("probe conn=" + std::to_string(conn) + " user=" + std::to_string(u) +
            " verdict=" + std::to_string(verdict));
    SendConn(conn, spk::Simple(pk::ProbeVerdict, verdict));
}

void TServerCore::Depart(int u)
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
            SendRoom(room, relay_);
        else
            SendAll(relay_);
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
            lobby_.SetTitle(room, p + 28);
            SendAll(spk::RoomRecord(pk::RoomTitle, lobby_, room));
        }
        break;
    case pk::ProfileChange: {
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
            SendRoom(room, spk::UserPair(pk::GameRequest, u, target));
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
            lobby_.StartGame(black, white);
            SendAll(spk::UserPair(pk::GameStart, black, white));
        }
        break;
    }
    case pk::GameEnd:
        if (h.argument == u || SameRoom(u, h.argument)) {
            lobby_.EndGame(h.argument);
            SendAll(spk::Simple(pk::GameEnd, h.argument));
        }
        break;
    case pk::ReviewStart:
    case pk::ReviewEnd:
        if (room > 0 && SameRoom(u, h.argument)) {
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
    SendTo(to, b);
}

void TServerCore::MakeRoom(int u, const std::uint8_t* p)
{
    int r = lobby_.FreeRoom();
    if (r < 0) {
        std::string text = KS("   ### [알림] : 빈 방이 없습니다.");
        Bytes b = spk::Simple(pk::NoticeText, 0);
        b.insert(b.end(), text.begin(), text.end());
        PutU16(&b[2], static_cast<std::uint16_t>(b.size()));
        SendTo(u, b);
        return;
    }
    std::uint16_t state = GetU16(p + 6) == lobby::RoomMulti ? lobby::RoomMulti : lobby::RoomOpen;
    lobby_.Open(r, u, state, p + 28);
    SendAll(spk::RoomRecord(pk::RoomOpened, lobby_, r));
}

void TServerCore::EnterRoom(int u, int room)
{
    if (!lobby_.InRange(room) || !lobby_.OpenRoom(room) || lobby_.User(u).room == room)
        return;
    lobby_.MoveUser(u, room);
    SendAll(spk::UserMoves(u, room));
    if (room == 0)
        return;
    for (std::size_t first = 0; first < lobby_.Room(room).members.size(); first += spk::kMembersPerPacket)
        SendTo(u, spk::RoomMembers(lobby_, room, first));
}

void TServerCore::Invite(int u, const std::uint8_t* p, std::uint16_t code)
{
    int invited = GetU16(p + 8);
    if (invited == u || !Connected(invited))
        return;
    Bytes b(p, p + 14);
    int room = std::max(lobby_.User(u).room, 0);
    PutU16(&b[4], static_cast<std::uint16_t>(u));
    PutU16(&b[10], lobby_.User(invited).handle);
    PutU16(&b[12], static_cast<std::uint16_t>(room));
    if (invitations_.size() >= kMaxInvitations)
        invitations_.erase(invitations_.begin());
    invitations_[InviteKey(u, invited)] = Invitation{room, code};
    SendTo(invited, b);
    SendTo(u, spk::Simple(pk::InviteSent, code == pk::GameInvite ? pk::SendInviteDone : pk::RoomInviteDone));
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
        room = lobby_.FreeRoom();
        if (room < 0)
            return;
        std::array<std::uint8_t, 32> title{};
        PutText(title.data(), 31, KS("대국실"));
        lobby_.Open(room, inviter, lobby::RoomOpen, title.data());
        lobby_.MoveUser(u, room);
        Bytes b(48, 0);
        PacketHeader{pk::MatchRoom, 48, static_cast<std::uint16_t>(room)}.Encode(b.data());
        PutU16(&b[4], static_cast<std::uint16_t>(room));
        PutU16(&b[6], static_cast<std::uint16_t>(inviter));
        PutU16(&b[8], static_cast<std::uint16_t>(u));
        std::copy(title.begin(), title.end(), b.begin() + 16);
        SendAll(b);
    } else {
        EnterRoom(u, room);
    }
    SendTo(inviter, spk::Simple(pk::GameRequestGo, static_cast<std::uint16_t>(u)));
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
    SendTo(inviter, b);
}

void TServerCore::RequestAnswer(int u, std::uint16_t code, int target)
{
    Bytes b = spk::Simple(code, static_cast<std::uint16_t>(u));
    if (target != u && SameRoom(u, target))
        SendTo(target, b);
    else
        SendRoom(lobby_.User(u).room, b, u);
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
        if (!lobby_.ValidUser(n) || Connected(n) == grace)
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
