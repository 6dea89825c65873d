#include "ini/message_box.h"

#include "ini/settings.h"
#include "res/resource.h"
#include "winkit/geometry.h"

namespace {

// Marks a box already placed: it may be activated again while it is up.
constexpr char kPlacedProp[] = "TAVBOX";

Rect RectOf(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

// The box comes up where the system puts it (the middle of the screen); it is moved beside
// its owner the first time it is activated, before it shows.
LRESULT CALLBACK PlaceBox(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND box = reinterpret_cast<HWND>(wParam);
    const HWND owner = code == HCBT_ACTIVATE ? GetWindow(box, GW_OWNER) : nullptr;
    if (owner && !GetPropA(box, kPlacedProp)) {
        SetPropA(box, kPlacedProp, box);
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
    const HHOOK hook = top ? SetWindowsHookExW(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId()) : nullptr;
    const int answer = MessageBoxW(top, text.c_str(), kind == BoxKind::Described ? nullptr : caption.c_str(), style);
    if (hook)
        UnhookWindowsHookEx(hook);
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
