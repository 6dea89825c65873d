// The system panel: the slots' other face (shut down, log off, restart, quit,
// run).
#pragma once
#include <windows.h>

// Whether the panel is shown: hidden when the bar is created and by every
// reload, changed only by the toggle.
struct SystemPanelState {
    bool shown = false;
};

// Button 504 (also posted after the run action): show or hide the panel.
// Refused in move mode.
void OnSystemPanelToggle(HWND bar);
// A click on slot button `id` while the panel is shown: the cell's action.
void OnSystemPanelClick(HWND bar, int id);
