#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include "QtTestApp.h"
#include "client/app/GameWiring.h"
#include "client/app/NotifyForms.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "core/app/LobbyApp.h"
#include "client/base/QtText.h"
#include "client/app/LobbyController.h"
#include "client/lobby/MyInfoForm.h"
#include "client/lobby/UserView.h"
#include "client/record/ZelGoMainForm.h"
#include "core/app/LobbyLink.h"
#include "core/base/Cp949.h"
#include "core/game/BBS2Zel.h"
#include "core/net/PacketCodes.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/LobbyPackets.h"

namespace zel {
namespace {

const QString kRefusal = QString::fromUtf8("대국 중에는 다른 방에 들어갈 수 없습니다.");

// The lobby window without a connection, fed the server's packets by hand:
// "me" is user 1; users 2..6 are "u2".."u6"; room 1 holds a game, room 2 is
// open, room 3 a multi-game room hosted by u5.
class LobbyRoomsTest : public ::testing::Test {
protected:
    LobbyRoomsTest() : status(settings, Defaults())
    {
        status.login.userId = "metester";
        status.login.nickname = "Me";
        status.mainForm.tabDock = false; // the game window on its own
    }

    SettingsDefaults Defaults()
    {
        SettingsDefaults d;
        d.zelpath = FromQ(dir.path());
        return d;
    }
    void Feed(const test::Bytes& b) { client->Link().OnPacket(b.data(), b.size()); }
    void Open()
    {
        client = std::make_unique<TZelClient>(status, prompts, "/tmp/none.zel");
        form = &client->Form();
        form->show();
        // The personal-information window of a first start is not the subject here.
        if (auto* info = form->findChild<TMyInfoForm*>())
            info->reject();
        Feed(test::LoginAccepted(1, 0, 50));
        std::vector<test::MemberEntry> members{{1, "me", "Me", 20}};
        for (int u = 2; u <= 6; ++u)
            members.push_back({u, "u" + std::to_string(u), "N" + std::to_string(u), 10 + u});
        Feed(test::RoomMembers(0, members));
        Feed(test::RoomRecord(pk::RoomOpened, 1, RoomGame, 2, "game", 2, 3));
        Feed(test::UserMoves(3, 1));
        Feed(test::RoomRecord(pk::RoomOpened, 2, RoomOpen, 4, "open"));
        Feed(test::RoomRecord(pk::RoomOpened, 3, RoomMulti, 5, "multi"));
        Feed(test::Packet6(pk::LobbyEntered, 0));
    }
    TBBS2Zel& Session() { return *client->Game().Session(); }
    // A session of kind 0 between `black` and `white`, as after an accepted request.
    void StartGame(const std::string& black, const std::string& white)
    {
        Session().MyId = "me";
        Session().Header().BlackId = black;
        Session().Header().WhiteId = white;
        Session().StartSession(0);
        ASSERT_TRUE(Session().GameOpen());
    }
    QString Notice() { return prompts.notifyForm()->isVisible() ? prompts.notifyForm()->lbMessage->text() : QString(); }

    bool appReady = (test::App(), true);
    QTemporaryDir dir;
    test::MemorySettings settings;
    TZelStatus status;
    QtPrompts prompts;
    std::unique_ptr<TZelClient> client;
    TZel4HvnForm* form = nullptr;
};

TEST_F(LobbyRoomsTest, EnteringAnotherRoomIsRefusedDuringTheOwnGame)
{
    Open();
    Feed(test::UserMoves(1, 2));
    StartGame("me", "u4");
    client->Lobby().AskEnterRoom(1);
    EXPECT_EQ(Notice(), kRefusal);
    EXPECT_TRUE(Session().GameOpen());
    EXPECT_TRUE(client->GoMainForm().isVisible());
}

// Watching a game, viewing a record: asking to enter a room ends what the
// game window shows before the request goes out.
TEST_F(LobbyRoomsTest, EnteringARoomEndsWhatTheGameWindowShows)
{
    Open();
    Feed(test::UserMoves(1, 1));
    StartGame("u2", "u3");
    EXPECT_FALSE(client->Game().GameInProgress());
    client->Lobby().AskEnterRoom(2);
    EXPECT_FALSE(Session().GameOpen());
    EXPECT_FALSE(client->GoMainForm().isVisible());
    EXPECT_NE(Notice(), kRefusal);
}

// The own user arriving in a room (by whatever path) ends the watching of
// another room's game and learns the room's multi-game host.
TEST_F(LobbyRoomsTest, OwnMoveClosesTheGameWindowAndSetsTheMultiGameHost)
{
    Open();
    Feed(test::UserMoves(1, 1));
    StartGame("u2", "u3");
    Feed(test::UserMoves(1, 3));
    EXPECT_FALSE(Session().GameOpen());
    EXPECT_EQ(Session().MultiHostId, "u5");
    EXPECT_EQ(client->Lobby().Chat().multiHost, "u5");
    Feed(test::UserMoves(1, 2));
    EXPECT_EQ(Session().MultiHostId, "");
    // A multi-game room of the user's own making: the user is the host.
    Feed(test::RoomRecord(pk::RoomOpened, 4, RoomMulti, 1, "mine"));
    EXPECT_EQ(Session().MultiHostId, "me");
    EXPECT_TRUE(Session().IsMultiHost());
    Feed(test::UserMoves(1, 0));
    EXPECT_EQ(Session().MultiHostId, "");
}

// "대국 신청" and "바둑 보기" follow the game window.
TEST_F(LobbyRoomsTest, GameRequestAndWatchButtonFollowTheGameWindow)
{
    Open();
    Feed(test::UserMoves(1, 2)); // an open room with u4
    TUserView& users = client->Lobby().Users();
    users.Show(2);
    ASSERT_EQ(users.ShownCount(), 2);
    int row = users.UserAt(0) == 1 ? 1 : 0;
    auto requestItem = [&] {
        users.PopupFor(row);
        QAction* found = nullptr;
        for (QAction* a : users.Menu()->actions())
            if (!a->isSeparator() && a->data().toInt() == 0)
                found = a;
        users.Menu()->hide();
        return found;
    };

    ASSERT_NE(requestItem(), nullptr);
    EXPECT_TRUE(requestItem()->isEnabled());
    StartGame("u2", "u3");
    EXPECT_FALSE(requestItem()->isEnabled());
    Session().EndSession();
    EXPECT_TRUE(requestItem()->isEnabled());

    Feed(test::UserMoves(1, 1)); // the game room
    EXPECT_TRUE(form->sbVGame->isEnabled());
    StartGame("u2", "u3");
    EXPECT_FALSE(form->sbVGame->isEnabled());
    Session().EndSession();
    EXPECT_TRUE(form->sbVGame->isEnabled());
}

TEST_F(LobbyRoomsTest, PersonalInformationKeepsTheIdWhileConnected)
{
    test::RecordingPrompts fake;
    TMyInfoForm info(status, fake, false);
    EXPECT_FALSE(info.eUser->isReadOnly());
    info.SetConnected(true);
    for (QLineEdit* field : {info.eUser, info.eAlias, info.ePass}) {
        EXPECT_TRUE(field->isReadOnly()) << field->objectName().toStdString();
        EXPECT_FALSE(field->isEnabled()) << field->objectName().toStdString();
    }
    // Whatever the field holds, OK keeps the id of the connection.
    info.eUser->setText("other");
    info.btnOkClick();
    EXPECT_EQ(status.login.userId, "metester");
    EXPECT_EQ(info.result(), QDialog::Accepted);
}

// First start (no id stored yet): the personal-information window comes
// first, modal to the lobby window, and the connection waits for it.
TEST_F(LobbyRoomsTest, FirstStartWaitsForThePersonalInformation)
{
    status.login.userId.clear();
    TZelStatus fresh(settings, Defaults());
    ASSERT_TRUE(fresh.FirstRun());
    fresh.host.advPort = 0; // no configuration server to reach
    TZelClient client(fresh, prompts, "");
    TZel4HvnForm& lobby = client.Form();
    lobby.show();
    ZEL_WAIT_FOR(lobby.findChild<TMyInfoForm*>() && lobby.findChild<TMyInfoForm*>()->isVisible(), 3000);
    auto* info = lobby.findChild<TMyInfoForm*>();
    EXPECT_NE(info->windowModality(), Qt::NonModal);
    QTest::qWait(700);
    EXPECT_TRUE(client.App().WaitingForPersonalInfo());
    EXPECT_EQ(client.App().State(), TLobbyApp::Idle);

    info->eUser->setText("newbie");
    info->btnOkClick();
    EXPECT_EQ(fresh.login.userId, "newbie");
    ZEL_WAIT_FOR(client.App().State() == TLobbyApp::WaitingForConfig, 2000);
}

} // namespace
} // namespace zel
