#include <gtest/gtest.h>

#include "bar/layout_rules.h"
#include "caption/caption_geometry_rules.h"

namespace {

// The geometry the bar derives from its settings: n slots in the orientation of `mode`.
GridGeometry Make(unsigned mode, int n)
{
    BarSettings s{.mode = mode, .cellSize = CellSizeForMode(mode)};
    DeriveGrid(mode, n, s.columns, s.rows);
    return GeometryFor(s, kBaseDpi);
}

std::string Str(const Box &b)
{
    return std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.w) + "x" + std::to_string(b.h);
}

TEST(Layout, PlacementOfTheFourLayouts)
{
    // placed: the first and last slots, 501 to 505, and the client size.
    const struct { unsigned mode; int n; const char *placed; } cases[] = {
        {0, 5, "0,0 38x38|152,0 38x38|190,0 19x19|190,19 19x19|209,0 19x19|209,19 19x19|228,0 19x38|0,0 247x38"},
        {PageButtonsFirst, 5,
         "19,0 38x38|171,0 38x38|0,0 19x19|0,19 19x19|209,0 19x19|209,19 19x19|228,0 19x38|0,0 247x38"},
        {Vertical | SmallButtons, 7,
         "0,0 30x30|0,180 30x30|0,210 15x15|15,210 15x15|0,225 15x15|0,240 15x15|15,225 15x30|0,0 30x255"},
        {Vertical | SmallButtons | PageButtonsFirst, 5,
         "0,15 30x30|0,135 30x30|0,0 15x15|15,0 15x15|0,165 15x15|0,180 15x15|15,165 15x30|0,0 30x195"},
    };
    for (const auto &c : cases) {
        const GridGeometry g = Make(c.mode, c.n);
        const Extent client = ClientSize(g);
        std::string placed = Str(SlotBox(g, 0)) + "|" + Str(SlotBox(g, c.n - 1));
        for (int id = 501; id <= 505; ++id)
            placed += "|" + Str(ControlBox(g, id));
        EXPECT_EQ(placed + "|" + Str({0, 0, client.w, client.h}), c.placed);
    }
}

TEST(Layout, WindowSizesLimitsAndCorners)
{
    const Extent h = WindowSize(Make(0, 5), 4, 4, 10), docked = WindowSize(Make(Vertical | SmallButtons, 5), 4, 4, 0);
    const TrackLimits lh = TrackingLimits(38, false, 4, 4, 10), lv = TrackingLimits(30, true, 4, 4, 10);
    EXPECT_EQ(Str({h.w, h.h, docked.w, docked.h}), "255,56 38x203");
    EXPECT_EQ(Str({lh.min.w, lh.min.h, lh.max.w, lh.max.h}), "255,56 825x56");
    // 6 or 21 cells, half a cell, the frame and the caption.
    EXPECT_EQ(Str({lv.min.w, lv.min.h, lv.max.w, lv.max.h}), "38,213 38x663");
    const Point here{300, 200};
    std::string corners;
    for (unsigned corner : {0u, 1u, 2u, 3u, 4u, 9u}) {
        for (const Box work : {Box{0, 0, 1024, 768}, Box{1024, -100, 640, 440}}) {  // a taskbar's 40 at the bottom
            const Point p = CornerPosition(corner, work, {255, 46}, here);
            corners += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
        }
    }
    // Lower left is 2, upper right 3; each in the work area it is given.
    EXPECT_EQ(corners, "300,200 300,200 0,0 1024,-100 0,722 1024,294 769,0 1409,-100 769,722 1409,294 300,200 300,200 ");
    // Kept inside the work area of its own monitor (on the primary one: the stress run), however wide.
    EXPECT_EQ(PlaceInside({3000, 5}, {2000, 56}, {1024, 0, 800, 600}), (Point{1024, 5}));
}

TEST(Layout, RegridCounts)
{
    const struct { int width, height; bool vertical; GridCounts computed, usable; } cases[] = {
        {247, 38, false, {5, 1}, {5, 1}},
        {247 + 38 * 2 + 37, 38, false, {7, 1}, {7, 1}},  // between 7 and 8 slots: 7
        {38, 247, true, {1, 5}, {1, 5}},
        {40, 20, false, {0, 0}, {5, 1}},              // too small for one cell: the old counts stay
        {0, 0, false, {-1, 0}, {5, 1}},               // minimized
        {100, 38, false, {1, 1}, {5, 1}},             // never shorter than five
        {38, 80, true, {1, 0}, {1, 5}},
        {247, 100, false, {5, 2}, {5, 1}},            // never more than one cell deep
        {38 * 30 + 57, 38, false, {30, 1}, {20, 1}},  // never more than twenty long
    };
    for (const auto &c : cases) {
        const GridCounts got = CountsForClient(38, c.vertical, c.width, c.height);
        EXPECT_EQ(got, c.computed) << c.width << "x" << c.height;
        EXPECT_EQ(UsableCounts(got, c.vertical ? GridCounts{1, 5} : GridCounts{5, 1}, c.vertical), c.usable);
    }
}

TEST(Layout, EverySizeAtEveryScale)
{
    // Per DPI: a 96-DPI pixel, 2, 3, 9 (the page number's offset) and 16 (its font) scaled; the
    // large and small cells; the art's factor; the strip face's inset and icon; the caption's
    // thickness from Wine's 19; and the large horizontal bar's client and first control button.
    const struct { int dpi; const char *sizes; } cases[] = {
        {96, "1 2 3 9 16 | 38 30 | 1 3 32 | 10 | 247x38 190,0 19x19"},
        {120, "1 3 4 11 20 | 48 38 | 1 4 40 | 13 | 312x48 240,0 24x24"},
        {144, "2 3 5 14 24 | 58 46 | 1 5 48 | 15 | 377x58 290,0 29x29"},  // 28.5 and 22.5 halves round up
        {168, "2 4 5 16 28 | 66 52 | 1 5 56 | 18 | 429x66 330,0 33x33"},
        {192, "2 4 6 18 32 | 76 60 | 2 6 64 | 20 | 494x76 380,0 38x38"},
        {288, "3 6 9 27 48 | 114 90 | 3 9 96 | 30 | 741x114 570,0 57x57"},
    };
    for (const auto &c : cases) {
        const StripFace f = StripFaceFor(kLargeCell, c.dpi);
        const GridGeometry g = GeometryFor(BarSettings{.cellSize = kLargeCell}, c.dpi);
        std::string sizes;
        for (int n : {ScaleToDpi(1, c.dpi), ScaleToDpi(2, c.dpi), ScaleToDpi(3, c.dpi), ScaleToDpi(9, c.dpi),
                      ScaleToDpi(16, c.dpi), -1, ScaleCellToDpi(kLargeCell, c.dpi), ScaleCellToDpi(kSmallCell, c.dpi),
                      -1, f.art, f.inset, f.icon, -1, IbSizeForDpi(19, c.dpi), -1})
            sizes += n < 0 ? "| " : std::to_string(n) + " ";
        sizes += std::to_string(ClientSize(g).w) + "x" + std::to_string(ClientSize(g).h) + " " + Str(ControlBox(g, 501));
        EXPECT_EQ(sizes, c.sizes) << c.dpi;
        EXPECT_EQ(f.cell, g.s);
        // A small face's icon is reduced from the large face's.
        EXPECT_EQ(StripFaceFor(kSmallCell, c.dpi).extracted, f.icon);
    }
}

TEST(Layout, ArtGrowsCrispWithItsDitheredLinesRegular)
{
    // Art 5 long on faces of 5 to 13: the art pixel of each face pixel, frame | picture (- none).
    const struct { int shown, edge; const char *pixels; } cases[] = {
        {5, 1, "01234|01234"},
        {10, 1, "0011223344|0011223344"},       // a whole factor: the art, each pixel doubled
        {8, 1, "02121234|-01234--"},            // 3 more: two lines repeat in the middle, one after the edge
        {8, -1, "01212134|-01234--"},           // lines all alike: all in the middle
        {13, 2, "0011233223344|-0011223344--"},  // twice, 3 more: short of a period, all after the edge
    };
    for (const auto &c : cases) {
        std::string frame, picture;
        for (int x = 0; x < c.shown; ++x) {
            frame += std::to_string(ArtFramePixel(x, 5, c.shown, c.edge));
            const int p = ArtPicturePixel(x, 5, c.shown);
            picture += p < 0 ? "-" : std::to_string(p);
        }
        EXPECT_EQ(frame + "|" + picture, c.pixels) << c.shown << " " << c.edge;
    }
}

TEST(Layout, IconsAreExtractedAtTheShownSizeOrTheNextLargerImage)
{
    const struct { std::vector<int> sizes; int shown, extracted; } cases[] = {
        {{16, 32, 48, 256}, 64, 256}, {{16, 32, 48, 64, 256}, 64, 64}, {{32, 48}, 64, 64},  // none larger
        {{}, 40, 40}, {{32, 48, 256}, 40, 48}, {{48, 32, 96, 64}, 56, 64}};
    for (const auto &c : cases)
        EXPECT_EQ(IconSizeToExtract(c.sizes.data(), static_cast<int>(c.sizes.size()), c.shown), c.extracted) << c.shown;
}

} // namespace
