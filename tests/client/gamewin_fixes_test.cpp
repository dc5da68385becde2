#include <gtest/gtest.h>

#include <QTimer>
#include <memory>

#include "GoMainTestKit.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "core/game/ElmGoInfo.h"

namespace zel {
namespace {

using test::GoMainFixture;

// The panel's clock timer (its only one).
QTimer* ClockTimer(TElmGoInfoPanel& panel)
{
    return panel.findChild<QTimer*>();
}

TEST(GameInfoPanelFollowsModel, ClockStripAndTimerFollowTheShownModel)
{
    test::App();
    TElmGoInfo session; // kept by the game session, outlives the panel
    test::ManualClock clock(1000);
    auto panel = std::make_unique<TElmGoInfoPanel>(clock);
    QTimer* timer = ClockTimer(*panel);
    ASSERT_NE(timer, nullptr);
    panel->ShowModel(&session);
    const int plain = panel->maximumHeight();
    EXPECT_EQ(panel->minimumHeight(), plain);
    EXPECT_FALSE(timer->isActive());

    // The accepting side shows the window first and switches the clocks on
    // afterwards: strip and timer still come.
    session.SetClock(1, 600, 30, 3);
    session.SetClock(2, 600, 30, 3);
    session.SetTmEnabled(true, 1000);
    EXPECT_EQ(panel->maximumHeight(), plain + 34);
    EXPECT_EQ(panel->minimumHeight(), plain + 34);
    EXPECT_TRUE(timer->isActive());

    // Stopping and restarting the clocks keeps the strip.
    session.SetRunning(false, 2000);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(panel->maximumHeight(), plain + 34);
    session.SetRunning(true, 3000);
    EXPECT_TRUE(timer->isActive());

    // A reset with more rows stops the clocks and grows the rows.
    session.Reset(8);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(panel->maximumHeight(), plain + 3 * panel->LineHeight());
    session.SetTmEnabled(true, 4000);
    EXPECT_EQ(panel->maximumHeight(), plain + 3 * panel->LineHeight() + 34);
    session.SetTmEnabled(false, 5000);
    EXPECT_EQ(panel->maximumHeight(), plain + 3 * panel->LineHeight());
    EXPECT_FALSE(timer->isActive());

    // Back on its own model, the session's changes no longer reach it.
    panel->ShowModel(nullptr);
    EXPECT_FALSE(session.OnChanged);
    session.SetTmEnabled(true, 6000);
    EXPECT_EQ(panel->maximumHeight(), plain);
    EXPECT_FALSE(timer->isActive());

    // A panel gone while showing the session leaves no listener behind.
    panel->ShowModel(&session);
    EXPECT_TRUE(timer->isActive());
    panel.reset();
    EXPECT_FALSE(session.OnChanged);
    session.SetTmEnabled(false, 7000);
}

TEST(GameInfoPanelFollowsModel, WindowMakesRoomForTheClocksStartedLater)
{
    TElmGoInfo session;
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    form.show();
    TElmGoInfoPanel& panel = *form.GameInfo();
    session.Reset(9);
    panel.ShowModel(&session);
    const int plain = panel.sizeHint().height();
    ZEL_WAIT_FOR(panel.height() == plain, 2000);

    session.SetTmEnabled(true, 0);
    ZEL_WAIT_FOR(panel.height() == plain + 34, 2000);
    EXPECT_TRUE(ClockTimer(panel)->isActive());
    session.SetTmEnabled(false, 0);
    ZEL_WAIT_FOR(panel.height() == plain, 2000);
    panel.ShowModel(nullptr);
}

// A commentary on move `number` with a one-move variation at (3, 3).
std::string CommentaryOn(int number)
{
    return "VH" + NumToCode2(number) + NumToCode2(1) + "CC" + "\\#" + NumToCode2(0) + "\\#" + "note\r\n";
}

// The board after the first `count` of `moves`, played without a record.
TGoBoard PlainReplay(const std::vector<std::pair<int, int>>& moves, int count)
{
    TGoBoard board;
    for (int k = 0; k < count && k < static_cast<int>(moves.size()); ++k)
        board.PlayAt(moves[static_cast<std::size_t>(k)].first, moves[static_cast<std::size_t>(k)].second);
    return board;
}

// The board stands where the record does and holds the stones of a plain
// replay up to that move; the board control shows the same.
void ExpectInStep(TZelGoMainForm& form, const std::string& where)
{
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kViewing) << where;
    const int number = form.Record()->Current()->Number;
    EXPECT_EQ(form.Board().MoveCount(), number) << where;
    const TGoBoard plain = PlainReplay(test::TenMoves(), number);
    for (int y = 1; y <= kBoardSize; ++y) {
        for (int x = 1; x <= kBoardSize; ++x) {
            if (form.Board().Colour(x, y) != plain.Colour(x, y) ||
                form.GoPaintBox()->Colour(x, y) != plain.Colour(x, y)) {
                ADD_FAILURE() << where << ": stone differs at (" << x << ", " << y << ")";
                return;
            }
        }
    }
}

TEST(GoMainViewing, WalkingBackFromACommentaryKeepsBoardAndRecordInStep)
{
    struct Case {
        const char* what;
        std::vector<int> commentaries; // move numbers they belong to
        bool leading;                  // the file holds them before the moves
        int steps;                     // single steps forward from the start
        int tag;                       // 10 first, 11 back five
        int landsOn;                   // record's move number afterwards
    } cases[] = {
        {"back five from a commentary on move 8", {8}, false, 9, 11, 4},
        {"back five from a commentary on move 4", {4}, false, 5, 11, 1},
        {"first from a commentary on move 8", {8}, false, 9, 10, 1},
        {"back five from the second commentary on move 4", {4, 4}, false, 6, 11, 1},
        {"back five past a commentary before move 1", {0}, true, 4, 11, 0},
    };
    for (const Case& c : cases) {
        GoMainFixture f;
        std::string extra;
        for (int n : c.commentaries)
            extra += CommentaryOn(n);
        std::string text = f.RecordText(test::TenMoves(), c.leading ? "" : extra);
        if (c.leading)
            text.insert(text.find("\r\n") + 2, extra);
        f.View(text);
        TZelGoMainForm& form = *f.form;
        for (int k = 0; k < c.steps; ++k) {
            form.ButtonClick(13);
            if (form.Mode() == TZelGoMainForm::kShowing)
                form.ButtonClick(5); // 보기 마침
        }
        ExpectInStep(form, std::string(c.what) + ", before");
        form.ButtonClick(c.tag);
        ExpectInStep(form, std::string(c.what) + ", after");
        EXPECT_EQ(form.Record()->Current()->Number, c.landsOn) << c.what;
        form.ButtonClick(14);
        ExpectInStep(form, std::string(c.what) + ", forward again");
        form.ButtonClick(11);
        ExpectInStep(form, std::string(c.what) + ", back again");
    }
}

TEST(GoMainReviewing, FollowingBackFromACommentaryKeepsItsMove)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    f.store.files["r.zel"] = f.RecordText(test::TenMoves(), CommentaryOn(6));
    form.CurrentRecordName = "r.zel";
    TGoSnapshot empty;
    EmptySnapshot(empty);
    form.EnterMode(TZelGoMainForm::kReviewing, empty);
    form.LoadRecordFile("lee", false);
    for (int k = 0; k < 7; ++k) {
        form.ButtonClick(13);
        if (form.Mode() == TZelGoMainForm::kShowing)
            form.ButtonClick(5);
    }
    ASSERT_EQ(form.Record()->Current()->Kind, TGoNode::kCommentary);
    ASSERT_EQ(form.Board().MoveCount(), 6);
    // Another reviewer stands on move 6 itself: only the record moves.
    form.SeekReviewPosition(6);
    EXPECT_EQ(form.Record()->Current()->Kind, TGoNode::kMove);
    EXPECT_EQ(form.Board().MoveCount(), 6);
    form.ButtonClick(13);
    if (form.Mode() == TZelGoMainForm::kShowing)
        form.ButtonClick(5);
    form.SeekReviewPosition(3);
    EXPECT_EQ(form.Record()->Current()->Number, 3);
    EXPECT_EQ(form.Board().MoveCount(), 3);
    EXPECT_EQ(form.GoPaintBox()->Colour(16, 16), kBlack);
    EXPECT_EQ(form.GoPaintBox()->Colour(4, 4), kEmpty);
}

} // namespace
} // namespace zel
