#include <gtest/gtest.h>

#include "core/app/DockZone.h"

namespace zel {
namespace {

TEST(DockZone, MiddleThreeFifthsOfTheClientArea)
{
    struct Row {
        TDockRect client;
        TDockRect zone;
    } rows[] = {
        {{0, 0, 800, 600}, {160, 120, 480, 360}},
        {{100, 50, 800, 600}, {260, 170, 480, 360}},   // screen offset carried over
        {{-900, -20, 500, 400}, {-800, 60, 300, 240}}, // a window on a screen left of the primary
        {{0, 0, 801, 599}, {161, 120, 479, 359}},      // fifths not whole: rounded inwards
        {{0, 0, 4, 4}, {1, 1, 2, 2}},                  // tiny but still a zone
        {{0, 0, 2, 600}, {}},                          // too narrow for any zone
        {{0, 0, 1, 1}, {}},
        {{0, 0, 0, 600}, {}}, // empty client area
        {{0, 0, 800, -5}, {}},
    };
    for (const Row& r : rows) {
        const TDockRect z = DockZone(r.client);
        EXPECT_EQ(z, r.zone) << r.client.left << "," << r.client.top << " " << r.client.width << "x" << r.client.height
                             << " -> " << z.left << "," << z.top << " " << z.width << "x" << z.height;
    }
}

TEST(DockZone, CornersAndFifthEdges)
{
    const TDockRect client{100, 200, 500, 400}; // fifths at x 200/500, y 280/520
    struct Row {
        TDockPoint p;
        bool inside;
    } rows[] = {
        {{100, 200}, false}, {{599, 599}, false},  {{100, 599}, false}, {{599, 200}, false}, // the corners
        {{350, 400}, true},                                                                  // the centre
        {{200, 280}, true},  {{199, 280}, false},  {{200, 279}, false},                      // 1/5 edges belong in
        {{499, 519}, true},  {{500, 519}, false},  {{499, 520}, false},                      // 4/5 edges are out
        {{350, 100}, false}, {{1000, 400}, false},                                           // outside the window
    };
    for (const Row& r : rows)
        EXPECT_EQ(InDockZone(client, r.p), r.inside) << r.p.x << "," << r.p.y;
    EXPECT_FALSE(InDockZone({0, 0, 1, 1}, {0, 0}));
}

} // namespace
} // namespace zel
