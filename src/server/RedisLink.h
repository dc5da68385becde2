#pragma once
#include <asio.hpp>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/net/Resp.h"
#include "server/ClusterIo.h"

namespace zel {

class TAsioServer;
class TServerCore;

// The shared store of a multi-node service: one redis-server, reached over
// two connections (commands, and the subscription to the lobby channel and
// this node's own channel). Numbers are claimed by server-side scripts so
// that a claim and its announcement are one step.
//
// Keys: zel:ready (the table size), zel:free:users and zel:free:rooms
// (sorted sets of free numbers), zel:ids (hash id -> user number),
// zel:handle (the last handle given), zel:alive:<node> (renewed every second,
// gone 5 s after its node). Channels: zel:lobby, zel:node:<node>.
class TRedisLink : public TClusterIo {
public:
    TRedisLink(asio::io_context& io, TAsioServer& server, TServerCore& core, std::string host, int port, int node,
               int tableSize);

    // Connects, sets up the keys and subscribes; false with a reason when the
    // store cannot be reached, holds another table size or already has this node.
    bool Start(std::string& error);

    int Node() const override { return node_; }
    bool Up() const override { return up_; }
    void Publish(const std::vector<std::uint8_t>& event) override;
    void PublishTo(int node, const std::vector<std::uint8_t>& event) override;
    void ClaimUser(ConnId conn, const std::string& id, const std::vector<std::uint8_t>& event) override;
    void ReleaseUser(int user, const std::string& id, const std::vector<std::uint8_t>& event) override;
    void ClaimRoom(const std::vector<std::uint8_t>& event) override;
    void ReleaseRoom(int room) override;

    static constexpr int kAliveMs = 5000;
    static constexpr int kRenewMs = 1000;
    // A reply or message larger than this ends the link.
    static constexpr std::size_t kMaxInput = 1 << 24;

private:
    using Reply = std::function<void(const TRespElement&)>;
    void Command(const std::vector<std::string_view>& args, Reply reply);
    void ReadLoop(asio::ip::tcp::socket& socket, std::string& in, bool subscriber);
    void Element(const TRespElement& e, bool subscriber);
    void Flush();
    void Lost(const std::string& why);
    void Renew();
    std::string Channel(int node) const { return "zel:node:" + std::to_string(node); }

    asio::io_context& io_;
    TAsioServer& server_;
    TServerCore& core_;
    std::string host_;
    int port_;
    int node_;
    int tableSize_;
    bool up_ = false;
    asio::ip::tcp::socket commands_;
    asio::ip::tcp::socket subscriber_;
    asio::steady_timer renew_;
    std::string commandIn_;
    std::string subscriberIn_;
    std::string out_;     // commands not yet handed to a write
    std::string writing_; // the buffer of the write in progress
    std::deque<Reply> replies_;
    std::vector<char> commandBuffer_ = std::vector<char>(65536);
    std::vector<char> subscriberBuffer_ = std::vector<char>(65536);
};

} // namespace zel
