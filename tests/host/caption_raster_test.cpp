// The rules of the box painters that the pixel tests under Wine do not reach:
// the glyph area under other caption metrics, the glyph rows, the bar's size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "caption/caption_raster.h"

namespace {

// One column of what the operations paint, one character per pixel.
std::string Column(const std::vector<PaintOp> &ops, int x, int top, int bottom)
{
    std::string s(static_cast<size_t>(bottom - top), '.');
    for (const PaintOp &op : ops)
        for (int y = std::max(top, op.rect.top); y < std::min(bottom, op.rect.bottom); ++y)
            if (x >= op.rect.left && x < op.rect.right)
                s[y - top] = op.ink == Ink::Black ? 'k' : op.ink == Ink::Shadow ? 'd' : op.ink == Ink::Frame ? 'F' : 'g';
    return s;
}

TEST(CaptionRaster, SysMenuBarAppearsFromSixPixels)
{
    // Four pixels paint no bar (pinned by the Wine pixel test); six do.
    EXPECT_EQ(Column(SysMenuBoxOps({0, 0, 5, 5}, false, 6, false), 2, 0, 5), "gkkkg");
}

TEST(CaptionRaster, GlyphAreaByBevelAndCaptionMetrics)
{
    struct Case {
        int ibSize, cyCaption;
        bool pressed;
        CapRect area;
    };
    const Case cases[] = {
        // Metrics large enough to leave the area as the bevel makes it: raised,
        // in by the bevel from the far edges; pressed, in by twice the bevel.
        {19, 60, false, {1, 1, 17, 17}},
        {21, 60, false, {1, 1, 18, 18}},
        {19, 60, true, {2, 2, 18, 18}},
        {20, 60, true, {4, 4, 19, 19}},
        {10, 19, false, {1, 1, 8, 8}},    // metrics it was made with: unchanged
        {10, 14, false, {2, 2, 7, 7}},    // d = 7 - 7 = 0: shrinks by 1
        {19, 19, false, {5, 5, 13, 13}},  // d = 9 - 16 = -7: shrinks by 1 + 3
        {20, 19, true, {8, 8, 15, 15}},   // pressed area 15 wide: d = -6, by 1 + 3
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.ibSize << "/" << c.cyCaption << (c.pressed ? " pressed" : ""));
        EXPECT_EQ(CaptionBoxOps({0, 0, c.ibSize - 1, c.ibSize}, false, c.ibSize, c.pressed, c.cyCaption).glyphArea,
                  c.area);
    }
}

TEST(CaptionRaster, GlyphRows)
{
    // ibSize 20 raised with the usual metrics: area (5, 5)-(13, 13), h = 4, middle column 8.
    const std::vector<CapRect> up{{8, 7, 9, 8}, {7, 8, 10, 9}, {6, 9, 11, 10}, {5, 10, 12, 11}};
    EXPECT_EQ(GlyphRows({5, 5, 13, 13}, GlyphMaximize), up);
    const std::vector<CapRect> down{{5, 8, 12, 9}, {6, 9, 11, 10}, {7, 10, 10, 11}, {8, 11, 9, 12}};
    EXPECT_EQ(GlyphRows({5, 5, 13, 13}, GlyphMinimize), down);

    // Too flat for a triangle.
    EXPECT_TRUE(GlyphRows({0, 0, 9, 1}, GlyphMaximize).empty());
    EXPECT_TRUE(GlyphRows({0, 0, 9, 1}, GlyphRestore).empty());
    EXPECT_EQ(GlyphRows({0, 0, 9, 2}, GlyphMinimize).size(), 1u);
}

} // namespace
