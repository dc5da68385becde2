#include "client/net/QtTransport.h"

#include <QByteArray>

namespace zel {

QtTransport::QtTransport(QObject* parent, int connectTimeoutMs) : QObject(parent), socket_(new QTcpSocket(this))
{
    connectTimer_.setSingleShot(true);
    connectTimer_.setInterval(connectTimeoutMs);
    connect(&connectTimer_, &QTimer::timeout, this, &QtTransport::OnConnectTimeout);
    connect(socket_, &QTcpSocket::connected, this, &QtTransport::OnConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &QtTransport::OnReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, &QtTransport::OnDisconnected);
    connect(socket_, &QAbstractSocket::errorOccurred, this, &QtTransport::OnSocketError);
}

QtTransport::~QtTransport()
{
    events_ = nullptr;
    socket_->disconnect(this);
    socket_->abort();
}

TransportError QtTransport::MapError(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return TransportError::Refused;
    case QAbstractSocket::SocketTimeoutError:
        return TransportError::TimedOut;
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::NetworkError:
        return TransportError::Reset;
    default:
        return TransportError::Other;
    }
}

void QtTransport::Open(const std::string& host, std::uint16_t port)
{
    if (open_)
        Close();
    open_ = true;
    connected_ = false;
    connectTimer_.start();
    socket_->connectToHost(QString::fromStdString(host), port);
}

std::size_t QtTransport::Send(const std::uint8_t* data, std::size_t size)
{
    if (!IsConnected() || size == 0)
        return 0;
    qint64 n = socket_->write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    socket_->flush();
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void QtTransport::Close()
{
    if (!open_)
        return;
    DropClosed();
}

bool QtTransport::IsConnected() const
{
    return open_ && connected_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void QtTransport::OnConnected()
{
    if (!open_)
        return;
    connectTimer_.stop();
    connected_ = true;
    if (events_)
        events_->OnConnected();
}

void QtTransport::OnReadyRead()
{
    // The handler may close this connection; stop reading once it has.
    while (open_ && socket_->bytesAvailable() > 0) {
        QByteArray bytes = socket_->read(163840);
        if (bytes.isEmpty())
            break;
        if (events_)
            events_->OnBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size()));
    }
}

void QtTransport::OnDisconnected()
{
    if (!open_)
        return;
    bool wasConnected = connected_;
    Finish();
    if (!events_)
        return;
    if (wasConnected)
        events_->OnClosed();
    else
        events_->OnError(TransportError::Reset);
}

void QtTransport::OnSocketError(QAbstractSocket::SocketError error)
{
    if (!open_)
        return;
    if (connected_) {
        // Bytes still buffered are delivered before the close is reported.
        if (socket_->bytesAvailable() > 0)
            OnReadyRead();
        if (open_)
            DropClosed();
        return;
    }
    DropWithError(MapError(error));
}

void QtTransport::OnConnectTimeout()
{
    if (!open_ || connected_)
        return;
    DropWithError(TransportError::TimedOut);
}

void QtTransport::Finish()
{
    connectTimer_.stop();
    open_ = false;
    connected_ = false;
}

void QtTransport::Drop()
{
    Finish();
    socket_->blockSignals(true);
    socket_->abort();
    socket_->blockSignals(false);
}

void QtTransport::DropClosed()
{
    Drop();
    if (events_)
        events_->OnClosed();
}

void QtTransport::DropWithError(TransportError error)
{
    Drop();
    if (events_)
        events_->OnError(error);
}

} // namespace zel
