// The caption painters drawing into memory canvases, checked pixel by pixel.
#include "win/caption_test.h"

using namespace captiontest;

namespace {

// The example frame: window (100, 50)-(300, 90),
// sizing frame 4, so the caption is (4, 4)-(196, 14) in window coordinates.
class CaptionPaint : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
        ASSERT_EQ(GetSystemMetrics(SM_CYFRAME), 4);
        // The legend needs the fixed colours and the system ones apart.
        for (int index : {COLOR_WINDOWFRAME, COLOR_ACTIVECAPTION})
            for (char k : std::string("gdkwGD"))
                ASSERT_NE(GetSysColor(index), LegendColor(k)) << index << " " << k;
    }
};

// Every pixel of a caption 192 long with all three boxes: the fill between
// them, the frame line, and the boxes at 0, 173 and 183 along it.
BoxPicture Expected192(bool vertical, char fill)
{
    std::vector<std::string> want(vertical ? 192 : 10, std::string(vertical ? 10 : 192, '?'));
    auto at = [&](int along, int across) -> char & { return vertical ? want[along][across] : want[across][along]; };
    for (int along = 0; along < 192; ++along) {
        at(along, 9) = 'F';
        for (int across = 0; across < 9 && along >= 10 && along <= 171; ++across)
            at(along, across) = fill;
    }
    auto overlay = [&](const BoxPicture &p, int b) {
        for (size_t y = 0; y < p.rows.size(); ++y)
            for (size_t x = 0; x < p.rows[y].size(); ++x)
                if (p.rows[y][x] != '.')
                    want[p.y0 + y + (vertical ? b : 0)][p.x0 + x + (vertical ? 0 : b)] = p.rows[y][x];
    };
    overlay(vertical ? kSysMenuRaisedVertical : kSysMenuRaised, 0);
    overlay(vertical ? kMinimizeRaisedVertical : kMinimizeRaised, 173);
    overlay(vertical ? kMaximizeRaisedVertical : kMaximizeRaised, 183);
    return {0, 0, want};
}

TEST_F(CaptionPaint, CaptionOf192PixelsEveryPixel)
{
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 200, 40);
    ASSERT_EQ(Prop(f.hwnd(), "ibSize"), 10);
    for (BOOL active : {TRUE, FALSE}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        Canvas c(200, 40);
        EXPECT_EQ(PaintCaption(c, f.hwnd(), active), TRUE);
        const RECT caption = CaptionInWindow(f.hwnd());
        ASSERT_EQ(caption.left, 4);
        ASSERT_EQ(caption.right - caption.left, 192);
        // Compared by colour: Wine's inactive caption colour is the shadow's dark grey.
        EXPECT_EQ(PictureDiff(c, Expected192(false, active ? 'A' : 'I'), caption.left, caption.top), "");
        // Nothing outside the caption is touched.
        EXPECT_EQ(c.At(3, 3), kUntouched);
        EXPECT_EQ(c.At(100, 14), kUntouched);
        EXPECT_EQ(c.At(196, 8), kUntouched);
    }
}

// Raised boxes are in the every-pixel test above.
TEST_F(CaptionPaint, BoxesOfTenPressedAndRaisedAgain)
{
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 200, 40);
    Canvas c(200, 40);
    PaintCaption(c, f.hwnd(), TRUE);
    DrawCaptionBox(c.dc(), f.hwnd(), FALSE, TRUE);
    EXPECT_EQ(PictureDiff(c, kMaximizePressed, 187, 4), "");
    DrawSysMenuBox(c.dc(), f.hwnd(), TRUE);
    EXPECT_EQ(PictureDiff(c, kSysMenuPressed, 4, 4), "");
    DrawSysMenuBox(c.dc(), f.hwnd(), FALSE);
    EXPECT_EQ(PictureDiff(c, kSysMenuRaised, 4, 4), "");
}

TEST_F(CaptionPaint, MaximizedWindowShowsRestoreGlyph)
{
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 200, 40);
    ShowWindow(f.hwnd(), SW_SHOWMAXIMIZED);
    tavtest::PumpFor(50);
    ASSERT_TRUE(IsZoomed(f.hwnd()));
    const RECT w = f.windowRect();
    Canvas c(w.right - w.left, w.bottom - w.top);
    PaintCaption(c, f.hwnd(), TRUE);
    RECT box;
    ASSERT_TRUE(GetMaximizeBoxRect(f.hwnd(), &box));
    box = InWindow(f.hwnd(), box);
    EXPECT_EQ(PictureDiff(c, kRestoreRaised, box.left, box.top), "");
    ASSERT_TRUE(GetMinimizeBoxRect(f.hwnd(), &box));
    box = InWindow(f.hwnd(), box);
    EXPECT_EQ(PictureDiff(c, kMinimizeRaised, box.left, box.top), "");
}

TEST_F(CaptionPaint, VerticalCaptionEveryPixel)
{
    // Caption (4, 4)-(14, 196): 192 pixels down the left edge.
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleVertical, 100, 50, 60, 200);
    Canvas c(60, 200);
    PaintCaption(c, f.hwnd(), TRUE);
    const RECT caption = CaptionInWindow(f.hwnd());
    ASSERT_EQ(caption.left, 4);
    ASSERT_EQ(caption.right, 14);
    ASSERT_EQ(caption.bottom - caption.top, 192);
    EXPECT_EQ(PictureDiff(c, Expected192(true, 'A'), caption.left, caption.top), "");
}

// The edges of the maximize box, raised by DrawCaption and pressed by DrawCaptionBox.
TEST_F(CaptionPaint, BevelWidthsAroundTwenty)
{
    for (const BevelCase &bc : kBevelCases) {
        SCOPED_TRACE(testing::Message() << bc.ibSize << (bc.pressed ? " pressed" : " raised"));
        Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 300, 80);
        SetIbSize(f.hwnd(), bc.ibSize);
        Canvas c(300, 80);
        PaintCaption(c, f.hwnd(), TRUE);
        if (bc.pressed)
            DrawCaptionBox(c.dc(), f.hwnd(), FALSE, TRUE);
        RECT box;
        ASSERT_TRUE(GetMaximizeBoxRect(f.hwnd(), &box));
        box = InWindow(f.hwnd(), box);
        const int n = bc.ibSize - 1, x = box.left, y = box.top;
        ASSERT_EQ(box.right - box.left, n);
        // n pixels from (x0, y0) in steps of (dx, dy), as legend characters.
        auto line = [&](int x0, int y0, int dx, int dy) {
            std::string s;
            for (int i = 0; i < n; ++i)
                s += LegendChar(c.At(x0 + i * dx, y0 + i * dy), "Fgdkw");
            return s;
        };
        EXPECT_EQ(line(x - 1, y, 0, 1), Repeat('F', n));
        EXPECT_EQ(line(x, y, 0, 1), bc.leftColumn);
        EXPECT_EQ(line(x, y, 1, 0), bc.topRow);
        EXPECT_EQ(line(x + n - 1, y, 0, 1), bc.lastColumn);
        EXPECT_EQ(line(x + n - 2, y, 0, 1), bc.secondLastColumn);
        EXPECT_EQ(line(x, y + n - 1, 1, 0), bc.lastRow);
        EXPECT_EQ(line(x, y + n - 2, 1, 0), bc.secondLastRow);
    }
}

TEST_F(CaptionPaint, ThicknessFourHasNoBarAndNoGlyph)
{
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 200, 40);
    SetIbSize(f.hwnd(), 4);
    Canvas c(200, 40);
    PaintCaption(c, f.hwnd(), TRUE);
    EXPECT_EQ(PictureDiff(c, {0, 0, {"gggF", "gggF", "gggF", "FFFF"}}, 4, 4), "");
    // Maximize box 3 x 3 after its frame row: bevel only, too small for a glyph.
    EXPECT_EQ(PictureDiff(c, {-1, 0, {"Fwwd", "Fwgd", "Fddd", "FFFF"}}, 193, 4), "");
}

// The title, drawn the way the caption draws it: the expected font at the
// expected place, clipped to the space between the boxes.
void ReferenceTitle(Canvas &ref, const RECT &space, const char *text, int ibSize, int weight, bool vertical,
                    bool centred)
{
    ref.Fill(kUntouched);
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
    FillRect(ref.dc(), &space, frame);  // the frame line along the far side
    DeleteObject(frame);
    HBRUSH fill = CreateSolidBrush(GetSysColor(COLOR_ACTIVECAPTION));
    RECT filled = space;
    (vertical ? filled.right : filled.bottom) -= 1;
    FillRect(ref.dc(), &filled, fill);
    DeleteObject(fill);

    LOGFONTA lf{};
    lf.lfHeight = 3 - ibSize;
    lf.lfWeight = weight;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfClipPrecision = 0x12;
    if (vertical) {
        lstrcpyA(lf.lfFaceName, "Arial");
        lf.lfPitchAndFamily = 0x24;
        lf.lfEscapement = lf.lfOrientation = 900;
    } else {
        lf.lfPitchAndFamily = 0x20;
    }
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(ref.dc(), font);
    SIZE ext{};
    GetTextExtentPoint32A(ref.dc(), text, lstrlenA(text), &ext);
    int x, y;
    if (vertical) {
        x = space.left + (space.right - space.left - ext.cy) / 2 - 1;
        y = centred ? space.bottom - (space.bottom - space.top - ext.cx) / 2 : space.bottom;
    } else {
        x = centred ? space.left + (space.right - space.left - ext.cx) / 2 : space.left;
        y = space.top + (space.bottom - space.top - ext.cy) / 2;
    }
    SetTextColor(ref.dc(), GetSysColor(COLOR_CAPTIONTEXT));
    SetBkMode(ref.dc(), TRANSPARENT);
    ExtTextOutA(ref.dc(), x, y, ETO_CLIPPED, &space, text, lstrlenA(text), nullptr);
    SelectObject(ref.dc(), old);
    DeleteObject(font);
}

// Pixels of r in neither the caption's fill nor its frame colour.
int TextPixels(const Canvas &c, const RECT &r)
{
    const int area = (r.right - r.left) * (r.bottom - r.top);
    return area - c.Count(GetSysColor(COLOR_ACTIVECAPTION), r) - c.Count(GetSysColor(COLOR_WINDOWFRAME), r);
}

TEST_F(CaptionPaint, TitleWeightByThickness)
{
    const char *title = "Menu Wide";
    for (int ibSize : {19, 20, 21}) {
        SCOPED_TRACE(ibSize);
        Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 300, 80, title);
        SetIbSize(f.hwnd(), ibSize);
        Canvas c(300, 80), normal(300, 80), bold(300, 80);
        PaintCaption(c, f.hwnd(), TRUE);
        RECT space = CaptionInWindow(f.hwnd());
        space.left += ibSize;
        space.right -= 2 * ibSize;
        ReferenceTitle(normal, space, title, ibSize, 0, false, true);
        ReferenceTitle(bold, space, title, ibSize, 700, false, true);
        ASSERT_GT(normal.Differences(bold, space), 0) << "the two weights must look different";
        EXPECT_GT(TextPixels(c, space), 0);
        EXPECT_EQ(c.Differences(ibSize >= 20 ? bold : normal, space), 0);
    }
}

TEST_F(CaptionPaint, LongTitleStartsAtTheLeftAndIsClipped)
{
    const char *title = "A title far wider than the space that the caption leaves between its boxes";
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 200, 40, title);
    Canvas c(200, 40), ref(200, 40);
    PaintCaption(c, f.hwnd(), TRUE);
    const RECT space{14, 4, 176, 14};  // columns 10..171 of the caption
    ReferenceTitle(ref, space, title, 10, 0, false, false);
    EXPECT_EQ(c.Differences(ref, space), 0);
    // The text runs into both ends of the space; the boxes beside it are intact.
    EXPECT_GT(TextPixels(c, RECT{space.left, space.top, space.left + 6, space.bottom}), 0);
    EXPECT_GT(TextPixels(c, RECT{space.right - 10, space.top, space.right, space.bottom}), 0);
    EXPECT_EQ(c.Count(kUntouched, RECT{196, 0, 200, 40}, false), 0) << "text beyond the caption";
    EXPECT_EQ(PictureDiff(c, kSysMenuRaised, 4, 4), "");
    EXPECT_EQ(PictureDiff(c, kMinimizeRaised, 177, 4), "");
}

TEST_F(CaptionPaint, VerticalTitleRunsUpward)
{
    struct Case {
        const char *title;
        bool centred;  // else it starts at the bottom end and is clipped at the top
    };
    for (const Case &t : {Case{"Up", true}, Case{"A vertical title far longer than the caption is tall, longer even than the whole window", false}}) {
        SCOPED_TRACE(t.title);
        Frame f(kFrameStyle | kAllBoxes | CaptionStyleVertical, 100, 50, 60, 200, t.title);
        Canvas c(60, 200), ref(60, 200);
        PaintCaption(c, f.hwnd(), TRUE);
        const RECT space{4, 14, 14, 176};
        ReferenceTitle(ref, space, t.title, 10, 0, true, t.centred);
        EXPECT_GT(TextPixels(c, space), 0);
        EXPECT_EQ(c.Differences(ref, space), 0);
        EXPECT_EQ(c.Count(kUntouched, RECT{0, 0, 60, 4}, false), 0) << "text above the caption";
    }
}

TEST_F(CaptionPaint, LeavesNullBrushAndPenSelected)
{
    Frame f(kFrameStyle | kAllBoxes | CaptionStyleHorizontal, 100, 50, 200, 40, "x");
    Canvas c(200, 40);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(c.dc(), brush);
    EXPECT_EQ(PaintCaption(c, f.hwnd(), TRUE), TRUE);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), GetStockObject(NULL_PEN));
    EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);  // put back after the title
    SelectObject(c.dc(), old);
    DeleteObject(brush);

    const RECT caption = CaptionInWindow(f.hwnd());
    EXPECT_EQ(DrawCaption(nullptr, f.hwnd(), &caption, FALSE, TRUE, TRUE, TRUE, TRUE), FALSE);
    EXPECT_EQ(DrawCaption(c.dc(), f.hwnd(), nullptr, FALSE, TRUE, TRUE, TRUE, TRUE), FALSE);
}

} // namespace
