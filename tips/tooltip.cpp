#include "tips/tooltip.h"

#include <cstring>
#include <string>
#include <string_view>

#include "ini/code_page_path.h"
#include "ini/settings.h"
#include "tips/tooltip_rules.h"
#include "winkit/cursor.h"
#include "winkit/gdi_holders.h"
#include "winkit/module.h"


namespace {

// A pop-up that is also marked as a child: the system shows it owned by the
// bar, above other windows, with a thin border.
constexpr DWORD kTooltipStyle = WS_POPUP | WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr int kTipTextBuffer = 256;

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

void StartTimer(HWND bar, TooltipState &tip)
{
    if (!tip.timerRunning)
        SetTimer(bar, kTooltipTimerId, kTooltipDelayMs, nullptr);
    tip.timerRunning = true;
}

// The state the tooltip window was created with; none before WM_NCCREATE has kept it.
TooltipState *StateOf(HWND window)
{
    return reinterpret_cast<TooltipState *>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Takes the new text and moves to the window under the cursor at once.
LRESULT OnSetText(HWND window, TooltipState &tip, const char *text)
{
    const GdiObject<HFONT> font = IconTitleFont();
    CopyFitted(tip.shownText, sizeof tip.shownText, text ? text : "");
    POINT cursor{};
    GetCursorPos(&cursor);

    RECT measured{};
    {
        const WindowDc dc(window);
        const Selection use(dc.get(), font.get());
        DrawTextA(dc.get(), tip.shownText, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
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
    InvalidateRect(window, nullptr, TRUE);
    MoveWindow(window, at.x, at.y, at.w, at.h, TRUE);
    return 0;
}

// Black text on the class's pale yellow, which the default erase has painted.
void OnPaint(HWND window, const TooltipState &tip)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    {
        const GdiObject<HFONT> font = IconTitleFont();
        const Selection use(dc, font.get());
        const BkModeScope mode(dc, TRANSPARENT);
        const TextColorScope ink(dc, RGB(0, 0, 0));
        RECT client{};
        GetClientRect(window, &client);
        // Prefixes are processed: "&&" in a title shows one ampersand.
        DrawTextA(dc, tip.shownText, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    EndPaint(window, &ps);
}

void ShowPendingText(HWND bar, TooltipState &tip)
{
    if (!tip.pendingText[0]) {
        // A hand-edited entry without a command: nothing to show, and nothing to read again
        // while the mouse stays on this slot.
        CloseTooltip(bar, tip);
        return;
    }
    // Shown already: the new text comes at once, without a second delay.
    if (tip.tooltipWindow)
        SendMessageA(tip.tooltipWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tip.pendingText));
    StartTimer(bar, tip);
}

// A panel cell's tooltip names its action, as its window text does; a blank cell has none.
void HoverPanelCell(HWND bar, TooltipState &tip, const Hover &at)
{
    if (at.panelAction < 0) {
        HideTooltip(bar, tip);
        return;
    }
    if (PanelHoverKey(at.panelAction) == tip.lastHoveredSlot)
        return;
    tip.lastHoveredSlot = PanelHoverKey(at.panelAction);
    GetWindowTextA(at.button, tip.pendingText, sizeof tip.pendingText);
    ShowPendingText(bar, tip);
}

// A registered slot's tooltip is its title, or else its command; an empty slot has none.
void HoverProgramSlot(HWND bar, TooltipState &tip, int slot)
{
    if (slot == tip.lastHoveredSlot)
        return;
    tip.lastHoveredSlot = slot;

    char value[kTipTextBuffer] = {};
    ReadProgramKey(ProfileKey(slot).c_str(), value, sizeof value);
    if (!value[0]) {
        HideTooltip(bar, tip);
        return;
    }
    // Read wider than the text kept, so a long title is cut between characters, not by the reader.
    char title[kTipTextBuffer] = {};
    ReadProgramKey(TitleKey(slot).c_str(), title, sizeof title);
    if (title[0])
        CopyFitted(tip.pendingText, sizeof tip.pendingText, title);
    else
        CopyFitted(tip.pendingText, sizeof tip.pendingText, TooltipCommandText(value));

    ShowPendingText(bar, tip);
}

// Keeps the state handed to CreateWindowExA in the window, for the messages after this one.
void KeepState(HWND window, LPARAM createParams)
{
    const auto *create = reinterpret_cast<const CREATESTRUCTA *>(createParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

} // namespace

void UpdateHover(HWND bar, TooltipState &tip, const Hover &at)
{
    // The user wants no tooltips; a tooltip already shown is left to the next timer tick.
    if (at.tooltipsOff)
        return;
    if (!at.button)
        HideTooltip(bar, tip);
    else if (at.panelShown)
        HoverPanelCell(bar, tip, at);
    else
        HoverProgramSlot(bar, tip, at.slot);
}

void ShowTooltipOnTimer(HWND bar, TooltipState &tip, bool tooltipsOff)
{
    // The bar hears no WM_SETCURSOR once the mouse is over other windows, so every tick
    // looks whether the mouse is still on one of its buttons.
    if (tooltipsOff || GetParent(WindowUnderCursor()) != bar) {
        HideTooltip(bar, tip);
        return;
    }
    if (!tip.tooltipWindow) {
        tip.tooltipWindow = CreateWindowExA(WS_EX_TOPMOST, kTooltipClass, nullptr, kTooltipStyle, 0, 0, 5, 5, bar,
                                            nullptr, ResourceModule(), &tip);
        if (tip.tooltipWindow)
            SendMessageA(tip.tooltipWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tip.pendingText));
    }
    StartTimer(bar, tip);
}

void CloseTooltip(HWND bar, TooltipState &tip)
{
    if (HWND window = tip.tooltipWindow) {
        tip.tooltipWindow = nullptr;
        DestroyWindow(window);
    }
    if (tip.timerRunning)
        KillTimer(bar, kTooltipTimerId);
    tip.timerRunning = false;
}

void HideTooltip(HWND bar, TooltipState &tip)
{
    CloseTooltip(bar, tip);
    tip.lastHoveredSlot = -1;
}

LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
        KeepState(hwnd, lParam);
    TooltipState *tip = StateOf(hwnd);
    if (!tip)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        tip->shownText[0] = '\0';
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);  // it must never take the focus from anyone
        return 0;
    case WM_SETTEXT: return OnSetText(hwnd, *tip, reinterpret_cast<const char *>(lParam));
    case WM_PAINT: OnPaint(hwnd, *tip); return 0;
    case WM_SETCURSOR:
        // The mouse reached the tooltip: it is in the way. The owner is the bar, whatever
        // the system answers for the parent of a pop-up marked as a child.
        HideTooltip(GetWindow(hwnd, GW_OWNER), *tip);
        break;
    case WM_NCDESTROY:
        // Destroyed with its owner: no handle to a dead window is kept.
        if (tip->tooltipWindow == hwnd)
            tip->tooltipWindow = nullptr;
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
