#include "ini/message_box.h"

#include "ini/settings.h"
#include "res/resource.h"
#include "winkit/geometry.h"

namespace {

// The hook that places a box, kept on its owner while the box is on its way: the box is
// placed once, when it is first activated, and may be activated again while it is up.
constexpr char kPlacingProp[] = "TAVBOX";

Rect RectOf(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

// The box comes up where the system puts it (the middle of the screen); it is moved beside
// its owner before it shows.
LRESULT CALLBACK PlaceBox(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND box = reinterpret_cast<HWND>(wParam);
    const HWND owner = code == HCBT_ACTIVATE ? GetWindow(box, GW_OWNER) : nullptr;
    if (const HANDLE hook = owner ? RemovePropA(owner, kPlacingProp) : nullptr) {
        UnhookWindowsHookEx(static_cast<HHOOK>(hook));
        RECT boxRect{}, ownerRect{};
        GetWindowRect(box, &boxRect);
        GetWindowRect(owner, &ownerRect);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
        const Point at = PlaceNear(RectOf(ownerRect), {boxRect.right - boxRect.left, boxRect.bottom - boxRect.top},
                                   RectOf(monitor.rcWork));
        SetWindowPos(box, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

int ShowBox(HWND owner, const std::wstring &text, BoxKind kind)
{
    // A button of the bar cannot own a window: its bar does, and is disabled while the box is up.
    const HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    UINT style = MB_ICONINFORMATION;
    if (kind == BoxKind::Warning)
        style = MB_ICONWARNING;
    else if (kind == BoxKind::Question)
        style = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    const std::wstring caption(kBarTitle, kBarTitle + sizeof kBarTitle - 1);
    if (top)
        if (const HHOOK hook = SetWindowsHookExW(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId()))
            SetPropA(top, kPlacingProp, hook);
    const int answer = MessageBoxW(top, text.c_str(), kind == BoxKind::Described ? nullptr : caption.c_str(), style);
    // A box that never came up leaves its hook behind.
    if (const HANDLE hook = top ? RemovePropA(top, kPlacingProp) : nullptr)
        UnhookWindowsHookEx(static_cast<HHOOK>(hook));
    return answer;
}

int TellUser(HWND owner, unsigned base, BoxKind kind, const std::wstring &detail)
{
    return ShowBox(owner, LoadTavText(base) + detail, kind);
}

void TellNotStored(HWND owner)
{
    TellUser(owner, IDS_NOT_STORED, BoxKind::Warning);
}
