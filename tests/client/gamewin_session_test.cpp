#include <gtest/gtest.h>

#include <QToolButton>

#include "GoMainTestKit.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/game/GameWindowLink.h"
#include "client/game/QtGameWindow.h"
#include "core/base/Cp949.h"
#include "support/SessionDuo.h"

namespace zel {
namespace {

// Alice plays through a real game window; Bob is a bare session.
struct WindowedGame {
    WindowedGame()
        : clock(36000000), random(7), window(*f.form),
          alice(TSessionServices{clock, random, f.prompts, window, lobby, dialogs, f.store, f.form->HelpList()}),
          bob(clock, random, "bob"), link(*f.form, alice, windowLobby)
    {
        window.SetSessionInfo(&alice.Info());
        alice.MyId = "alice";
        alice.OnSendGame = [this](const std::string& text) { outbox.push_back(text); };
        window.OnDeadMarkNotice = [] {};
    }
    void Run(std::int32_t ms)
    {
        for (std::int32_t t = 0; t < ms; t += 50) {
            clock.Set((clock.Now() + 50) % kDayMs);
            alice.Tick(clock.Now());
            bob.session.Tick(clock.Now());
            while (sent < outbox.size())
                bob.session.OnGameData(test::SessionDuo::Handed(outbox[sent++]));
            while (bob.delivered < bob.outbox.size())
                alice.OnGameData(test::SessionDuo::Handed(bob.outbox[bob.delivered++]));
        }
    }

    test::GoMainFixture f;
    test::ManualClock clock;
    test::SeededRandom random;
    test::RecordingLobby lobby;
    test::ScriptedDialogs dialogs;
    QtGameWindow window;
    TBBS2Zel alice;
    test::SessionSide bob;
    test::RecordingWindowLobby windowLobby;
    TGameWindowLink link;
    std::vector<std::string> outbox;
    std::size_t sent = 0;
};

TEST(GameWindowSession, GamePlayedThroughTheWindowEndsInResignation)
{
    WindowedGame g;
    TZelGoMainForm& form = *g.f.form;
    g.dialogs.setup = [](TGameSetModel& m) { m.Choice = TGameSetModel::Colour::Black; };
    g.alice.RequestGame("bob");
    g.Run(1000);
    ASSERT_TRUE(g.alice.GameOpen());
    EXPECT_EQ(form.Layout(), 1);
    EXPECT_EQ(&form.GameInfo()->Model(), &g.alice.Info());

    // Alice's click on the window plays on the session and reaches Bob.
    form.BoardClick(Qt::LeftButton, {}, 4, 4);
    g.Run(1000);
    EXPECT_EQ(g.bob.session.Board().Colour(4, 4), kBlack);
    EXPECT_EQ(form.GoPaintBox()->Colour(4, 4), kBlack);
    g.bob.session.BoardClick(16, 16);
    g.Run(1000);
    EXPECT_EQ(form.GoPaintBox()->Colour(16, 16), kWhite);
    form.BoardClick(Qt::RightButton, {}, 10, 10); // not a plain click
    g.Run(500);
    EXPECT_EQ(g.alice.Board().MoveCount(), 2);

    // Move numbers on the window's board control.
    form.ButtonClick(3);
    EXPECT_EQ(form.GoPaintBox()->Mark(16, 16), 2);
    form.ButtonClick(3);
    EXPECT_EQ(form.GoPaintBox()->Mark(16, 16), kMarkLastMove);

    // Stepping back opens the examining mode on a copy of the game.
    form.SetLayout(2);
    form.ButtonClick(12);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kExamining);
    EXPECT_EQ(form.Board().MoveCount(), 1);
    EXPECT_EQ(g.alice.Board().MoveCount(), 2);
    form.ButtonClick(15);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(form.Layout(), 1);

    // A chat line from the window's input goes to the room.
    form.SendChatLine("hello", false);
    EXPECT_EQ(g.lobby.roomTexts.back(), "hello");

    // "불계 선언" through the window's button.
    form.ButtonClick(6);
    g.Run(2000);
    EXPECT_FALSE(g.alice.GameOpen());
    EXPECT_FALSE(g.bob.session.GameOpen());
    EXPECT_EQ(g.alice.Info().PResult, KS("백 불계승"));
    const std::string name = g.alice.LastRecordName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(g.f.store.files.at(name), g.bob.files.files.at(name));
    EXPECT_EQ(form.CurrentRecordName, name);
}

} // namespace
} // namespace zel
