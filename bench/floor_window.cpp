// The floor of the start-up benchmark: the least a bar-like program does
// before it can be seen. It registers a class, creates and shows one window,
// broadcasts "TAV_MESSAGE" code 1 and then waits to be closed.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "TAV floor";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "floor", WS_POPUP | WS_CAPTION, 0, 0, 255, 56,
                             nullptr, nullptr, instance, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    SendMessageA(HWND_BROADCAST, RegisterWindowMessageA("TAV_MESSAGE"), 0, 1);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
