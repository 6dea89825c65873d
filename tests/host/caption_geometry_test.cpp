#include <gtest/gtest.h>

#include "caption/caption_geometry.h"

// Found by the test framework through the argument's namespace.
std::ostream &operator<<(std::ostream &os, const CapRect &r)
{
    return os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

constexpr std::uint32_t kAllBoxes = kStyleSysMenu | kStyleMinimizeBox | kStyleMaximizeBox;
constexpr CapRect kExampleWindow{100, 50, 300, 90};
const FrameMetrics kMetrics{};  // frame 4, dialog frame 3, border 1

CaptionLayout Example(std::uint32_t extra = 0)
{
    return LayoutCaption(kExampleWindow, CaptionStyleHorizontal | kStyleThickFrame | kAllBoxes | extra, kMetrics, 10);
}

TEST(CaptionGeometry, ExampleWindowRectangles)
{
    const CaptionLayout l = Example();
    EXPECT_EQ(l.caption, (CapRect{104, 54, 296, 64}));
    EXPECT_EQ(l.sysMenu, (CapRect{104, 54, 113, 63}));
    EXPECT_EQ(l.maximize, (CapRect{287, 54, 296, 64}));
    EXPECT_EQ(l.minimize, (CapRect{277, 54, 286, 64}));

    const CaptionLayout noMax = LayoutCaption(
        kExampleWindow, CaptionStyleHorizontal | kStyleThickFrame | kStyleSysMenu | kStyleMinimizeBox, kMetrics, 10);
    EXPECT_EQ(noMax.minimize, (CapRect{287, 54, 296, 64}));
    EXPECT_FALSE(noMax.hasMaximize);
    EXPECT_TRUE(IsEmpty(noMax.maximize));
}

TEST(CaptionGeometry, FrameKindAndOrientation)
{
    struct Case {
        std::uint32_t style;
        CapRect caption;
    };
    const Case cases[] = {
        // Frame kinds are tried in order: sizing frame, dialog frame, border, none.
        {CaptionStyleHorizontal | kStyleThickFrame | kStyleModalFrame | kStyleBorder, {104, 54, 296, 64}},
        {CaptionStyleHorizontal | kStyleModalFrame | kStyleBorder, {104, 54, 296, 64}},
        {CaptionStyleHorizontal | kStyleBorder, {101, 51, 299, 61}},
        {CaptionStyleHorizontal, {100, 50, 300, 60}},
        {CaptionStyleVertical | kStyleBorder, {101, 51, 111, 89}},
        // Both bits: vertical wins.
        {CaptionStyleVertical | CaptionStyleHorizontal | kStyleThickFrame, {104, 54, 114, 86}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(LayoutCaption(kExampleWindow, c.style, kMetrics, 10).caption, c.caption);
    }
    const CaptionLayout none = LayoutCaption(kExampleWindow, kStyleThickFrame | kAllBoxes, kMetrics, 10);
    EXPECT_FALSE(none.on);
    EXPECT_FALSE(none.hasSysMenu || none.hasMinimize || none.hasMaximize);
}

TEST(CaptionGeometry, IbSizeFromCaptionHeight)
{
    for (auto [height, ibSize] : {std::pair{18, 10}, {19, 10}, {20, 11}})
        EXPECT_EQ(IbSizeFromCaptionHeight(height), ibSize) << height;
}

TEST(CaptionGeometry, HitTestOfTheExampleWindow)
{
    struct Case {
        CapPoint p;
        int defaultHit;
        int expected;
    };
    constexpr int kClient = 1, kLeft = 10;
    const Case cases[] = {
        {{105, 55}, kHitNowhere, kHitSysMenu},
        {{108, 63}, kHitNowhere, kHitCaption},  // below the system-menu box, which is one pixel shorter
        {{290, 60}, kHitNowhere, kHitMaxButton},
        {{280, 60}, kHitNowhere, kHitMinButton},
        {{286, 60}, kHitNowhere, kHitCaption},  // the pixel between the two boxes
        {{200, 70}, kClient, kClient},          // the system's answer stands
        {{101, 60}, kLeft, kLeft},
        {{200, 64}, kHitNowhere, kHitNowhere},  // outside the caption
        {{295, 63}, kHitNowhere, kHitMaxButton},
        {{296, 63}, kHitNowhere, kHitNowhere},
    };
    const CaptionLayout l = Example();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
        EXPECT_EQ(CaptionHitTest(l, c.p, c.defaultHit, false), c.expected);
    }
    // A minimized window is left to the system.
    EXPECT_EQ(CaptionHitTest(l, {105, 55}, kHitNowhere, true), kHitNowhere);
}

TEST(CaptionGeometry, HitTestPrecedenceWhereBoxesOverlap)
{
    struct Case {
        CapRect window;
        std::uint32_t boxes;
        CapPoint p;
        int expected;
    };
    // 20 pixels: system menu 0..8, minimize 1..9, maximize 11..19.
    // 12 pixels without minimize: system menu 0..8, maximize 3..11.
    const Case cases[] = {
        {{0, 0, 20, 10}, kAllBoxes, {0, 1}, kHitSysMenu},
        {{0, 0, 20, 10}, kAllBoxes, {5, 1}, kHitMinButton},  // minimize before the system menu
        {{0, 0, 20, 10}, kAllBoxes, {10, 1}, kHitCaption},
        {{0, 0, 20, 10}, kAllBoxes, {15, 9}, kHitMaxButton},
        {{0, 0, 12, 10}, kStyleSysMenu | kStyleMaximizeBox, {1, 1}, kHitSysMenu},
        {{0, 0, 12, 10}, kStyleSysMenu | kStyleMaximizeBox, {5, 1}, kHitMaxButton},  // maximize before it too
        {{0, 0, 12, 10}, kStyleSysMenu | kStyleMaximizeBox, {1, 9}, kHitCaption},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.window.right << ": " << c.p.x << "," << c.p.y);
        const CaptionLayout l = LayoutCaption(c.window, CaptionStyleHorizontal | c.boxes, kMetrics, 10);
        EXPECT_EQ(CaptionHitTest(l, c.p, kHitNowhere, false), c.expected);
    }
}

TEST(CaptionGeometry, MinTrackSize)
{
    struct Case {
        std::uint32_t style;
        int width, height;
    };
    const Case cases[] = {
        {CaptionStyleHorizontal | kStyleThickFrame | kAllBoxes, 47, 17},  // 5 x 10 - 3
        {CaptionStyleVertical | kStyleThickFrame | kAllBoxes, 17, 49},    // 5 x 10 - 1
        {CaptionStyleHorizontal | kStyleThickFrame | kStyleSysMenu, 29, 17},
        // The maximize box alone does not count.
        {CaptionStyleHorizontal | kStyleThickFrame | kStyleMaximizeBox, 20, 17},
        {CaptionStyleHorizontal | kStyleThickFrame | kStyleMinimizeBox, 38, 17},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        const auto size = MinTrackSize(LayoutCaption(kExampleWindow, c.style, kMetrics, 10), c.style, kMetrics, 10);
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->width, c.width);
        EXPECT_EQ(size->height, c.height);
    }
    // Frame metrics differ per axis: the horizontal caption uses the vertical frame.
    FrameMetrics wide = kMetrics;
    wide.cxFrame = 6;
    const std::uint32_t h = CaptionStyleHorizontal | kStyleThickFrame | kAllBoxes;
    EXPECT_EQ(MinTrackSize(LayoutCaption(kExampleWindow, h, wide, 10), h, wide, 10)->height, 17);
    const std::uint32_t v = CaptionStyleVertical | kStyleThickFrame | kAllBoxes;
    EXPECT_EQ(MinTrackSize(LayoutCaption(kExampleWindow, v, wide, 10), v, wide, 10)->width, 21);

    for (std::uint32_t style : {CaptionStyleHorizontal | kStyleBorder | kAllBoxes, kStyleThickFrame | kAllBoxes}) {
        EXPECT_FALSE(MinTrackSize(LayoutCaption(kExampleWindow, style, kMetrics, 10), style, kMetrics, 10));
    }
}

TEST(CaptionGeometry, TitleOrigin)
{
    struct Case {
        bool vertical;
        int cx, cy;
        CapPoint expected;
    };
    const CapRect h{10, 0, 172, 10};  // 162 pixels of space
    const CapRect v{0, 10, 10, 182};
    const Case cases[] = {
        {false, 40, 7, {71, 1}},     // centred: (162 - 40) / 2 + 10
        {false, 41, 8, {70, 1}},     // 121 / 2 truncates to 60
        {false, 300, 7, {10, 1}},    // wider than the space: starts at the left end
        {false, 40, 13, {71, -1}},   // taller than the caption: (10 - 13) / 2 truncates to -1
        {true, 40, 7, {0, 116}},     // x = (10 - 7) / 2 - 1, y = 182 - (182 - 40 - 10) / 2
        {true, 300, 7, {0, 182}},    // longer than the space: starts at the bottom end
        {true, 41, 8, {0, 117}},     // (10 - 8) / 2 - 1; 182 - 131 / 2
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.vertical << " " << c.cx << "x" << c.cy);
        const CapPoint p = TitleOrigin(c.vertical ? v : h, c.vertical, c.cx, c.cy);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}

TEST(CaptionGeometry, SysMenuItemRules)
{
    constexpr std::uint32_t kBorder = kStyleBorder, kThick = kStyleThickFrame;
    struct Case {
        std::uint32_t style;
        bool maximized, minimized;
        bool move, size, minimize, maximize, restore;
    };
    const Case cases[] = {
        {kBorder | kThick | kStyleMinimizeBox | kStyleMaximizeBox, false, false, true, true, true, true, false},
        {kBorder | kThick | kStyleMinimizeBox | kStyleMaximizeBox, true, false, false, false, true, true, true},
        {kBorder | kThick | kStyleMinimizeBox | kStyleMaximizeBox, false, true, false, false, true, true, false},
        {kStyleDlgFrame, false, false, true, false, false, false, false},
        {0, false, false, false, false, false, false, false},
        {kBorder, false, true, false, false, false, true, false},  // a minimized window can be maximized
        {kBorder | kThick, true, false, false, false, false, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " max " << c.maximized << " min " << c.minimized);
        const auto states = SysMenuItemStates(c.style, c.maximized, c.minimized);
        const unsigned ids[] = {kScMove, kScSize, kScMinimize, kScMaximize, kScRestore};
        const bool enabled[] = {c.move, c.size, c.minimize, c.maximize, c.restore};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(states[i].id, ids[i]);
            EXPECT_EQ(states[i].enabled, enabled[i]) << std::hex << ids[i];
        }
    }
}

} // namespace
