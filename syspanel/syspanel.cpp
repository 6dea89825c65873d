#include "syspanel/syspanel.h"

// The panel is still to come; the toggle leaves the slots as they are.
void OnSystemPanelToggle(HWND) {}
