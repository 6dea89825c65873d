#include "bar/layout_rules.h"

#include <algorithm>

GridGeometry GeometryFor(const BarSettings &s, int dpi)
{
    GridGeometry g;
    g.s = ScaleCellToDpi(s.cellSize, dpi);
    g.nc = s.columns;
    g.nr = s.rows;
    g.vertical = (s.mode & Vertical) != 0;
    g.pageFirst = (s.mode & PageButtonsFirst) != 0;
    return g;
}

Box SlotBox(const GridGeometry &g, int k)
{
    const int xoff = (g.pageFirst && g.nc != 1) ? g.h() : 0;
    const int yoff = (g.pageFirst && g.nr != 1) ? g.h() : 0;
    const int nc = std::max(1, g.nc);
    return {g.s * (k % nc) + xoff, g.s * (k / nc) + yoff, g.s, g.s};
}

Box ControlBox(const GridGeometry &g, int id)
{
    const int h = g.h();
    const int ncp = g.vertical ? g.nc - 1 : g.nc;
    const int nrp = g.vertical ? g.nr : g.nr - 1;
    const int oh = g.vertical ? 0 : h;
    const int ov = g.vertical ? h : 0;
    const int x0 = g.s * ncp, y0 = g.s * nrp;
    const Point first = g.pageFirst ? Point{0, 0} : Point{x0, y0};
    switch (id) {
    case IDC_PREV_PAGE: return {first.x, first.y, h, h};
    case IDC_NEXT_PAGE: return g.vertical ? Box{first.x + h, first.y, h, h} : Box{first.x, first.y + h, h, h};
    case IDC_PIN: return {x0 + oh, y0 + ov, h, h};
    case IDC_SYSTEM_PANEL: return {x0 + oh, y0 + ov + h, h, h};
    case IDC_PAGE_NUMBER: return {x0 + oh + h, y0 + ov, h, g.s};
    default: return {};
    }
}

Extent ClientSize(const GridGeometry &g)
{
    const int control = g.s + g.h();
    return {g.s * g.nc + (g.vertical ? 0 : control), g.s * g.nr + (g.vertical ? control : 0)};
}

Extent WindowSize(const GridGeometry &g, int fx, int fy, int ib)
{
    const Extent c = ClientSize(g);
    return {c.w + 2 * fx, c.h + 2 * fy + ib};
}

TrackLimits TrackingLimits(int s, bool vertical, int fx, int fy, int ib)
{
    const int h = s / 2;
    const int across = vertical ? s + 2 * fx : s + 2 * fy + ib;
    const int minAlong = vertical ? 6 * s + h + 2 * fy + ib : 6 * s + h + 2 * fx;
    const int maxAlong = vertical ? 21 * s + h + 2 * fy + ib : 21 * s + h + 2 * fx;
    if (vertical)
        return {{across, minAlong}, {across, maxAlong}};
    return {{minAlong, across}, {maxAlong, across}};
}

Point CornerPosition(unsigned corner, Box work, Extent size, Point current)
{
    const int left = work.x, top = work.y, right = work.x + work.w - size.w, bottom = work.y + work.h - size.h;
    switch (corner) {
    case 1: return {left, top};
    case 2: return {left, bottom};
    case 3: return {right, top};
    case 4: return {right, bottom};
    default: return current;
    }
}

Point PlaceInside(Point at, Extent size, Box work)
{
    const auto fit = [](int v, int len, int lo, int room) { return std::max(lo, std::min(v, lo + room - len)); };
    return {fit(at.x, size.w, work.x, work.w), fit(at.y, size.h, work.y, work.h)};
}

GridCounts CountsForClient(int s, bool vertical, int width, int height)
{
    const int h = s / 2;
    if (vertical)
        return {width / s, (height - h - s) / s};
    return {(width - h - s) / s, height / s};
}

GridCounts UsableCounts(GridCounts c, GridCounts old, bool vertical)
{
    if (c.nc < 1 || c.nr < 1)
        return old;
    int &along = vertical ? c.nr : c.nc;
    int &across = vertical ? c.nc : c.nr;
    along = std::clamp(along, kMinButtonsPerPage, kMaxButtonsPerPage);
    across = 1;
    return c;
}

StripFace StripFaceFor(int cellSize, int dpi)
{
    const int cell = ScaleCellToDpi(cellSize, dpi), inset = ScaleToDpi(3, dpi);
    return {cell, inset, cell - 2 * inset, ArtFactor(dpi), ScaleCellToDpi(kLargeCell, dpi) - 2 * inset};
}

int ArtFramePixel(int x, int art, int shown, int edge)
{
    const int f = shown / art, period = 2 * f, grown = shown - art * f, at = (art / 2 + 1) * f;
    const int odd = edge < 0 ? 0 : grown % period, even = grown - odd;
    if (x >= edge * f + odd)
        x -= odd;
    else if (x >= edge * f)
        return (x + period - odd) / f;
    if (x < at)
        return x / f;
    if (x < at + even)
        return (at - period + (x - at) % period) / f;
    return (x - even) / f;
}

int ArtPicturePixel(int x, int art, int shown)
{
    const int f = shown / art, at = x - (shown - art * f) / 2;
    return at >= 0 && at < art * f ? at / f : -1;
}

int IconSizeToExtract(const int *sizes, int count, int shown)
{
    int larger = 0;
    for (int i = 0; i < count; ++i) {
        if (sizes[i] == shown)
            return shown;
        if (sizes[i] > shown && (!larger || sizes[i] < larger))
            larger = sizes[i];
    }
    return larger ? larger : shown;
}
