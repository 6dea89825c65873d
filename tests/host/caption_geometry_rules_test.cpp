#include <gtest/gtest.h>

#include "caption/caption_geometry_rules.h"

namespace {

constexpr std::uint32_t kBoxes = kStyleSysMenu | kStyleMinimizeBox | kStyleMaximizeBox;
constexpr std::uint32_t kH = CaptionStyleHorizontal, kV = CaptionStyleVertical, kThick = kStyleThickFrame;
constexpr Rect kWindow{100, 50, 300, 90};  // the worked example; frame 4, dialog frame 3, border 1

std::string Str(const Rect &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(CaptionGeometry, RectanglesByFrameKindOrientationAndBoxes)
{
    // The caption and each box, "" when absent.
    const struct { std::uint32_t style; const char *caption, *sysMenu, *minimize, *maximize; } cases[] = {
        {kH | kThick | kBoxes, "104,54-296,64", "104,54-113,63", "277,54-286,64", "287,54-296,64"},
        {kH | kThick | kStyleSysMenu | kStyleMinimizeBox, "104,54-296,64", "104,54-113,63", "287,54-296,64", ""},
        // Frame kinds are tried in order: sizing frame, dialog frame, border, none.
        {kH | kThick | kStyleModalFrame | kStyleBorder, "104,54-296,64", "", "", ""},
        {kH | kStyleModalFrame | kStyleBorder, "104,54-296,64", "", "", ""},
        {kH | kStyleBorder, "101,51-299,61", "", "", ""}, {kH, "100,50-300,60", "", "", ""},
        {kV | kStyleBorder, "101,51-111,89", "", "", ""},
        {kV | kH | kThick, "104,54-114,86", "", "", ""},  // both bits: vertical wins
        {kThick | kBoxes, "", "", "", ""},                // no caption bit: nothing
    };
    for (const auto &c : cases) {
        const CaptionLayout l = LayoutCaption(kWindow, c.style, FrameMetrics{}, 10);
        const auto part = [](bool on, const Rect &r) { return on ? Str(r) : IsEmpty(r) ? "" : "?"; };
        EXPECT_EQ(part(l.on, l.caption) + " " + part(l.hasSysMenu, l.sysMenu) + " " + part(l.hasMinimize, l.minimize) +
                      " " + part(l.hasMaximize, l.maximize),
                  std::string(c.caption) + " " + c.sysMenu + " " + c.minimize + " " + c.maximize)
            << std::hex << c.style;
    }
    EXPECT_EQ(std::to_string(IbSizeFromCaptionHeight(18)) + std::to_string(IbSizeFromCaptionHeight(19)) +
                  std::to_string(IbSizeFromCaptionHeight(20)), "101011");
    // The title's font (height/weight): at 96 DPI 3 - ibSize high, bold from 20; on a screen of another scale the 3
    // and the 20 scaled (not a bold title at 200 %, too wide for a small column's caption).
    const int fonts[][2] = {{10, 96}, {19, 96}, {20, 96}, {2, 96}, {13, 120}, {15, 144}, {20, 192}, {40, 192}};
    std::string seen;
    for (const auto &[ibSize, dpi] : fonts) {
        const TitleFont f = TitleFontFor(ibSize, dpi);
        seen += std::to_string(f.height) + "/" + std::to_string(f.weight) + " ";
    }
    EXPECT_EQ(seen, "-7/0 -16/0 -17/700 1/0 -9/0 -10/0 -14/0 -34/700 ");
}

TEST(CaptionGeometry, HitTest)
{
    const struct { Rect window; std::uint32_t style; int x, y, defaultHit, expected; } cases[] = {
        {kWindow, kThick | kBoxes, 105, 55, kHitNowhere, kHitSysMenu},
        {kWindow, kThick | kBoxes, 108, 63, kHitNowhere, kHitCaption},  // the system-menu box is a pixel shorter
        {kWindow, kThick | kBoxes, 290, 60, kHitNowhere, kHitMaxButton},
        {kWindow, kThick | kBoxes, 280, 60, kHitNowhere, kHitMinButton},
        {kWindow, kThick | kBoxes, 286, 60, kHitNowhere, kHitCaption},  // between the boxes
        {kWindow, kThick | kBoxes, 200, 70, 1, 1},                       // the system's answer stands outside
        {kWindow, kThick | kBoxes, 295, 63, kHitNowhere, kHitMaxButton},
        {kWindow, kThick | kBoxes, 296, 63, kHitNowhere, kHitNowhere},
        // Where boxes overlap (20 pixels: system menu 0..8, minimize 1..9, maximize 11..19;
        // 12 without minimize: maximize 3..11), minimize and maximize come first.
        {{0, 0, 20, 10}, kBoxes, 0, 1, kHitNowhere, kHitSysMenu},
        {{0, 0, 20, 10}, kBoxes, 5, 1, kHitNowhere, kHitMinButton},
        {{0, 0, 20, 10}, kBoxes, 10, 1, kHitNowhere, kHitCaption},
        {{0, 0, 12, 10}, kStyleSysMenu | kStyleMaximizeBox, 5, 1, kHitNowhere, kHitMaxButton},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CaptionHitTest(LayoutCaption(c.window, kH | c.style, FrameMetrics{}, 10), {c.x, c.y},
                                 c.defaultHit, false), c.expected) << c.window.right << ": " << c.x << "," << c.y;
    EXPECT_EQ(CaptionHitTest(LayoutCaption(kWindow, kH | kThick | kBoxes, FrameMetrics{}, 10), {105, 55}, kHitNowhere,
                             true), kHitNowhere) << "a minimized window is left to the system";
}

} // namespace
