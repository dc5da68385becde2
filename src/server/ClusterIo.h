#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "server/ServerIo.h"

namespace zel {

// What the game server asks of the shared store when several nodes act as one
// service. Everything a node sends goes out in one stream, so whatever it
// publishes arrives everywhere after what it published before. Answers come
// back through TServerCore's On... methods, never from inside these calls.
class TClusterIo {
public:
    virtual ~TClusterIo() = default;
    virtual int Node() const = 0;
    // False once the store is lost; nothing is sent any more.
    virtual bool Up() const = 0;
    // A lobby event to every node, this one included, in one order for all.
    virtual void Publish(const std::vector<std::uint8_t>& event) = 0;
    // A delivery to one node's users.
    virtual void PublishTo(int node, const std::vector<std::uint8_t>& event) = 0;
    // Claims the lowest free user number for `id` and, when one is given,
    // publishes `event` with it at TClusterEvent::kNumberOffset. Answered by
    // OnUserClaimed: the number, 0 when none is free, minus the number that
    // already holds the id.
    virtual void ClaimUser(ConnId conn, const std::string& id, const std::vector<std::uint8_t>& event) = 0;
    // Frees `user` and its claim on `id` and publishes `event`, only while
    // `id` is still claimed by `user`.
    virtual void ReleaseUser(int user, const std::string& id, const std::vector<std::uint8_t>& event) = 0;
    // Claims the lowest free room number and publishes `event` with it, as
    // ClaimUser. Answered by OnRoomClaimed only when none is free.
    virtual void ClaimRoom(const std::vector<std::uint8_t>& event) = 0;
    virtual void ReleaseRoom(int room) = 0;
};

} // namespace zel
