// Starting a slot's program by a click, handing dropped files to it or
// registering a dropped file on an empty slot.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "app/app_state.h"

// A click on slot button `id` (1000 + position); `button` is its window.
void OnSlotCommand(HWND bar, int id, HWND button);
// Files dropped on a slot button: the same in every state of the bar.
// Releases the drop and answers 0.
LRESULT OnFilesDropped(HWND button, HDROP drop);

void CreateRunHistory();
void FreeRunHistory();
