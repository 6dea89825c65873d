// Hover tooltips: the bar's own "TAV!TIPS" window.
#pragma once
#include <windows.h>

inline constexpr char kTooltipClass[] = "TAV!TIPS";

void UpdateHover(HWND bar);
void ShowTooltipOnTimer(HWND bar);
void HideTooltip(HWND bar);
// Closes the tooltip and its timer as HideTooltip does, but keeps the last
// hovered slot, so the slot just clicked does not show its tooltip again.
void CloseTooltip(HWND bar);
LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
