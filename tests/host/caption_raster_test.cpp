#include <gtest/gtest.h>

#include <map>
#include <string>

#include "caption/caption_raster.h"
#include "tests/win/caption_pictures.h"

namespace {

// Runs paint operations on a character grid, one character per pixel.
class Canvas {
public:
    void Run(const std::vector<PaintOp> &ops)
    {
        for (const PaintOp &op : ops)
            for (int y = op.rect.top; y < op.rect.bottom; ++y)
                for (int x = op.rect.left; x < op.rect.right; ++x)
                    Paint(x, y, op.ink);
    }
    void Rows(const std::vector<CapRect> &rows)
    {
        for (const CapRect &r : rows)
            Run({{Ink::Black, r}});
    }
    char At(int x, int y) const
    {
        auto it = pixels_.find({x, y});
        return it == pixels_.end() ? '.' : it->second;
    }
    // Every pixel of the picture, and nothing drawn around it.
    std::string Diff(const BoxPicture &p, int boxX, int boxY) const
    {
        std::string out;
        const int w = static_cast<int>(p.rows[0].size()), h = static_cast<int>(p.rows.size());
        bool bad = false;
        for (int y = -1; y <= h; ++y) {
            for (int x = -1; x <= w; ++x) {
                const bool inside = x >= 0 && y >= 0 && x < w && y < h;
                const char want = inside ? p.rows[y][x] : '.';
                const char got = At(boxX + p.x0 + x, boxY + p.y0 + y);
                out += got;
                bad |= got != want;
            }
            out += '\n';
        }
        return bad ? out : std::string();
    }
    std::string Column(int x, int top, int bottom) const
    {
        std::string s;
        for (int y = top; y < bottom; ++y)
            s += At(x, y);
        return s;
    }
    std::string Row(int y, int left, int right) const
    {
        std::string s;
        for (int x = left; x < right; ++x)
            s += At(x, y);
        return s;
    }

private:
    void Paint(int x, int y, Ink ink)
    {
        char &c = pixels_[{x, y}];
        switch (ink) {
        case Ink::Frame: c = 'F'; break;
        case Ink::Face:
        case Ink::NearestFace: c = 'g'; break;
        case Ink::Shadow: c = 'd'; break;
        case Ink::Black: c = 'k'; break;
        case Ink::White: c = 'w'; break;
        case Ink::Invert: {
            static const std::map<char, char> inverse{{'g', 'G'}, {'G', 'g'}, {'d', 'D'}, {'D', 'd'},
                                                      {'k', 'w'}, {'w', 'k'}};
            c = inverse.at(c);
            break;
        }
        }
    }
    std::map<std::pair<int, int>, char> pixels_;
};

TEST(CaptionRaster, BoxesOfTen)
{
    struct Case {
        const char *name;
        bool sysMenu, vertical, pressed;
        GlyphKind kind;
        const BoxPicture *picture;
    };
    const Case cases[] = {
        {"maximize raised", false, false, false, GlyphMaximize, &kMaximizeRaised},
        {"maximize pressed", false, false, true, GlyphMaximize, &kMaximizePressed},
        {"minimize raised", false, false, false, GlyphMinimize, &kMinimizeRaised},
        {"restore raised", false, false, false, GlyphRestore, &kRestoreRaised},
        {"maximize vertical", false, true, false, GlyphMaximize, &kMaximizeRaisedVertical},
        {"system menu", true, false, false, GlyphMaximize, &kSysMenuRaised},
        {"system menu pressed", true, false, true, GlyphMaximize, &kSysMenuPressed},
        {"system menu vertical", true, true, false, GlyphMaximize, &kSysMenuRaisedVertical},
    };
    // Boxes placed away from the origin, as the caption geometry gives them.
    const int x = 40, y = 7;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        if (c.sysMenu) {
            canvas.Run(SysMenuBoxOps({x, y, x + 9, y + 9}, c.vertical, 10, c.pressed));
        } else {
            const CapRect box = c.vertical ? CapRect{x, y, x + 10, y + 9} : CapRect{x, y, x + 9, y + 10};
            const CaptionBoxPaint p = CaptionBoxOps(box, c.vertical, 10, c.pressed, 19);
            canvas.Run(p.ops);
            canvas.Rows(GlyphRows(p.glyphArea, c.kind));
        }
        EXPECT_EQ(canvas.Diff(*c.picture, x, y), "");
    }
}

TEST(CaptionRaster, SysMenuBarNeedsMoreThanFourPixels)
{
    Canvas four;
    four.Run(SysMenuBoxOps({0, 0, 3, 3}, false, 4, false));
    EXPECT_EQ(four.Diff({0, 0, {"gggF", "gggF", "gggF"}}, 0, 0), "");

    Canvas six;
    six.Run(SysMenuBoxOps({0, 0, 5, 5}, false, 6, false));
    EXPECT_EQ(six.Column(2, 0, 5), "gkkkg");
}

TEST(CaptionRaster, BevelWidthsAroundTwenty)
{
    for (const BevelCase &c : kBevelCases) {
        SCOPED_TRACE(testing::Message() << c.ibSize << (c.pressed ? " pressed" : " raised"));
        const int n = c.ibSize - 1;
        // Caption metrics large enough to leave the glyph area as the bevel makes it.
        const CaptionBoxPaint p = CaptionBoxOps({0, 0, n, c.ibSize}, false, c.ibSize, c.pressed, 60);
        Canvas canvas;
        canvas.Run(p.ops);
        EXPECT_EQ(canvas.Column(-1, 0, c.ibSize + 1), Repeat('F', c.ibSize) + ".");
        EXPECT_EQ(canvas.Column(0, 0, n), c.leftColumn);
        EXPECT_EQ(canvas.Row(0, 0, n), c.topRow);
        EXPECT_EQ(canvas.Column(n - 1, 0, n), c.lastColumn);
        EXPECT_EQ(canvas.Column(n - 2, 0, n), c.secondLastColumn);
        EXPECT_EQ(canvas.Row(n - 1, 0, n), c.lastRow);
        EXPECT_EQ(canvas.Row(n - 2, 0, n), c.secondLastRow);
        // Pressed, the glyph moves in by twice the bevel; raised, by the bevel from the far edges.
        const int w = c.ibSize >= 20 ? 2 : 1;
        const CapRect area = c.pressed ? CapRect{2 * w, 2 * w, n, n} : CapRect{1, 1, n - w, n - w};
        EXPECT_EQ(p.glyphArea, area);
    }
}

TEST(CaptionRaster, GlyphShrinksWhenCaptionMetricsShrank)
{
    struct Case {
        int ibSize, cyCaption;
        bool pressed;
        CapRect area;
    };
    const Case cases[] = {
        {10, 19, false, {1, 1, 8, 8}},    // metrics it was made with: unchanged
        {10, 14, false, {2, 2, 7, 7}},    // d = 7 - 7 = 0: shrinks by 1
        {19, 19, false, {5, 5, 13, 13}},  // d = 9 - 16 = -7: shrinks by 1 + 3
        {20, 19, true, {8, 8, 15, 15}},   // pressed area 15 wide: d = -6, by 1 + 3
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.ibSize << "/" << c.cyCaption);
        EXPECT_EQ(CaptionBoxOps({0, 0, c.ibSize - 1, c.ibSize}, false, c.ibSize, c.pressed, c.cyCaption).glyphArea,
                  c.area);
    }
}

TEST(CaptionRaster, GlyphRows)
{
    // ibSize 20 raised with the usual metrics: area (5, 5)-(13, 13), h = 4, middle column 8.
    const std::vector<CapRect> up = GlyphRows({5, 5, 13, 13}, GlyphMaximize);
    const std::vector<CapRect> want{{8, 7, 9, 8}, {7, 8, 10, 9}, {6, 9, 11, 10}, {5, 10, 12, 11}};
    EXPECT_EQ(up, want);

    const std::vector<CapRect> down = GlyphRows({5, 5, 13, 13}, GlyphMinimize);
    const std::vector<CapRect> wantDown{{5, 8, 12, 9}, {6, 9, 11, 10}, {7, 10, 10, 11}, {8, 11, 9, 12}};
    EXPECT_EQ(down, wantDown);

    // Too flat for a triangle.
    EXPECT_TRUE(GlyphRows({0, 0, 9, 1}, GlyphMaximize).empty());
    EXPECT_TRUE(GlyphRows({0, 0, 9, 1}, GlyphRestore).empty());
    EXPECT_EQ(GlyphRows({0, 0, 9, 2}, GlyphMinimize).size(), 1u);
}

} // namespace
