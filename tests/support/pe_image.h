// Maps another program's image into this process so its exports can be
// called: the loader maps an .exe loaded as a library without binding its
// imports, so they are bound here, as the loader does for a DLL.
#pragma once
#include <windows.h>

#include <string>

// Loads `path` and fills its import address table. Returns nullptr (and a
// reason in *why) when the image cannot be mapped or an import is missing.
HMODULE LoadProgramBound(const std::string &path, std::string *why);
