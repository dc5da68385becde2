#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "QtTestApp.h"
#include "RecordFileKit.h"
#include "client/app/NotifyForms.h"
#include "client/base/BannerLabel.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "core/app/LobbyApp.h"
#include "client/record/ZelGoMainForm.h"
#include "core/game/BBS2Zel.h"
#include "client/app/GameWiring.h"
#include "core/base/Cp949.h"
#include "client/term/Terminal.h"
#include "core/engine/GoBoard.h"
#include "core/record/RecordHeader.h"
#include "client/base/QtText.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"

namespace zel {
namespace {

class LobbyWindowTest : public ::testing::Test {
protected:
    LobbyWindowTest() : status(settings, Defaults()) {}

    SettingsDefaults Defaults()
    {
        SettingsDefaults d;
        d.zelpath = FromQ(dir.path());
        return d;
    }

    bool appReady = (test::App(), true);
    QTemporaryDir dir;
    test::MemorySettings settings;
    TZelStatus status;
    QtPrompts prompts;
};

TEST_F(LobbyWindowTest, LayoutNamesAndStatusPanels)
{
    // A record path on the command line: the window opens without connecting.
    TZelClient client(status, prompts, "/tmp/a game.zel");
    TZel4HvnForm& form = client.Form();
    form.show();
    ZEL_WAIT_FOR(form.isVisible(), 5000);

    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("가온하루미 벨다 베타 1.8 c"));
    for (const char* name :
         {"TopPanel", "sbConn",    "sbVGame",  "sbVGibo",  "sbStudy",   "sbJoseki", "sbEnvS",  "sbHelp",
          "sbExit",   "MainPanel", "SlotLBox", "SIHeader", "ChatPanel", "Terminal", "ChatBox", "CtrlPanel",
          "UserLBox", "UIHeader",  "sbRoom",   "sbMyRI",   "sbFind",    "sbInfo",   "MainSB"})
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(form.sbVGame->toolTip(), QString::fromUtf8("바둑 보기"));
    EXPECT_EQ(form.sbVGibo->toolTip(), QString::fromUtf8("기보 보기"));
    EXPECT_EQ(form.sbStudy->toolTip(), QString::fromUtf8("기보 복기"));
    EXPECT_FALSE(form.sbJoseki->isEnabled());
    EXPECT_EQ(form.SlotLBox->model()->headerData(2, Qt::Horizontal).toString(), QString::fromUtf8("방제목"));

    auto panels = form.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), TZel4HvnForm::kPanelCount);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(form.PanelText(i), QString::number(i + 1));
    EXPECT_EQ(form.PanelText(10), QString::fromUtf8("방 0 개(0 명)"));
    EXPECT_EQ(form.PanelText(11), QString::fromUtf8("대기실"));
    EXPECT_EQ(form.PanelText(13), QString::fromUtf8("일반 대화"));
    ZEL_WAIT_FOR(!form.PanelText(14).isEmpty(), 2000);
    EXPECT_EQ(form.PanelText(14).size(), 8);
    // The game window shows the lobby's status texts too, from its creation
    // on; its macro cells stay its own.
    form.SetPanel(11, KS("1 번 방(2 명)"));
    TZelGoMainForm& game = client.GoMainForm();
    EXPECT_EQ(game.StatusCell(11)->text(), QString::fromUtf8("1 번 방(2 명)"));
    // The clock: hours and minutes in the game window.
    form.SetPanel(14, "12:00:00");
    EXPECT_EQ(game.StatusCell(14)->text(), QString("12:00"));
    form.SetPanel(1, "x");
    EXPECT_EQ(game.StatusCell(1)->text(), QString("2"));

    auto* terminal = form.findChild<TTerminal*>("Terminal");
    ASSERT_NE(terminal, nullptr);
    bool shown = false;
    for (int row = 1; row <= terminal->Rows(); ++row)
        shown = shown || terminal->Model().RowText(row).find("/tmp/a game.zel") != std::string::npos;
    EXPECT_TRUE(shown);
    EXPECT_EQ(client.App().State(), TLobbyApp::Idle);
    test::SaveScreenshot(form, "lobby_window.png");
}

TEST_F(LobbyWindowTest, CloseBoxIsRefusedUntilExitThenGeometryIsSaved)
{
    status.mainForm.tabDock = false; // this window on its own, not a page of the dock host
    TZelClient client(status, prompts, "x.zel");
    TZel4HvnForm& form = client.Form();
    form.show();
    ZEL_WAIT_FOR(form.isVisible(), 5000);
    // The first start's personal-information window would hold the exit back.
    if (QWidget* first = QApplication::activeModalWidget())
        first->close();

    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(prompts.notifyForm()->isVisible());
    EXPECT_EQ(prompts.notifyForm()->lbMessage->text(), QString::fromUtf8("'종료' 버튼을 사용하세요!"));

    form.resize(720, 520);
    int writes = settings.writes;
    form.sbExit->click();
    ZEL_WAIT_FOR(!form.isVisible(), 2000);
    EXPECT_GT(settings.writes, writes);
    EXPECT_EQ(status.mainForm.width, 720);
    EXPECT_EQ(status.mainForm.height, 520);
}

TEST_F(LobbyWindowTest, RecordButtonViewsTheChosenFileAndCancelShowsNothing)
{
    TZelClient client(status, prompts, "x.zel");
    TZel4HvnForm& form = client.Form();
    const QString gibo = ToQ(status.critical.gibodir);
    const QString path = test::WriteTwoMoveRecord(gibo);
    ASSERT_FALSE(path.isEmpty());

    QString askedIn;
    client.ChooseRecordFile = [&](const QString& in) {
        askedIn = in;
        return QString();
    };
    client.sbVGiboClick();
    EXPECT_EQ(askedIn, gibo);
    auto* game = form.findChild<TZelGoMainForm*>();
    ASSERT_NE(game, nullptr);
    EXPECT_FALSE(game->isVisible());

    client.ChooseRecordFile = [&](const QString&) { return path; };
    client.sbVGiboClick();
    EXPECT_EQ(game->Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(game->CurrentRecordName, "20261207kimlee.zel");
    EXPECT_TRUE(game->isVisible());
    TBBS2Zel* session = client.Game().Session();
    ASSERT_NE(session, nullptr);
    EXPECT_TRUE(session->GameOpen());

    // Another record while viewing replaces the first; "보기 마침" ends the
    // viewing: the window goes and no game stays open.
    game->NavButton(3)->click();
    client.sbVGiboClick();
    EXPECT_EQ(game->Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(game->Board().MoveCount(), 0);
    game->ButtonClick(5);
    EXPECT_EQ(game->Mode(), TZelGoMainForm::kLive);
    EXPECT_FALSE(game->isVisible());
    EXPECT_FALSE(session->GameOpen());

    // A file that cannot be read leaves nothing open either.
    client.ChooseRecordFile = [&](const QString&) { return gibo + "/gone.zel"; };
    client.sbVGiboClick();
    EXPECT_FALSE(session->GameOpen());
    EXPECT_FALSE(game->isVisible());
}

// Records the addresses the client opens.
struct RecordingBrowser : Browser {
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

TEST_F(LobbyWindowTest, HelpOpensTheLocalPageElseTheFirstBannerWebLink)
{
    TZelClient client(status, prompts, "x.zel");
    TZel4HvnForm& form = client.Form();
    RecordingBrowser browser;
    client.UseBrowser(browser);
    const std::string local = FromQ(QUrl::fromLocalFile(dir.path() + "/help.html").toString());
    struct Row {
        bool page; // a help page in the program directory
        int count;
        std::string link;
        std::string expected;
    };
    const Row rows[] = {
        {false, 5, "https://help.example/zel", "https://help.example/zel"},
        {false, 1, "http://help.example/", "http://help.example/"},
        {false, 0, "https://help.example/zel", local}, // no banner configured
        {false, 5, "file:///etc/passwd", local},       // only web pages come from the server
        {false, 5, "javascript:alert(1)", local},
        {false, 5, "", local},
        {true, 5, "https://help.example/zel", local}, // the program's own page first
    };
    for (const Row& row : rows) {
        if (row.page) {
            QFile page(dir.path() + "/help.html");
            ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        }
        status.host.adFileCount = row.count;
        status.host.adUrls[0] = row.link;
        browser.opened.clear();
        form.sbHelp->click();
        ASSERT_EQ(browser.opened.size(), 1u) << row.link;
        EXPECT_EQ(browser.opened[0], row.expected) << row.link;
    }
}

TEST_F(LobbyWindowTest, BannerClicksOpenTheirWebAddressesOnly)
{
    // A downloaded picture for each banner of the lobby and the game window.
    const QString banners = ToQ(status.critical.advhdir);
    QDir().mkpath(banners);
    for (char letter : {'B', 'C', 'D', 'E'}) {
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(banners + QString("/ADVInfo%1.gif").arg(letter), "PNG"));
    }
    TZelClient client(status, prompts, "x.zel");
    RecordingBrowser browser;
    client.UseBrowser(browser);
    TZel4HvnForm& form = client.Form();
    form.LoadBanners();
    struct Row {
        int file;
        std::string link;
        bool opens;
    };
    const Row rows[] = {
        {2, "http://zel.example/logo", true},
        {4, "https://zel.example/top", true},
        {3, "file:///etc/passwd", false},
        {4, "javascript:alert(1)", false},
        {2, "http://", false},
    };
    status.host.adFileCount = 5;
    for (const Row& row : rows) {
        status.host.adUrls[static_cast<std::size_t>(row.file - 1)] = row.link;
        browser.opened.clear();
        BannerLabel* banner = form.Banner(row.file);
        ASSERT_NE(banner, nullptr);
        QTest::mouseClick(banner, Qt::LeftButton);
        EXPECT_EQ(browser.opened, row.opens ? std::vector<std::string>{row.link} : std::vector<std::string>{})
            << row.link;
    }
    // The game window shows its own downloaded banner, and its click reaches the same browser.
    BannerLabel* game = client.GoMainForm().Banner();
    EXPECT_TRUE(game->text().isEmpty()) << "a picture, not the placeholder text";
    status.host.adUrls[4] = "https://zel.example/game";
    browser.opened.clear();
    QTest::mouseClick(game, Qt::LeftButton);
    EXPECT_EQ(browser.opened, std::vector<std::string>{"https://zel.example/game"});
}

} // namespace
} // namespace zel
