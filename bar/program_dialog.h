// The Program Definition dialog: registers, edits or removes one slot's program.
#pragma once
#include <windows.h>

#include <string>

#include "bar/bar_state.h"
#include "bar/program_dialog_rules.h"
#include "winkit/gdi_holders.h"

// Runs the dialog modally for `slotNumber`, whose face is `slotButton`, owned
// by `owner` (the bar for a click on an empty slot, the slot button for a
// right click). Returns the id of the button that closed it: 1 OK, 2 Cancel
// (also Escape and Close), 3 Remove.
INT_PTR OpenProgramDefinition(const BarView &v, HWND owner, int slotNumber, HWND slotButton);

// The open dialog's state. The dialog is modal, so there is at most one: it
// lives in OpenProgramDefinition's frame from before the dialog is created
// until after it is destroyed; the dialog and its preview reach it through
// their window data.
struct ProgramDefinitionState {
    const BarView *bar = nullptr;  // the bar whose cell the dialog redraws
    int slotNumber = 0;
    HWND slotButton = nullptr;
    std::string storedValue, storedTitle;  // the slot's keys, read whole before the dialog opens
    IconRange icons;               // the icon index and the highest the file offers
    OwnedIcon previewIcon;         // what the preview shows; none: the default program icon
    WNDPROC previewFrameProc = nullptr;  // the preview static's own procedure, which draws its frame
};
