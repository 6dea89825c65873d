// The system panel: the slots' other face (shut down, log off, restart, quit,
// run).
#pragma once
#include <windows.h>

#include "ini/settings_rules.h"
#include "launch/activation_rules.h"

// Whether the panel is shown: hidden when the bar is created and by every
// reload, changed only by the toggle.
struct SystemPanelState {
    bool shown = false;
};

// A click on the panel's cell of `action` (PanelActionIndex: blank cells are negative). The
// run action offers and keeps the commands of `history`, then posts 504 to leave the panel.
void RunPanelAction(HWND bar, const BarSettings &settings, int action, RunHistory *history);
