#include "tips/tooltip.h"

// Tooltips are still to come: hovering shows nothing yet.
void UpdateHover(HWND) {}
void ShowTooltipOnTimer(HWND) {}
void HideTooltip(HWND) {}
void CloseTooltip(HWND) {}

LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
