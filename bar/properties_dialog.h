// The Properties dialog: pages, corner, orientation, small buttons, tooltips
// off and the page buttons' side, applied to the bar at once on OK; and the
// about area with its animated clock.
#pragma once
#include <windows.h>

// The dialog's process-wide state, owned by the dialog: reset when it opens.
struct PropertiesDialogState {
    int animationFrame = 0; // index into the icon cycle 110, 113, 116, 115, 114
};
extern PropertiesDialogState gPropertiesDialog;

// Runs the dialog modally, owned by the bar, in the bar's language.
void OpenProperties(HWND bar);

INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
