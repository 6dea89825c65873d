#include "tips/tooltip.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <string_view>

#include "ini/code_page_path.h"
#include "ini/profile_file.h"
#include "ini/settings_rules.h"
#include "tips/tooltip_rules.h"
#include "winkit/cursor.h"
#include "winkit/dpi.h"
#include "winkit/gdi_holders.h"
#include "winkit/module.h"


namespace {

// A pop-up that is also marked as a child: the system shows it owned by the
// bar, above other windows, with a thin border.
constexpr DWORD kTooltipStyle = WS_POPUP | WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr int kTipTextBuffer = 256;

// The icon-title font as the system has it now: the user may change it at any time.
// Any character set: the texts come wide, and a setting recorded with a Western character
// set on a double-byte system would otherwise garble every double-byte title.
// At the scale of the bar it is shown for.
GdiObject<HFONT> IconTitleFont(HWND window)
{
    const int dpi = WindowDpi(window);
    LOGFONTW description{};
    const auto forDpi = SystemProc<BOOL(WINAPI *)(UINT, UINT, void *, UINT, UINT)>("user32.dll", "SystemParametersInfoForDpi");
    if (!forDpi || !forDpi(SPI_GETICONTITLELOGFONT, sizeof description, &description, 0, static_cast<UINT>(dpi))) {
        SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof description, &description, 0);
        description.lfHeight = MulDiv(description.lfHeight, dpi, SystemDpi());
    }
    description.lfCharSet = DEFAULT_CHARSET;
    return GdiObject<HFONT>(CreateFontIndirectW(&description));
}

// Titles and commands are drawn as stored: an ampersand is no mnemonic here.
constexpr UINT kTextFormat = DT_SINGLELINE | DT_CENTER | DT_NOPREFIX;

void CopyText(wchar_t *dest, std::size_t size, std::wstring_view text)
{
    const std::size_t n = std::min(text.size(), size - 1);
    std::wmemcpy(dest, text.data(), n);
    dest[n] = L'\0';
}

// A code-page text cut to the pending text's bytes between characters, then widened.
void CopyFitted(wchar_t *dest, std::size_t size, std::string_view text)
{
    CopyText(dest, size, WideFromCodePage(std::string(FitText(text, size, IsSystemLeadByte))));
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
    return reinterpret_cast<TooltipState *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Takes the new text and moves to the window under the cursor at once.
LRESULT OnSetText(HWND window, TooltipState &tip, const wchar_t *text)
{
    const GdiObject<HFONT> font = IconTitleFont(GetParent(window));
    CopyText(tip.shownText, kShownTextSize, text ? text : L"");
    POINT cursor{};
    GetCursorPos(&cursor);

    RECT measured{};
    {
        const WindowDc dc(window);
        const Selection use(dc.get(), font.get());
        DrawTextW(dc.get(), tip.shownText, -1, &measured, DT_CALCRECT | kTextFormat);
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
                                anchor.bottom, {m.left, m.top, m.right - m.left, m.bottom - m.top},
                                WindowDpi(under));
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
        const GdiObject<HFONT> font = IconTitleFont(GetParent(window));
        const Selection use(dc, font.get());
        const BkModeScope mode(dc, TRANSPARENT);
        const TextColorScope ink(dc, RGB(0, 0, 0));
        RECT client{};
        GetClientRect(window, &client);
        DrawTextW(dc, tip.shownText, -1, &client, kTextFormat | DT_VCENTER);
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
        SendMessageW(tip.tooltipWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tip.pendingText));
    StartTimer(bar, tip);
}

// A panel cell's or a control button's tooltip is the name it carries for screen readers, read
// as stored: the button's own procedure would answer in the code page.
void HoverNamedButton(HWND bar, TooltipState &tip, HWND button)
{
    DefWindowProcW(button, WM_GETTEXT, kPendingTextSize, reinterpret_cast<LPARAM>(tip.pendingText));
    ShowPendingText(bar, tip);
}

// A registered slot's tooltip is its title, or else its command; an empty slot has none.
void HoverProgramSlot(HWND bar, TooltipState &tip, int slot)
{
    char value[kTipTextBuffer] = {};
    ReadProgramKey(ProfileKey(slot).c_str(), value, sizeof value);
    if (!value[0]) {
        HideTooltip(bar, tip);
        return;
    }
    // Read wider than the text kept, so a long title is cut between characters, not by the reader.
    char title[kTipTextBuffer] = {};
    ReadProgramKey(TitleKey(slot).c_str(), title, sizeof title);
    CopyFitted(tip.pendingText, kPendingTextSize, title[0] ? std::string(title) : TooltipCommandText(value));

    ShowPendingText(bar, tip);
}

// Keeps the state handed to CreateWindowExA in the window, for the messages after this one.
void KeepState(HWND window, LPARAM createParams)
{
    const auto *create = reinterpret_cast<const CREATESTRUCTW *>(createParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

} // namespace

void UpdateHover(HWND bar, TooltipState &tip, const Hover &at)
{
    const TipChoice choice = ChooseTip(at.tooltipsOff, at.on, at.index);
    if (choice.text == TipText::None) {
        HideTooltip(bar, tip);
        return;
    }
    // Nothing changes while the mouse stays on the same thing.
    if (choice.key == tip.lastHoveredSlot)
        return;
    tip.lastHoveredSlot = choice.key;
    if (choice.text == TipText::Name)
        HoverNamedButton(bar, tip, at.button);
    else
        HoverProgramSlot(bar, tip, choice.key);
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
            SendMessageW(tip.tooltipWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tip.pendingText));
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
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        tip->shownText[0] = L'\0';
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);  // it must never take the focus from anyone
        return 0;
    case WM_SETTEXT: return OnSetText(hwnd, *tip, reinterpret_cast<const wchar_t *>(lParam));
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
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
