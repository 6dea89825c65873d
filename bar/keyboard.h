// The bar from the keyboard: while it is active the arrow keys move the focus over its
// buttons, Enter clicks, Shift+F10 or the menu key right-clicks, Esc leaves move mode. The
// focus mark shows only once a key has been used (the system's keyboard cues).
#pragma once
#include <windows.h>

#include "bar/bar_state.h"

// Called by the message loop for every message before it is dispatched: true when the
// message was a key the bar has answered.
bool HandleBarKey(const BarView &v, const MSG &msg);
// The focus on the first slot, with its mark shown: the bar brought forward by its hot key.
void FocusFirstSlot(const BarView &v);
// The dotted mark on a focused button while the cues are shown, once `keysUsed`;
// its inset depends on whether the button is wider than half of `cellSize`, scaled to `dpi`.
void DrawFocusMark(bool keysUsed, int cellSize, int dpi, const DRAWITEMSTRUCT &dis);
