// The system's file chooser, reached through a library loaded when a
// chooser is first asked for rather than at start: importing it would load
// it and its printing libraries into every start of the bar, which under
// Wine costs more than the rest of the start together. The library stays
// loaded once in (the system frees it at exit), so nothing is kept here.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "app/system_library.h"

// GetOpenFileNameA; FALSE, as for a cancelled chooser, when the library or
// its entry cannot be found.
inline BOOL OpenFileDialog(OPENFILENAMEA &ofn)
{
    using Chooser = BOOL(WINAPI *)(OPENFILENAMEA *);
    const HMODULE library = LoadSystemLibrary("comdlg32.dll");
    const auto chooser =
        library ? reinterpret_cast<Chooser>(reinterpret_cast<void *>(GetProcAddress(library, "GetOpenFileNameA")))
                : nullptr;
    return chooser ? chooser(&ofn) : FALSE;
}
