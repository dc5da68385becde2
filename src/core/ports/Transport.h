#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace zel {

// Socket error codes as the connection logic knows them (the values of the
// original platform's socket errors, so that their handling reads the same).
enum class TransportError : int {
    Aborted = 10053,  // connection aborted locally
    Reset = 10054,    // connection reset by peer
    TimedOut = 10060, // connect timed out
    Refused = 10061,  // connection refused
    Other = 1,
};

// What a transport reports back to the core. Calls arrive on the one thread.
class TransportEvents {
public:
    virtual ~TransportEvents() = default;
    virtual void OnConnected() = 0;
    virtual void OnBytes(const std::uint8_t* data, std::size_t size) = 0;
    // The connection is gone (closed by the peer or by Close()).
    virtual void OnClosed() = 0;
    // A failure; while connecting it is followed by nothing else.
    virtual void OnError(TransportError error) = 0;
};

// One client connection (game server, probe or configuration server).
// Open() starts connecting and returns at once; the outcome arrives as events.
class Transport {
public:
    virtual ~Transport() = default;
    virtual void SetEvents(TransportEvents* events) = 0;
    virtual void Open(const std::string& host, std::uint16_t port) = 0;
    // Offers bytes; returns how many were taken (0 when not connected).
    virtual std::size_t Send(const std::uint8_t* data, std::size_t size) = 0;
    // Closes if open; OnClosed follows when a connection was open.
    virtual void Close() = 0;
    virtual bool IsConnected() const = 0;
    // True from Open() until the connection is closed or has failed.
    virtual bool IsOpen() const = 0;
};

} // namespace zel
