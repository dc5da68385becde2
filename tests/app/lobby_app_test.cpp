#include <gtest/gtest.h>

#include "LobbyFixture.h"
#include "core/base/Cp949.h"

namespace zel {
namespace {

using test::Bytes;
using test::LobbyFixture;
using test::Packet;

const std::string kLost = Utf8ToCp949("접속이 끊겼습니다.");
const std::string kNotConnected = Utf8ToCp949("연결이 되지 않았습니다. 잠시후에...");
const std::string kDuplicate = Utf8ToCp949("같은 아이디가 이미 접속해 있습니다!");

struct LobbyApp : ::testing::Test, LobbyFixture {
    std::uint16_t SentU16(std::size_t offset) const { return GetU16(&game.sent.at(offset)); }
};

TEST_F(LobbyApp, StartUpThroughConfigurationAndLoginIntoTheLobby)
{
    app.FormShow("");
    EXPECT_EQ(app.State(), TLobbyApp::ConnectAtStart);
    EXPECT_EQ(view.infoWindows, 1); // first run
    EXPECT_EQ(view.panels[10], Utf8ToCp949("방 0 개(0 명)"));
    EXPECT_EQ(view.panels[11], Utf8ToCp949("대기실"));
    EXPECT_EQ(view.panels[13], Utf8ToCp949("일반 대화"));

    Advance(200);
    EXPECT_EQ(app.State(), TLobbyApp::WaitingForConfig);
    EXPECT_EQ(config.lastHost, "127.0.0.1");
    EXPECT_EQ(config.lastPort, 8080);
    EXPECT_FALSE(view.connectEnabled);

    config.PeerAccepts();
    EXPECT_EQ(app.State(), TLobbyApp::Configuring);
    EXPECT_FALSE(app.FirstConfigPending());
    // Flag 0, nothing to update: the login dialog still opens.
    config.PeerSends(Bytes(std::string("         0") + '\0'));
    EXPECT_FALSE(config.IsOpen());
    Advance(200);
    EXPECT_EQ(view.loginDialogs, 1);
    EXPECT_EQ(game.lastHost, "127.0.0.1");
    EXPECT_EQ(game.lastPort, 5554);

    status.login.userId = "ab";
    game.PeerAccepts();
    EXPECT_EQ(app.State(), TLobbyApp::Connected);
    EXPECT_TRUE(app.IsConnected());
    EXPECT_FALSE(app.CheckEnabled());
    // The greeting may arrive in pieces.
    std::vector<std::uint8_t> hello = Packet(21000);
    game.PeerSends({hello.begin(), hello.begin() + 3});
    EXPECT_TRUE(game.sent.empty());
    game.PeerSends({hello.begin() + 3, hello.end()});
    ASSERT_EQ(game.sent.size(), 38u);
    EXPECT_EQ(SentU16(0), 20010);
    EXPECT_EQ(std::string(game.sent.begin() + 20, game.sent.begin() + 28), std::string("abAAAA\0\0", 8));
    EXPECT_EQ(status.login.userId, "abAAAA");
    EXPECT_EQ(app.OwnId(), "abAAAA");
    EXPECT_EQ(prompts.notices.at(0).second, 1000);
    EXPECT_TRUE(view.disconnectGlyph);
    EXPECT_TRUE(view.connectEnabled);

    std::vector<std::uint8_t> accepted = Packet(21030, 12);
    PutU16(accepted.data() + 4, 9);
    PutU16(accepted.data() + 6, 4);
    game.PeerSends(accepted);
    EXPECT_EQ(app.OwnUser(), 9);
    EXPECT_EQ(app.OwnRoom(), 4);
    EXPECT_TRUE(app.LoggedIn());
    game.PeerSends(Packet(25020));
    EXPECT_TRUE(app.CheckEnabled());
    EXPECT_TRUE(view.roomEnabled);
    EXPECT_EQ(listener.codes, (std::vector<std::uint16_t>{21000, 21030, 25020}));
}

TEST_F(LobbyApp, FirstLoginDialogTidiesTheProgramDirectory)
{
    program.files = {{"a.zel", "first"}, {"b.zel", "second"}, {"ADVInfoB.gif", "gif"}, {"ZelE00.FNT", "font"}};
    records.files = {{"a.zel", "older copy"}};
    app.FormShow("");
    Advance(200);
    config.Fails(TransportError::Refused);
    Advance(TLobbyApp::kConfigTimeout + 400);
    ASSERT_EQ(view.loginDialogs, 1);

    // One record moves (overwriting), every picture moves, the rest stays.
    EXPECT_EQ(records.files["a.zel"], "first");
    EXPECT_EQ(banners.files["ADVInfoB.gif"], "gif");
    EXPECT_EQ(program.files.count("a.zel"), 0u);
    EXPECT_EQ(program.files.count("b.zel"), 1u);
    EXPECT_EQ(program.files.count("ADVInfoB.gif"), 0u);
    EXPECT_EQ(program.files.count("ZelE00.FNT"), 1u);

    // Only the first dialog tidies.
    program.files["c.gif"] = "late";
    app.ConnTBClick();
    Advance(200);
    EXPECT_EQ(program.files.count("c.gif"), 1u);
}

TEST_F(LobbyApp, TidyingKeepsFilesThatCannotBeCopied)
{
    program.files = {{"a.zel", "record"}, {"x.gif", "gif"}};
    records.failWrites = true;
    banners.failWrites = true;
    app.FormShow("");
    Advance(200);
    config.Fails(TransportError::Refused);
    Advance(TLobbyApp::kConfigTimeout + 400);
    ASSERT_EQ(view.loginDialogs, 1);
    EXPECT_EQ(program.files.size(), 2u);
}

TEST_F(LobbyApp, SilentConfigurationServerOpensTheLoginAfterFifteenSeconds)
{
    app.FormShow("");
    Advance(15000);
    EXPECT_EQ(view.loginDialogs, 0);
    Advance(400);
    EXPECT_EQ(view.loginDialogs, 1);
    EXPECT_TRUE(app.FirstConfigPending());
    EXPECT_FALSE(config.IsOpen());

    // A server that connects and then stalls mid-reply ends the same way.
    LobbyFixture second;
    second.view.loginAnswer = false;
    second.app.FormShow("");
    second.Advance(200);
    second.config.PeerAccepts();
    second.config.PeerSends(Bytes("      "));
    second.Advance(15000);
    EXPECT_EQ(second.view.loginDialogs, 0);
    second.Advance(600);
    EXPECT_EQ(second.view.loginDialogs, 1);
    EXPECT_FALSE(second.config.IsOpen());
    EXPECT_TRUE(second.view.connectEnabled); // cancelled
    EXPECT_EQ(second.app.State(), TLobbyApp::Idle);
}

TEST_F(LobbyApp, GarbledConfigurationReplyFallsBackToTheWait)
{
    app.FormShow("");
    Advance(200);
    config.PeerAccepts();
    config.PeerSends(Bytes(std::string("garbage!!!") + '\0'));
    EXPECT_EQ(app.State(), TLobbyApp::WaitingForConfig);
    EXPECT_FALSE(config.IsOpen());
    view.loginAnswer = false;
    Advance(15200);
    EXPECT_EQ(view.loginDialogs, 1);
    EXPECT_TRUE(view.connectEnabled);
    // The next connect goes straight to the login dialog.
    app.ConnTBClick();
    EXPECT_EQ(view.loginDialogs, 2);
    EXPECT_EQ(config.opens, 1);
}

TEST_F(LobbyApp, RecordPathOnTheCommandLineMakesNoConnection)
{
    app.FormShow("/tmp/my game.zel");
    EXPECT_EQ(app.RecordPath(), "/tmp/my game.zel");
    Advance(20000);
    EXPECT_EQ(app.State(), TLobbyApp::Idle);
    EXPECT_EQ(config.opens, 0);
    EXPECT_EQ(game.opens, 0);
    EXPECT_EQ(view.bannerLoads, 1);
}

TEST_F(LobbyApp, LostConnectionReconnectsWithTheSameNumbers)
{
    ToLobby(12, 3);
    game.PeerCloses();
    EXPECT_EQ(app.State(), TLobbyApp::LostWaiting);
    EXPECT_TRUE(app.Closing());
    EXPECT_TRUE(prompts.alerts.empty());
    int opens = game.opens;
    Advance(200);
    EXPECT_EQ(game.opens, opens);
    Advance(200);
    EXPECT_EQ(app.State(), TLobbyApp::Reconnecting);
    EXPECT_EQ(game.opens, opens + 1);
    game.PeerAccepts();
    EXPECT_EQ(app.State(), TLobbyApp::Connected);
    EXPECT_TRUE(app.CheckEnabled());
    game.PeerSends(Packet(21000));
    ASSERT_EQ(game.sent.size(), 38u);
    EXPECT_EQ(SentU16(0), 20020);
    EXPECT_EQ(SentU16(10), 12);
    EXPECT_EQ(SentU16(12), 3);
    EXPECT_FALSE(app.IsReconnecting());
    EXPECT_EQ(listener.cleanups, 0);
}

TEST_F(LobbyApp, ReconnectionThatNeverConnectsGivesUpAfterEightSeconds)
{
    ToLobby();
    game.PeerCloses();
    Advance(400);
    ASSERT_EQ(app.State(), TLobbyApp::Reconnecting);
    Advance(7800);
    EXPECT_EQ(app.State(), TLobbyApp::Reconnecting);
    Advance(400);
    EXPECT_EQ(app.State(), TLobbyApp::AfterDisconnect);
    EXPECT_EQ(prompts.alerts, std::vector<std::string>{kLost});
    EXPECT_EQ(listener.cleanups, 1);
    EXPECT_FALSE(app.IsConnected());
    EXPECT_FALSE(app.GaveUp());
    EXPECT_TRUE(view.connectEnabled);
    Advance(400);
    EXPECT_EQ(app.State(), TLobbyApp::Idle);
    // The next connection is a fresh login, not a re-login.
    app.ConnTBClick();
    game.PeerAccepts();
    game.PeerSends(Packet(21000));
    EXPECT_EQ(SentU16(0), 20010);
}

// A server that restarts refuses for a moment, or accepts and closes before
// it greets: the reconnection tries again within its eight seconds.
TEST_F(LobbyApp, ReconnectionTriesAgainWhileTheServerIsNotBack)
{
    struct Row {
        const char* name;
        bool refused; // else accepted and closed before the greeting
        int failures; // attempts that fail before one gets through
        bool back;    // the last attempt is greeted and re-logs in
    } rows[] = {
        {"refused once", true, 1, true},
        {"closed at once twice", false, 2, true},
        {"refused for the whole eight seconds", true, 40, false},
    };
    for (const Row& r : rows) {
        LobbyFixture f;
        f.ToLobby(12, 3);
        f.game.PeerCloses();
        f.Advance(400);
        for (int i = 0; i < r.failures && f.app.State() == TLobbyApp::Reconnecting; ++i) {
            if (r.refused) {
                f.game.Fails(TransportError::Refused);
            } else {
                f.game.PeerAccepts();
                f.game.PeerCloses();
            }
            f.Advance(400);
        }
        if (r.back) {
            ASSERT_EQ(f.app.State(), TLobbyApp::Reconnecting) << r.name;
            EXPECT_EQ(f.game.opens, 2 + r.failures) << r.name;
            f.game.PeerAccepts();
            f.game.PeerSends(Packet(21000));
            EXPECT_EQ(GetU16(&f.game.sent.at(0)), 20020) << r.name;
            EXPECT_EQ(GetU16(&f.game.sent.at(10)), 12) << r.name;
            EXPECT_TRUE(f.prompts.alerts.empty()) << r.name;
            EXPECT_EQ(f.listener.cleanups, 0) << r.name;
        } else {
            EXPECT_EQ(f.app.State(), TLobbyApp::Idle) << r.name;
            EXPECT_EQ(f.prompts.alerts, std::vector<std::string>{kLost}) << r.name;
            EXPECT_EQ(f.listener.cleanups, 1) << r.name;
            EXPECT_LE(f.game.opens, 2 + 8000 / 400) << r.name;
        }
    }
}

// The users of a server that is gone for good log in again on the next
// server of the list; a login from the dialog always starts at server 1.
TEST_F(LobbyApp, ReconnectionMovesOnThroughTheListedServers)
{
    status.host.hostCount = 3;
    status.host.hosts = {"10.0.0.1", "10.0.0.2", "", "10.0.0.9"};
    status.host.ports = {5554, 6001, 7000, 7001};
    ToLobby(12, 3);
    ASSERT_EQ(game.lastHost, "10.0.0.1");
    game.PeerCloses();
    Advance(400);
    ASSERT_EQ(app.State(), TLobbyApp::Reconnecting);
    EXPECT_EQ(game.lastHost, "10.0.0.1");
    game.Fails(TransportError::Refused);
    Advance(400);
    // The third entry is empty and the fourth is past the count: back to 2 after 1.
    EXPECT_EQ(game.lastHost, "10.0.0.2");
    EXPECT_EQ(game.lastPort, 6001);
    game.Fails(TransportError::Refused);
    Advance(400);
    EXPECT_EQ(game.lastHost, "10.0.0.1");
    game.Fails(TransportError::Refused);
    Advance(400);
    ASSERT_EQ(game.lastHost, "10.0.0.2");
    game.PeerAccepts();
    game.PeerSends(Packet(21000));
    EXPECT_EQ(SentU16(0), 20020);
    EXPECT_EQ(SentU16(10), 12);
    EXPECT_TRUE(prompts.alerts.empty());

    // The connection check asks the server the user is on now.
    std::vector<std::uint8_t> accepted = Packet(21030, 12);
    PutU16(accepted.data() + 4, 12);
    game.PeerSends(accepted);
    game.PeerSends(Packet(25020));
    Advance(TLobbyApp::kSilenceBeforeProbe + 400);
    EXPECT_EQ(probe.lastHost, "10.0.0.2");

    app.sbExitClick();
    Advance(TLobbyApp::kLeaveTimeout + 1000);
    app.ConnTBClick();
    Advance(400);
    EXPECT_EQ(game.lastHost, "10.0.0.1");
}

TEST_F(LobbyApp, ProbeVerdicts)
{
    struct Row {
        int verdict; // 0: the probe never answers
        int state;
        int alerts;
    } rows[] = {
        {1, TLobbyApp::AfterDisconnect, 1},
        {2, TLobbyApp::LostWaiting, 0},
        {3, TLobbyApp::Connected, 0},
        {0, TLobbyApp::LostWaiting, 0},
    };
    for (const Row& r : rows) {
        LobbyFixture f;
        f.ToLobby(5, 2);
        f.Advance(14800);
        ASSERT_EQ(f.app.State(), TLobbyApp::Connected) << r.verdict;
        f.Advance(400);
        ASSERT_EQ(f.app.State(), TLobbyApp::Probing) << r.verdict;
        EXPECT_EQ(f.probe.opens, 1);
        f.probe.PeerAccepts();
        f.probe.PeerSends(Packet(21000));
        ASSERT_EQ(f.probe.sent.size(), 38u);
        EXPECT_EQ(GetU16(&f.probe.sent[0]), 20060);
        EXPECT_EQ(GetU16(&f.probe.sent[10]), 5);
        EXPECT_EQ(GetU16(&f.probe.sent[12]), 2);
        if (r.verdict != 0)
            f.probe.PeerSends(Packet(20070, 6, static_cast<std::uint16_t>(r.verdict)));
        else
            f.Advance(8200);
        EXPECT_EQ(f.app.State(), r.state) << r.verdict;
        EXPECT_EQ(static_cast<int>(f.prompts.alerts.size()), r.alerts) << r.verdict;
        EXPECT_FALSE(f.probe.IsOpen()) << r.verdict;
        EXPECT_EQ(f.game.IsOpen(), r.verdict == 3) << r.verdict;
        if (r.verdict == 3) {
            // Alive: the silence count starts again.
            f.Advance(14800);
            EXPECT_EQ(f.app.State(), TLobbyApp::Connected);
        }
        if (r.verdict == 1) {
            // Unknown user: no reconnection follows.
            f.Advance(10000);
            EXPECT_EQ(f.game.opens, 1);
        }
    }
}

// The probe speaks for the connection that is open: an id edited in the
// settings meanwhile would make the server answer "unknown user".
TEST_F(LobbyApp, ProbeCarriesTheIdTheConnectionLoggedInWith)
{
    ToLobby(5, 2);
    status.login.userId = "changed";
    status.login.nickname = "other";
    Advance(15200);
    ASSERT_EQ(app.State(), TLobbyApp::Probing);
    probe.PeerAccepts();
    probe.PeerSends(Packet(21000));
    ASSERT_EQ(probe.sent.size(), 38u);
    EXPECT_EQ(std::string(probe.sent.begin() + 20, probe.sent.begin() + 28), std::string("tester\0\0", 8));
    EXPECT_EQ(std::string(probe.sent.begin() + 28, probe.sent.begin() + 32), "nick");
}

// At the first start the personal-information window comes before anything
// else: no configuration exchange and no login until it has closed.
TEST_F(LobbyApp, FirstStartConnectsOnlyAfterThePersonalInformation)
{
    view.infoAnswered = nullptr;
    app.FormShow("");
    EXPECT_EQ(view.infoWindows, 1);
    EXPECT_TRUE(app.WaitingForPersonalInfo());
    Advance(20000);
    EXPECT_EQ(app.State(), TLobbyApp::Idle);
    EXPECT_EQ(config.opens, 0);
    EXPECT_EQ(view.loginDialogs, 0);

    app.PersonalInfoClosed();
    EXPECT_FALSE(app.WaitingForPersonalInfo());
    Advance(200);
    EXPECT_EQ(app.State(), TLobbyApp::WaitingForConfig);
    EXPECT_EQ(config.opens, 1);
    // A later close of the window (opened from the toolbar) starts nothing.
    app.PersonalInfoClosed();
    EXPECT_EQ(app.State(), TLobbyApp::WaitingForConfig);
}

TEST_F(LobbyApp, TrafficOnTheGameConnectionEndsTheProbe)
{
    ToLobby();
    Advance(15200);
    ASSERT_EQ(app.State(), TLobbyApp::Probing);
    game.PeerSends(Packet(20050));
    EXPECT_EQ(app.State(), TLobbyApp::Connected);
    EXPECT_FALSE(probe.IsOpen());
    probe.PeerSends(Packet(20070, 6, 1));
    EXPECT_EQ(app.State(), TLobbyApp::Connected);
}

TEST_F(LobbyApp, DisconnectCases)
{
    struct Row {
        const char* name;
        std::uint16_t code; // server packet before the close, 0 none
        bool loggedIn;
        int state;
        std::string alert;
        int cleanups;
    } rows[] = {
        {"duplicate login", 20030, false, TLobbyApp::AfterDisconnect, kDuplicate, 0},
        {"server ends the connection", 20040, true, TLobbyApp::AfterDisconnect, kLost, 1},
        {"closed before the login was accepted", 0, false, TLobbyApp::AfterDisconnect, kNotConnected, 0},
    };
    for (const Row& r : rows) {
        LobbyFixture f;
        f.ToLoginConnect();
        f.game.PeerAccepts();
        f.game.PeerSends(Packet(21000));
        if (r.loggedIn)
            f.game.PeerSends(Packet(21030, 12, 0));
        if (r.code != 0)
            f.game.PeerSends(Packet(r.code));
        else
            f.game.PeerCloses();
        EXPECT_EQ(f.app.State(), r.state) << r.name;
        EXPECT_EQ(f.prompts.alerts, std::vector<std::string>{r.alert}) << r.name;
        EXPECT_EQ(f.listener.cleanups, r.cleanups) << r.name;
        EXPECT_FALSE(f.app.IsConnected()) << r.name;
        EXPECT_FALSE(f.game.IsOpen()) << r.name;
        EXPECT_TRUE(f.view.connectEnabled) << r.name;
        EXPECT_FALSE(f.view.disconnectGlyph) << r.name;
        f.Advance(10000);
        EXPECT_EQ(f.game.opens, 1) << r.name << ": no reconnection";
        EXPECT_EQ(f.app.State(), TLobbyApp::Idle) << r.name;
    }
}

TEST_F(LobbyApp, FailedConnectionsEndInTheNotice)
{
    struct Row {
        const char* name;
        TransportError error; // Other: the server accepts and never speaks
    } rows[] = {
        {"refused", TransportError::Refused},
        {"timed out", TransportError::TimedOut},
        {"silent server", TransportError::Other},
    };
    for (const Row& r : rows) {
        LobbyFixture f;
        f.ToLoginConnect();
        if (r.error == TransportError::Other) {
            f.game.PeerAccepts();
            f.Advance(14800);
            EXPECT_TRUE(f.prompts.alerts.empty()) << r.name;
            f.Advance(400);
        } else {
            f.game.Fails(r.error);
        }
        EXPECT_EQ(f.prompts.alerts, std::vector<std::string>{kNotConnected}) << r.name;
        EXPECT_EQ(f.app.State(), TLobbyApp::AfterDisconnect) << r.name;
        EXPECT_TRUE(f.view.connectEnabled) << r.name;
        EXPECT_FALSE(f.game.IsOpen()) << r.name;
        f.Advance(400);
        // Ready for another try through the login dialog.
        f.app.ConnTBClick();
        EXPECT_EQ(f.view.loginDialogs, 2) << r.name;
        EXPECT_EQ(f.game.opens, 2) << r.name;
    }
}

TEST_F(LobbyApp, LeavingWithTheConnectButton)
{
    ToLobby(6, 0);
    app.ConnTBClick();
    ASSERT_EQ(game.sent.size(), 6u);
    EXPECT_EQ(SentU16(0), 21020);
    EXPECT_EQ(SentU16(4), 6);
    EXPECT_EQ(app.State(), TLobbyApp::Leaving);
    EXPECT_FALSE(view.connectEnabled);
    // A server that does not close is closed after 4.5 s.
    Advance(4400);
    EXPECT_TRUE(game.IsOpen());
    Advance(200);
    EXPECT_FALSE(game.IsOpen());
    EXPECT_EQ(app.State(), TLobbyApp::AfterDisconnect);
    EXPECT_FALSE(app.LeavingFlag());
    EXPECT_EQ(prompts.alerts, std::vector<std::string>{kLost});
    EXPECT_EQ(view.closes, 0);
}

TEST_F(LobbyApp, ExitWaitsForTheServerThenClosesTheWindow)
{
    ToLobby(6, 0);
    EXPECT_FALSE(app.FormCloseQuery());
    ASSERT_EQ(prompts.notices.back(), std::make_pair(Utf8ToCp949("'종료' 버튼을 사용하세요!"), 1500));
    app.sbExitClick();
    EXPECT_EQ(SentU16(0), 21020);
    EXPECT_EQ(app.State(), TLobbyApp::Leaving);
    game.PeerCloses();
    EXPECT_EQ(app.State(), TLobbyApp::Quit);
    EXPECT_EQ(view.closes, 0);
    Advance(200);
    EXPECT_EQ(view.closes, 1);
    EXPECT_TRUE(app.FormCloseQuery());

    LobbyFixture idle;
    idle.app.FormShow("x.zel");
    idle.app.sbExitClick();
    EXPECT_EQ(idle.view.closes, 1);
    EXPECT_TRUE(idle.app.FormCloseQuery());
}

TEST_F(LobbyApp, ClockPanelFollowsTheSecond)
{
    app.FormShow("x.zel");
    clock.Set(13 * 3600 * 1000 + 5 * 60 * 1000 + 9 * 1000 + 100);
    app.Tick(clock.Now());
    EXPECT_EQ(view.panels[14], "01:05:09");
    view.panels[14].clear();
    app.Tick(clock.Now() + 200);
    EXPECT_EQ(view.panels[14], "");
    app.Tick(clock.Now() + 1000);
    EXPECT_EQ(view.panels[14], "01:05:10");
}

TEST_F(LobbyApp, ProfileChangeCarriesTheOwnNumbersAndSettings)
{
    ToLobby(8, 2);
    status.login.inviteOn = false;
    status.login.profile = true;
    status.login.level = 33;
    app.SendProfileChange();
    ASSERT_EQ(game.sent.size(), 14u);
    EXPECT_EQ(SentU16(0), 26010);
    EXPECT_EQ(SentU16(2), 14);
    EXPECT_EQ(SentU16(4), 8);
    EXPECT_EQ(SentU16(6), 2);
    EXPECT_EQ(game.sent[8], 10);
    EXPECT_EQ(game.sent[9], 10);
    EXPECT_EQ(game.sent[10], 33);
    EXPECT_EQ(app.OwnRank(), "4P");
}

TEST_F(LobbyApp, NothingIsSentOrDeliveredWhileTheConnectionIsLost)
{
    ToLobby();
    game.PeerCloses();
    ASSERT_TRUE(app.Closing());
    listener.codes.clear();
    app.SendProfileChange();
    EXPECT_TRUE(game.sent.empty());
    game.PeerSends(Packet(25020));
    EXPECT_TRUE(listener.codes.empty());
}

} // namespace
} // namespace zel
