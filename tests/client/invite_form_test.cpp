#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "QtTestApp.h"
#include "client/base/QtText.h"
#include "client/lobby/InviteForm.h"
#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/Invitation.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketSender.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/LobbyPackets.h"

namespace zel {
namespace {

using test::Bytes;

// The lobby's part as the lobby window plays it: the dialog opens with the
// invitation, its gauge follows the dispatch's count, and it goes when the
// invitation is over.
struct DialogPorts : LobbyPorts {
    void Print(const std::string& line, bool) override { lines.push_back(line); }
    void InvitationOpened(const TInvitation& invitation) override
    {
        form = std::make_unique<TInviteForm>(*dispatch, invitation);
        form->show();
    }
    void InvitationChanged(const TInvitation& invitation) override { form->SetGauge(invitation.gauge); }
    void InvitationClosed() override
    {
        ++closed;
        form->hide();
    }

    TLobbyDispatch* dispatch = nullptr;
    std::unique_ptr<TInviteForm> form;
    std::vector<std::string> lines;
    int closed = 0;
};

struct NoGame : GameSessionPort {
    void RequestGame(const std::string&) override {}
    bool IsBlackOfRunningGame() const override { return false; }
    void SendGameState(int) override {}
    void HandleMarker(char, const std::string&) override {}
    void HandleArgument(char, int) override {}
};

// Logged in as user 1 with alice (2) in the waiting room; alice invites.
struct Invited {
    Invited()
    {
        test::App();
        ports.dispatch = &d;
        environment.messages[0] = KS("지금은 바빠요");
        transport.Open("h", 1);
        transport.PeerAccepts();
        d.SetIdentity({"me", "Me", 20, 10, 20});
        Feed(test::LoginAccepted(1, 0, 10));
        Feed(test::RoomMembers(0, {{1, "me", "Me", 20}, {2, "alice", KS("앨리스"), 13, 10, 77}}));
        transport.sent.clear();
    }
    void Feed(const Bytes& b) { d.OnPacket(b.data(), b.size()); }
    // The one packet sent since the last call.
    Bytes SentPacket()
    {
        Bytes out(transport.sent.begin(), transport.sent.end());
        transport.sent.clear();
        return out;
    }
    TInviteForm& Form() { return *ports.form; }

    test::FakeTransport transport;
    PacketSender sender{transport, nullptr};
    LoginInfo login;
    FriendsInfo friends;
    EnvironmentInfo environment;
    test::ManualClock clock{5000};
    DialogPorts ports;
    NoGame game;
    TLobbyDispatch d{sender, LobbySettings{login, friends, environment, [](const std::string&) {}}, clock, ports, game};
};

TEST(InviteForm, ShowsWhoInvitesTheRefusalTextAndTheGauge)
{
    struct Row {
        std::uint16_t code;
        int room;
        const char* first;
        const char* second;
    };
    for (const Row row : {Row{pk::RoomInvite, 5, "앨리스(alice)  5K 님이", "5번 방에서 초대합니다."},
                          Row{pk::GameInvite, 7, "앨리스(alice)  5K 님의", "대국신청 초대입니다."}}) {
        Invited t;
        t.Feed(test::Invitation(row.code, 2, 0, 1, 9, row.room));
        ASSERT_NE(t.ports.form, nullptr);
        TInviteForm& f = t.Form();
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8("확인 하세요"));
        EXPECT_EQ(f.lbFirst->text(), QString::fromUtf8(row.first));
        EXPECT_EQ(f.lbSecond->text(), QString::fromUtf8(row.second));
        EXPECT_EQ(f.eReject->text(), QString::fromUtf8("지금은 바빠요"));
        EXPECT_FALSE(f.eReject->isReadOnly());
        EXPECT_EQ(f.btnAccept->text(), QString::fromUtf8("초대 응함"));
        EXPECT_EQ(f.btnRefuse->text(), QString::fromUtf8("초대 거부"));
        EXPECT_EQ(f.pbAuto->value(), 0);
        EXPECT_EQ(f.pbAuto->maximum(), 10);
        bool labelled = false;
        for (QLabel* label : f.findChildren<QLabel*>())
            labelled = labelled || label->text() == QString::fromUtf8("자동거부");
        EXPECT_TRUE(labelled);
        if (row.code == pk::RoomInvite)
            test::SaveScreenshot(f, "invite_form.png");
    }
}

TEST(InviteForm, AcceptSendsTheInvitationBackUnchanged)
{
    Invited t;
    const Bytes invitation = test::Invitation(pk::RoomInvite, 2, 0, 1, 9, 5);
    t.Feed(invitation);
    QTest::mouseClick(t.Form().btnAccept, Qt::LeftButton);
    const Bytes sent = t.SentPacket();
    ASSERT_EQ(sent.size(), 14u);
    EXPECT_EQ(GetU16(sent.data()), pk::RoomInviteAccept);
    EXPECT_TRUE(std::equal(invitation.begin() + 4, invitation.end(), sent.begin() + 4));
    EXPECT_EQ(t.d.Invitation(), nullptr);
    EXPECT_EQ(t.ports.closed, 1);
    EXPECT_FALSE(t.Form().isVisible());
}

TEST(InviteForm, RefusalsCarryTheTextAsEdited)
{
    enum class How { Button, Close, Timeout };
    struct Row {
        How how;
        std::uint16_t code, refusal;
    };
    for (const Row row :
         {Row{How::Button, pk::RoomInvite, pk::RoomInviteRefuse}, Row{How::Close, pk::GameInvite, pk::GameInviteRefuse},
          Row{How::Timeout, pk::GameInvite, pk::GameInviteRefuse}}) {
        Invited t;
        t.Feed(test::Invitation(row.code, 2, 0, 1, 9, 5));
        TInviteForm& f = t.Form();
        f.eReject->selectAll();
        QTest::keyClicks(f.eReject, "later, sorry");
        switch (row.how) {
        case How::Button:
            QTest::mouseClick(f.btnRefuse, Qt::LeftButton);
            break;
        case How::Close:
            QTest::keyClick(&f, Qt::Key_Escape);
            break;
        case How::Timeout:
            for (int s = 1; s <= 9; ++s) {
                t.clock.Advance(1000);
                t.d.Tick(t.clock.Now());
                EXPECT_EQ(f.pbAuto->value(), s);
                EXPECT_TRUE(t.transport.sent.empty());
            }
            t.clock.Advance(1000);
            t.d.Tick(t.clock.Now());
            break;
        }
        const Bytes sent = t.SentPacket();
        ASSERT_EQ(sent.size(), 42u);
        EXPECT_EQ(GetU16(sent.data()), row.refusal);
        EXPECT_EQ(GetText(sent.data() + 10, 32), "later, sorry");
        EXPECT_EQ(t.d.Invitation(), nullptr);
        EXPECT_EQ(t.ports.lines.back(), KS("   ### 5번 방 앨리스 님의 초대를 거부 했습니다."));
        // A late click on the closed dialog sends nothing more.
        QTest::mouseClick(f.btnAccept, Qt::LeftButton);
        EXPECT_TRUE(t.transport.sent.empty());
    }
}

} // namespace
} // namespace zel
