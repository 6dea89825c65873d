#include "winkit/dpi.h"

#include "winkit/system_library.h"

FARPROC SystemProcAddress(const char *library, const char *name)
{
    HMODULE module = GetModuleHandleA(library);
    if (!module)
        module = LoadSystemLibrary(library);  // kept for the process: the look-ups come back to it
    return module ? GetProcAddress(module, name) : nullptr;
}

void DeclareDpiAwareness()
{
    if (const auto context = SystemProc<BOOL(WINAPI *)(HANDLE)>("user32.dll", "SetProcessDpiAwarenessContext"))
        if (context(reinterpret_cast<HANDLE>(-4)) || context(reinterpret_cast<HANDLE>(-3)))  // v2, v1
            return;
    if (const auto process = SystemProc<HRESULT(WINAPI *)(int)>("shcore.dll", "SetProcessDpiAwareness"))
        if (SUCCEEDED(process(2)))  // per monitor
            return;
    if (const auto system = SystemProc<BOOL(WINAPI *)()>("user32.dll", "SetProcessDPIAware"))
        system();
}

int SystemDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int MonitorDpi(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    if (const auto get = SystemProc<HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *)>("shcore.dll", "GetDpiForMonitor"))
        if (SUCCEEDED(get(monitor, 0, &x, &y)) && y > 0)  // the effective DPI
            return static_cast<int>(y);
    return SystemDpi();
}

int WindowDpi(HWND window)
{
    if (const auto get = SystemProc<UINT(WINAPI *)(HWND)>("user32.dll", "GetDpiForWindow"))
        if (const UINT dpi = get(window))
            return static_cast<int>(dpi);
    return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

int MetricForDpi(int index, int dpi)
{
    if (const auto get = SystemProc<int(WINAPI *)(int, UINT)>("user32.dll", "GetSystemMetricsForDpi"))
        return get(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void DrawIconCentred(HWND window, HDC dc, const RECT &r, HICON icon)
{
    const int size = ScaleToDpi(32, WindowDpi(window));
    DrawIconEx(dc, r.right / 2 - size / 2, r.bottom / 2 - size / 2, icon, size, size, 0, nullptr, DI_NORMAL);
}
