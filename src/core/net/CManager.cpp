#include "core/net/CManager.h"

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketLayout.h"

#include <algorithm>
#include <limits>

namespace zel {

std::string RankText(int level, bool pad)
{
    std::string text;
    if (level < 18)
        text = std::to_string(18 - level) + "K";
    else if (level < 30)
        text = std::to_string(level - 17) + "D";
    else
        text = std::to_string(level - 29) + "P";
    if (pad && text.size() == 2)
        text.insert(text.begin(), ' ');
    return text;
}

namespace {

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace

TCManager::TCManager(int n) : count_(std::clamp(n, 0, kMaxTable))
{
    users_.resize(static_cast<std::size_t>(count_));
    rooms_.resize(static_cast<std::size_t>(count_));
    links_.resize(static_cast<std::size_t>(2 * count_));
    Reset();
}

void TCManager::Notify(const ChangeFn& fn, int kind, int index) const
{
    if (fn)
        fn(kind, index);
}

void TCManager::Reset()
{
    for (int i = 0; i < 2 * count_; ++i)
        links_[i] = Node{i, i};
    for (UserRecord& user : users_)
        user.room = -1;
    for (int r = 0; r < count_; ++r)
        ResetRoom(r);
    if (count_ > 0) {
        rooms_[0].owner = -1;
        rooms_[0].title = KS("벨다바둑 대기실");
    }
    currentRoom = 0;
}

bool TCManager::IsEmpty(int room) const
{
    return links_[Head(room)].next == Head(room);
}

void TCManager::Link(int u, int room)
{
    int head = Head(room);
    int last = links_[head].prev;
    links_[u] = Node{last, head};
    links_[last].next = u;
    links_[head].prev = u;
    users_[u].room = room;
}

void TCManager::Unlink(int u)
{
    Node n = links_[u];
    links_[n.prev].next = n.next;
    links_[n.next].prev = n.prev;
    links_[u] = Node{u, u};
    users_[u].room = -1;
}

// Members of a reset room are left in no room, so that the list never holds
// a node whose neighbours have forgotten it.
void TCManager::DetachMembers(int room)
{
    int head = Head(room);
    while (links_[head].next != head)
        Unlink(links_[head].next);
}

void TCManager::SetPeople(int room, std::int64_t count)
{
    RoomRecord& r = rooms_[static_cast<std::size_t>(room)];
    const int people = static_cast<int>(std::clamp<std::int64_t>(count, 0, std::numeric_limits<int>::max()));
    totalPeople_ += people - r.people;
    if (room > 0)
        occupiedRooms_ += (people > 0) - (r.people > 0);
    r.people = people;
}

void TCManager::ResetRoom(int room)
{
    if (CheckRoom(room) != 0)
        return;
    DetachMembers(room);
    SetPeople(room, 0);
    RoomRecord& r = rooms_[room];
    r.owner = -1;
    r.state = RoomOpen;
    r.first = r.second = -1;
    links_[Head(room)] = Node{Head(room), Head(room)};
    if (room == 0)
        r.state = RoomWaiting;
    else
        r.title = KS("제목 없음");
}

void TCManager::NotifyUserChanged(int u) const
{
    Notify(onUserViewChange, ChangeChanged, u);
    Notify(onRoomViewChange, ChangeChanged, u);
}

void TCManager::SetStatus(int u, int status)
{
    users_[u].status = status;
    NotifyUserChanged(u);
}

int TCManager::UserAt(const std::uint8_t* p, std::size_t n, std::size_t size) const
{
    if (n < size)
        return -1;
    int u = GetU16(p + 4);
    return CheckUser(u) == 0 ? u : -1;
}

int TCManager::SeatedUserAt(const std::uint8_t* p, std::size_t n, std::size_t size) const
{
    int u = UserAt(p, n, size);
    return u >= 0 && users_[u].room >= 0 ? u : -1;
}

int TCManager::RoomAt(const std::uint8_t* p, std::size_t n, std::size_t size) const
{
    if (n < size)
        return -1;
    int room = GetU16(p + 4);
    return CheckRoom(room) == 0 ? room : -1;
}

void TCManager::MoveUser(int u, int from, int to)
{
    if (from == to || CheckUser(u) != 0 || (from >= 0 && CheckRoom(from) != 0) || (to >= 0 && CheckRoom(to) != 0))
        return;
    if (from >= 0 && users_[u].room == from) {
        RoomRecord& room = rooms_[from];
        int next = links_[u].next;
        if (next == Head(from))
            next = links_[Head(from)].next;
        Unlink(u);
        SetPeople(from, std::int64_t{room.people} - 1);
        bool empty = IsEmpty(from);
        if (from != 0 && !empty) {
            if (room.state == RoomReview && room.first == u)
                room.state = RoomOpen;
            if (room.state < RoomMulti && room.owner == u)
                room.owner = next;
            if (room.state == RoomGame && (room.first == u || room.second == u)) {
                EndGameInRoom(from);
            }
        }
        if (empty) {
            ResetRoom(from);
            Notify(onRoomChange, ChangeRemoved, from);
        } else {
            BuildRoomLine(from);
        }
        Notify(onRoomViewChange, ChangeRemoved, u);
    } else if (from >= 0) {
        return; // the user is not where the record says; nothing consistent to do
    } else {
        if (users_[u].room >= 0)
            return;
        Notify(onUserViewChange, ChangeAdded, u);
    }
    if (u == ownUser)
        currentRoom = to;
    if (to < 0) {
        Notify(onUserViewChange, ChangeRemoved, u);
        return;
    }
    bool first = IsEmpty(to);
    if (to == 0) {
        if (first)
            ResetRoom(0);
        users_[u].status = UserFree;
    } else if (rooms_[to].state == RoomMulti && rooms_[to].owner == u) {
        users_[u].status = UserHosting;
    }
    Link(u, to);
    SetPeople(to, std::int64_t{rooms_[to].people} + 1);
    Notify(onRoomChange, first ? ChangeAdded : ChangeChanged, to);
    Notify(onRoomViewChange, ChangeAdded, u);
    Notify(onUserViewChange, ChangeChanged, u);
}

void TCManager::EndGameInRoom(int room)
{
    RoomRecord& r = rooms_[room];
    int players[2] = {r.first, r.second};
    r.state = RoomOpen;
    r.first = r.second = -1;
    for (int p : players) {
        if (CheckUser(p) == 0 && users_[p].status == UserPlaying)
            SetStatus(p, UserFree);
    }
}

void TCManager::BuildRoomLine(int room)
{
    if (CheckRoom(room) != 0)
        return;
    RoomRecord& r = rooms_[room];
    auto label = [this](int u) {
        if (CheckUser(u) != 0)
            return PadRight("", 8) + " " + RankText(0, true);
        return PadRight(users_[u].nickname, 8) + " " + RankText(users_[u].level, true);
    };
    auto level = [this](int u) { return CheckUser(u) == 0 ? users_[u].level : 0; };
    if (room > 0 && r.state == RoomReview) {
        r.line = KS("복기 진행자 :: ") + label(r.first);
        r.level = level(r.first);
    } else if (room > 0 && r.state == RoomGame) {
        r.line = KS("흑(") + label(r.first) + KS(") :: 백(") + label(r.second) + ")";
        r.level = std::max(level(r.first), level(r.second));
    } else if (room > 0 && r.state == RoomMulti) {
        r.line = KS("다면기 진행자 :: ") + label(r.first);
        r.level = level(r.first);
    } else if (room == 0) {
        r.line = KS("###   대 기 실   ###");
    } else {
        r.line = KS("방장 :: ") + label(r.owner);
        r.level = level(r.owner);
    }
    Notify(onRoomChange, ChangeChanged, room);
}

int TCManager::FindUserInRoom(const std::string& id, int room, std::uint16_t* handle) const
{
    if (CheckRoom(room) != 0 || id.empty())
        return -1;
    for (int u = links_[Head(room)].next; u != Head(room); u = links_[u].next) {
        if (users_[u].id == id) {
            if (handle)
                *handle = users_[u].handle;
            return u;
        }
    }
    return -1;
}

int TCManager::FindUser(const std::string& id) const
{
    for (int r = 0; r < count_; ++r) {
        int u = FindUserInRoom(id, r);
        if (u >= 0)
            return u;
    }
    return -1;
}

std::vector<int> TCManager::Members(int room) const
{
    std::vector<int> out;
    if (CheckRoom(room) != 0)
        return out;
    for (int u = links_[Head(room)].next; u != Head(room); u = links_[u].next)
        out.push_back(u);
    return out;
}

void TCManager::StoreUser(int u, const std::uint8_t* e, std::size_t invitations, std::size_t profile, std::size_t level,
                          std::size_t status, std::size_t handle, std::size_t id, std::size_t nickname)
{
    UserRecord& user = users_[u];
    user.id = GetText(e + id, 8);
    user.nickname = GetText(e + nickname, 10);
    user.invitations = e[invitations];
    user.profile = e[profile];
    user.level = e[level];
    user.status = e[status];
    user.handle = GetU16(e + handle);
    user.rankText = RankText(user.level, true);
}

bool TCManager::UserArrives(const std::uint8_t* p, std::size_t n)
{
    if (n < 38)
        return false;
    int u = GetU16(p + 10);
    if (CheckUser(u) != 0 || u == ownUser)
        return false;
    if (users_[u].room >= 0)
        MoveUser(u, users_[u].room, -1);
    StoreUser(u, p, 4, 5, 6, 7, 12, 20, 28);
    MoveUser(u, -1, 0);
    return true;
}

bool TCManager::UserLeaves(const std::uint8_t* p, std::size_t n)
{
    int u = SeatedUserAt(p, n, 6);
    if (u < 0)
        return false;
    MoveUser(u, users_[u].room, -1);
    return true;
}

bool TCManager::UserMoves(const std::uint8_t* p, std::size_t n)
{
    int u = UserAt(p, n, pk::at::userMove::kSize);
    if (u < 0)
        return false;
    int r = GetU16(p + pk::at::userMove::kRoom);
    if (CheckRoom(r) != 0)
        return false;
    MoveUser(u, users_[u].room, r);
    return true;
}

bool TCManager::ProfileChange(const std::uint8_t* p, std::size_t n)
{
    int u = UserAt(p, n, 14);
    if (u < 0)
        return false;
    UserRecord& user = users_[u];
    user.invitations = p[8];
    user.profile = p[9];
    user.level = p[10];
    user.rankText = RankText(user.level, true);
    NotifyUserChanged(u);
    return true;
}

bool TCManager::InviteSetting(const std::uint8_t* p, std::size_t n)
{
    int u = UserAt(p, n, 10);
    if (u < 0)
        return false;
    users_[u].invitations = p[8];
    return true;
}

// Owner, title, state and players of a 60-byte room record. Player and owner
// numbers outside the table are kept as -1.
void TCManager::ApplyRoomRecord(const std::uint8_t* p)
{
    int room = GetU16(p + 4);
    RoomRecord& r = rooms_[room];
    auto user = [this](std::int32_t v) { return CheckUser(v) == 0 ? v : -1; };
    r.owner = user(GetI32(p + 20));
    r.title = GetText(p + 28, 32);
    r.state = GetU16(p + 6);
    r.first = user(GetI32(p + 8));
    r.second = user(GetI32(p + 12));
}

bool TCManager::RoomOpened(const std::uint8_t* p, std::size_t n)
{
    int room = RoomAt(p, n, 60);
    if (room <= 0)
        return false;
    ResetRoom(room);
    ApplyRoomRecord(p);
    BuildRoomLine(room);
    int owner = rooms_[room].owner;
    if (owner >= 0)
        MoveUser(owner, users_[owner].room, room);
    return true;
}

bool TCManager::RoomSnapshot(const std::uint8_t* p, std::size_t n)
{
    int room = RoomAt(p, n, 60);
    if (room < 0)
        return false;
    ResetRoom(room);
    SetPeople(room, GetI32(p + 24));
    if (room > 0)
        ApplyRoomRecord(p); // the waiting room keeps its own title and state
    BuildRoomLine(room);
    return true;
}

bool TCManager::RoomTitle(const std::uint8_t* p, std::size_t n)
{
    int room = RoomAt(p, n, 60);
    if (room < 0)
        return false;
    rooms_[room].title = GetText(p + 28, 32);
    BuildRoomLine(room);
    return true;
}

bool TCManager::RoomMembers(const std::uint8_t* p, std::size_t n)
{
    int room = RoomAt(p, n, 8);
    if (room < 0)
        return false;
    std::size_t count = GetU16(p + 6);
    constexpr std::size_t kEntry = 34;
    count = std::min(count, (n - 8) / kEntry);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = p + 8 + i * kEntry;
        int u = GetU16(e + 6);
        if (CheckUser(u) != 0)
            continue;
        // A user listed again leaves its old place first; the snapshot's
        // people count already holds the members of this room.
        int old = users_[u].room;
        if (old >= 0) {
            Unlink(u);
            if (old != room)
                SetPeople(old, std::int64_t{rooms_[old].people} - 1);
        }
        StoreUser(u, e, 0, 1, 2, 3, 8, 16, 24);
        bool first = IsEmpty(room);
        Link(u, room);
        if (u == ownUser)
            currentRoom = room;
        Notify(onRoomChange, first ? ChangeAdded : ChangeChanged, room);
        Notify(onRoomViewChange, ChangeAdded, u);
    }
    BuildRoomLine(room);
    return true;
}

bool TCManager::MatchRoom(const std::uint8_t* p, std::size_t n)
{
    int room = RoomAt(p, n, 48);
    if (room <= 0)
        return false;
    int owner = GetU16(p + 6);
    int second = GetU16(p + 8);
    if (CheckUser(owner) != 0)
        return false;
    ResetRoom(room);
    rooms_[room].owner = owner;
    rooms_[room].title = GetText(p + 16, 32);
    MoveUser(owner, users_[owner].room, room);
    if (CheckUser(second) == 0)
        MoveUser(second, users_[second].room, room);
    BuildRoomLine(room);
    return true;
}

bool TCManager::GameStarts(const std::uint8_t* p, std::size_t n)
{
    int black = UserAt(p, n, 8);
    if (black < 0)
        return false;
    int white = GetU16(p + 6);
    if (CheckUser(white) != 0)
        return false;
    int room = users_[black].room;
    if (room > 0 && rooms_[room].state < RoomGame) {
        rooms_[room].state = RoomGame;
        rooms_[room].first = black;
        rooms_[room].second = white;
        BuildRoomLine(room);
    } else if (room == 0) {
        rooms_[0].state = RoomWaiting;
    }
    for (int u : {black, white}) {
        if (users_[u].status <= UserFreeLimit)
            SetStatus(u, UserPlaying);
    }
    return true;
}

bool TCManager::GameEnds(const std::uint8_t* p, std::size_t n)
{
    int u = SeatedUserAt(p, n, 6);
    if (u < 0)
        return false;
    int room = users_[u].room;
    if (rooms_[room].state == RoomMulti) {
        if (users_[u].status == UserPlaying)
            SetStatus(u, UserFree);
    } else if (rooms_[room].state == RoomGame) {
        EndGameInRoom(room);
        BuildRoomLine(room);
    }
    return true;
}

bool TCManager::ReviewStarts(const std::uint8_t* p, std::size_t n)
{
    int u = SeatedUserAt(p, n, 6);
    if (u < 0)
        return false;
    int room = users_[u].room;
    rooms_[room].state = RoomReview;
    rooms_[room].first = u;
    users_[u].status = UserReviewing;
    BuildRoomLine(room);
    NotifyUserChanged(u);
    return true;
}

bool TCManager::ReviewEnds(const std::uint8_t* p, std::size_t n)
{
    int u = SeatedUserAt(p, n, 6);
    if (u < 0)
        return false;
    int room = users_[u].room;
    rooms_[room].state = room == 0 ? RoomWaiting : RoomOpen;
    users_[u].status = UserFree;
    BuildRoomLine(room);
    NotifyUserChanged(u);
    return true;
}

} // namespace zel
