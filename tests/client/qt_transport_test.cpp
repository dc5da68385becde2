#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <string>
#include <vector>

#include "QtTestApp.h"
#include "client/net/QtTransport.h"

namespace zel {
namespace {

struct Recorder : TransportEvents {
    void OnConnected() override { log.push_back("connected"); }
    void OnBytes(const std::uint8_t* data, std::size_t size) override
    {
        bytes.append(reinterpret_cast<const char*>(data), size);
    }
    void OnClosed() override { log.push_back("closed"); }
    void OnError(TransportError e) override { log.push_back("error " + std::to_string(static_cast<int>(e))); }
    std::vector<std::string> log;
    std::string bytes;
};

class QtTransportTest : public ::testing::Test {
protected:
    QtTransportTest() { test::App(); }
};

TEST_F(QtTransportTest, RefusedConnectionIsOneErrorAndNothingElse)
{
    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    QtTransport link;
    Recorder events;
    link.SetEvents(&events);
    link.Open("127.0.0.1", port);
    EXPECT_TRUE(link.IsOpen());
    ZEL_WAIT_FOR(!events.log.empty(), 5000);
    QTest::qWait(50);
    EXPECT_EQ(events.log, std::vector<std::string>{"error 10061"});
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(link.IsConnected());
}

TEST_F(QtTransportTest, BytesBothWaysThenOneCloseWhenThePeerLeaves)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QtTransport link;
    Recorder events;
    link.SetEvents(&events);
    link.Open("127.0.0.1", server.serverPort());
    ZEL_WAIT_FOR(server.hasPendingConnections(), 5000);
    QTcpSocket* peer = server.nextPendingConnection();
    ZEL_WAIT_FOR(link.IsConnected(), 5000);

    const std::uint8_t ping[] = {'p', 'i', 'n', 'g'};
    EXPECT_EQ(link.Send(ping, sizeof ping), sizeof ping);
    ZEL_WAIT_FOR((peer->bytesAvailable()) == (qint64(4)), 5000);
    EXPECT_EQ(peer->readAll(), QByteArray("ping"));

    peer->write("hello");
    peer->flush();
    ZEL_WAIT_FOR((events.bytes) == (std::string("hello")), 5000);
    peer->write("bye");
    peer->disconnectFromHost();
    ZEL_WAIT_FOR(!link.IsOpen(), 5000);
    QTest::qWait(50);
    EXPECT_EQ(events.bytes, "hellobye");
    EXPECT_EQ(events.log, (std::vector<std::string>{"connected", "closed"}));
    EXPECT_EQ(link.Send(ping, sizeof ping), 0u);
}

TEST_F(QtTransportTest, CloseReportsAtOnceAndReopenStartsAfresh)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QtTransport link;
    Recorder events;
    link.SetEvents(&events);

    // Closing while still connecting also ends with one close.
    link.Open("127.0.0.1", server.serverPort());
    link.Close();
    EXPECT_EQ(events.log, std::vector<std::string>{"closed"});
    link.Close();
    EXPECT_EQ(events.log.size(), 1u);

    events.log.clear();
    link.Open("127.0.0.1", server.serverPort());
    ZEL_WAIT_FOR(link.IsConnected(), 5000);
    link.Close();
    QTest::qWait(100);
    EXPECT_EQ(events.log, (std::vector<std::string>{"connected", "closed"}));
}

TEST_F(QtTransportTest, SocketErrorsMapToTheConnectionLogicCodes)
{
    EXPECT_EQ(QtTransport::MapError(QAbstractSocket::ConnectionRefusedError), TransportError::Refused);
    EXPECT_EQ(QtTransport::MapError(QAbstractSocket::SocketTimeoutError), TransportError::TimedOut);
    EXPECT_EQ(QtTransport::MapError(QAbstractSocket::RemoteHostClosedError), TransportError::Reset);
    EXPECT_EQ(QtTransport::MapError(QAbstractSocket::HostNotFoundError), TransportError::Other);
}

} // namespace
} // namespace zel
