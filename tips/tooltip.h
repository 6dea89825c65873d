// Hover tooltips: the bar's own "TAV!TIPS" window.
#pragma once
#include <windows.h>

inline constexpr char kTooltipClass[] = "TAV!TIPS";

void UpdateHover(HWND bar);
void ShowTooltipOnTimer(HWND bar);
void HideTooltip(HWND bar);
LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
