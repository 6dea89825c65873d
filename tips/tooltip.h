// Hover tooltips: the bar's own "TAV!TIPS" window.
#pragma once
#include <windows.h>

#include "app/app_state.h"

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
