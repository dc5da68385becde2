#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QWindow>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QRubberBand>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "QtTestApp.h"
#include "RecordFileKit.h"
#include "client/app/DockController.h"
#include "client/app/NotifyForms.h"
#include "client/app/TabDockHost.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "client/base/QtText.h"
#include "client/record/ZelGoMainForm.h"
#include "client/term/EditPanel.h"
#include "client/term/ZelEdit.h"
#include "core/engine/GoBoard.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"

namespace zel {
namespace {

const QString kLobbyCaption = QString::fromUtf8("가온하루미 벨다 베타 1.8 c");

// Waits up to two seconds for `done`, with events running.
template <typename F> bool Eventually(F done)
{
    return QTest::qWaitFor(done, 2000);
}

class DockTest : public ::testing::Test {
protected:
    DockTest() : settings(KnownUser()), status(settings, Defaults())
    {
        // Both windows small enough for the test screen, apart from each other.
        status.mainForm.left = 10;
        status.mainForm.top = 20;
        status.mainForm.width = 700;
        status.mainForm.height = 500;
        status.goMainForm.left = 60;
        status.goMainForm.top = 40;
        status.goMainForm.width = 720;
        status.goMainForm.height = 520;
    }

    // A user who has run the program before: no personal-information window.
    static test::MemorySettings KnownUser()
    {
        test::MemorySettings s;
        s.values[TZelStatus::kVersionSection]["version"] = TZelStatus::kVersion;
        s.values[TZelStatus::kLogin]["userid"] = "tester";
        return s;
    }

    SettingsDefaults Defaults()
    {
        SettingsDefaults d;
        d.zelpath = FromQ(dir.path());
        return d;
    }

    // A lobby started with a record on the command line shows the game window.
    std::unique_ptr<TZelClient> Start(bool tabDock = true)
    {
        status.mainForm.tabDock = tabDock;
        // A record on the command line shows the game window from the start.
        auto client = std::make_unique<TZelClient>(status, prompts, FromQ(WriteRecord()));
        client->Form().show();
        if (tabDock) {
            EXPECT_TRUE(Eventually([&] { return client->Dock().Docked(); }));
        }
        return client;
    }

    QString WriteRecord()
    {
        const QString path = test::WriteTwoMoveRecord(ToQ(status.critical.gibodir));
        EXPECT_FALSE(path.isEmpty());
        return path;
    }

    static void SendMouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), QPointF(to->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(to, &event);
    }

    // The lobby dragged by its title bar to the screen point `to`, moves and
    // pointer together as a window manager reports them.
    static void DragLobby(TZel4HvnForm& form, QPoint to)
    {
        const QPoint from = form.pos() + QPoint(form.width() / 2, 8);
        const QPoint grab = from - form.pos();
        for (int i = 1; i <= 4; ++i) {
            const QPoint p = from + (to - from) * i / 4;
            QCursor::setPos(p);
            form.move(p - grab);
            QApplication::processEvents();
        }
    }

    bool appReady = (test::App(), true);
    QTemporaryDir dir;
    test::MemorySettings settings;
    TZelStatus status;
    QtPrompts prompts;
};

TEST_F(DockTest, GameWindowComesUpDockedAndTheSessionsShowAndHideOnlySelectTabs)
{
    auto client = Start();
    TZel4HvnForm* form = &client->Form();
    TZelGoMainForm& game = client->GoMainForm();
    ASSERT_TRUE(client->Dock().Docked());
    TTabDockHost* host = client->Dock().Host();
    ASSERT_EQ(host->Count(), 2);
    EXPECT_EQ(host->Page(0), form);
    EXPECT_EQ(host->Page(1), &game);
    EXPECT_EQ(host->Current(), &game);
    EXPECT_EQ(host->Tabs()->tabText(0), kLobbyCaption);
    EXPECT_EQ(host->Tabs()->tabText(1), game.windowTitle());
    EXPECT_TRUE(host->isVisible());
    EXPECT_FALSE(form->isWindow());
    EXPECT_FALSE(game.isWindow());
    EXPECT_TRUE(game.isVisible());
    EXPECT_TRUE(status.mainForm.tabDock);
    test::SaveScreenshot(*host, "dock_host_game.png");

    // Hiding the game window removes nothing: the lobby's tab comes forward.
    game.hide();
    EXPECT_EQ(host->Count(), 2);
    EXPECT_EQ(host->Current(), form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(game.isVisible());
    EXPECT_EQ(host->windowTitle(), kLobbyCaption);
    EXPECT_EQ(host->focusWidget(), form->ChatBox->Input());
    game.hide(); // twice changes nothing
    EXPECT_EQ(host->Current(), form);

    game.show();
    EXPECT_EQ(host->Current(), &game);
    EXPECT_TRUE(game.isVisible());
    EXPECT_EQ(host->focusWidget(), game.ChatBox()->Input());
    EXPECT_EQ(host->windowTitle(), game.windowTitle());

    // Dialogs of either page stand over the host, not over a hidden window.
    for (QWidget* owner : {static_cast<QWidget*>(form), static_cast<QWidget*>(&game)}) {
        QDialog dialog(owner);
        dialog.show();
        ASSERT_NE(dialog.windowHandle(), nullptr);
        EXPECT_EQ(dialog.windowHandle()->transientParent(), host->windowHandle());
        dialog.close();
    }
}

TEST_F(DockTest, DockedWindowsKeepWorkingAndCaptionsFollowTheModes)
{
    auto client = Start();
    TZel4HvnForm* form = &client->Form();
    TZelGoMainForm& game = client->GoMainForm();
    TTabDockHost* host = client->Dock().Host();
    ASSERT_NE(host, nullptr);
    const QString path = WriteRecord();

    // The lobby's record button, from its tab, views in the game's tab.
    host->Tabs()->setCurrentIndex(0);
    client->ChooseRecordFile = [&](const QString&) { return path; };
    form->sbVGibo->setEnabled(true);
    form->sbVGibo->click();
    EXPECT_EQ(game.Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(host->Current(), &game);
    EXPECT_EQ(host->Tabs()->tabText(1), QString::fromUtf8("기보 보기"));
    EXPECT_EQ(host->windowTitle(), QString::fromUtf8("기보 보기"));
    game.NavButton(3)->click();
    game.NavButton(3)->click();
    EXPECT_EQ(game.Board().MoveCount(), 2);
    test::SaveScreenshot(*host, "dock_host_viewing.png");

    // Ending the viewing puts the live caption back on the tab.
    game.ButtonClick(5);
    EXPECT_EQ(game.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(host->Tabs()->tabText(1), QString::fromUtf8("벨다 바둑"));
    game.setWindowTitle(QString::fromUtf8("기보 복기"));
    EXPECT_EQ(host->Tabs()->tabText(1), QString::fromUtf8("기보 복기"));
    EXPECT_EQ(host->Tabs()->tabText(0), kLobbyCaption);

    // The lobby's terminal still takes lines while its tab is in the back.
    form->PrintLine("   ### docked");
    EXPECT_NE(form->findChild<QWidget*>("Terminal"), nullptr);
}

TEST_F(DockTest, EveryWayOutGivesBothWindowsBackWhereTheyWere)
{
    enum Way { DoubleClick, MenuItem, DragOff, HookVerb };
    for (Way way : {DoubleClick, MenuItem, DragOff, HookVerb}) {
        SCOPED_TRACE(way);
        auto client = Start();
        TZel4HvnForm* form = &client->Form();
        TZelGoMainForm& game = client->GoMainForm();
        QPointer<TTabDockHost> host = client->Dock().Host();
        ASSERT_TRUE(host);
        const QRect lobbyBefore = *form->UndockedGeometry;
        const QRect gameBefore = *game.UndockedGeometry;
        EXPECT_EQ(gameBefore, QRect(60, 40, 720, 520));
        host->resize(760, 560);

        QTabBar* bar = host->Tabs()->tabBar();
        const QPoint onTab = bar->tabRect(1).center();
        QPoint dropAt;
        switch (way) {
        case DoubleClick:
            SendMouse(bar, QEvent::MouseButtonDblClick, onTab, Qt::LeftButton, Qt::LeftButton);
            break;
        case MenuItem: {
            QMenu* menu = host->TabMenu(1);
            ASSERT_EQ(menu->actions().size(), 1);
            EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("분리"));
            menu->actions()[0]->trigger();
            break;
        }
        case DragOff: {
            // From a host in the corner, so that the window fits where it lands.
            host->move(0, 0);
            SendMouse(bar, QEvent::MouseButtonPress, onTab, Qt::LeftButton, Qt::LeftButton);
            // A move within reach of the bar keeps the tab on.
            SendMouse(bar, QEvent::MouseMove, onTab + QPoint(0, bar->height()), Qt::NoButton, Qt::LeftButton);
            QTest::qWait(20);
            EXPECT_TRUE(client->Dock().Docked());
            const QPoint off(80, bar->height() + TTabDockHost::kTearDistance + 16);
            dropAt = bar->mapToGlobal(off);
            SendMouse(bar, QEvent::MouseMove, off, Qt::NoButton, Qt::LeftButton);
            break;
        }
        case HookVerb:
            client->Dock().Undock();
            break;
        }
        ASSERT_TRUE(Eventually([&] { return !client->Dock().Docked(); }));
        EXPECT_TRUE(host.isNull());
        EXPECT_TRUE(form->isWindow());
        EXPECT_TRUE(game.isWindow());
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(game.isVisible());
        EXPECT_EQ(game.parentWidget(), form);
        EXPECT_FALSE(form->UndockedGeometry.has_value());
        EXPECT_FALSE(status.mainForm.tabDock);
        EXPECT_EQ(form->geometry(), lobbyBefore);
        if (way == DragOff)
            EXPECT_EQ(game.geometry().topLeft(), dropAt - QPoint(40, 12));
        else
            EXPECT_EQ(game.geometry(), gameBefore);
        EXPECT_EQ(game.size(), gameBefore.size());
        EXPECT_TRUE(Eventually([&] { return host.isNull(); }));

        // Both still work on their own.
        game.show();
        EXPECT_TRUE(game.isWindow());
        game.hide();
        EXPECT_FALSE(game.isVisible());
        EXPECT_TRUE(form->isVisible());
    }
}

TEST_F(DockTest, AGameWindowHiddenWhileDockedStaysHiddenWhenUndocked)
{
    auto client = Start();
    TZel4HvnForm* form = &client->Form();
    TZelGoMainForm& game = client->GoMainForm();
    ASSERT_TRUE(client->Dock().Docked());
    game.hide(); // the game is over
    client->Dock().Undock();
    ASSERT_TRUE(Eventually([&] { return !client->Dock().Docked(); }));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(game.isVisible());
    game.show(); // the next game shows it again
    EXPECT_TRUE(game.isVisible());
}

TEST_F(DockTest, ClosingTheHostIsClosingTheLobbyAndSavesTheWindowsOwnPlaces)
{
    auto client = Start();
    TZel4HvnForm* form = &client->Form();
    TZelGoMainForm& game = client->GoMainForm();
    QPointer<TTabDockHost> host = client->Dock().Host();
    ASSERT_TRUE(host);
    const QRect lobbyOwn = *form->UndockedGeometry;
    host->resize(780, 580);

    // Not exiting: refused with the notice, nothing moves.
    EXPECT_FALSE(host->close());
    EXPECT_TRUE(Eventually([&] {
        return prompts.notifyForm()->isVisible() &&
               prompts.notifyForm()->lbMessage->text() == QString::fromUtf8("'종료' 버튼을 사용하세요!");
    }));
    EXPECT_TRUE(host->isVisible());
    EXPECT_TRUE(client->Dock().Docked());

    // The game window closed by the lobby while docked stores its own place.
    game.close();
    EXPECT_EQ(status.goMainForm.width, 720);
    EXPECT_EQ(status.goMainForm.left, 60);
    EXPECT_EQ(settings.values["Go MainForm Info"]["fpheight"], "520");
    EXPECT_TRUE(client->Dock().Docked());
    EXPECT_EQ(host->Current(), form);

    // Exiting: the lobby's own place and "tabdock" 1 are stored, the host goes.
    host->Tabs()->setCurrentIndex(0);
    form->sbExit->click();
    EXPECT_TRUE(Eventually([&] { return !client->Dock().Docked(); }));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(game.isVisible());
    EXPECT_TRUE(form->isWindow());
    EXPECT_TRUE(Eventually([&] { return host.isNull(); }));
    EXPECT_EQ(settings.values["MainForm Info"]["tabdock"], "1");
    EXPECT_EQ(settings.values["MainForm Info"]["fpwidth"], std::to_string(lobbyOwn.width()));
    EXPECT_EQ(settings.values["MainForm Info"]["fpheight"], std::to_string(lobbyOwn.height()));
    EXPECT_EQ(settings.values["MainForm Info"]["fpleft"], std::to_string(lobbyOwn.left()));
    EXPECT_EQ(settings.values["Go MainForm Info"]["fpwidth"], "720");
}

TEST_F(DockTest, NoDockingWhenTheUserUndockedOrTheLobbyIsNotShown)
{
    auto client = Start(false);
    TZelGoMainForm& game = client->GoMainForm();
    QTest::qWait(50);
    EXPECT_FALSE(client->Dock().Docked());
    EXPECT_TRUE(game.isVisible());
    EXPECT_TRUE(game.isWindow());
    EXPECT_EQ(game.geometry(), QRect(60, 40, 720, 520));

    // A lobby never shown (no record on the command line) keeps a plain game window.
    status.mainForm.tabDock = true;
    TZelClient hidden(status, prompts, "x.zel");
    hidden.GoMainForm().show();
    QTest::qWait(50);
    EXPECT_FALSE(hidden.Dock().Docked());
    EXPECT_TRUE(hidden.GoMainForm().isWindow());
    EXPECT_TRUE(hidden.GoMainForm().isVisible());
}

TEST_F(DockTest, DraggingTheLobbyIntoTheMiddleOfTheGameWindowDocksBoth)
{
    auto client = Start(false);
    TZel4HvnForm* form = &client->Form();
    TZelGoMainForm& game = client->GoMainForm();
    game.setGeometry(60, 40, 720, 520);
    const QRect site = client->Dock().SiteRect();
    ASSERT_EQ(site, QRect(60, 40, 720, 520));
    const QRect zone(60 + 144, 40 + 104, 432, 312);

    // Moves that end beside the zone show no preview and dock nothing.
    DragLobby(*form, QPoint(100, 300));
    EXPECT_TRUE(client->Dock().PreviewRect().isEmpty());
    QTest::qWait(TDockDrag::kQuietMs + 250);
    EXPECT_FALSE(client->Dock().Docked());

    // Into the zone: the preview is the zone itself.
    DragLobby(*form, QPoint(400, 300));
    EXPECT_EQ(client->Dock().PreviewRect(), zone);
    EXPECT_TRUE(client->Dock().Preview()->isVisible());
    test::SaveScreenshot(game, "dock_preview_site.png");

    // Out again before letting go: no preview, no docking on release.
    DragLobby(*form, QPoint(700, 100));
    EXPECT_TRUE(client->Dock().PreviewRect().isEmpty());
    SendMouse(form, QEvent::MouseButtonRelease, form->mapFromGlobal(QPoint(700, 100)), Qt::LeftButton, Qt::NoButton);
    QTest::qWait(20);
    EXPECT_FALSE(client->Dock().Docked());

    // A release in the zone drops: the host takes the game window's place.
    DragLobby(*form, QPoint(400, 300));
    SendMouse(form, QEvent::MouseButtonRelease, form->mapFromGlobal(QPoint(400, 300)), Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(Eventually([&] { return client->Dock().Docked(); }));
    EXPECT_FALSE(client->Dock().Preview()->isVisible());
    TTabDockHost* host = client->Dock().Host();
    EXPECT_EQ(host->geometry(), site);
    EXPECT_EQ(host->Page(0), form);
    EXPECT_EQ(host->Current(), form);
    EXPECT_EQ(*game.UndockedGeometry, site);

    // Undocked again, the game window is back where it was.
    client->Dock().Undock();
    EXPECT_EQ(game.geometry(), site);
}

TEST_F(DockTest, TheQuietEndOfADragIsADropAndAHiddenSiteIsNone)
{
    auto client = Start(false);
    TZel4HvnForm* form = &client->Form();
    TZelGoMainForm& game = client->GoMainForm();
    game.setGeometry(60, 40, 720, 520);

    game.hide();
    DragLobby(*form, QPoint(400, 300));
    EXPECT_TRUE(client->Dock().PreviewRect().isEmpty());
    QTest::qWait(TDockDrag::kQuietMs + 250);
    EXPECT_FALSE(client->Dock().Docked());

    game.show();
    DragLobby(*form, QPoint(420, 320));
    EXPECT_FALSE(client->Dock().PreviewRect().isEmpty());
    EXPECT_TRUE(Eventually([&] { return client->Dock().Docked(); }));
    EXPECT_TRUE(client->Dock().PreviewRect().isEmpty());
}

} // namespace
} // namespace zel
