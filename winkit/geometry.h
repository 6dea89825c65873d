// The one vocabulary of places and sizes on the screen, without Win32: a
// point, a size, a box (origin and size, as windows are made and moved) and
// a rectangle (edges, right and bottom exclusive, as Win32's RECT). The
// rules of every part speak it, so they are tested on the host.
#pragma once

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point &, const Point &) = default;
};
struct Extent {
    int w = 0, h = 0;
    friend bool operator==(const Extent &, const Extent &) = default;
};
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const Box &, const Box &) = default;
};
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect &, const Rect &) = default;
};

constexpr bool Contains(const Rect &r, Point p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
constexpr bool IsEmpty(const Rect &r) { return r.right <= r.left || r.bottom <= r.top; }
constexpr Rect Offset(Rect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// Where a window of `size` stands beside `owner` within `area`: below it, centred along
// it; above it where the area below is too short; else right of it, else left of it,
// centred across; else over its middle. Kept within the area, its left and top edges
// first when it is larger.
constexpr Point PlaceNear(const Rect &owner, Extent size, const Rect &area)
{
    const int acrossX = (owner.left + owner.right - size.w) / 2, acrossY = (owner.top + owner.bottom - size.h) / 2;
    Point at{acrossX, acrossY};
    if (owner.bottom + size.h <= area.bottom)
        at = {acrossX, owner.bottom};
    else if (owner.top - size.h >= area.top)
        at = {acrossX, owner.top - size.h};
    else if (owner.right + size.w <= area.right)
        at = {owner.right, acrossY};
    else if (owner.left - size.w >= area.left)
        at = {owner.left - size.w, acrossY};
    const auto within = [](int v, int low, int high) { return v > high ? (high > low ? high : low) : v < low ? low : v; };
    return {within(at.x, area.left, area.right - size.w), within(at.y, area.top, area.bottom - size.h)};
}
