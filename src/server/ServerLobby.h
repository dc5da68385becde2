#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace zel {

// User status and room state values shared with the clients.
namespace lobby {
enum : std::uint16_t { StatusFree = 10, StatusReviewing = 180, StatusPlaying = 190, StatusHosting = 200 };
enum : std::uint16_t { RoomOpen = 10, RoomWaiting = 110, RoomReview = 120, RoomGame = 150, RoomMulti = 190 };
} // namespace lobby

struct TServerUser {
    bool used = false;
    std::string id;       // CP949, at most 8 bytes; set through TServerLobby::SetId
    std::string nickname; // CP949, at most 10 bytes
    std::uint8_t invitations = 20;
    std::uint8_t profile = 10;
    std::uint8_t level = 0;
    std::uint8_t status = lobby::StatusFree;
    std::uint16_t handle = 0;
    int room = -1; // -1: in no room
};

struct TServerRoom {
    std::array<std::uint8_t, 32> title{}; // zero-padded CP949, last byte always zero
    std::uint16_t state = lobby::RoomOpen;
    int first = -1;
    int second = -1;
    int owner = -1;
    std::vector<int> members; // in order of entry
};

// The server's own copy of users and rooms. It follows the same rules as the
// clients' lobby model so that a snapshot sent to a newcomer matches what the
// others have built from the change packets. Numbers are checked by callers
// with ValidUser / ValidRoom before they come in.
class TServerLobby {
public:
    explicit TServerLobby(std::size_t size);

    std::size_t Size() const { return users_.size(); }
    bool InRange(int n) const { return n >= 0 && static_cast<std::size_t>(n) < users_.size(); }
    bool ValidUser(int u) const { return InRange(u) && users_[static_cast<std::size_t>(u)].used; }
    // Room 0 is always open; another room is open while it has members.
    bool OpenRoom(int r) const { return r == 0 || (InRange(r) && !Room(r).members.empty()); }

    const TServerUser& User(int u) const { return users_[static_cast<std::size_t>(u)]; }
    TServerUser& User(int u) { return users_[static_cast<std::size_t>(u)]; }
    const TServerRoom& Room(int r) const { return rooms_[static_cast<std::size_t>(r)]; }

    // Takes the lowest free user number from 1 up; -1 when the table is full.
    int AddUser();
    // Takes the given free number (one handed out by a shared store); false when it is in use.
    bool TakeUser(int u);
    // Gives user `u` its id; the id must not be in use by another user.
    void SetId(int u, const std::string& id);
    // Takes the user out of its room and frees its number.
    void RemoveUser(int u);
    int FindUser(const std::string& id) const;
    // The lowest room number from 1 up that has no members; -1 when none.
    int FreeRoom() const;

    // Moves a user between rooms (to = -1: out of every room).
    void MoveUser(int u, int to);
    // Opens a free room with its owner, who is moved into it.
    void Open(int r, int owner, std::uint16_t state, const std::uint8_t* title32);
    void SetTitle(int r, const std::uint8_t* title32);
    void StartGame(int black, int white);
    void EndGame(int u);
    void StartReview(int u);
    void EndReview(int u);

private:
    TServerRoom& MutableRoom(int r) { return rooms_[static_cast<std::size_t>(r)]; }
    void ResetRoom(int r);
    void FreePlayers(TServerRoom& room);

    std::vector<TServerUser> users_;
    std::vector<TServerRoom> rooms_;
    // Kept beside the tables so that a login or a new room costs no scan.
    std::set<int> freeUsers_;                   // unused numbers from 1 up
    std::set<int> emptyRooms_;                  // rooms from 1 up without members
    std::unordered_map<std::string, int> byId_; // id of every used number
};

} // namespace zel
