// The Execute Application dialog: starts a typed command and keeps the last
// five in the launcher's history.
#pragma once
#include <windows.h>

// Runs the dialog modally on `owner` in the bar's language. Always 1.
INT_PTR OpenRunDialog(HWND owner);
