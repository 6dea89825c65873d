// Starting a slot's program by a click, handing dropped files to it, and the
// Execute Application dialog's history.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <array>

// A click on slot button `id` (1000 + position).
void OnSlotCommand(HWND bar, int id, HWND button);
// Files dropped on a slot button; always answers 0.
LRESULT OnFilesDropped(HWND button, HDROP drop);

// The Execute Application dialog's five last commands, 128 bytes each.
struct RunHistory {
    std::array<std::array<char, 128>, 5> entries{};
};
void CreateRunHistory();
void FreeRunHistory();
