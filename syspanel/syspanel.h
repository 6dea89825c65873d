// The system panel: the slots' other face (shut down, log off, restart, quit,
// run). Whether it is shown is gSystemPanel.shown (app/app_state.h), cleared
// when the bar is created and on every reload, changed only by the toggle.
#pragma once
#include <windows.h>

// Button 504 (also posted after the run action): show or hide the panel.
// Refused in move mode.
void OnSystemPanelToggle(HWND bar);
// A click on slot button `id` while the panel is shown: the cell's action.
void OnSystemPanelClick(HWND bar, int id);
