#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <mutex>
#include <thread>

#include "GoMainTestKit.h"
#include "client/app/DeadStoneAdvisor.h"
#include "client/app/GameWindowLink.h"
#include "client/app/QtGameWindow.h"
#include "client/engine/GoPaintBox.h"
#include "client/record/GoMainCommands.h"
#include "support/SessionDuo.h"

namespace zel {
namespace {

// The estimator port: answers with `dead` once `release` is set, noting the
// thread it ran on.
class HeldEstimator : public DeadStoneEstimator {
public:
    bool DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& out) override
    {
        entered = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::lock_guard<std::mutex> lock(mutex);
        thread = std::this_thread::get_id();
        moves = query.Moves.size();
        ++calls;
        out = dead;
        return true;
    }
    std::string Name() const override { return "held"; }

    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    std::atomic<int> calls{0};
    std::mutex mutex;
    std::thread::id thread;
    std::size_t moves = 0;
    std::vector<std::pair<int, int>> dead;
};

// Alice plays in a real game window; Bob is a bare session.
struct SuggestedGame {
    explicit SuggestedGame(std::unique_ptr<HeldEstimator> e)
        : estimator(e.get()), clock(36000000), random(7), window(*f.form),
          alice(TSessionServices{clock, random, f.prompts, window, lobby, dialogs, f.store, f.form->HelpList()}),
          bob(clock, random, "bob"), advisor(alice, *f.form, std::move(e)), link(*f.form, alice, windowLobby, advisor)
    {
        window.SetSessionInfo(&alice.Info());
        window.SetAdvisor(&advisor);
        alice.MyId = "alice";
        alice.OnSendGame = [this](const std::string& text) { outbox.push_back(text); };
        window.OnDeadMarkNotice = [] {};
    }
    ~SuggestedGame() { window.SetAdvisor(nullptr); }
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
    // Events of the window's thread until pred holds (false after 5 s).
    template <typename Pred> static bool Pump(Pred pred)
    {
        QElapsedTimer t;
        t.start();
        while (!pred() && t.elapsed() < 5000) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return pred();
    }

    HeldEstimator* estimator;
    test::GoMainFixture f;
    test::ManualClock clock;
    test::SeededRandom random;
    test::RecordingLobby lobby;
    test::ScriptedDialogs dialogs;
    QtGameWindow window;
    TBBS2Zel alice;
    test::SessionSide bob;
    test::RecordingWindowLobby windowLobby;
    TDeadStoneAdvisor advisor;
    TGameWindowLink link;
    std::vector<std::string> outbox;
    std::size_t sent = 0;
};

// Black walls column 10, white column 12; white drops two lone stones into
// black's side, in one empty area. Alice (black) asks to count.
void PlayToMarking(SuggestedGame& g)
{
    g.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
    g.alice.RequestGame("bob");
    g.Run(1000);
    ASSERT_TRUE(g.alice.GameOpen());
    for (int row = 1; row <= 19; ++row) {
        g.f.form->BoardClick(Qt::LeftButton, {}, 10, row);
        g.Run(400);
        g.bob.session.BoardClick(row == 18 ? 3 : row == 19 ? 4 : 12, row == 18 ? 3 : row == 19 ? 15 : row);
        g.Run(400);
    }
    ASSERT_EQ(g.alice.Board().MoveCount(), 38);
    g.alice.Command(kCmdCountRequest);
    g.Run(1000);
    ASSERT_EQ(g.alice.DeadMarker(), "alice");
}

TEST(GameWindowSuggestion, AskedOffTheWindowThreadShownThenAppliedAsClicks)
{
    auto owned = std::make_unique<HeldEstimator>();
    owned->dead = {{3, 3}, {4, 15}};
    SuggestedGame g(std::move(owned));
    TZelGoMainForm& form = *g.f.form;
    PlayToMarking(g);

    // The estimator holds its answer: the window goes on meanwhile.
    EXPECT_EQ(g.advisor.CurrentState(), TDeadStoneAdvisor::State::Waiting);
    EXPECT_FALSE(form.GoPaintBox()->Suggested(3, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(g.advisor.CurrentState(), TDeadStoneAdvisor::State::Waiting);
    g.estimator->release = true;
    ASSERT_TRUE(SuggestedGame::Pump([&] { return g.advisor.CurrentState() == TDeadStoneAdvisor::State::Shown; }));
    {
        std::lock_guard<std::mutex> lock(g.estimator->mutex);
        EXPECT_NE(g.estimator->thread, std::this_thread::get_id());
        EXPECT_EQ(g.estimator->moves, 38u);
    }
    EXPECT_TRUE(form.GoPaintBox()->Suggested(3, 3));
    EXPECT_TRUE(form.GoPaintBox()->Suggested(4, 15));
    EXPECT_GE(g.advisor.LatencyMs(), 0);

    // The button now reads "자동 지정"; its click marks both stones, once.
    EXPECT_EQ(form.ButtonCommand(kAutoMarkButton).Command, kCmdAutoMark);
    form.ButtonClick(kAutoMarkButton);
    EXPECT_EQ(g.alice.Board().Mark(3, 3), kMarkBlackPoint);
    EXPECT_EQ(g.alice.Board().Mark(4, 15), kMarkBlackPoint);
    // Marking shown again asks nothing new.
    g.window.ShowDeadMarkButton();
    QCoreApplication::processEvents();
    EXPECT_EQ(g.estimator->calls, 1);

    // The ordinary marking messages reach Bob: his board loses both stones.
    g.alice.Command(kCmdDeadMarkDone);
    g.Run(1000);
    EXPECT_EQ(g.bob.session.Board().Colour(3, 3), kEmpty);
    EXPECT_EQ(g.bob.session.Board().Colour(4, 15), kEmpty);
}

TEST(GameWindowSuggestion, AnAnswerForAnEndedSessionIsDropped)
{
    auto owned = std::make_unique<HeldEstimator>();
    owned->dead = {{3, 3}};
    SuggestedGame g(std::move(owned));
    PlayToMarking(g);
    // The worker holds the question before the session ends.
    ASSERT_TRUE(SuggestedGame::Pump([&] { return g.estimator->entered.load(); }));
    g.advisor.Clear();
    g.estimator->release = true;
    ASSERT_TRUE(SuggestedGame::Pump([&] { return g.estimator->calls == 1; }));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(g.advisor.CurrentState(), TDeadStoneAdvisor::State::None);
    EXPECT_FALSE(g.f.form->GoPaintBox()->Suggested(3, 3));
    // Applying without a suggestion marks nothing.
    g.advisor.Apply();
    EXPECT_EQ(g.alice.Board().Mark(3, 3), 0);
}

} // namespace
} // namespace zel
