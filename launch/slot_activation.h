// Starting a slot's program by a click, handing dropped files to it or
// registering a dropped file on an empty slot.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "launch/activation_rules.h"

// The launcher's process-wide state. Owned by the launcher; the history is
// created by the bar's WM_CREATE (CreateRunHistory) and released by its
// WM_DESTROY (FreeRunHistory); a reload keeps it. The time of the last start
// from a slot is gApp.lastLaunchTick, which the bar resets at creation.
struct LauncherState {
    std::unique_ptr<RunHistory> runHistory;  // none outside the bar's life
};
extern LauncherState gLauncher;

// A click on slot button `id` (1000 + position); `button` is its window.
void OnSlotCommand(HWND bar, int id, HWND button);
// Files dropped on a slot button: the same in every state of the bar.
// Releases the drop and answers 0.
LRESULT OnFilesDropped(HWND button, HDROP drop);

void CreateRunHistory();
void FreeRunHistory();
