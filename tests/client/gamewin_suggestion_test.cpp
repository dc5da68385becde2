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

// The estimator port: answers with `dead` (or no answer, without `answers`)
// once `release` is set, noting the thread it ran on; Cancel releases it.
class HeldEstimator : public DeadStoneEstimator {
public:
    explicit HeldEstimator(std::string name = "held") : name_(std::move(name)) {}
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
        return answers && !cancelled;
    }
    std::string Name() const override { return name_; }
    void Cancel() override
    {
        cancelled = true;
        release = true;
    }

    std::string name_;
    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> answers{true};
    std::atomic<int> calls{0};
    std::mutex mutex;
    std::thread::id thread;
    std::size_t moves = 0;
    std::vector<std::pair<int, int>> dead;
};

// Alice plays in a real game window; Bob is a bare session.
struct SuggestedGame {
    explicit SuggestedGame(std::unique_ptr<HeldEstimator> e, std::unique_ptr<HeldEstimator> s = nullptr)
        : estimator(e.get()), second(s.get()), clock(36000000), random(7), window(*f.form),
          alice(TSessionServices{clock, random, f.prompts, window, lobby, dialogs, f.store, f.form->HelpList()}),
          bob(clock, random, "bob"), advisor(alice, *f.form, std::move(e), std::move(s)),
          link(*f.form, alice, windowLobby, advisor)
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
    HeldEstimator* second;
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
    // Without a second estimator the first answer is the last.
    EXPECT_TRUE(g.advisor.IsFinal());
    EXPECT_EQ(g.advisor.SecondLatencyMs(), -1);

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

using Points = std::vector<std::pair<int, int>>;
using State = TDeadStoneAdvisor::State;

bool Shown(SuggestedGame& g)
{
    return SuggestedGame::Pump([&] { return g.advisor.CurrentState() == State::Shown; });
}

bool Final(SuggestedGame& g)
{
    return SuggestedGame::Pump([&] { return g.advisor.IsFinal(); });
}

TEST(GameWindowSuggestion, TheSecondOpinionReplacesTheFirstWhileNothingIsMarked)
{
    auto quick = std::make_unique<HeldEstimator>("quick");
    quick->dead = {{4, 15}};
    auto slow = std::make_unique<HeldEstimator>("slow");
    slow->dead = {{3, 3}, {4, 15}};
    SuggestedGame g(std::move(quick), std::move(slow));
    TZelGoMainForm& form = *g.f.form;
    PlayToMarking(g);

    // The slow one is not asked while the quick answer is awaited, so the
    // two engines never compete for the processor.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(g.estimator->entered);
    EXPECT_FALSE(g.second->entered);
    g.estimator->release = true;
    ASSERT_TRUE(Shown(g));
    EXPECT_FALSE(g.advisor.IsFinal());
    EXPECT_FALSE(g.advisor.SecondShown());
    EXPECT_EQ(g.advisor.EstimatorName(), "quick");
    EXPECT_TRUE(form.GoPaintBox()->Suggested(4, 15));
    EXPECT_FALSE(form.GoPaintBox()->Suggested(3, 3));
    const qint64 first = g.advisor.LatencyMs();
    ASSERT_GE(first, 0);

    g.second->release = true;
    ASSERT_TRUE(Final(g));
    EXPECT_TRUE(g.advisor.SecondShown());
    EXPECT_EQ(g.advisor.EstimatorName(), "slow");
    EXPECT_EQ(g.advisor.Suggestion(), (Points{{3, 3}, {4, 15}}));
    EXPECT_TRUE(form.GoPaintBox()->Suggested(3, 3));
    EXPECT_TRUE(form.GoPaintBox()->Suggested(4, 15));
    EXPECT_EQ(g.advisor.LatencyMs(), first);
    EXPECT_GE(g.advisor.SecondLatencyMs(), first);
    {
        // Both were asked about the game, each off the window's thread and
        // on a thread of its own.
        std::lock_guard<std::mutex> a(g.estimator->mutex), b(g.second->mutex);
        EXPECT_EQ(g.second->moves, 38u);
        EXPECT_NE(g.second->thread, std::this_thread::get_id());
        EXPECT_NE(g.second->thread, g.estimator->thread);
    }
    // Marking shown again asks neither again and keeps the second opinion.
    g.window.ShowDeadMarkButton();
    QCoreApplication::processEvents();
    EXPECT_EQ(g.estimator->calls, 1);
    EXPECT_EQ(g.second->calls, 1);
    EXPECT_TRUE(form.GoPaintBox()->Suggested(3, 3));
    form.ButtonClick(kAutoMarkButton);
    EXPECT_EQ(g.alice.Board().Mark(3, 3), kMarkBlackPoint);
}

// Once the player has applied the suggestion or marked a stone, a later
// answer changes neither the marks nor what is suggested.
TEST(GameWindowSuggestion, TheSecondOpinionNeverOverridesThePlayer)
{
    for (const bool apply : {true, false}) {
        auto quick = std::make_unique<HeldEstimator>("quick");
        quick->dead = {{3, 3}};
        auto slow = std::make_unique<HeldEstimator>("slow");
        slow->dead = {};
        SuggestedGame g(std::move(quick), std::move(slow));
        TZelGoMainForm& form = *g.f.form;
        PlayToMarking(g);
        g.estimator->release = true;
        ASSERT_TRUE(Shown(g)) << apply;
        if (apply)
            form.ButtonClick(kAutoMarkButton);
        else
            form.BoardClick(Qt::LeftButton, {}, 3, 3);
        ASSERT_EQ(g.alice.Board().Mark(3, 3), kMarkBlackPoint) << apply;
        g.second->release = true;
        ASSERT_TRUE(Final(g)) << apply;
        ASSERT_TRUE(SuggestedGame::Pump([&] { return g.second->calls == 1; }));
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        EXPECT_FALSE(g.advisor.SecondShown()) << apply;
        EXPECT_EQ(g.advisor.Suggestion(), (Points{{3, 3}})) << apply;
        EXPECT_EQ(g.advisor.EstimatorName(), "quick") << apply;
        EXPECT_EQ(g.alice.Board().Mark(3, 3), kMarkBlackPoint) << apply;
        EXPECT_EQ(g.alice.Board().Mark(4, 15), kMarkBlackPoint) << apply;
    }
}

// A missing answer leaves the other one shown; none at all fails.
TEST(GameWindowSuggestion, EitherOpinionMayFailOrComeFirst)
{
    struct Row {
        const char* what;
        bool quickAnswers, slowAnswers;
        State state;
        const char* by;
        bool secondShown;
    };
    const Row rows[] = {
        {"slow gives none", true, false, State::Shown, "quick", false},
        {"quick gives none", false, true, State::Shown, "slow", true},
        {"neither answers", false, false, State::Failed, "", false},
    };
    for (const Row& r : rows) {
        auto quick = std::make_unique<HeldEstimator>("quick");
        quick->dead = {{3, 3}};
        quick->answers = r.quickAnswers;
        auto slow = std::make_unique<HeldEstimator>("slow");
        slow->dead = {{4, 15}};
        slow->answers = r.slowAnswers;
        SuggestedGame g(std::move(quick), std::move(slow));
        PlayToMarking(g);
        for (HeldEstimator* e : {g.estimator, g.second}) {
            e->release = true;
            ASSERT_TRUE(SuggestedGame::Pump([&] { return e->calls == 1; })) << r.what;
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
        }
        EXPECT_TRUE(g.advisor.IsFinal()) << r.what;
        EXPECT_EQ(g.advisor.CurrentState(), r.state) << r.what;
        EXPECT_EQ(g.advisor.SecondShown(), r.secondShown) << r.what;
        if (r.state == State::Shown) {
            EXPECT_EQ(g.advisor.EstimatorName(), r.by) << r.what;
            EXPECT_EQ(g.advisor.Suggestion(), std::string(r.by) == "slow" ? (Points{{4, 15}}) : (Points{{3, 3}}))
                << r.what;
            EXPECT_GE(g.advisor.LatencyMs(), 0) << r.what;
        }
    }
}

// Closing the window while an estimator still thinks does not wait for it.
TEST(GameWindowSuggestion, ClosingStopsAnEstimatorStillThinking)
{
    QElapsedTimer t;
    {
        auto quick = std::make_unique<HeldEstimator>("quick");
        quick->release = true;
        SuggestedGame g(std::move(quick), std::make_unique<HeldEstimator>("slow"));
        PlayToMarking(g);
        ASSERT_TRUE(Shown(g));
        ASSERT_TRUE(SuggestedGame::Pump([&] { return g.second->entered.load(); }));
        EXPECT_FALSE(g.advisor.IsFinal());
        t.start();
    }
    EXPECT_LT(t.elapsed(), 2000);
}

} // namespace
} // namespace zel
