#include "server/ServerLobby.h"

#include <algorithm>
#include <cstring>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"

namespace zel {

TServerLobby::TServerLobby(std::size_t size) : users_(size), rooms_(size)
{
    for (std::size_t r = 0; r < size; ++r)
        ResetRoom(static_cast<int>(r));
    for (std::size_t n = 1; n < size; ++n) {
        freeUsers_.insert(freeUsers_.end(), static_cast<int>(n));
        emptyRooms_.insert(emptyRooms_.end(), static_cast<int>(n));
    }
}

void TServerLobby::ResetRoom(int r)
{
    TServerRoom& room = MutableRoom(r);
    room = TServerRoom{};
    if (r == 0) {
        room.state = lobby::RoomWaiting;
        PutText(room.title.data(), room.title.size() - 1, KS("벨다바둑 대기실"));
    } else {
        PutText(room.title.data(), room.title.size() - 1, KS("제목 없음"));
    }
}

int TServerLobby::AddUser()
{
    if (freeUsers_.empty())
        return -1;
    int u = *freeUsers_.begin();
    freeUsers_.erase(freeUsers_.begin());
    User(u) = TServerUser{};
    User(u).used = true;
    return u;
}

bool TServerLobby::TakeUser(int u)
{
    if (u <= 0 || !InRange(u) || freeUsers_.erase(u) == 0)
        return false;
    User(u) = TServerUser{};
    User(u).used = true;
    return true;
}

void TServerLobby::SetId(int u, const std::string& id)
{
    TServerUser& user = User(u);
    auto it = byId_.find(user.id);
    if (it != byId_.end() && it->second == u)
        byId_.erase(it);
    user.id = id;
    byId_[id] = u;
}

void TServerLobby::RemoveUser(int u)
{
    MoveUser(u, -1);
    auto it = byId_.find(User(u).id);
    if (it != byId_.end() && it->second == u)
        byId_.erase(it);
    User(u) = TServerUser{};
    freeUsers_.insert(u);
}

int TServerLobby::FindUser(const std::string& id) const
{
    auto it = byId_.find(id);
    return it == byId_.end() ? -1 : it->second;
}

int TServerLobby::FreeRoom() const
{
    return emptyRooms_.empty() ? -1 : *emptyRooms_.begin();
}

void TServerLobby::FreePlayers(TServerRoom& room)
{
    for (int p : {room.first, room.second}) {
        if (ValidUser(p) && User(p).status == lobby::StatusPlaying)
            User(p).status = lobby::StatusFree;
    }
    room.first = -1;
    room.second = -1;
}

void TServerLobby::MoveUser(int u, int to)
{
    TServerUser& user = User(u);
    int from = user.room;
    if (from == to)
        return;
    if (from >= 0) {
        TServerRoom& room = MutableRoom(from);
        auto it = std::find(room.members.begin(), room.members.end(), u);
        int next = -1;
        if (it != room.members.end()) {
            auto after = std::next(it) == room.members.end() ? room.members.begin() : std::next(it);
            next = *after;
            room.members.erase(it);
        }
        if (from != 0 && !room.members.empty()) {
            if (room.state == lobby::RoomReview && room.first == u)
                room.state = lobby::RoomOpen;
            if (room.state < lobby::RoomMulti && room.owner == u)
                room.owner = next;
            if (room.state == lobby::RoomGame && (room.first == u || room.second == u)) {
                room.state = lobby::RoomOpen;
                FreePlayers(room);
            }
        }
        if (room.members.empty()) {
            ResetRoom(from);
            if (from != 0)
                emptyRooms_.insert(from);
        }
    }
    user.room = to;
    if (to < 0)
        return;
    TServerRoom& room = MutableRoom(to);
    if (room.members.empty())
        emptyRooms_.erase(to);
    if (to == 0)
        user.status = lobby::StatusFree;
    else if (room.state == lobby::RoomMulti && room.owner == u)
        user.status = lobby::StatusHosting;
    room.members.push_back(u);
}

void TServerLobby::Open(int r, int owner, std::uint16_t state, const std::uint8_t* title32)
{
    ResetRoom(r);
    TServerRoom& room = MutableRoom(r);
    room.owner = owner;
    room.state = state;
    SetTitle(r, title32);
    MoveUser(owner, r);
}

void TServerLobby::SetTitle(int r, const std::uint8_t* title32)
{
    TServerRoom& room = MutableRoom(r);
    std::string text = GetText(title32, room.title.size() - 1);
    PutText(room.title.data(), room.title.size() - 1, text);
    room.title.back() = 0;
}

void TServerLobby::StartGame(int black, int white)
{
    int r = User(black).room;
    if (r > 0) {
        TServerRoom& room = MutableRoom(r);
        if (room.state < lobby::RoomGame) {
            room.state = lobby::RoomGame;
            room.first = black;
            room.second = white;
        }
    }
    for (int p : {black, white}) {
        if (User(p).status <= 140)
            User(p).status = lobby::StatusPlaying;
    }
}

void TServerLobby::EndGame(int u)
{
    int r = User(u).room;
    if (r < 0)
        return;
    TServerRoom& room = MutableRoom(r);
    if (room.state == lobby::RoomMulti) {
        if (User(u).status == lobby::StatusPlaying)
            User(u).status = lobby::StatusFree;
    } else if (room.state == lobby::RoomGame) {
        room.state = lobby::RoomOpen;
        FreePlayers(room);
    }
}

void TServerLobby::StartReview(int u)
{
    TServerRoom& room = MutableRoom(User(u).room);
    room.state = lobby::RoomReview;
    room.first = u;
    User(u).status = lobby::StatusReviewing;
}

void TServerLobby::EndReview(int u)
{
    TServerRoom& room = MutableRoom(User(u).room);
    room.state = lobby::RoomOpen;
    User(u).status = lobby::StatusFree;
}

} // namespace zel
