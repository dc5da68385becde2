#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zel {

// "18K".."1K", "1D".., "1P".. for a level; with `pad` a two-character text
// gets a leading blank.
std::string RankText(int level, bool pad);

// User status values.
enum : int { UserFree = 10, UserFreeLimit = 140, UserReviewing = 180, UserPlaying = 190, UserHosting = 200 };
// Room state values.
enum : int { RoomOpen = 10, RoomWaiting = 110, RoomReview = 120, RoomGame = 150, RoomMulti = 190 };
// Callback kinds.
enum : int { ChangeAdded = 1, ChangeRemoved = 2, ChangeChanged = 3 };

struct UserRecord {
    std::string id;           // up to 8 bytes
    std::string nickname;     // up to 10 bytes
    std::uint16_t handle = 0; // the server's address of this user's connection
    int invitations = 0;      // 20 accepts invitations, 10 does not
    int level = 0;
    int profile = 0; // 10 visible, 30 hidden
    int status = 0;
    std::string rankText;
    int room = -1; // -1: in no room
};

struct RoomRecord {
    std::string title;
    std::string line; // the room list text
    int first = -1;   // black, the reviewer or the multi-game host
    int second = -1;  // white
    int state = RoomOpen;
    int level = 0;
    int owner = -1;
    int people = 0;
};

// The client's copy of the server's lobby: N user slots, N rooms (room 0 the
// waiting room) and each room's member list in arrival order. Every user or
// room number taken from a packet is range-checked; records that name one
// outside the tables are ignored. Packet operations take the whole packet
// and refuse (return false) one shorter than its layout.
class TCManager {
public:
    using ChangeFn = std::function<void(int kind, int index)>;

    static constexpr int kMaxTable = 16384; // larger table sizes are cut to this
    static constexpr int kUserRangeError = -11001;
    static constexpr int kRoomRangeError = -12301;

    explicit TCManager(int n);

    // Whole-model reset: every user in no room, every room reset.
    void Reset();
    void ResetRoom(int room);
    // Moves user u from room `from` to room `to` (-1: no room); nothing when equal.
    void MoveUser(int u, int from, int to);
    void BuildRoomLine(int room);

    // 0 when in range, else the negative code.
    int CheckUser(int u) const { return u >= 0 && u < count_ ? 0 : kUserRangeError; }
    int CheckRoom(int r) const { return r >= 0 && r < count_ ? 0 : kRoomRangeError; }

    // The member of `room` with that id, or -1; `handle` receives its server handle.
    int FindUserInRoom(const std::string& id, int room, std::uint16_t* handle = nullptr) const;
    // A user with that id in any room, or -1.
    int FindUser(const std::string& id) const;
    // Members of a room in list order.
    std::vector<int> Members(int room) const;

    // Packet operations.
    bool UserArrives(const std::uint8_t* p, std::size_t n);   // 22020
    bool UserLeaves(const std::uint8_t* p, std::size_t n);    // 50000
    bool UserMoves(const std::uint8_t* p, std::size_t n);     // 22030
    bool ProfileChange(const std::uint8_t* p, std::size_t n); // 26010
    bool InviteSetting(const std::uint8_t* p, std::size_t n); // 26020
    bool RoomOpened(const std::uint8_t* p, std::size_t n);    // 24020
    bool RoomSnapshot(const std::uint8_t* p, std::size_t n);  // 25030
    bool RoomTitle(const std::uint8_t* p, std::size_t n);     // 24050
    bool RoomMembers(const std::uint8_t* p, std::size_t n);   // 25040
    bool MatchRoom(const std::uint8_t* p, std::size_t n);     // 32010
    bool GameStarts(const std::uint8_t* p, std::size_t n);    // 33060
    bool GameEnds(const std::uint8_t* p, std::size_t n);      // 33040
    bool ReviewStarts(const std::uint8_t* p, std::size_t n);  // 34010
    bool ReviewEnds(const std::uint8_t* p, std::size_t n);    // 34020

    int Count() const { return count_; }
    const UserRecord& User(int u) const { return users_[static_cast<std::size_t>(u)]; }
    const RoomRecord& Room(int r) const { return rooms_[static_cast<std::size_t>(r)]; }
    // The people counts of all rooms added up, and the rooms other than the
    // waiting room with anyone in them; kept as the counts change.
    std::int64_t TotalPeople() const { return totalPeople_; }
    int OccupiedRooms() const { return occupiedRooms_; }

    // Own identity.
    int ownUser = -1;
    int ownRoom = 0;
    std::string ownId, ownNickname, ownRankText;
    int currentRoom = 0;

    ChangeFn onRoomChange;     // (kind, room)
    ChangeFn onUserViewChange; // (kind, user)
    ChangeFn onRoomViewChange; // (kind, user)

private:
    struct Node {
        int prev = 0, next = 0;
    };
    int Head(int room) const { return count_ + room; }
    bool IsEmpty(int room) const;
    void Link(int u, int room);
    void Unlink(int u);
    void DetachMembers(int room);
    void StoreUser(int u, const std::uint8_t* entry, std::size_t invitations, std::size_t profile, std::size_t level,
                   std::size_t status, std::size_t handle, std::size_t id, std::size_t nickname);
    void ApplyRoomRecord(const std::uint8_t* p);
    // Every change of a room's people count goes through here; the count is
    // kept within 0..INT_MAX whatever a packet said.
    void SetPeople(int room, std::int64_t count);
    void EndGameInRoom(int room);
    void SetStatus(int u, int status);
    // Both user views are told that user u changed.
    void NotifyUserChanged(int u) const;
    // The user or room number at offset 4 of a packet at least `size` bytes
    // long, or -1 for a shorter packet or a number outside the tables.
    int UserAt(const std::uint8_t* p, std::size_t n, std::size_t size) const;
    // As UserAt, and the user must be in a room.
    int SeatedUserAt(const std::uint8_t* p, std::size_t n, std::size_t size) const;
    int RoomAt(const std::uint8_t* p, std::size_t n, std::size_t size) const;
    void Notify(const ChangeFn& fn, int kind, int index) const;

    int count_ = 0;
    std::vector<UserRecord> users_;
    std::vector<RoomRecord> rooms_;
    std::vector<Node> links_;
    std::int64_t totalPeople_ = 0;
    int occupiedRooms_ = 0;
};

} // namespace zel
