#include "caption/caption_paint.h"

#include <windowsx.h>

#include <cstring>
#include <memory>
#include <new>

#include "caption/caption_gdi.h"
#include "winkit/dpi.h"

namespace {

void FillColor(HDC dc, const Rect &r, COLORREF color)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    const RECT rc = ToRect(r);
    if (brush)
        FillRect(dc, &rc, brush.get());
}

COLORREF InkColor(HDC dc, Ink ink)
{
    switch (ink) {
    case Ink::Frame:
        return GetSysColor(COLOR_WINDOWFRAME);
    case Ink::Face:
        return kLightGrey;
    case Ink::NearestFace:
        return GetNearestColor(dc, kLightGrey);
    case Ink::Shadow:
        return kDarkGrey;
    case Ink::Black:
        return kBlack;
    case Ink::White:
    case Ink::Invert:
        break;
    }
    return kWhite;
}

void RunOps(HDC dc, const std::vector<PaintOp> &ops)
{
    for (const PaintOp &op : ops) {
        if (op.ink == Ink::Invert) {
            const RECT rc = ToRect(op.rect);
            InvertRect(dc, &rc);
        } else {
            FillColor(dc, op.rect, InkColor(dc, op.ink));
        }
    }
}

// A box's screen rectangle moved into window coordinates.
Rect InWindow(HWND window, const RECT &screen)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    return Offset(ToCapRect(screen), -frame.left, -frame.top);
}

void DrawTitle(HDC dc, HWND window, const Rect &r, bool vertical, int ibSize, COLORREF color)
{
    const int length = GetWindowTextLengthA(window);
    // Asked for without exceptions, so the release build (which has none) keeps the same rule.
    const std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(length) + 2]());
    if (!text)
        return;  // no memory: the caption goes without its title
    // Draw what was copied: the length is only an upper bound for
    // double-byte titles, and the padding zeros are no characters.
    const int n = GetWindowTextA(window, text.get(), length + 1);
    if (n <= 0)
        return;

    // ANSI_CHARSET, OUT_DEFAULT_PRECIS and DEFAULT_QUALITY are the zeros it starts with.
    LOGFONTA lf{};
    const TitleFont look = TitleFontFor(ibSize, WindowDpi(window));
    lf.lfHeight = look.height;
    lf.lfWeight = look.weight;
    lf.lfClipPrecision = CLIP_LH_ANGLES | CLIP_STROKE_PRECIS;
    if (vertical) {
        std::memcpy(lf.lfFaceName, "Arial", sizeof "Arial");
        lf.lfPitchAndFamily = FF_SWISS | 0x04;
        lf.lfEscapement = lf.lfOrientation = 900;  // runs upward
    } else {
        lf.lfPitchAndFamily = FF_SWISS;
    }
    GdiObject<HFONT> font(CreateFontIndirectA(&lf));
    if (!font)
        return;
    TextColorScope textColor(dc, color);
    BkModeScope bkMode(dc, TRANSPARENT);
    Selection selected(dc, font.get());

    SIZE extent{};
    GetTextExtentPoint32A(dc, text.get(), n, &extent);
    if (vertical) {
        // Only an outline font can be turned.
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        if (!(tm.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)))
            return;
    }
    const Point origin = TitleOrigin(r, vertical, extent.cx, extent.cy);
    const RECT clip = ToRect(r);
    ExtTextOutA(dc, origin.x, origin.y, ETO_CLIPPED, &clip, text.get(), static_cast<UINT>(n), nullptr);
}

} // namespace

void DrawBoxGlyph(HDC dc, const RECT *area, GlyphKind kind)
{
    if (!dc || !area)
        return;
    for (const Rect &row : GlyphRows(ToCapRect(*area), kind))
        FillColor(dc, row, kBlack);
}

void DrawSysMenuBox(HDC given, HWND window, BOOL pressed)
{
    RECT box;
    if (!GetSysMenuBoxRect(window, &box))
        return;
    WholeWindowDc dc(window, given);
    if (!dc)
        return;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    RunOps(dc.get(), SysMenuBoxOps(InWindow(window, box), CaptionVertical(style), CaptionIbSize(window), pressed));
}

void DrawCaptionBox(HDC given, HWND window, BOOL isMinimizeBox, BOOL pressed)
{
    RECT box;
    if (!(isMinimizeBox ? GetMinimizeBoxRect(window, &box) : GetMaximizeBoxRect(window, &box)))
        return;
    WholeWindowDc dc(window, given);
    if (!dc)
        return;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const CaptionBoxPaint paint = CaptionBoxOps(InWindow(window, box), CaptionVertical(style), CaptionIbSize(window),
                                                pressed != FALSE, CaptionHeight(window));
    RunOps(dc.get(), paint.ops);
    const GlyphKind kind = isMinimizeBox ? GlyphMinimize : IsZoomed(window) ? GlyphRestore : GlyphMaximize;
    const RECT area = ToRect(paint.glyphArea);
    DrawBoxGlyph(dc.get(), &area, kind);
}

BOOL WINAPI DrawCaption(HDC dc, HWND window, const RECT *rect, BOOL vertical, BOOL hasSysMenu, BOOL hasMinimizeBox,
                        BOOL hasMaximizeBox, BOOL active)
{
    if (!dc || !rect)
        return FALSE;
    const int ibSize = CaptionIbSize(window);
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF fill = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF text = GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    // Stock objects: leaving them selected leaks nothing.
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));

    const bool v = vertical != FALSE;
    const Rect caption = ToCapRect(*rect);
    const Rect r = TitleArea(caption, v, hasSysMenu, hasMinimizeBox, hasMaximizeBox, ibSize);
    FillColor(dc, FrameLine(caption, v), frame);
    FillColor(dc, CaptionFill(r, v), fill);
    if (CaptionTextEnabled)
        DrawTitle(dc, window, r, v, ibSize, text);

    // The boxes follow the window's own geometry, whatever rect says.
    if (hasSysMenu)
        DrawSysMenuBox(dc, window, FALSE);
    if (hasMinimizeBox)
        DrawCaptionBox(dc, window, TRUE, FALSE);
    if (hasMaximizeBox)
        DrawCaptionBox(dc, window, FALSE, FALSE);
    return TRUE;
}

BOOL TrackCaptionBox(HWND window, int hitCode, const RECT *boxRect)
{
    const BOOL isMinimizeBox = hitCode == HTMINBUTTON;
    bool inside = true;
    DrawCaptionBox(nullptr, window, isMinimizeBox, TRUE);

    bool releasedInside = false;
    {
        MouseCapture capture(window);
        for (;;) {
            // Take mouse messages only: everything else waits in the queue
            // until the button comes up.
            MSG msg;
            if (!PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSEFIRST + 9, PM_REMOVE)) {
                // Without the capture no button-up will come: the window
                // was destroyed or another window took the mouse.
                if (GetCapture() != window)
                    break;
                // Sleep until mouse input or a sent message arrives; the timeout
                // only bounds how late a lost capture is noticed.
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_MOUSE | QS_SENDMESSAGE);
                continue;
            }
            POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            ClientToScreen(msg.hwnd, &pt);
            const bool over = PtInRect(boxRect, pt) != FALSE;
            if (msg.message == WM_MOUSEMOVE) {
                if (over != inside) {
                    inside = over;
                    DrawCaptionBox(nullptr, window, isMinimizeBox, inside);
                }
            } else if (msg.message == WM_LBUTTONUP) {
                releasedInside = over;
                break;
            }
        }
        if (inside)
            DrawCaptionBox(nullptr, window, isMinimizeBox, FALSE);
    }
    return releasedInside;
}

BOOL ShowCaptionSysMenu(HWND window)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    if (!(style & WS_SYSMENU))
        return FALSE;
    WholeWindowDc dc(window);
    if (!dc)
        return TRUE;
    DrawSysMenuBox(dc.get(), window, TRUE);
    // The pixel just beside the client area's top-left corner, on the caption side.
    POINT anchor = CaptionVertical(style) ? POINT{-1, 0} : POINT{0, -1};
    ClientToScreen(window, &anchor);
    if (HMENU menu = GetSystemMenu(window, FALSE)) {
        EnableSysMenuItems(window, menu);
        TrackPopupMenu(menu, 0, anchor.x, anchor.y, 0, window, nullptr);
    }
    DrawSysMenuBox(dc.get(), window, FALSE);
    return TRUE;
}
