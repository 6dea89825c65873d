// The bar's main window: class registration, creation, the dispatch of
// every message, the notification icon, reload and teardown.
#pragma once
#include <windows.h>

#include "ini/settings_rules.h"

constexpr UINT TrayCallbackMessage = 0x600;
constexpr UINT kTrayIconId = 0x600;
constexpr DWORD kBarStyle = 0x80CC4000;  // popup, caption, system menu, sizing frame, thin caption
constexpr DWORD kBarExStyle = WS_EX_TOOLWINDOW;

// Registers "TAV!" and "TAV!TIPS". Returns false when either fails.
bool RegisterBarClasses(HINSTANCE instance);
// Deletes each class's background brush and unregisters it.
void UnregisterBarClasses(HINSTANCE instance);
// Creates the bar (its WM_CREATE builds everything); nullptr on failure.
HWND CreateBar(HINSTANCE instance);
// Adds (or, after a shell restart, adds again) the notification icon.
void AddNotifyIcon(HWND bar);
void RemoveNotifyIcon(HWND bar);

LRESULT CALLBACK BarWndProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);
// WM_USER from another program: re-read the settings and rebuild the grid.
LRESULT ReloadBar(HWND bar);
// Builds the bar from gSettings as they stand, when it is created, reloaded or
// given new properties: the style for the corner, the icon strip, the slot
// buttons (made anew when `remakeButtons`), the control buttons (made once,
// then only placed), and the size at `at` (docked bars go to their corner).
// `wholly`: the bar comes wholly onto its monitor's work area. `wholeStrip`
// false (a reload with the same number of pages) draws again only the strip
// cells whose entries changed.
void BuildBar(HWND bar, BarPosition at, bool wholly, bool remakeButtons, bool wholeStrip = true);
// The program entry's whole life, from the single-instance check to the
// end of the message loop. Returns the exit code.
int RunBar(HINSTANCE instance);
