#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LoadOptions.h"
#include "LoadStats.h"
#include "Peer.h"

namespace zel::load {

// Runs the phases of one load run on one epoll loop and prints one
// "key=value" line per phase on standard output.
class TLoadDriver : public TPeerEvents {
public:
    explicit TLoadDriver(const TLoadOptions& options);
    ~TLoadDriver() override;

    // 0 when every phase finished in time, 1 when one timed out or lost users.
    int Run();

    void LoggedIn(TPeer& peer) override;
    void LoginRefused(TPeer& peer) override;
    void RoomKnown(TPeer& maker, int room) override;
    void Joined(TPeer& peer) override;
    void Delivered(TPeer& peer, std::string_view text) override;
    void Send(TPeer& peer, std::string_view bytes) override;

private:
    TPeer& StartLogin();
    bool LoginUpTo(int count);
    bool Extra();
    bool MakeRooms();
    bool Traffic();
    void SendText(TPeer& from, std::uint64_t seq);

    // Runs the loop until `done` or the phase time-out; false on time-out.
    bool RunUntil(const std::function<bool()>& done, double timeoutS);
    // Runs the loop until nothing arrived for `quietMs`.
    void Settle(int quietMs);
    void Poll(int timeoutMs);
    void Readable(TPeer& peer);
    void Writable(TPeer& peer);
    void Flush(TPeer& peer);
    void Watch(TPeer& peer, bool write);
    void Close(TPeer& peer);
    std::int64_t NowUs() const;
    std::string ServerFigures() const;

    TLoadOptions options_;
    std::unique_ptr<TProtocol> protocol_;
    int epoll_ = -1;
    std::vector<std::unique_ptr<TPeer>> peers_;
    std::int64_t start_ = 0;
    std::int64_t lastRecv_ = 0;
    std::vector<std::uint8_t> readBuffer_;

    int loggedIn_ = 0;
    int refused_ = 0;
    int dropped_ = 0;
    int pending_ = 0; // logins under way
    TLatency loginLatency_;

    std::vector<std::vector<int>> roomMembers_; // peer indices of each room, maker first
    int joined_ = 0;

    std::uint64_t delivered_ = 0;
    std::uint64_t inWindow_ = 0;
    std::int64_t windowEnd_ = 0;
    TLatency deliveryLatency_;
};

} // namespace zel::load
