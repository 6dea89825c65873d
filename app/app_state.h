// The process-wide records. The bar is one window on one thread; each part
// defines the record of its own state in its own folder, and the one
// instance of each lives here, read only by the main window's routing and by
// the callbacks Windows makes without our arguments. Every other function is
// handed what it works on.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "bar/bar_state.h"
#include "ini/settings_rules.h"
#include "ini/hot_key_rules.h"
#include "launch/slot_activation.h"
#include "syspanel/syspanel.h"
#include "tips/tooltip.h"

// The program's own: filled at start-up and when the bar window is created,
// kept until the end of the message loop.
struct AppState {
    HWND bar = nullptr;
    UINT taskbarCreatedId = 0;     // the shell's "TaskbarCreated": add the icon again
    NOTIFYICONDATAA notifyIcon{};  // the notification-area icon while it is shown
    HMODULE ctl3d = nullptr;       // CTL3D32.DLL when it could be loaded (x86 only)
    BOOL(WINAPI *ctl3dUnregister)(HINSTANCE) = nullptr;
    bool tearingDown = false;  // WM_DESTROY has begun: nothing rebuilds the bar any more
    HotKey hotKeyHeld;         // registered for the bar; none while another program holds the one set
    HotKey hotKeyTold;         // the one the user was told another program holds: told once a start
    HWND focusBefore = nullptr;  // where the hot key took the foreground from, for its second press
};
extern AppState gApp;

// "environment section" as the bar holds it: read when the bar is created and by every
// reload, changed by the Properties dialog and the page buttons, written back only by
// SaveSettings. Its language picks every string and dialog.
extern BarSettings gSettings;

// Made when the bar window is created, reset where each record's comment says.
extern BarState gBar;
extern SystemPanelState gSystemPanel;
extern TooltipState gTooltip;
extern LauncherState gLauncher;
