#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "server/ServerIo.h"

namespace zel {

// The configuration exchange on its own port: on connection the flag, the
// file count and the file sizes as "%10d" fields and a zero byte; the client
// answers with fields and a zero byte; an answer of 500 asks for the files,
// which follow back to back. The client closes when it is done.
class TConfigService {
public:
    TConfigService(TServerIo& io, int flag, std::vector<std::vector<std::uint8_t>> files);

    void OnConnected(ConnId conn);
    void OnBytes(ConnId conn, const std::uint8_t* data, std::size_t size);
    void OnClosed(ConnId conn);

    // The announcement sent on connection.
    std::string Announcement() const;
    static constexpr int kWantFiles = 500;
    static constexpr std::size_t kMaxAnswer = 64;

private:
    struct Session {
        std::string answer;
        int answers = 0; // complete answers read so far
    };

    TServerIo& io_;
    int flag_;
    std::vector<std::vector<std::uint8_t>> files_;
    std::map<ConnId, Session> sessions_;
};

} // namespace zel
