// Pages, pinning and slot rearrangement: the control buttons' commands and
// the right clicks on slots and page arrows.
#pragma once
#include <windows.h>

#include "bar/bar_state.h"
#include "bar/page_rules.h"

// 501, 502 and 503 clicked.
void OnPageCommand(const BarView &v, int id);
// A right click on slot button `button`, or the menu key on it: the move mode's pick-up, swap
// or end (Shift), else the Program Definition dialog.
void MoveOrEditSlot(const BarView &v, HWND button, WPARAM keys);
// A right click on a page arrow opens the menu of all pages, at `point` of the button.
void OnPageMenu(const BarView &v, HWND button, LPARAM point);
// A page chosen from that menu (command 5120 + page).
void OnGotoPage(const BarView &v, int command);
