#include "caption/caption_geometry_rules.h"

bool CaptionOn(std::uint32_t style)
{
    return (style & (CaptionStyleHorizontal | CaptionStyleVertical)) != 0;
}

bool CaptionVertical(std::uint32_t style)
{
    return (style & CaptionStyleVertical) != 0;
}

int IbSizeFromCaptionHeight(int cyCaption)
{
    return cyCaption / 2 + 1;
}

int IbSizeForDpi(int cyCaptionAt96, int dpi)
{
    return ScaleToDpi(IbSizeFromCaptionHeight(cyCaptionAt96), dpi);
}

// The first matching frame kind decides the inset.
static void FrameInset(std::uint32_t style, const FrameMetrics &m, int &dx, int &dy)
{
    if (style & kStyleThickFrame) {
        dx = m.cxFrame;
        dy = m.cyFrame;
    } else if (style & kStyleModalFrame) {
        dx = m.cxDlgFrame + m.cxBorder;
        dy = m.cyDlgFrame + m.cyBorder;
    } else if (style & kStyleBorder) {
        dx = m.cxBorder;
        dy = m.cyBorder;
    } else {
        dx = dy = 0;
    }
}

Rect CaptionBoxFromEnd(Rect caption, bool vertical, int ibSize, int n)
{
    Rect b = caption;
    if (vertical) {
        b.bottom -= (n - 1) * ibSize;
        b.top = b.bottom - ibSize + 1;
    } else {
        b.right -= (n - 1) * ibSize;
        b.left = b.right - ibSize + 1;
    }
    return b;
}

CaptionLayout LayoutCaption(Rect window, std::uint32_t style, const FrameMetrics &m, int ibSize)
{
    CaptionLayout l;
    if (!CaptionOn(style))
        return l;
    l.on = true;
    l.vertical = CaptionVertical(style);

    int dx = 0, dy = 0;
    FrameInset(style, m, dx, dy);
    Rect c{window.left + dx, window.top + dy, window.right - dx, window.bottom - dy};
    if (l.vertical)
        c.right = c.left + ibSize;
    else
        c.bottom = c.top + ibSize;
    l.caption = c;

    if (style & kStyleSysMenu) {
        l.hasSysMenu = true;
        Rect s = c;
        if (l.vertical)
            s.bottom = s.top + ibSize;
        else
            s.right = s.left + ibSize;
        // One pixel short of the caption on both axes: the separator and the frame line.
        s.right -= 1;
        s.bottom -= 1;
        l.sysMenu = s;
    }
    l.hasMaximize = (style & kStyleMaximizeBox) != 0;
    l.hasMinimize = (style & kStyleMinimizeBox) != 0;
    if (l.hasMaximize)
        l.maximize = CaptionBoxFromEnd(c, l.vertical, ibSize, 1);
    if (l.hasMinimize)
        l.minimize = CaptionBoxFromEnd(c, l.vertical, ibSize, l.hasMaximize ? 2 : 1);
    return l;
}

int CaptionHitTest(const CaptionLayout &l, Point p, int defaultHit, bool minimized)
{
    // Whatever the system already placed (frame, client) keeps its answer.
    if (minimized || !l.on || defaultHit != kHitNowhere)
        return defaultHit;
    if (!Contains(l.caption, p))
        return defaultHit;
    // Overlapping boxes (a caption too short for them): minimize, maximize, system menu.
    if (l.hasMinimize && Contains(l.minimize, p))
        return kHitMinButton;
    if (l.hasMaximize && Contains(l.maximize, p))
        return kHitMaxButton;
    if (l.hasSysMenu && Contains(l.sysMenu, p))
        return kHitSysMenu;
    return kHitCaption;
}

std::optional<TrackSize> MinTrackSize(const CaptionLayout &l, std::uint32_t style, const FrameMetrics &m, int ibSize)
{
    if (!l.on || !(style & kStyleThickFrame))
        return std::nullopt;
    const int frame = l.vertical ? m.cxFrame : m.cyFrame;
    const int across = ibSize + 2 * frame - 1;
    // Widths are horizontal extents in both orientations; the maximize box is
    // not counted, the minimize box twice.
    const int minimize = l.hasMinimize ? l.minimize.right - l.minimize.left : 0;
    const int sysMenu = l.hasSysMenu ? l.sysMenu.right - l.sysMenu.left : 0;
    const int along = 2 * minimize + sysMenu + 2 * ibSize;
    if (l.vertical)
        return TrackSize{across, along};
    return TrackSize{along, across};
}

int BevelWidth(int ibSize)
{
    return ibSize >= 20 ? 2 : 1;
}

int RaisedShadowWidth(int ibSize)
{
    return ibSize > 20 ? 2 : 1;
}

Rect TitleArea(Rect caption, bool vertical, bool sysMenu, bool minimize, bool maximize, int ibSize)
{
    Rect r = caption;
    const int start = sysMenu ? ibSize : 0;
    const int end = (maximize ? ibSize : 0) + (minimize ? ibSize : 0);
    if (vertical) {
        r.top += start;
        r.bottom -= end;
    } else {
        r.left += start;
        r.right -= end;
    }
    return r;
}

Rect FrameLine(Rect caption, bool vertical)
{
    if (vertical)
        return {caption.right - 1, caption.top, caption.right, caption.bottom};
    return {caption.left, caption.bottom - 1, caption.right, caption.bottom};
}

Rect CaptionFill(Rect r, bool vertical)
{
    // Leaves the frame line and, before a following box, its separator free.
    if (vertical)
        return {r.left, r.top, r.right - 1, r.bottom};
    return {r.left, r.top, r.right, r.bottom - 1};
}

Point TitleOrigin(Rect r, bool vertical, int cx, int cy)
{
    // Integer division truncates toward zero, as the halvings must.
    if (vertical) {
        int x = (r.right - cy - r.left) / 2 + r.left - 1;
        int y = r.bottom - (r.bottom - cx - r.top) / 2;
        if (y > r.bottom)
            y = r.bottom;  // a long title starts at the bottom end and runs up
        return {x, y};
    }
    int x = (r.right - cx - r.left) / 2 + r.left;
    if (x < r.left)
        x = r.left;  // a long title starts at the left end
    int y = (r.bottom - cy - r.top) / 2 + r.top;
    return {x, y};
}

std::array<SysMenuItemState, 5> SysMenuItemStates(std::uint32_t style, bool maximized, bool minimized)
{
    const bool normal = !maximized && !minimized;
    return {{
        {kScMove, normal && (style & (kStyleBorder | kStyleDlgFrame)) != 0},
        {kScSize, normal && (style & kStyleThickFrame) != 0},
        {kScMinimize, (style & kStyleMinimizeBox) != 0},
        {kScMaximize, (style & kStyleMaximizeBox) != 0 || minimized},
        {kScRestore, maximized},
    }};
}
