#include "caption/caption_raster_rules.h"

// Halving that rounds down also for negative values (a squeezed glyph area).
static int FloorDiv(int a, int b)
{
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

static Rect Column(int x, int top, int bottom)
{
    return {x, top, x + 1, bottom};
}

static Rect Row(int y, int left, int right)
{
    return {left, y, right, y + 1};
}

std::vector<PaintOp> SysMenuBoxOps(Rect b, bool vertical, int ibSize, bool pressed)
{
    std::vector<PaintOp> ops;
    ops.push_back({Ink::NearestFace, b});
    ops.push_back({Ink::Frame, vertical ? Row(b.bottom, b.left, b.right) : Column(b.right, b.top, b.bottom)});
    if (ibSize > 4) {
        // A white bar outlined in black with a dark grey shadow right and below.
        const int t = b.top + (ibSize - 1) / 2;
        const Rect bar{b.left + 3, t, b.right - 1, t + 3};
        const Rect outline = Offset(bar, -1, -1);
        ops.push_back({Ink::Shadow, bar});
        ops.push_back({Ink::Black, outline});
        ops.push_back({Ink::White, {outline.left + 1, outline.top + 1, outline.right - 1, outline.bottom - 1}});
    }
    if (pressed)
        ops.push_back({Ink::Invert, b});
    return ops;
}

CaptionBoxPaint CaptionBoxOps(Rect b, bool vertical, int ibSize, bool pressed, int cyCaption)
{
    CaptionBoxPaint p;
    auto &ops = p.ops;
    // The separator faces the caption fill; the box then gives its frame-line edge back.
    if (vertical) {
        ops.push_back({Ink::Frame, Row(b.top - 1, b.left, b.right)});
        b.right -= 1;
    } else {
        ops.push_back({Ink::Frame, Column(b.left - 1, b.top, b.bottom)});
        b.bottom -= 1;
    }
    ops.push_back({Ink::Face, b});

    const int w = BevelWidth(ibSize);
    Rect g;
    if (pressed) {
        ops.push_back({Ink::Shadow, {b.left, b.top, b.left + w, b.bottom}});
        ops.push_back({Ink::Shadow, {b.left, b.top, b.right, b.top + w}});
        g = {b.left + 2 * w, b.top + 2 * w, b.right, b.bottom};
    } else {
        const bool wideShadow = RaisedShadowWidth(ibSize) > 1;
        ops.push_back({Ink::White, Column(b.left, b.top, b.bottom)});
        ops.push_back({Ink::White, Row(b.top, b.left, b.right)});
        ops.push_back({Ink::Shadow, Column(b.right - 1, b.top, b.bottom)});
        if (wideShadow)
            ops.push_back({Ink::Shadow, Column(b.right - 2, b.top + 1, b.bottom)});
        ops.push_back({Ink::Shadow, Row(b.bottom - 1, b.left, b.right)});
        if (wideShadow)
            ops.push_back({Ink::Shadow, Row(b.bottom - 2, b.left + 1, b.right)});
        g = {b.left + 1, b.top + 1, b.right - w, b.bottom - w};
    }

    // A window made under larger caption metrics than the current ones keeps
    // its thickness; the glyph then shrinks to what the new metrics expect.
    const int d = cyCaption / 2 - (g.right - g.left);
    if (d <= 0) {
        const int s = 1 - d / 2;
        g = {g.left + s, g.top + s, g.right - s, g.bottom - s};
    }
    p.glyphArea = g;
    return p;
}

// One row of a triangle: `half` pixels either side of the middle column.
static Rect GlyphRow(int y, int middle, int half)
{
    return Row(y, middle - half, middle + half + 1);
}

static void UpTriangle(std::vector<Rect> &rows, int t, int h, int m)
{
    for (int j = 1; j <= h; ++j)
        rows.push_back(GlyphRow(t + j, m, j - 1));
}

// Widest row first; the apex lands on row b - 1.
static void DownTriangle(std::vector<Rect> &rows, int b, int h, int m)
{
    for (int k = 0; k < h; ++k)
        rows.push_back(GlyphRow(b - h + k, m, h - 1 - k));
}

std::vector<Rect> GlyphRows(Rect g, GlyphKind kind)
{
    std::vector<Rect> rows;
    const int h = FloorDiv(g.bottom - g.top, 2);
    const int m = g.left + FloorDiv(g.right - g.left + 1, 2) - 1;
    if (h < 1)
        return rows;
    const int span = g.bottom - g.top - 1;
    switch (kind) {
    case GlyphMaximize:
        UpTriangle(rows, g.top + FloorDiv(span, 4), h, m);
        break;
    case GlyphMinimize:
        DownTriangle(rows, g.bottom - FloorDiv(span, 4), h, m);
        break;
    case GlyphRestore: {
        // May reach one row above the area, over the bevel.
        const int t2 = g.top + FloorDiv(span, 8) - 2;
        UpTriangle(rows, t2, h, m);
        DownTriangle(rows, t2 + 2 * h + 2, h, m);
        break;
    }
    }
    return rows;
}
