#pragma once
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include "core/ports/Transport.h"

namespace zel {

// One client connection over a non-blocking QTcpSocket. Reports connect,
// received bytes and close to the core on the GUI thread. A failure while
// connecting arrives as OnError (refused, timed out, reset ...) and nothing
// else; once connected, any end of the connection arrives as one OnClosed.
class QtTransport : public QObject, public Transport {
    Q_OBJECT
public:
    explicit QtTransport(QObject* parent = nullptr, int connectTimeoutMs = 10000);
    ~QtTransport() override;

    void SetEvents(TransportEvents* events) override { events_ = events; }
    void Open(const std::string& host, std::uint16_t port) override;
    std::size_t Send(const std::uint8_t* data, std::size_t size) override;
    void Close() override;
    bool IsConnected() const override;
    bool IsOpen() const override { return open_; }

    static TransportError MapError(QAbstractSocket::SocketError error);

private:
    void OnConnected();
    void OnReadyRead();
    void OnDisconnected();
    void OnSocketError(QAbstractSocket::SocketError error);
    void OnConnectTimeout();
    void Finish();
    // Finish, and the socket is aborted without raising its signals.
    void Drop();
    // Drop, then the close or the failure is reported.
    void DropClosed();
    void DropWithError(TransportError error);

    QTcpSocket* socket_;
    QTimer connectTimer_;
    TransportEvents* events_ = nullptr;
    bool open_ = false;
    bool connected_ = false;
};

} // namespace zel
