// The system's file chooser, reached through a library loaded when a
// chooser is first asked for rather than at start: importing it would load
// it and its printing libraries into every start of the bar, which under
// Wine costs more than the rest of the start together. The library stays
// loaded once in (the system frees it at exit), so nothing is kept here.
#pragma once
#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameA; FALSE, as for a cancelled chooser, when the library or
// its entry cannot be found.
inline BOOL OpenFileDialog(OPENFILENAMEA &ofn)
{
    using Chooser = BOOL(WINAPI *)(OPENFILENAMEA *);
    char path[MAX_PATH + 16] = {};
    // From the system directory alone, so that no file of that name beside the
    // bar or on the path is loaded instead.
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return FALSE;
    lstrcatA(path, "\\comdlg32.dll");
    const HMODULE library = LoadLibraryA(path);
    const auto chooser =
        library ? reinterpret_cast<Chooser>(reinterpret_cast<void *>(GetProcAddress(library, "GetOpenFileNameA")))
                : nullptr;
    return chooser ? chooser(&ofn) : FALSE;
}
