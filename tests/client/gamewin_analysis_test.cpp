// The game window's "형세 분석" command: the overlay while the notice is up,
// the notice text and place, and a second press clearing the overlay.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QToolButton>
#include <functional>

#include "GoMainTestKit.h"
#include "client/base/QtText.h"
#include "client/engine/GoPaintBox.h"
#include "client/term/ChatTerm.h"

namespace zel {
namespace {

// Records the notices; runs `whileShown` as long as the modal notice of the
// analysis would be on the screen.
class AnalysisPrompts : public test::RecordingPrompts {
public:
    void AlertAt(const std::string& text, int left, int top) override
    {
        places.push_back(QPoint(left, top));
        Alert(text);
        if (whileShown)
            whileShown();
    }
    std::vector<QPoint> places;
    std::function<void()> whileShown;
};

struct AnalysisFixture {
    AnalysisFixture() : status(settings), draw(StandardPalette)
    {
        test::App();
        form = std::make_unique<TZelGoMainForm>(status, prompts, draw, clock, printer);
        form->SetRecordStore(&store);
        form->resize(820, 640);
    }

    // Views a record of the given moves ((0, 0) a pass).
    void View(const std::vector<std::pair<int, int>>& moves)
    {
        TGoBoard board;
        for (auto [x, y] : moves)
            x == 0 ? board.PlayPass() : board.PlayAt(x, y);
        TRecordHeader h;
        h.Black = "kim(kim) 3d";
        h.White = "lee(lee) 2d";
        h.Komi = 6;
        h.DateLine = "2026-12-07 23:30";
        h.Title = "analysis";
        h.Result = "W+R";
        store.files["20261207analysis.zel"] = RecordHeaderLine(h) + "\r\n" + board.RecordLinesText();
        form->CurrentRecordName = "20261207analysis.zel";
        TGoSnapshot empty;
        EmptySnapshot(empty);
        form->EnterMode(TZelGoMainForm::kViewing, empty);
        form->LoadRecordFile("", true);
        for (std::size_t i = 0; i < moves.size(); ++i)
            form->ButtonClick(kFirstNavTag + 3);
    }

    test::MemorySettings settings;
    TZelStatus status;
    AnalysisPrompts prompts;
    test::MemoryFileStore store;
    TBackDraw draw;
    test::ManualClock clock{36000000};
    test::RecordingPrinter printer;
    std::unique_ptr<TZelGoMainForm> form;
};

void Shot(QWidget& widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("ZEL_SCREENSHOTS");
    if (dir.isEmpty()) {
        test::SaveScreenshot(widget, name);
        return;
    }
    QDir().mkpath(dir);
    widget.grab().save(QDir(dir).filePath(name));
}

// Black builds a wall around the upper left corner while white plays
// elsewhere; black captures one white stone at (3, 3) on the way.
std::vector<std::pair<int, int>> CornerGame()
{
    return {{6, 1}, {16, 16}, {6, 2}, {16, 4},  {6, 3}, {4, 16}, {6, 4}, {3, 3},  {6, 5}, {15, 16},
            {6, 6}, {17, 4},  {5, 6}, {16, 15}, {4, 6}, {15, 4}, {3, 6}, {4, 15}, {2, 6}, {10, 10},
            {1, 6}, {16, 3},  {3, 2}, {4, 14},  {2, 3}, {17, 3}, {4, 3}, {16, 5}, {3, 4}};
}

TEST(GoMainAnalysis, NoticeCountsAndOverlayThenCleared)
{
    AnalysisFixture f;
    f.View(CornerGame());
    TZelGoMainForm& form = *f.form;
    ASSERT_EQ(form.Board().BlackPrisoners(), 1) << "black took the stone in the corner";
    ASSERT_EQ(form.CommandButton(1)->text(), QString::fromUtf8("형세 분석"));
    form.show();

    const QImage before = form.GoPaintBox()->Canvas();
    bool overlayDrawn = false;
    f.prompts.whileShown = [&] {
        overlayDrawn = form.GoPaintBox()->Canvas() != before;
        Shot(form, "gamewin_analysis.png");
    };
    form.CommandButton(1)->click();

    ASSERT_EQ(f.prompts.alerts.size(), 1u);
    EXPECT_TRUE(overlayDrawn);
    EXPECT_EQ(form.GoPaintBox()->Canvas(), before) << "the overlay goes with the notice";
    EXPECT_EQ(f.prompts.places.front(), form.GoTerminal()->mapToGlobal(QPoint(2, 2)));

    const QString notice = ToQ(f.prompts.alerts.front());
    const QRegularExpression format(QString::fromUtf8("^흑\\((\\d+):(\\d+)\\)   백\\((\\d+):(\\d+)\\)$"));
    const auto match = format.match(notice);
    ASSERT_TRUE(match.hasMatch()) << notice.toStdString();
    // The corner inside the wall is black's, and black holds a prisoner;
    // white, with no prisoners, has its own areas on the right.
    EXPECT_GE(match.captured(1).toInt(), 1 + 16);
    EXPECT_GT(match.captured(3).toInt(), 0);
}

TEST(GoMainAnalysis, SecondPressWhileShownClearsTheOverlay)
{
    AnalysisFixture f;
    f.View(CornerGame());
    TZelGoMainForm& form = *f.form;
    const QImage before = form.GoPaintBox()->Canvas();
    // The notice stays up while the button is pressed again.
    bool clearedWhileShown = false, pressed = false;
    f.prompts.whileShown = [&] {
        if (pressed)
            return;
        pressed = true;
        form.CommandButton(1)->click();
        clearedWhileShown = form.GoPaintBox()->Canvas() == before;
    };
    form.CommandButton(1)->click();
    EXPECT_EQ(f.prompts.alerts.size(), 1u) << "the second press analyses nothing";
    EXPECT_TRUE(clearedWhileShown);
    EXPECT_EQ(form.GoPaintBox()->Canvas(), before);

    // Afterwards a press analyses again.
    form.CommandButton(1)->click();
    EXPECT_EQ(f.prompts.alerts.size(), 2u);
}

} // namespace
} // namespace zel
