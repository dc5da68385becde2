#include "server/RedisLink.h"

#include <charconv>
#include <iostream>

#include "server/AsioServer.h"
#include "server/ServerCore.h"

namespace zel {

namespace {

const char* const kLobby = "zel:lobby";
const char* const kReady = "zel:ready";
const char* const kFreeUsers = "zel:free:users";
const char* const kFreeRooms = "zel:free:rooms";
const char* const kIds = "zel:ids";
const char* const kHandle = "zel:handle";

// A service whose nodes are all gone starts afresh; the first node fills the free numbers.
const char* const kInitScript = R"(
if #redis.call('KEYS', 'zel:alive:*') == 0 then
  redis.call('DEL', KEYS[1], KEYS[2], KEYS[3], KEYS[4], KEYS[5])
end
if redis.call('SETNX', KEYS[1], ARGV[1]) == 1 then
  for i = 1, tonumber(ARGV[1]) - 1 do
    redis.call('ZADD', KEYS[2], i, i)
    redis.call('ZADD', KEYS[3], i, i)
  end
end
return redis.call('GET', KEYS[1])
)";

// The lowest free number for an id not yet claimed, announced with its handle.
const char* const kClaimUserScript = R"(
local have = redis.call('HGET', KEYS[1], ARGV[1])
if have then return -tonumber(have) end
local got = redis.call('ZPOPMIN', KEYS[2])
if #got == 0 then return 0 end
local n = tonumber(got[1])
local h = redis.call('INCR', KEYS[4]) % 65535 + 1
redis.call('HSET', KEYS[1], ARGV[1], n)
local e = ARGV[2]
redis.call('PUBLISH', KEYS[3], string.sub(e, 1, 5) .. string.char(n % 256, math.floor(n / 256)) ..
  string.sub(e, 8, 11) .. string.char(h % 256, math.floor(h / 256)) .. string.sub(e, 14))
return n
)";

const char* const kReleaseUserScript = R"(
if redis.call('HGET', KEYS[1], ARGV[1]) ~= ARGV[2] then return 0 end
redis.call('HDEL', KEYS[1], ARGV[1])
redis.call('ZADD', KEYS[2], tonumber(ARGV[2]), ARGV[2])
redis.call('PUBLISH', KEYS[3], ARGV[3])
return 1
)";

const char* const kClaimRoomScript = R"(
local got = redis.call('ZPOPMIN', KEYS[1])
if #got == 0 then return 0 end
local n = tonumber(got[1])
local e = ARGV[1]
redis.call('PUBLISH', KEYS[2], string.sub(e, 1, 5) .. string.char(n % 256, math.floor(n / 256)) .. string.sub(e, 8))
return n
)";

std::string_view View(const std::vector<std::uint8_t>& b)
{
    return std::string_view(reinterpret_cast<const char*>(b.data()), b.size());
}

long long Integer(const TRespElement& e)
{
    long long v = 0;
    if (e.type == ':')
        std::from_chars(e.text.data(), e.text.data() + e.text.size(), v);
    return v;
}

// One command and its reply on a connection not yet read asynchronously.
bool Call(asio::ip::tcp::socket& socket, const std::string& command, std::string& reply, std::string& error)
{
    asio::error_code ec;
    asio::write(socket, asio::buffer(command), ec);
    std::string in;
    char buf[4096];
    TRespElement e;
    while (!ec) {
        std::size_t n = ParseResp(in, e);
        if (n == std::string_view::npos)
            break;
        if (n > 0) {
            reply.assign(e.text);
            if (e.type == '-') {
                error = "store: " + reply;
                return false;
            }
            reply = std::string(1, e.type) + reply;
            return true;
        }
        std::size_t got = socket.read_some(asio::buffer(buf), ec);
        in.append(buf, got);
    }
    error = "store: " + (ec ? ec.message() : std::string("bad reply"));
    return false;
}

} // namespace

TRedisLink::TRedisLink(asio::io_context& io, TAsioServer& server, TServerCore& core, std::string host, int port,
                       int node, int tableSize)
    : io_(io), server_(server), core_(core), host_(std::move(host)), port_(port), node_(node), tableSize_(tableSize),
      commands_(io), subscriber_(io), renew_(io)
{
}

bool TRedisLink::Start(std::string& error)
{
    asio::error_code ec;
    asio::ip::tcp::resolver resolver(io_);
    auto endpoints = resolver.resolve(host_, std::to_string(port_), ec);
    if (!ec)
        asio::connect(commands_, endpoints, ec);
    if (!ec)
        asio::connect(subscriber_, endpoints, ec);
    if (ec) {
        error = "cannot reach the store at " + host_ + ":" + std::to_string(port_) + ": " + ec.message();
        return false;
    }
    std::string size = std::to_string(tableSize_);
    std::string reply;
    if (!Call(commands_, RespCommand({"EVAL", kInitScript, "5", kReady, kFreeUsers, kFreeRooms, kIds, kHandle, size}),
              reply, error))
        return false;
    if (reply != "$" + size) {
        error = "the store's service has table size " + reply.substr(1) + ", not " + size;
        return false;
    }
    // A node learns the lobby only from the events it sees: it cannot join a
    // service whose users logged in before it.
    if (!Call(commands_, RespCommand({"HLEN", kIds}), reply, error))
        return false;
    if (reply != ":0") {
        error = "the service already has users; a node joins only before the first login";
        return false;
    }
    std::string alive = "zel:alive:" + std::to_string(node_);
    std::string me = std::to_string(node_);
    if (!Call(commands_, RespCommand({"SET", alive, me, "PX", std::to_string(kAliveMs), "NX"}), reply, error))
        return false;
    if (reply != "+OK") {
        error = "node " + me + " is already running";
        return false;
    }
    if (!Call(subscriber_, RespCommand({"SUBSCRIBE", kLobby, Channel(node_)}), reply, error))
        return false;
    // The second confirmation is read by the loop and passed over there.
    up_ = true;
    asio::error_code ignored;
    commands_.set_option(asio::ip::tcp::no_delay(true), ignored);
    ReadLoop(commands_, commandIn_, false);
    ReadLoop(subscriber_, subscriberIn_, true);
    Renew();
    return true;
}

void TRedisLink::Renew()
{
    renew_.expires_after(std::chrono::milliseconds(kRenewMs));
    renew_.async_wait([this](const asio::error_code& ec) {
        if (ec || !up_)
            return;
        std::string me = std::to_string(node_);
        Command({"SET", "zel:alive:" + me, me, "PX", std::to_string(kAliveMs)}, nullptr);
        for (int node : core_.OtherNodes()) {
            Command({"EXISTS", "zel:alive:" + std::to_string(node)}, [this, node](const TRespElement& e) {
                if (e.type == ':' && Integer(e) == 0)
                    core_.OnNodeGone(node, server_.Now());
            });
        }
        Renew();
    });
}

void TRedisLink::Command(const std::vector<std::string_view>& args, Reply reply)
{
    if (!up_)
        return;
    out_ += RespCommand(args);
    replies_.push_back(std::move(reply));
    if (writing_.empty())
        Flush();
}

void TRedisLink::Flush()
{
    if (out_.empty() || !up_)
        return;
    writing_.swap(out_);
    asio::async_write(commands_, asio::buffer(writing_), [this](const asio::error_code& ec, std::size_t) {
        writing_.clear();
        if (ec) {
            Lost(ec.message());
            return;
        }
        Flush();
    });
}

void TRedisLink::ReadLoop(asio::ip::tcp::socket& socket, std::string& in, bool subscriber)
{
    std::vector<char>& buffer = subscriber ? subscriberBuffer_ : commandBuffer_;
    socket.async_read_some(asio::buffer(buffer),
                           [this, &socket, &in, &buffer, subscriber](const asio::error_code& ec, std::size_t n) {
                               if (!up_)
                                   return;
                               if (ec) {
                                   Lost(ec.message());
                                   return;
                               }
                               in.append(buffer.data(), n);
                               std::size_t at = 0;
                               TRespElement e;
                               for (;;) {
                                   std::size_t used = ParseResp(std::string_view(in).substr(at), e);
                                   if (used == std::string_view::npos) {
                                       Lost("not RESP");
                                       return;
                                   }
                                   if (used == 0)
                                       break;
                                   at += used;
                                   Element(e, subscriber);
                                   if (!up_)
                                       return;
                               }
                               in.erase(0, at);
                               if (in.size() > kMaxInput) {
                                   Lost("reply too large");
                                   return;
                               }
                               ReadLoop(socket, in, subscriber);
                           });
}

void TRedisLink::Element(const TRespElement& e, bool subscriber)
{
    if (subscriber) {
        if ((e.type == '*' || e.type == '>') && e.items.size() == 3 && e.items[0] == "message") {
            std::string_view payload = e.items[2];
            core_.OnClusterEvent(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size(), server_.Now());
        }
        return;
    }
    if (replies_.empty()) {
        Lost("unexpected reply");
        return;
    }
    Reply reply = std::move(replies_.front());
    replies_.pop_front();
    if (e.type == '-' && server_.Logging())
        server_.Log("store error " + std::string(e.text));
    if (reply)
        reply(e);
}

void TRedisLink::Lost(const std::string& why)
{
    if (!up_)
        return;
    up_ = false;
    std::cout << "store lost: " << why << std::endl;
    asio::error_code ignored;
    renew_.cancel();
    commands_.close(ignored);
    subscriber_.close(ignored);
    replies_.clear();
    core_.OnClusterLost(server_.Now());
}

void TRedisLink::Publish(const std::vector<std::uint8_t>& event)
{
    Command({"PUBLISH", kLobby, View(event)}, nullptr);
}

void TRedisLink::PublishTo(int node, const std::vector<std::uint8_t>& event)
{
    Command({"PUBLISH", Channel(node), View(event)}, nullptr);
}

void TRedisLink::ClaimUser(ConnId conn, const std::string& id, const std::vector<std::uint8_t>& event)
{
    Command({"EVAL", kClaimUserScript, "4", kIds, kFreeUsers, kLobby, kHandle, id, View(event)},
            [this, conn](const TRespElement& e) {
                core_.OnUserClaimed(conn, static_cast<int>(Integer(e)), server_.Now());
            });
}

void TRedisLink::ReleaseUser(int user, const std::string& id, const std::vector<std::uint8_t>& event)
{
    Command({"EVAL", kReleaseUserScript, "3", kIds, kFreeUsers, kLobby, id, std::to_string(user), View(event)},
            nullptr);
}

void TRedisLink::ClaimRoom(const std::vector<std::uint8_t>& event)
{
    Command({"EVAL", kClaimRoomScript, "2", kFreeRooms, kLobby, View(event)}, [this, event](const TRespElement& e) {
        if (Integer(e) <= 0)
            core_.OnRoomClaimed(event, server_.Now());
    });
}

void TRedisLink::ReleaseRoom(int room)
{
    std::string n = std::to_string(room);
    Command({"ZADD", kFreeRooms, n, n}, nullptr);
}

} // namespace zel
