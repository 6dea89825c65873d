// The screen scale: declared once at start-up, then read for each window.
// Every function here is looked up at run time, so the bar needs no manifest
// (the x86 build keeps its VirtualStore behaviour) and still starts on a
// system that has none of them.
#pragma once
#include <windows.h>

#include "winkit/dpi_rules.h"

// `name` of the system library `library`, or nullptr where the system has none.
FARPROC SystemProcAddress(const char *library, const char *name);
template <typename Proc>
Proc SystemProc(const char *library, const char *name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void *>(SystemProcAddress(library, name)));
}

// Per-monitor awareness (the second kind where the system has it), else system awareness:
// the bar draws every pixel itself instead of being stretched by the system.
void DeclareDpiAwareness();
// The DPI of the primary screen, which GetSystemMetrics answers for.
int SystemDpi();
int MonitorDpi(HMONITOR monitor);
// The DPI `window` is laid out at: its monitor's.
int WindowDpi(HWND window);
// A system metric as it is on a screen of `dpi`.
int MetricForDpi(int index, int dpi);
// `icon` centred in `r` of `window` at the size a 32-pixel icon has on the window's screen.
void DrawIconCentred(HWND window, HDC dc, const RECT &r, HICON icon);
