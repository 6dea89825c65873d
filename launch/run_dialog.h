// The Execute Application dialog: starts a typed command and keeps the last
// five in the launcher's history.
#pragma once
#include <windows.h>

// Control ids of templates 109 (English) and 111 (Japanese).
enum RunDialogControl : int {
    IdRunBrowse = 1001,
    IdRunCommand = 1004,  // drop-down combo box: the text and the history
    IdRunMinimized = 1005,
};

// Runs the dialog modally on `owner` in the bar's language. Always 1.
INT_PTR OpenRunDialog(HWND owner);
