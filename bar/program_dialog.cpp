#include "bar/program_dialog.h"

// Placeholder until the dialog lands: opens nothing.
INT_PTR OpenProgramDefinition(HWND, int, HWND) { return IDCANCEL; }
