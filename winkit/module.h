// The module every resource of the bar is loaded from.
#pragma once
#include <windows.h>

// The program's own file: TAV.EXE, or a test program that links the same
// resources. Never a library, so it needs no handle kept from start-up.
inline HINSTANCE ResourceModule() { return GetModuleHandleA(nullptr); }
