// The Properties dialog: pages, corner, orientation, small buttons, tooltips
// off and the page buttons' side, applied to the bar at once on OK; and the
// about area with its animated clock.
#pragma once
#include <windows.h>

#include "ini/settings_rules.h"

// What OK does to the bar once the choice is in the settings, before the
// dialog closes: `leftCorner` when the bar was docked and is no longer.
using PropertiesAccepted = void (*)(HWND bar, bool leftCorner);
// Runs the dialog modally, owned by the bar, in the bar's language, over `settings`.
void OpenProperties(HWND bar, BarSettings &settings, PropertiesAccepted accepted);

// The common controls, for the dialog's hotkey control, from the system directory: freed again once the
// dialog is closed. nullptr when the system has none (the dialog then cannot open).
HMODULE LoadHotKeyControl();

// The open dialog's own: it lives in OpenProperties' frame and reaches the
// procedure as the dialog's creation parameter, then through its window data.
struct PropertiesDialogState {
    BarSettings &settings;
    PropertiesAccepted accepted;
    int animationFrame = 0;  // index into the icon cycle 110, 113, 116, 115, 114
};
INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
