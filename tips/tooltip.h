// Hover tooltips: the bar's own "TAV!TIPS" window.
#pragma once
#include <windows.h>


#include "tips/tooltip_rules.h"

// The hover tooltip's state: reset when the bar is created; HideTooltip resets it too.
// The texts are wide: a control button's name in Japanese reaches a Western system too.
constexpr int kPendingTextSize = 128;
constexpr int kShownTextSize = 256;
struct TooltipState {
    HWND tooltipWindow = nullptr;  // while it exists
    bool timerRunning = false;     // the bar's tooltip timer
    int lastHoveredSlot = -1;      // what pendingText was prepared for (TipChoice::key)
    wchar_t pendingText[kPendingTextSize] = {};  // a slot's title or command, or a button's name
    wchar_t shownText[kShownTextSize] = {};      // the tooltip window's copy of what it shows
};

// Where the mouse rests, as the main window knows it: what UpdateHover decides on.
struct Hover {
    bool tooltipsOff = false;  // the user wants none
    HWND button = nullptr;     // the bar's button under the mouse, or none
    HoverOn on = HoverOn::Nothing;
    int index = -1;            // what ChooseTip takes for it
};

inline constexpr char kTooltipClass[] = "TAV!TIPS";
constexpr UINT_PTR kTooltipTimerId = 1;  // on the bar
constexpr UINT kTooltipDelayMs = 1000;

// On every WM_SETCURSOR of the bar and after every WM_COMMAND: prepares the
// text of a registered slot, a panel cell or a control button under the
// mouse and starts the delay, or replaces the shown text at once; hides the
// tooltip anywhere else, and at once when the user wants none.
void UpdateHover(HWND bar, TooltipState &tip, const Hover &at);
// The bar's timer: shows the tooltip, or hides it once the mouse has left
// the bar's buttons.
void ShowTooltipOnTimer(HWND bar, TooltipState &tip, bool tooltipsOff);
// Destroys the tooltip, stops the timer and forgets the hovered slot.
void HideTooltip(HWND bar, TooltipState &tip);
// Closes the tooltip and its timer as HideTooltip does, but keeps the last
// hovered slot, so the slot just clicked does not show its tooltip again.
void CloseTooltip(HWND bar, TooltipState &tip);
// The class's procedure, registered wide: each tooltip window finds its
// TooltipState in its window data, handed over at its creation.
LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
