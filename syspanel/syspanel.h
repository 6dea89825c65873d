// The system panel: the slots' other face (shut down, log off, restart, quit, run).
#pragma once
#include <windows.h>

// Button 504: show or hide the panel.
void OnSystemPanelToggle(HWND bar);
