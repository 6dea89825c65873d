// Hover tooltips: the bar's own "TAV!TIPS" window.
#pragma once
#include <windows.h>


// The hover tooltip's state: reset when the bar is created; HideTooltip resets it too.
constexpr int kPendingTextSize = 128;
constexpr int kShownTextSize = 256;
struct TooltipState {
    HWND tooltipWindow = nullptr;  // while it exists
    bool timerRunning = false;     // the bar's tooltip timer
    int lastHoveredSlot = -1;      // the registered slot pendingText was prepared for
    char pendingText[kPendingTextSize] = {};  // its title, or its command
    char shownText[kShownTextSize] = {};      // the tooltip window's copy of what it shows
};

inline constexpr char kTooltipClass[] = "TAV!TIPS";
constexpr UINT_PTR kTooltipTimerId = 1;  // on the bar
constexpr UINT kTooltipDelayMs = 1000;

// On every WM_SETCURSOR of the bar and after every WM_COMMAND: prepares the
// text of a registered slot under the mouse and starts the delay, or
// replaces the shown text at once; hides the tooltip anywhere else.
void UpdateHover(HWND bar);
// The bar's timer: shows the tooltip, or hides it once the mouse has left
// the bar's buttons.
void ShowTooltipOnTimer(HWND bar);
// Destroys the tooltip, stops the timer and forgets the hovered slot.
void HideTooltip(HWND bar);
// Closes the tooltip and its timer as HideTooltip does, but keeps the last
// hovered slot, so the slot just clicked does not show its tooltip again.
void CloseTooltip(HWND bar);
LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
