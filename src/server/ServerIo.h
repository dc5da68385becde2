#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

// Connection numbers are given by the socket side, unique for the process.
using ConnId = std::uint32_t;

// What the socket-free server logic asks of the socket side.
class TServerIo {
public:
    virtual ~TServerIo() = default;
    // Queues bytes for the connection; unknown or closed connections drop them.
    virtual void Send(ConnId conn, std::vector<std::uint8_t> bytes) = 0;
    // Ends the connection: after the queued bytes when `flush`, else at once.
    // The socket side reports the end later through the owner's OnClosed.
    virtual void Close(ConnId conn, bool flush) = 0;
    // One event line of the --log output.
    virtual void Log(const std::string& line) = 0;
};

} // namespace zel
