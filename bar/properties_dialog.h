// The Properties dialog: pages, corner, orientation, small buttons, tooltips
// off and the page buttons' side, applied to the bar at once on OK; and the
// about area with its animated clock.
#pragma once
#include <windows.h>

#include "app/app_state.h"

// Runs the dialog modally, owned by the bar, in the bar's language.
void OpenProperties(HWND bar);

INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
