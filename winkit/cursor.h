// Where the mouse is, as the window system sees it.
#pragma once
#include <windows.h>

// The window under the mouse pointer now (a child window, where there is one).
inline HWND WindowUnderCursor()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor);
}
