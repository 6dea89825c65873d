// Pages, pinning and slot rearrangement: the control buttons' commands and
// the right clicks on slots and page arrows.
#pragma once
#include <windows.h>

#include "bar/page_rules.h"

// 501, 502 and 503 clicked.
void OnPageCommand(HWND bar, int id);
// A right click on a slot button (Shift: pick up / swap); answers 0.
LRESULT OnSlotRightClick(HWND button, WPARAM keys, LPARAM point);
// A right click on a page arrow opens the menu of all pages; answers 0.
LRESULT OnPageMenu(HWND button, WPARAM keys, LPARAM point);
// A page chosen from that menu (command 5120 + page); answers 0.
LRESULT OnGotoPage(HWND button, int command);
