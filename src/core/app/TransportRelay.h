#pragma once
#include <functional>

#include "core/ports/Transport.h"

namespace zel {

// Forwards one transport's events to plain callbacks, so that one owner can
// listen to several transports. Unset callbacks drop the event.
class TransportRelay : public TransportEvents {
public:
    std::function<void()> connected;
    std::function<void(const std::uint8_t*, std::size_t)> bytes;
    std::function<void()> closed;
    std::function<void(TransportError)> error;

    void OnConnected() override
    {
        if (connected)
            connected();
    }
    void OnBytes(const std::uint8_t* data, std::size_t size) override
    {
        if (bytes)
            bytes(data, size);
    }
    void OnClosed() override
    {
        if (closed)
            closed();
    }
    void OnError(TransportError e) override
    {
        if (error)
            error(e);
    }
};

} // namespace zel
