// The system panel: the slots' other face (shut down, log off, restart, quit,
// run).
#pragma once
#include <windows.h>

#include "ini/settings_rules.h"

// Whether the panel is shown: hidden when the bar is created and by every
// reload, changed only by the toggle.
struct SystemPanelState {
    bool shown = false;
};

// A click on the panel's cell of `action` (PanelActionIndex: blank cells are negative).
// True for the run action, whose dialog the caller opens: a part opens no other part's dialog.
bool RunPanelAction(HWND bar, const BarSettings &settings, int action);
