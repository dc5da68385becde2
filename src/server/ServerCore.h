#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/net/PacketAssembler.h"
#include "server/ClusterEvents.h"
#include "server/ClusterIo.h"
#include "server/ServerIo.h"
#include "server/ServerLobby.h"
#include "server/ServerPackets.h"

namespace zel {

// The game server without sockets: connections come and go by number, bytes
// arrive through OnBytes, and everything leaves through TServerIo. Time is a
// monotonic millisecond count passed in by the caller.
class TServerCore {
public:
    struct Options {
        std::size_t tableSize = 1000;
        std::uint64_t graceMs = 60000; // how long a dropped user keeps its number and room
        std::uint64_t loginMs = 60000; // how long a connection may stay without a login
    };

    TServerCore(TServerIo& io, Options options);

    void OnConnected(ConnId conn, std::uint64_t now);
    void OnBytes(ConnId conn, const std::uint8_t* data, std::size_t size, std::uint64_t now);
    void OnClosed(ConnId conn, std::uint64_t now);
    // Ends the grace of dropped users whose time is up and closes connections
    // that never logged in (a probe connection is closed by its client).
    void Tick(std::uint64_t now);

    // Operator switches; ids are CP949. Each returns false for an unknown id.
    bool Kick(const std::string& id);
    bool Bye(const std::string& id);
    bool Silence(const std::string& id, std::uint64_t ms, std::uint64_t now);
    void Refuse(std::uint64_t ms, std::uint64_t now) { refuseUntil_ = now + ms; }
    void Notice(const std::string& text);
    // "id:user:room" of every connected user, blank-separated; `grace` lists
    // the dropped users still kept instead.
    std::string Users(bool grace) const;

    const TServerLobby& Lobby() const { return lobby_; }

    // Several nodes as one service: from here on every lobby change goes out
    // through the store and is made when it comes back, on every node alike.
    // Without it the server is a single node and needs no store.
    void AttachCluster(TClusterIo& cluster);
    // A lobby event or a delivery from the store (this node's own included).
    void OnClusterEvent(const std::uint8_t* data, std::size_t size, std::uint64_t now);
    void OnUserClaimed(ConnId conn, int result, std::uint64_t now);
    // The store had no free room for this Open or Match event.
    void OnRoomClaimed(const std::vector<std::uint8_t>& event, std::uint64_t now);
    // A node stopped renewing its presence: its users wait here for re-login.
    void OnNodeGone(int node, std::uint64_t now);
    // The store is gone: no more logins, the users here stay connected.
    void OnClusterLost(std::uint64_t now);
    // The nodes other than this one that hold users.
    std::set<int> OtherNodes() const;
    // A user packet waits while the lobby changes of the user's earlier packets are on their way.
    static constexpr std::size_t kMaxHeld = 256;

private:
    struct Conn {
        explicit Conn(PacketAssembler a) : assembler(std::move(a)) {}
        PacketAssembler assembler;
        int user = -1;
        bool closing = false;
        std::uint64_t openedAt = 0;
        bool waiting = false; // a login is on its way through the store
        int attempts = 0;
        Bytes record; // the login record while waiting
        Bytes loginEvent;
    };
    struct Session {
        ConnId conn = 0; // 0 while dropped
        std::uint64_t graceUntil = 0;
        std::uint64_t silentUntil = 0;
        bool departing = false; // the next close removes the user
        int node = 0;           // the node that holds the user's connection
        bool live = false;      // connected on its node (several nodes only)
        bool leaving = false;   // its departure is on its way through the store
        int pending = 0;        // events of its packets not yet back
        std::deque<Bytes> held; // its packets waiting for them
    };
    struct Invitation {
        int room = 0;
        std::uint16_t code = 0;
    };

    void Handle(ConnId conn, Conn& c, const std::uint8_t* p, std::size_t n);
    void HandleLogin(ConnId conn, Conn& c, const std::uint8_t* p, std::uint16_t code);
    void HandleProbe(ConnId conn, const std::uint8_t* p);
    void HandleUser(int u, const std::uint8_t* p, std::size_t n);
    void FreshLogin(ConnId conn, Conn& c, const std::string& id, const std::uint8_t* p);
    void Attach(ConnId conn, Conn& c, int u);
    void DoDepart(int u);
    int DoMove(int u, int room);
    void DoMatch(int room, int inviter, int invited, const std::uint8_t* title32);
    void ReceiveInvite(int inviter, int invited, int room, std::uint16_t code, const Bytes& b);
    void Welcome(ConnId conn, Conn& c, int u, bool relogin);

    // Several nodes only.
    void ClusterLogin(ConnId conn, Conn& c, const std::string& id, const std::uint8_t* p);
    void Leave(int u);
    void Emit(int actor, TClusterEvent e);
    void Apply(const TClusterEvent& e);
    void ApplyLogin(const TClusterEvent& e);
    void ApplyTakeover(const TClusterEvent& e);
    void ApplyOpen(const TClusterEvent& e, bool mine);
    void ApplyMatch(const TClusterEvent& e, bool mine);
    void Released(int room);
    void Done(int actor);
    void Drain(int u);
    void Refuse(ConnId conn, Conn& c, std::uint16_t code);
    bool Online(int u) const;
    int Me() const { return cluster_ ? cluster_->Node() : 0; }
    // An event of this node.
    TClusterEvent NewEvent(ClusterKind kind) const
    {
        TClusterEvent e;
        e.kind = kind;
        e.origin = static_cast<std::uint16_t>(Me());
        return e;
    }
    void SendLobby(int u);
    void Depart(int u);
    void Drop(ConnId conn);

    void PrivateText(int u, const std::uint8_t* p, std::size_t n);
    void MakeRoom(int u, const std::uint8_t* p);
    void EnterRoom(int u, int room);
    void Invite(int u, const std::uint8_t* p, std::uint16_t code);
    void Accept(int u, const std::uint8_t* p, std::uint16_t code);
    void Refusal(int u, const std::uint8_t* p, std::uint16_t code);
    void RequestAnswer(int u, std::uint16_t code, int target);

    // Each sends one packet's bytes; the bytes are copied, so a caller may reuse them.
    void SendConn(ConnId conn, const std::uint8_t* p, std::size_t n);
    void SendTo(int u, const std::uint8_t* p, std::size_t n);
    void SendRoom(int room, const std::uint8_t* p, std::size_t n, int except = -1);
    void SendAll(const std::uint8_t* p, std::size_t n, int except = -1);
    void SendConn(ConnId conn, const Bytes& b) { SendConn(conn, b.data(), b.size()); }
    void SendTo(int u, const Bytes& b) { SendTo(u, b.data(), b.size()); }
    void SendRoom(int room, const Bytes& b, int except = -1) { SendRoom(room, b.data(), b.size(), except); }
    void SendAll(const Bytes& b, int except = -1) { SendAll(b.data(), b.size(), except); }
    // Local sends and, with several nodes, the same to the users held elsewhere.
    // `ordered`: after this node's lobby events already sent, also for a local user.
    void DeliverTo(int u, const Bytes& b, bool ordered = false);
    void DeliverRoom(int room, const Bytes& b, int except = -1);
    void DeliverAll(const Bytes& b);
    bool Connected(int u) const;
    bool SameRoom(int a, int b) const;
    std::uint16_t NewHandle();
    bool Logging() const { return io_.Logging(); }
    void Log(const std::string& line) { io_.Log(line); }

    TServerIo& io_;
    Options options_;
    TClusterIo* cluster_ = nullptr; // none: a single node
    TServerLobby lobby_;
    std::vector<Session> sessions_;
    std::map<ConnId, Conn> conns_;
    std::map<std::uint32_t, Invitation> invitations_; // inviter << 16 | invited
    std::uint64_t refuseUntil_ = 0;
    std::uint64_t now_ = 0;
    std::uint16_t lastHandle_ = 0;
    std::vector<bool> handleUsed_ = std::vector<bool>(65536, false); // by handle
    Bytes relay_;                                                    // the room text being relayed
};

} // namespace zel
