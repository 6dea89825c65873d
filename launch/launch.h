// Starting a process for a program or a document.
#pragma once
#include <windows.h>

// Asks the shell for the executable associated with `file`, builds the
// command line (the executable and the arguments for a program, the
// executable and the file for a document) and creates the process in
// `directory` (nullptr: the bar's own) with `showMode` and `title`
// (nullptr: none). A shortcut (.lnk) starts its target instead. Returns 0
// when nothing was started, GetLastError then telling why, otherwise a
// value of at least 32. Does not wait for the process.
UINT_PTR LaunchProgram(const char *file, const char *arguments, const char *directory, WORD showMode,
                       const char *title);
