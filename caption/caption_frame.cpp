#include "caption/caption_frame.h"

#include <windowsx.h>

#include "caption/caption_gdi.h"
#include "caption/caption_paint.h"
#include "winkit/dpi.h"

namespace {

const char kIbSize[] = "ibSize";
const char kIbFlag[] = "ibFlag";

DWORD StyleOf(HWND window)
{
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

void SetIbFlag(HWND window, bool on)
{
    SetPropA(window, kIbFlag, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(on ? 1 : 0)));
}

bool IbFlag(HWND window)
{
    return GetPropA(window, kIbFlag) != nullptr;
}

BOOL GiveRect(bool present, const Rect &r, RECT *out)
{
    if (!out)
        return FALSE;
    if (!present) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = ToRect(r);
    return TRUE;
}

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam)
{
    SetCaptionDpi(window, WindowDpi(window));
    SetIbFlag(window, false);
    const DWORD style = StyleOf(window);
    // Without the dialog frame WS_CAPTION leaves only WS_BORDER, so the
    // system draws no caption of its own over ours.
    if (CaptionOn(style) && (style & WS_DLGFRAME))
        SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<DWORD>(WS_DLGFRAME)));
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT OnGetMinMaxInfo(HWND window, WPARAM wParam, LPARAM lParam)
{
    const DWORD style = StyleOf(window);
    const auto size = MinTrackSize(WindowCaptionLayout(window), style, CurrentFrameMetrics(window), CaptionIbSize(window));
    if (size && lParam) {
        auto *info = reinterpret_cast<MINMAXINFO *>(lParam);
        info->ptMinTrackSize.x = size->width;
        info->ptMinTrackSize.y = size->height;
    }
    return DefWindowProcA(window, WM_GETMINMAXINFO, wParam, lParam);
}

LRESULT OnNcCalcSize(HWND window, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProcA(window, WM_NCCALCSIZE, wParam, lParam);
    const DWORD style = StyleOf(window);
    if (!IsIconic(window) && CaptionOn(style) && lParam) {
        // Both forms of the message start with the proposed client rectangle.
        RECT *client = reinterpret_cast<RECT *>(lParam);
        if (CaptionVertical(style))
            client->left += CaptionIbSize(window);
        else
            client->top += CaptionIbSize(window);
    }
    return result;
}

LRESULT OnNcHitTest(HWND window, LPARAM lParam)
{
    const int defaultHit = static_cast<int>(DefWindowProcA(window, WM_NCHITTEST, 0, lParam));
    const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int hit = CaptionHitTest(WindowCaptionLayout(window), point, defaultHit, IsIconic(window) != FALSE);
    if (hit != HTSYSMENU)
        SetIbFlag(window, false);
    return hit;
}

LRESULT OnNcPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    if (IsIconic(window))
        return result;
    const DWORD style = StyleOf(window);
    RECT caption;
    if (!GetCaptionRect(window, &caption))
        return result;
    WholeWindowDc dc(window);
    if (!dc)
        return result;
    RECT frame;
    GetWindowRect(window, &frame);
    OffsetRect(&caption, -frame.left, -frame.top);
    const BOOL active = message == WM_NCACTIVATE ? static_cast<BOOL>(wParam != 0) : GetActiveWindow() == window;
    DrawCaption(dc.get(), window, &caption, CaptionVertical(style), (style & WS_SYSMENU) != 0,
                (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0, active);
    return result;
}

LRESULT OnNcLButtonDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (IsIconic(window) || !CaptionOn(StyleOf(window)))
        return DefWindowProcA(window, WM_NCLBUTTONDOWN, wParam, lParam);
    RECT box;
    switch (wParam) {
    case HTSYSMENU:
        // The click that closes the popup lands here too: it only disarms.
        if (IbFlag(window))
            SetIbFlag(window, false);
        else
            SetIbFlag(window, ShowCaptionSysMenu(window) != FALSE);
        return 0;
    case HTMINBUTTON:
        GetMinimizeBoxRect(window, &box);
        if (TrackCaptionBox(window, HTMINBUTTON, &box))
            SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, lParam);
        return 0;
    case HTMAXBUTTON:
        GetMaximizeBoxRect(window, &box);
        if (TrackCaptionBox(window, HTMAXBUTTON, &box))
            SendMessageA(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    default:
        return DefWindowProcA(window, WM_NCLBUTTONDOWN, wParam, lParam);
    }
}

LRESULT OnNcLButtonDblClk(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!IsIconic(window) && CaptionOn(StyleOf(window)) && wParam == HTSYSMENU) {
        SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, WM_NCLBUTTONDBLCLK, wParam, lParam);
}

// The system's keyboard handling would open its own system menu (Alt,
// Alt+Space); without WS_SYSMENU it leaves that to us.
LRESULT KeyWithoutSysMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    if (IsWindow(window))
        SetWindowLongPtrA(window, GWL_STYLE, style);
    return result;
}

} // namespace

namespace {

int IbSizeAt(int dpi)
{
    return IbSizeForDpi(MetricForDpi(SM_CYCAPTION, kBaseDpi), dpi);
}

} // namespace

int CaptionIbSize(HWND window)
{
    const auto value = reinterpret_cast<INT_PTR>(GetPropA(window, kIbSize));
    if (value > 0)
        return static_cast<int>(value);
    return IbSizeAt(WindowDpi(window));
}

void SetCaptionDpi(HWND window, int dpi)
{
    SetPropA(window, kIbSize, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(IbSizeAt(dpi))));
}

FrameMetrics CurrentFrameMetrics(HWND window)
{
    const int dpi = WindowDpi(window);
    FrameMetrics m;
    m.cxFrame = MetricForDpi(SM_CXFRAME, dpi);
    m.cyFrame = MetricForDpi(SM_CYFRAME, dpi);
    m.cxDlgFrame = MetricForDpi(SM_CXDLGFRAME, dpi);
    m.cyDlgFrame = MetricForDpi(SM_CYDLGFRAME, dpi);
    m.cxBorder = MetricForDpi(SM_CXBORDER, dpi);
    m.cyBorder = MetricForDpi(SM_CYBORDER, dpi);
    return m;
}

int CaptionHeight(HWND window)
{
    return MetricForDpi(SM_CYCAPTION, WindowDpi(window));
}

CaptionLayout WindowCaptionLayout(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return LayoutCaption(ToCapRect(r), StyleOf(window), CurrentFrameMetrics(window), CaptionIbSize(window));
}

// One part of the window's caption layout, or an empty rectangle.
static BOOL GivePart(HWND window, bool CaptionLayout::*present, Rect CaptionLayout::*part, RECT *rect)
{
    const CaptionLayout l = WindowCaptionLayout(window);
    return GiveRect(l.*present, l.*part, rect);
}

BOOL GetCaptionRect(HWND window, RECT *rect)
{
    return GivePart(window, &CaptionLayout::on, &CaptionLayout::caption, rect);
}

BOOL GetSysMenuBoxRect(HWND window, RECT *rect)
{
    return GivePart(window, &CaptionLayout::hasSysMenu, &CaptionLayout::sysMenu, rect);
}

BOOL GetMinimizeBoxRect(HWND window, RECT *rect)
{
    return GivePart(window, &CaptionLayout::hasMinimize, &CaptionLayout::minimize, rect);
}

BOOL GetMaximizeBoxRect(HWND window, RECT *rect)
{
    return GivePart(window, &CaptionLayout::hasMaximize, &CaptionLayout::maximize, rect);
}

BOOL GetCaptionBoxRect(HWND window, int n, RECT *rect)
{
    const CaptionLayout l = WindowCaptionLayout(window);
    return GiveRect(l.on, CaptionBoxFromEnd(l.caption, l.vertical, CaptionIbSize(window), n), rect);
}

void EnableSysMenuItems(HWND window, HMENU menu)
{
    const auto states = SysMenuItemStates(StyleOf(window), IsZoomed(window) != FALSE, IsIconic(window) != FALSE);
    for (const auto &item : states)
        EnableMenuItem(menu, item.id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
}

LRESULT CALLBACK SmallCaptionFrame(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        return OnNcCreate(window, wParam, lParam);
    case WM_DPICHANGED:
        SetCaptionDpi(window, HIWORD(wParam));
        break;
    case WM_NCDESTROY:
        RemovePropA(window, kIbSize);
        RemovePropA(window, kIbFlag);
        break;
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(window, wParam, lParam);
    case WM_NCCALCSIZE:
        return OnNcCalcSize(window, wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(window, lParam);
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        return OnNcPaint(window, message, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(window, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        return OnNcLButtonDblClk(window, wParam, lParam);
    case WM_SYSCHAR:
        if (wParam == ' ' && CaptionOn(StyleOf(window))) {
            ShowCaptionSysMenu(window);
            return 0;
        }
        return KeyWithoutSysMenu(window, message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return KeyWithoutSysMenu(window, message, wParam, lParam);
    case WM_COMMAND:
        // A system-menu item chosen in our popup can arrive as a command.
        if (wParam >= 0xF000)
            PostMessageA(window, WM_SYSCOMMAND, wParam, lParam);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
