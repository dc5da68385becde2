#include <gtest/gtest.h>

#include "core/app/DockDrag.h"

namespace zel {
namespace {

const TDockRect kSite{1000, 0, 800, 600}; // zone 1160..1639 x 120..479

// A window dragged by a point 300 px right of and 10 px below its frame corner.
struct Dragger {
    TDockDrag drag;
    std::int32_t now = 10000;
    TDockPoint grab{300, 10};
    void To(int x, int y, int lag = 0, std::int32_t after = 30)
    {
        now += after;
        drag.Moved(now, {x - grab.x, y - grab.y, 700, 500}, {x + lag, y}, kSite);
    }
};

TEST(DockDrag, SteadyMovesIntoTheZoneShowThePreviewAndDropAfterTheQuietTime)
{
    Dragger d;
    d.To(400, 300);
    d.To(600, 300);
    EXPECT_FALSE(d.drag.Dragging()); // one steady pair is not yet a drag
    d.To(900, 300);
    EXPECT_TRUE(d.drag.Dragging());
    EXPECT_TRUE(d.drag.Preview().Empty()); // pointer not yet over the site
    d.To(1400, 300, 20);                   // the pointer lags a little: still the same drag
    EXPECT_EQ(d.drag.Preview(), (TDockRect{1160, 120, 480, 360}));

    EXPECT_FALSE(d.drag.Tick(d.now + TDockDrag::kQuietMs - 1));
    EXPECT_TRUE(d.drag.Tick(d.now + TDockDrag::kQuietMs));
    EXPECT_FALSE(d.drag.Following());
    EXPECT_FALSE(d.drag.Tick(d.now + 5000)); // a drop is reported once
}

TEST(DockDrag, DropsOnlyWithThePointerInTheZone)
{
    struct Row {
        const char* what;
        int x, y;
        bool drop;
    } rows[] = {
        {"centre", 1400, 300, true},
        {"over the site, outside the zone", 1050, 300, false},
        {"beside the site", 1900, 300, false},
        {"on the 4/5 edge", 1640, 300, false},
    };
    for (const Row& r : rows) {
        Dragger d;
        d.To(r.x - 300, r.y);
        d.To(r.x - 200, r.y);
        d.To(r.x - 100, r.y);
        d.To(r.x, r.y);
        EXPECT_EQ(d.drag.Tick(d.now + 1000), r.drop) << r.what;

        Dragger released;
        released.To(r.x - 300, r.y);
        released.To(r.x - 200, r.y);
        released.To(r.x, r.y);
        EXPECT_EQ(released.drag.Released({r.x, r.y}), r.drop) << r.what << " (release)";
        EXPECT_FALSE(released.drag.Following());
    }
}

TEST(DockDrag, MovesThatDoNotCarryThePointerAreNoDrag)
{
    // The program or the window manager placing the window: the pointer stays.
    TDockDrag placed;
    const TDockPoint cursor{1400, 300};
    placed.Moved(1000, {0, 0}, cursor, kSite);
    placed.Moved(1010, {40, 30}, cursor, kSite);
    placed.Moved(1020, {200, 100}, cursor, kSite);
    placed.Moved(1030, {400, 100}, cursor, kSite);
    EXPECT_FALSE(placed.Dragging());
    EXPECT_TRUE(placed.Preview().Empty());
    EXPECT_FALSE(placed.Tick(3000));
    EXPECT_FALSE(placed.Released(cursor));

    // A pointer lagging by more than the slack breaks the run of steady moves.
    Dragger jumpy;
    jumpy.To(1200, 300);
    jumpy.To(1300, 300, TDockDrag::kSlack + 1);
    jumpy.To(1400, 300);
    EXPECT_FALSE(jumpy.drag.Dragging());

    // Moves far apart in time are two separate attempts, not one drag.
    Dragger slow;
    slow.To(1200, 300);
    slow.To(1300, 300, 0, TDockDrag::kQuietMs);
    slow.To(1400, 300, 0, TDockDrag::kQuietMs);
    EXPECT_FALSE(slow.drag.Dragging());

    // Resizing by the top-left corner carries the pointer along as well, but
    // the frame changes its size.
    TDockDrag resizing;
    for (int i = 0; i < 4; ++i)
        resizing.Moved(1000 + i * 20, {1100 + i * 50, 290, 700 - i * 50, 500}, {1100 + i * 50, 290}, kSite);
    EXPECT_FALSE(resizing.Dragging());
    EXPECT_FALSE(resizing.Tick(3000));

    // Repeated reports of an unmoved frame neither start nor end anything.
    Dragger repeated;
    repeated.To(1200, 300);
    repeated.To(1300, 300);
    repeated.To(1300, 300, 400);
    repeated.To(1400, 300);
    EXPECT_TRUE(repeated.drag.Dragging());
}

TEST(DockDrag, NoSiteNoPreviewAndTheQuietTimeSpansMidnight)
{
    TDockDrag drag;
    for (int i = 0; i < 4; ++i)
        drag.Moved(1000 + i * 20, {1100 + i * 50, 290}, {1400 + i * 50, 300}, TDockRect{});
    EXPECT_TRUE(drag.Dragging());
    EXPECT_TRUE(drag.Preview().Empty());
    EXPECT_FALSE(drag.Tick(5000));

    const std::int32_t lastMs = 24 * 60 * 60 * 1000 - 100;
    Dragger late;
    late.now = lastMs - 200;
    late.To(1200, 300);
    late.To(1300, 300);
    late.To(1400, 300);
    EXPECT_FALSE(late.drag.Tick(100)); // 310 ms after the last move, past midnight
    EXPECT_TRUE(late.drag.Tick(late.now + TDockDrag::kQuietMs - 24 * 60 * 60 * 1000));
}

} // namespace
} // namespace zel
