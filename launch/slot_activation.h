// Starting a slot's program by a click, handing dropped files to it or
// registering a dropped file on an empty slot.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "ini/settings_rules.h"
#include "launch/activation_rules.h"

// The launcher's state: the Execute Application dialog's history, made when
// the bar is created, kept by reloads, released at
// teardown; and the time of the last start from a slot.
struct LauncherState {
    std::unique_ptr<RunHistory> runHistory;  // none outside the bar's life
    DWORD lastLaunchTick = 0xFFFFFFFF;       // nothing started yet; set again when the bar is created
};

// A click on registered slot `slot`: its program started in its directory, with its title
// and show mode; a start too soon after the last one, or a failed one, told (in `language`). Empty: the slot
// has no program, and nothing was done.
enum class SlotStart { Started, NotStarted, Empty };
SlotStart StartSlotProgram(HWND bar, LauncherState &launcher, int slot, Language language);
// Files dropped on slot `slot`, whose button is `button`: the same in every state of the bar.
// A registered slot starts its program once for each file; one file on an empty slot is
// registered there, and its path returned (the caller redraws the cell and announces the
// change). A batch that lets the bar answer messages stops once `closing` turns true.
// Releases the drop.
std::optional<std::string> OnFilesDropped(HWND button, int slot, HDROP drop, const bool &closing, Language language);
