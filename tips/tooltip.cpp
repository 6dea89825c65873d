#include "tips/tooltip.h"

#include <cstring>
#include <string>
#include <string_view>

#include "winkit/module.h"
#include "app/app_state.h"
#include "ini/settings.h"
#include "ini/code_page_path.h"
#include "bar/layout.h"
#include "winkit/gdi_holders.h"
#include "launch/launch.h"
#include "syspanel/panel_rules.h"
#include "tips/tooltip_rules.h"


namespace {

// A pop-up that is also marked as a child: the system shows it owned by the
// bar, above other windows, with a thin border.
constexpr DWORD kTooltipStyle = WS_POPUP | WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr int kTipTextBuffer = 256;

bool TooltipsOff() { return gSettings.mode & NoTooltips; }

// The panel's cells are hovered under numbers no slot has, so moving between a cell and a
// slot, or showing the panel under a resting mouse, is a change of text.
int PanelHoverKey(int action) { return -2 - action; }

// The icon-title font as the system has it now: the user may change it at any time.
// The text functions read the text in the code page of the font's character set, and
// our texts are in the system's code page: a setting recorded with a Western character
// set on a double-byte system would otherwise garble every double-byte title.
GdiObject<HFONT> IconTitleFont()
{
    LOGFONTA description{};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof description, &description, 0);
    description.lfCharSet = DEFAULT_CHARSET;
    return GdiObject<HFONT>(CreateFontIndirectA(&description));
}

void CopyFitted(char *dest, std::size_t size, std::string_view text)
{
    const std::string_view fitted = FitText(text, size, IsSystemLeadByte);
    std::memcpy(dest, fitted.data(), fitted.size());
    dest[fitted.size()] = '\0';
}

// The position on the page of the slot button `window`, or -1.
int SlotPosition(HWND window)
{
    const std::size_t count = static_cast<std::size_t>(gSettings.columns) * static_cast<std::size_t>(gSettings.rows);
    for (std::size_t k = 0; k < count && k < gBar.buttons.slots.size(); ++k)
        if (window && gBar.buttons.slots[k] == window)
            return static_cast<int>(k);
    return -1;
}

HWND WindowUnderCursor()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor);
}

void StartTimer(HWND bar)
{
    if (!gTooltip.timerRunning)
        SetTimer(bar, kTooltipTimerId, kTooltipDelayMs, nullptr);
    gTooltip.timerRunning = true;
}

// Takes the new text and moves to the window under the cursor at once.
LRESULT OnSetText(HWND tip, const char *text)
{
    const GdiObject<HFONT> font = IconTitleFont();
    CopyFitted(gTooltip.shownText, sizeof gTooltip.shownText, text ? text : "");
    POINT cursor{};
    GetCursorPos(&cursor);

    RECT measured{};
    {
        const WindowDc dc(tip);
        const Selection use(dc.get(), font.get());
        DrawTextA(dc.get(), gTooltip.shownText, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
    }
    const HWND under = WindowFromPoint(cursor);
    RECT anchor{};
    GetWindowRect(under, &anchor);
    // The monitor of the button: a bar on a second screen keeps its tips there.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(under, MONITOR_DEFAULTTONEAREST), &monitor))
        monitor.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT &m = monitor.rcMonitor;
    const Box at = PlaceTooltip(cursor.x, {measured.right - measured.left, measured.bottom - measured.top}, anchor.top,
                                anchor.bottom, {m.left, m.top, m.right - m.left, m.bottom - m.top});
    // Erased as well: the text is drawn transparently, and a text of the same size in the
    // same place would otherwise be drawn over the old one.
    InvalidateRect(tip, nullptr, TRUE);
    MoveWindow(tip, at.x, at.y, at.w, at.h, TRUE);
    return 0;
}

// Black text on the class's pale yellow, which the default erase has painted.
void OnPaint(HWND tip)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(tip, &ps);
    {
        const GdiObject<HFONT> font = IconTitleFont();
        const Selection use(dc, font.get());
        const BkModeScope mode(dc, TRANSPARENT);
        const TextColorScope ink(dc, RGB(0, 0, 0));
        RECT client{};
        GetClientRect(tip, &client);
        // Prefixes are processed: "&&" in a title shows one ampersand.
        DrawTextA(dc, gTooltip.shownText, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    EndPaint(tip, &ps);
}

void ShowPendingText(HWND bar)
{
    if (!gTooltip.pendingText[0]) {
        // A hand-edited entry without a command: nothing to show, and nothing to read again
        // while the mouse stays on this slot.
        CloseTooltip(bar);
        return;
    }
    // Shown already: the new text comes at once, without a second delay.
    if (gTooltip.tooltipWindow)
        SendMessageA(gTooltip.tooltipWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gTooltip.pendingText));
    StartTimer(bar);
}

// A panel cell's tooltip names its action, as its window text does; a blank cell has none.
void HoverPanelCell(HWND bar, int position)
{
    const int action = PanelActionIndex(position, gSettings.columns * gSettings.rows);
    if (action < 0 || action >= kPanelActions) {
        HideTooltip(bar);
        return;
    }
    if (PanelHoverKey(action) == gTooltip.lastHoveredSlot)
        return;
    gTooltip.lastHoveredSlot = PanelHoverKey(action);
    GetWindowTextA(gBar.buttons.slots[position], gTooltip.pendingText, sizeof gTooltip.pendingText);
    ShowPendingText(bar);
}

} // namespace

void UpdateHover(HWND bar)
{
    // The user wants no tooltips; a tooltip already shown is left to the next timer tick.
    if (TooltipsOff())
        return;
    const int position = SlotPosition(WindowUnderCursor());
    if (position < 0) {
        HideTooltip(bar);
        return;
    }
    if (gSystemPanel.shown) {
        HoverPanelCell(bar, position);
        return;
    }
    const int slot = SlotNumber(gSettings, position);
    if (slot == gTooltip.lastHoveredSlot)
        return;
    gTooltip.lastHoveredSlot = slot;

    char value[kTipTextBuffer] = {};
    ReadProgramKey(ProfileKey(slot).c_str(), value, sizeof value);
    if (!value[0]) {
        HideTooltip(bar);
        return;
    }
    // Read wider than the text kept, so a long title is cut between characters, not by the reader.
    char title[kTipTextBuffer] = {};
    ReadProgramKey(TitleKey(slot).c_str(), title, sizeof title);
    if (title[0])
        CopyFitted(gTooltip.pendingText, sizeof gTooltip.pendingText, title);
    else
        CopyFitted(gTooltip.pendingText, sizeof gTooltip.pendingText, TooltipCommandText(value));

    ShowPendingText(bar);
}

void ShowTooltipOnTimer(HWND bar)
{
    // The bar hears no WM_SETCURSOR once the mouse is over other windows, so every tick
    // looks whether the mouse is still on one of its buttons.
    if (TooltipsOff() || GetParent(WindowUnderCursor()) != bar) {
        HideTooltip(bar);
        return;
    }
    if (!gTooltip.tooltipWindow) {
        gTooltip.tooltipWindow = CreateWindowExA(WS_EX_TOPMOST, kTooltipClass, nullptr, kTooltipStyle, 0, 0, 5, 5, bar,
                                                 nullptr, ResourceModule(), nullptr);
        if (gTooltip.tooltipWindow)
            SendMessageA(gTooltip.tooltipWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gTooltip.pendingText));
    }
    StartTimer(bar);
}

void CloseTooltip(HWND bar)
{
    if (HWND tip = gTooltip.tooltipWindow) {
        gTooltip.tooltipWindow = nullptr;
        DestroyWindow(tip);
    }
    if (gTooltip.timerRunning)
        KillTimer(bar, kTooltipTimerId);
    gTooltip.timerRunning = false;
}

void HideTooltip(HWND bar)
{
    CloseTooltip(bar);
    gTooltip.lastHoveredSlot = -1;
}

LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        gTooltip.shownText[0] = '\0';
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);  // it must never take the focus from anyone
        return 0;
    case WM_SETTEXT: return OnSetText(hwnd, reinterpret_cast<const char *>(lParam));
    case WM_PAINT: OnPaint(hwnd); return 0;
    case WM_SETCURSOR:
        // The mouse reached the tooltip: it is in the way. The owner is the bar, whatever
        // the system answers for the parent of a pop-up marked as a child.
        HideTooltip(GetWindow(hwnd, GW_OWNER));
        break;
    case WM_NCDESTROY:
        // Destroyed with its owner: no handle to a dead window is kept.
        if (gTooltip.tooltipWindow == hwnd)
            gTooltip.tooltipWindow = nullptr;
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
