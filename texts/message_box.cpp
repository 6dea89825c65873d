#include "texts/message_box.h"

#include "ini/change_notice.h"
#include "ini/settings.h"
#include "res/resource.h"
#include "texts/strings.h"
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

int TellUser(HWND owner, Language language, unsigned base, BoxKind kind, const std::wstring &detail)
{
    return ShowBox(owner, LoadTavText(language, base) + detail, kind);
}

void TellNotStored(HWND owner, Language language)
{
    TellUser(owner, language, IDS_NOT_STORED, BoxKind::Warning);
}

bool SaveSettingsOrTell(HWND bar, const BarSettings &settings, bool closing)
{
    if (SaveSettings(bar, settings))
        return true;
    TellNotStored(closing ? nullptr : bar, settings.language());
    return false;
}

std::optional<std::string> UsablePathOrTell(HWND owner, Language language, const std::wstring &wide, PathUse use,
                                            std::size_t longest)
{
    const CodePagePath spelled = SpellPath(wide, use, longest);
    if (spelled.refusal == PathRefusal::None)
        return spelled.path;
    if (spelled.refusal == PathRefusal::TooLong) {
        MessageBeep(MB_ICONHAND);
        return std::nullopt;
    }
    const unsigned reason = spelled.refusal == PathRefusal::NotInCodePage ? IDS_NAME_NOT_IN_CODE_PAGE
                                                                         : IDS_PATH_HAS_DELIMITER;
    TellUser(owner, language, reason, BoxKind::Warning, L"\n\n" + wide);
    return std::nullopt;
}
