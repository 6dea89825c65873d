#include <gtest/gtest.h>

#include "bar/layout_rules.h"

namespace {

GridGeometry Make(int s, int n, bool vertical, bool pageFirst)
{
    GridGeometry g;
    g.s = s;
    g.nc = vertical ? 1 : n;
    g.nr = vertical ? n : 1;
    g.vertical = vertical;
    g.pageFirst = pageFirst;
    return g;
}

struct PlacementCase {
    const char *what;
    GridGeometry g;
    Box slot0, slotLast, b501, b502, b503, b504, b505;
    Extent client;
};

// The four layouts, with 5 slots of 38 and 7 slots of 30.
const PlacementCase kPlacement[] = {
    {"horizontal", Make(38, 5, false, false), {0, 0, 38, 38}, {152, 0, 38, 38}, {190, 0, 19, 19}, {190, 19, 19, 19},
     {209, 0, 19, 19}, {209, 19, 19, 19}, {228, 0, 19, 38}, {247, 38}},
    {"horizontal, page buttons first", Make(38, 5, false, true), {19, 0, 38, 38}, {171, 0, 38, 38}, {0, 0, 19, 19},
     {0, 19, 19, 19}, {209, 0, 19, 19}, {209, 19, 19, 19}, {228, 0, 19, 38}, {247, 38}},
    {"vertical", Make(30, 7, true, false), {0, 0, 30, 30}, {0, 180, 30, 30}, {0, 210, 15, 15}, {15, 210, 15, 15},
     {0, 225, 15, 15}, {0, 240, 15, 15}, {15, 225, 15, 30}, {30, 255}},
    {"vertical, page buttons first", Make(30, 5, true, true), {0, 15, 30, 30}, {0, 135, 30, 30}, {0, 0, 15, 15},
     {15, 0, 15, 15}, {0, 165, 15, 15}, {0, 180, 15, 15}, {15, 165, 15, 30}, {30, 195}},
};

TEST(Layout, PlacementTable)
{
    for (const PlacementCase &c : kPlacement) {
        SCOPED_TRACE(c.what);
        const int n = c.g.vertical ? c.g.nr : c.g.nc;
        EXPECT_EQ(SlotBox(c.g, 0), c.slot0);
        EXPECT_EQ(SlotBox(c.g, n - 1), c.slotLast);
        EXPECT_EQ(ControlBox(c.g, 501), c.b501);
        EXPECT_EQ(ControlBox(c.g, 502), c.b502);
        EXPECT_EQ(ControlBox(c.g, 503), c.b503);
        EXPECT_EQ(ControlBox(c.g, 504), c.b504);
        EXPECT_EQ(ControlBox(c.g, 505), c.b505);
        EXPECT_EQ(ClientSize(c.g), c.client);
        // Every button lies inside the client area and no two overlap.
        std::vector<Box> all;
        for (int k = 0; k < n; ++k)
            all.push_back(SlotBox(c.g, k));
        for (int id = 501; id <= 505; ++id)
            all.push_back(ControlBox(c.g, id));
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_GE(all[i].x, 0);
            EXPECT_GE(all[i].y, 0);
            EXPECT_LE(all[i].x + all[i].w, c.client.w);
            EXPECT_LE(all[i].y + all[i].h, c.client.h);
            for (size_t j = i + 1; j < all.size(); ++j) {
                const bool apart = all[i].x + all[i].w <= all[j].x || all[j].x + all[j].w <= all[i].x ||
                                   all[i].y + all[i].h <= all[j].y || all[j].y + all[j].h <= all[i].y;
                EXPECT_TRUE(apart) << i << " overlaps " << j;
            }
        }
    }
}

TEST(Layout, WorkedExamples)
{
    // Horizontal, 5 slots of 38, frame 4, caption 10, not docked.
    const GridGeometry h = Make(38, 5, false, false);
    EXPECT_EQ(WindowSize(h, 4, 4, 10), (Extent{255, 56}));
    const TrackLimits lh = TrackingLimits(38, false, 4, 4, 10);
    EXPECT_EQ(lh.min, (Extent{255, 56}));
    EXPECT_EQ(lh.max, (Extent{825, 56}));
    EXPECT_EQ(CountsForClient(38, false, 247, 38), (GridCounts{5, 1}));

    // Vertical, 5 small slots, page buttons first, docked lower right on 1024 x 768.
    const GridGeometry v = Make(30, 5, true, true);
    const Extent w = WindowSize(v, 4, 4, 0);
    EXPECT_EQ(w, (Extent{38, 203}));
    EXPECT_EQ(CornerPosition(4, 1024, 768, w, {7, 7}), (Point{986, 565}));
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(SlotBox(v, k).y, 15 + 30 * k);
}

TEST(Layout, TrackingLimitsVertical)
{
    const TrackLimits l = TrackingLimits(30, true, 4, 4, 10);
    EXPECT_EQ(l.min, (Extent{38, 6 * 30 + 15 + 8 + 10}));
    EXPECT_EQ(l.max, (Extent{38, 21 * 30 + 15 + 8 + 10}));
}

TEST(Layout, Corners)
{
    const Extent size{255, 46};
    const Point here{300, 200};
    EXPECT_EQ(CornerPosition(0, 1024, 768, size, here), here);
    EXPECT_EQ(CornerPosition(1, 1024, 768, size, here), (Point{0, 0}));
    EXPECT_EQ(CornerPosition(2, 1024, 768, size, here), (Point{0, 722}));
    EXPECT_EQ(CornerPosition(3, 1024, 768, size, here), (Point{769, 0}));
    EXPECT_EQ(CornerPosition(4, 1024, 768, size, here), (Point{769, 722}));
    EXPECT_EQ(CornerPosition(9, 1024, 768, size, here), here);
}

TEST(Layout, PlaceInsideTheWorkArea)
{
    const Box work{0, 0, 1024, 738};
    const Extent bar{255, 56};
    EXPECT_EQ(PlaceInside({-32000, -32000}, bar, work), (Point{0, 0}));
    EXPECT_EQ(PlaceInside({30000, 30000}, bar, work), (Point{769, 682}));
    EXPECT_EQ(PlaceInside({-300, 100}, bar, work), (Point{0, 100}));
    EXPECT_EQ(PlaceInside({5, 5}, {2000, 56}, work), (Point{0, 5}));  // wider than the screen
    EXPECT_EQ(PlaceInside({3000, 5}, bar, {1024, 0, 800, 600}), (Point{1569, 5}));  // a second monitor
}

struct CountsCase {
    int width, height;
    bool vertical;
    GridCounts computed, usable;
};

const CountsCase kCounts[] = {
    {247, 38, false, {5, 1}, {5, 1}},
    {247 + 38 * 2 + 37, 38, false, {7, 1}, {7, 1}},  // between 7 and 8 slots: 7
    {38, 247, true, {1, 5}, {1, 5}},
    {40, 20, false, {0, 0}, {5, 1}},                 // too small for one cell: keep the old counts
    {0, 0, false, {-1, 0}, {5, 1}},                  // minimized
    {100, 38, false, {1, 1}, {5, 1}},                // never shorter than five
    {38, 80, true, {1, 0}, {1, 5}},
    {247, 100, false, {5, 2}, {5, 1}},               // never more than one cell deep
    {38 * 30 + 57, 38, false, {30, 1}, {20, 1}},     // never more than twenty long
};

TEST(Layout, RegridCounts)
{
    for (const CountsCase &c : kCounts) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const GridCounts got = CountsForClient(38, c.vertical, c.width, c.height);
        EXPECT_EQ(got, c.computed);
        EXPECT_EQ(UsableCounts(got, c.vertical ? GridCounts{1, 5} : GridCounts{5, 1}, c.vertical), c.usable);
    }
}

} // namespace
