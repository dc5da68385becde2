#pragma once
#include <cstddef>
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
    // Queues a copy of the bytes for the connection; unknown or closed
    // connections drop them. Never calls back into the caller.
    virtual void Send(ConnId conn, const std::uint8_t* data, std::size_t size) = 0;
    void Send(ConnId conn, const std::vector<std::uint8_t>& bytes) { Send(conn, bytes.data(), bytes.size()); }
    // Ends the connection: after the queued bytes when `flush`, else at once.
    // The socket side reports the end later through the owner's OnClosed.
    virtual void Close(ConnId conn, bool flush) = 0;
    // One event line of the --log output.
    virtual void Log(const std::string& line) = 0;
    // Whether Log lines are wanted at all; callers build a line only when true.
    virtual bool Logging() const = 0;
};

} // namespace zel
