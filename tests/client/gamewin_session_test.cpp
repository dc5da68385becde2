#include <gtest/gtest.h>

#include <QRadioButton>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "GoMainTestKit.h"
#include "PaintBoxTestKit.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/game/GameSetForm.h"
#include "client/app/DeadStoneAdvisor.h"
#include "client/app/GameWindowLink.h"
#include "client/game/QtGameDialogs.h"
#include "client/app/QtGameWindow.h"
#include "core/base/Cp949.h"
#include "core/gtp/AnalysisDeadStones.h"
#include "core/engine/LetterCodes.h"
#include "support/SessionDuo.h"

namespace zel {
namespace {

// Counts the colour draws of "자동(호선)" (the only draws of 0..998).
class CountingRandom : public Random {
public:
    std::uint32_t Next(std::uint32_t bound) override
    {
        if (bound == 999)
            ++colourDraws;
        return inner.Next(bound);
    }
    test::SeededRandom inner{7};
    int colourDraws = 0;
};

// Alice plays through a real game window; Bob is a bare session. With
// `realDialogs` Alice's negotiation dialogs are the program's own.
struct WindowedGame {
    explicit WindowedGame(bool realDialogs = false)
        : clock(36000000), qtDialogs(
                               random, [this] { return clock.Now(); }, f.form.get()),
          window(*f.form), alice(TSessionServices{clock, random, f.prompts, window, lobby,
                                                  realDialogs ? static_cast<TGameDialogs&>(qtDialogs) : dialogs,
                                                  f.store, f.form->HelpList()}),
          bob(clock, random, "bob"), advisor(alice, *f.form, std::make_unique<TAnalysisDeadStones>()),
          link(*f.form, alice, windowLobby, advisor)
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
    CountingRandom random;
    test::RecordingLobby lobby;
    test::ScriptedDialogs dialogs;
    QtGameDialogs qtDialogs;
    QtGameWindow window;
    TBBS2Zel alice;
    test::SessionSide bob;
    test::RecordingWindowLobby windowLobby;
    TDeadStoneAdvisor advisor;
    TGameWindowLink link;
    std::vector<std::string> outbox;
    std::size_t sent = 0;
};

TEST(GameWindowSession, GamePlayedThroughTheWindowEndsInResignation)
{
    WindowedGame g;
    TZelGoMainForm& form = *g.f.form;
    g.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
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

// The settings dialog shown modally by the session: `work` runs on it once it is up.
void OnSettingsDialog(std::function<void(TGameSetForm&)> work)
{
    QTimer::singleShot(0, [work] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TGameSetForm*>(w); form && form->isVisible()) {
                work(*form);
                return;
            }
        ADD_FAILURE() << "no settings dialog";
    });
}

// The session's GSR payload fields: black and white ids.
std::pair<std::string, std::string> RequestedColours(const std::string& sent)
{
    const std::size_t at = sent.find("GSR");
    std::size_t pos = sent.find("\\#", at) + 4; // past the requester and the resume count
    std::size_t end = sent.find("\\#", pos);
    std::string black = sent.substr(pos, end - pos);
    pos = end + 2;
    end = sent.find("\\#", pos);
    return {black, sent.substr(pos, end - pos)};
}

TEST(GameWindowSession, ColourChosenInTheSettingsDialogIsTheOneRequested)
{
    struct Row {
        const char* button;
        bool requesterWhite;
    };
    for (Row row : {Row{"rbWhite", true}, Row{"rbBlack", false}}) {
        SCOPED_TRACE(row.button);
        WindowedGame g(true);
        OnSettingsDialog([&row](TGameSetForm& form) {
            form.findChild<QRadioButton*>(row.button)->click();
            form.OkButton->click();
        });
        g.alice.RequestGame("bob");
        ASSERT_FALSE(g.outbox.empty());
        auto [black, white] = RequestedColours(g.outbox.front());
        EXPECT_EQ(white, row.requesterWhite ? "alice" : "bob");
        EXPECT_EQ(black, row.requesterWhite ? "bob" : "alice");
        g.Run(1000);
        ASSERT_TRUE(g.alice.GameOpen());
        EXPECT_EQ(g.alice.Header().WhiteId, white);
        EXPECT_EQ(g.bob.session.Header().WhiteId, white);
        // Black moves first: Bob when Alice asked to play white.
        EXPECT_EQ(g.bob.session.IsMyTurn(), row.requesterWhite);
        EXPECT_EQ(g.f.form->GameInfo()->Model().WPlayer, white);
    }
}

TEST(GameWindowSession, AutomaticColourDrawsOneCoin)
{
    WindowedGame g(true);
    OnSettingsDialog([](TGameSetForm& form) { form.OkButton->click(); }); // "자동(호선)" is the default
    g.alice.RequestGame("bob");
    EXPECT_EQ(g.random.colourDraws, 1);
    ASSERT_FALSE(g.outbox.empty());
}

// Bob and Carol play; Alice watches through a real game window.
struct WatchedGame {
    WatchedGame() : bob(g.clock, g.random, "bob"), carol(g.clock, g.random, "carol") {}

    // Everything Bob and Carol send reaches the other player and the watcher.
    void Run(std::int32_t ms)
    {
        for (std::int32_t t = 0; t < ms; t += 50) {
            g.clock.Set((g.clock.Now() + 50) % kDayMs);
            for (test::SessionSide* side : {&bob, &carol})
                side->session.Tick(g.clock.Now());
            g.alice.Tick(g.clock.Now());
            for (auto [from, to] : {std::pair{&bob, &carol}, std::pair{&carol, &bob}})
                while (from->delivered < from->outbox.size()) {
                    std::string m = test::SessionDuo::Handed(from->outbox[from->delivered++]);
                    to->session.OnGameData(m);
                    if (watching)
                        g.alice.OnGameData(m);
                }
        }
    }

    WindowedGame g;
    test::SessionSide bob, carol;
    bool watching = false;
};

TEST(GameWindowSession, ObserverSeesEveryReplayedStoneAndTheClocks)
{
    WatchedGame w;
    w.bob.dialogs.setup = [](TGameSetModel& m) {
        m.ColourClicked(TGameSetModel::Colour::Black);
        m.HandicapChanged(2);
    };
    w.bob.session.RequestGame("carol");
    w.Run(1000);
    ASSERT_TRUE(w.carol.session.GameOpen());
    const std::vector<std::pair<int, int>> moves = {{16, 16}, {3, 3}, {16, 3}, {3, 16}, {10, 10}};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        test::SessionSide& mover = i % 2 == 0 ? w.carol : w.bob; // white moves first with handicap
        mover.session.BoardClick(moves[i].first, moves[i].second);
        w.Run(1000);
    }
    ASSERT_EQ(w.bob.session.Board().MoveCount(), 5);

    // Alice asks to watch: Bob's state reaches her in private pieces.
    w.bob.session.SendGameState("alice");
    for (const auto& [to, text] : w.bob.lobby.privates)
        if (to == "alice")
            w.g.alice.ReceiveChunk(text);
    w.watching = true;
    ASSERT_TRUE(w.g.alice.GameOpen());
    EXPECT_FALSE(w.g.alice.IsPlayer());
    TZelGoMainForm& form = *w.g.f.form;
    EXPECT_EQ(form.Layout(), 2);
    const TGoPaintBox& box = *form.GoPaintBox();
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            ASSERT_EQ(box.Colour(x, y), w.bob.session.Board().Colour(x, y)) << x << "," << y;
    EXPECT_TRUE(test::IsDark(test::CentreOf(box, 3, 3)));    // black's first move
    EXPECT_TRUE(test::IsLight(test::CentreOf(box, 16, 16))); // white's first
    EXPECT_EQ(box.Mark(10, 10), kMarkLastMove);
    // The clock strip is up for the watcher.
    EXPECT_TRUE(w.g.alice.Info().TmEnabled());
    EXPECT_GT(form.GameInfo()->StripHeight(), 0);

    // Play goes on and the watcher follows on the same window.
    w.bob.session.BoardClick(4, 10);
    w.Run(1000);
    EXPECT_EQ(w.g.alice.Board().MoveCount(), 6);
    EXPECT_EQ(box.Colour(4, 10), kBlack);
    EXPECT_EQ(box.Colour(10, 10), kWhite);
    test::SaveScreenshot(form, "gamewin_observer.png");
}

TEST(GameWindowSession, ResumedGameShowsItsStonesAgain)
{
    WindowedGame g;
    g.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
    g.alice.RequestGame("bob");
    g.Run(1000);
    TZelGoMainForm& form = *g.f.form;
    const std::vector<std::pair<int, int>> moves = {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {10, 10}};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (i % 2 == 0)
            form.BoardClick(Qt::LeftButton, {}, moves[i].first, moves[i].second);
        else
            g.bob.session.BoardClick(moves[i].first, moves[i].second);
        g.Run(1000);
    }
    g.bob.session.Command(12); // Bob asks to adjourn; Alice agrees
    g.Run(2000);
    ASSERT_FALSE(g.alice.GameOpen());
    ASSERT_EQ(g.f.store.files.count("alicebob.tmp"), 1u);
    EXPECT_EQ(form.GoPaintBox()->Colour(4, 4), kEmpty); // the window was emptied

    g.alice.RequestGame("bob");
    ASSERT_TRUE(g.alice.GameOpen());
    EXPECT_EQ(form.Layout(), 1);
    for (auto [x, y] : moves)
        EXPECT_EQ(form.GoPaintBox()->Colour(x, y), g.alice.Board().Colour(x, y)) << x << "," << y;
    EXPECT_EQ(form.GoPaintBox()->Colour(10, 10), kBlack);
    EXPECT_EQ(form.GoPaintBox()->Mark(10, 10), kMarkLastMove);
    EXPECT_TRUE(g.alice.Info().TmEnabled());
}

} // namespace
} // namespace zel
