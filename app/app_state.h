// Process-wide state shared between the bar's subsystems. Each record is
// created and reset where the bar says: at window creation, at a reload.
#pragma once
#include <windows.h>

#include "app/settings_rules.h"

// The application shell's own state.
struct AppState {
    HINSTANCE instance = nullptr;  // every resource is loaded from here
    HWND bar = nullptr;
    HMODULE ctl3d = nullptr;       // CTL3D32.DLL when it could be loaded
    DWORD lastLaunchTick = 0xFFFFFFFF;  // nothing started yet
    bool tearingDown = false;  // WM_DESTROY has begun: nothing rebuilds the bar any more
};
extern AppState gApp;

// The system panel replaces the slot faces while shown (button 504).
extern bool gSystemPanelShown;

// Move mode: Shift + right click picks a slot up, the next right click swaps.
struct MoveState {
    bool on = false;
    int sourceSlot = -1;
};
extern MoveState gMove;
