// The Program Definition dialog: registers, edits or removes one slot's program.
#pragma once
#include <windows.h>

// Runs the dialog modally for `slotNumber`, whose face is `slotButton`, owned
// by `owner` (the bar for a click on an empty slot, the slot button for a
// right click). Returns the id of the button that closed it.
INT_PTR OpenProgramDefinition(HWND owner, int slotNumber, HWND slotButton);
