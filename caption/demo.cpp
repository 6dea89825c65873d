// Frame windows in every form of the thin caption: horizontal and vertical,
// with and without each box, drawn active and inactive. Try the boxes, the
// system-menu popup (click or Alt+Space), moving and sizing. Closing the last
// window ends the program.
//
// The windows of the "active" rows keep an active-looking caption whatever
// the focus: they repaint it through the exported DrawCaption, as another
// program would.
#include <windows.h>

#include <cstdio>

#include "caption/caption_frame.h"
#include "caption/caption_gdi.h"

namespace {

const char kClassName[] = "TAVCaptionDemo";

struct DemoState {
    int openWindows = 0;
};

struct BoxSet {
    const char *name;
    DWORD style;
};

const BoxSet kBoxSets[] = {
    {"menu", WS_SYSMENU},
    {"menu min max", WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
    {"min max", WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
    {"menu max", WS_SYSMENU | WS_MAXIMIZEBOX},
    {"menu min", WS_SYSMENU | WS_MINIMIZEBOX},
    {"none", 0},
};

// GWLP_USERDATA bit: this window's caption always looks active.
constexpr LONG_PTR kAlwaysActive = 1;

bool AlwaysActive(HWND window)
{
    return (GetWindowLongPtrA(window, GWLP_USERDATA) & kAlwaysActive) != 0;
}

void RedrawActive(HWND window)
{
    RECT caption, frame;
    if (!GetCaptionRect(window, &caption))
        return;
    GetWindowRect(window, &frame);
    OffsetRect(&caption, -frame.left, -frame.top);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    WholeWindowDc dc(window);
    if (dc)
        DrawCaption(dc.get(), window, &caption, (style & CaptionStyleVertical) != 0, (style & WS_SYSMENU) != 0,
                    (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0, TRUE);
}

void PaintClient(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    char text[160];
    std::snprintf(text, sizeof text, "%s\n%s\n%s", title, (style & CaptionStyleVertical) ? "vertical" : "horizontal",
                  AlwaysActive(window) ? "drawn active" : "real state");
    RECT client;
    GetClientRect(window, &client);
    InflateRect(&client, -4, -2);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &client, DT_LEFT | DT_TOP | DT_WORDBREAK);
    EndPaint(window, &ps);
}

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
        auto *state = static_cast<DemoState *>(create->lpCreateParams);
        SetPropA(window, "demoState", state);
        ++state->openWindows;
        return 0;
    }
    case WM_NCACTIVATE:
        if (AlwaysActive(window))
            wParam = TRUE;
        break;
    case WM_NCPAINT: {
        const LRESULT result = SmallCaptionFrame(window, message, wParam, lParam);
        if (AlwaysActive(window) && GetActiveWindow() != window && !IsIconic(window))
            RedrawActive(window);
        return result;
    }
    case WM_PAINT:
        PaintClient(window);
        return 0;
    case WM_DESTROY: {
        auto *state = static_cast<DemoState *>(RemovePropA(window, "demoState"));
        if (state && --state->openWindows == 0)
            PostQuitMessage(0);
        return 0;
    }
    }
    return SmallCaptionFrame(window, message, wParam, lParam);
}

HWND OpenFrame(HINSTANCE instance, DemoState &state, const BoxSet &boxes, bool vertical, bool active, int x, int y,
               int width, int height)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_THICKFRAME | boxes.style |
                        (vertical ? CaptionStyleVertical : CaptionStyleHorizontal);
    HWND window = CreateWindowExA(0, kClassName, boxes.name, style, x, y, width, height, nullptr, nullptr, instance,
                                  &state);
    if (window && active)
        SetWindowLongPtrA(window, GWLP_USERDATA, kAlwaysActive);
    return window;
}

BOOL CALLBACK ShowDemoWindow(HWND window, LPARAM)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, kClassName) == 0)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc))
        return 1;

    DemoState state;
    // Rows: horizontal active, horizontal inactive, vertical active, vertical inactive.
    const int columnWidth = 166;
    int index = 0;
    for (const BoxSet &boxes : kBoxSets) {
        const int x = 8 + index * columnWidth;
        OpenFrame(instance, state, boxes, false, true, x, 10, 158, 72);
        OpenFrame(instance, state, boxes, false, false, x, 92, 158, 72);
        OpenFrame(instance, state, boxes, true, true, x, 180, 130, 150);
        OpenFrame(instance, state, boxes, true, false, x, 340, 130, 150);
        ++index;
    }
    // Show them only now, so the "active" rows are marked before they paint.
    EnumThreadWindows(GetCurrentThreadId(), ShowDemoWindow, 0);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
