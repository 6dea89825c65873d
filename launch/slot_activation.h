// Starting a slot's program by a click, handing dropped files to it or
// registering a dropped file on an empty slot.
#pragma once
#include <windows.h>
#include <shellapi.h>


#include <memory>

#include "launch/activation_rules.h"

// The launcher's state: the Execute Application dialog's history, made when
// the bar is created (CreateRunHistory), kept by reloads, released at
// teardown; and the time of the last start from a slot.
struct LauncherState {
    std::unique_ptr<RunHistory> runHistory;  // none outside the bar's life
    DWORD lastLaunchTick = 0xFFFFFFFF;       // nothing started yet; set again when the bar is created
};

// A click on slot button `id` (1000 + position); `button` is its window.
void OnSlotCommand(HWND bar, int id, HWND button);
// Files dropped on a slot button: the same in every state of the bar.
// Releases the drop and answers 0.
LRESULT OnFilesDropped(HWND button, HDROP drop);

void CreateRunHistory();
void FreeRunHistory();
