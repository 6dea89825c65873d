// Libraries the bar loads itself rather than imports.
#pragma once
#include <windows.h>

#include <string>

// The library `fileName` of the system directory, and only from there, so
// that a file of that name beside the bar, in the current directory or on
// the path never runs inside it; nullptr, without an error box, when the
// system has none.
inline HMODULE LoadSystemLibrary(const char *fileName)
{
    std::string path(MAX_PATH, '\0');
    const UINT n = GetSystemDirectoryA(path.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    path.resize(n);
    path.append("\\").append(fileName);
    const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    const HMODULE library = LoadLibraryA(path.c_str());
    SetErrorMode(previous);
    return library;
}
