// Helpers for the caption frame's Windows tests: a frame window that logs
// its messages, a memory canvas to paint into, pictures compared pixel by
// pixel, and real mouse input through xdotool.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "caption/caption_frame.h"
#include "caption/caption_paint.h"
#include "support/bar_driver.h"
#include "support/pixels.h"
#include "support/win_test.h"
#include "win/caption_pictures.h"

namespace captiontest {

struct LoggedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a test window saw, and what the test wants done inside modal loops.
struct FrameLog {
    std::vector<LoggedMessage> messages;
    std::atomic<int> nclButtonDownsDone{0};  // WM_NCLBUTTONDOWN handled to the end (read by other threads)
    bool propertiesAfterNcDestroy = false;
    bool cancelSizeMove = true;  // leave a move or size loop at once
    // Called on WM_ENTERIDLE, that is inside an open popup menu. By default
    // the menu is closed at once, so no test can hang in it.
    std::function<void(HWND)> onMenuIdle = [](HWND) { EndMenu(); };

    int Count(UINT message) const
    {
        int n = 0;
        for (const auto &m : messages)
            n += m.message == message;
        return n;
    }
    const LoggedMessage *Last(UINT message) const
    {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }
};

struct PropSearch {
    const char *name;
    bool found;
};

inline BOOL CALLBACK FindProp(HWND, LPSTR key, HANDLE, ULONG_PTR data)
{
    auto *s = reinterpret_cast<PropSearch *>(data);
    if (!IS_INTRESOURCE(key) && lstrcmpA(key, s->name) == 0)
        s->found = true;
    return TRUE;
}

// Whether the window has the property at all (a value of 0 included).
inline bool HasProp(HWND window, const char *name)
{
    PropSearch search{name, false};
    EnumPropsExA(window, FindProp, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline const char kFrameClass[] = "CaptionTestFrame";

// A popup left open for a real click to close gets closed by this timer
// when that click never comes.
inline const UINT_PTR kMenuSafetyTimer = 0xCA97;

inline LRESULT CALLBACK LoggingFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *log = reinterpret_cast<FrameLog *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (log) {
        log->messages.push_back({message, wParam, lParam});
        if (message == WM_ENTERIDLE && log->onMenuIdle)
            log->onMenuIdle(window);
    }
    if (message == WM_TIMER && wParam == kMenuSafetyTimer) {
        KillTimer(window, kMenuSafetyTimer);
        EndMenu();
        return 0;
    }
    if (message == WM_ENTERSIZEMOVE && log && log->cancelSizeMove) {
        // A move or size loop has started: leave it at once, as Escape does.
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    const LRESULT result = SmallCaptionFrame(window, message, wParam, lParam);
    if (log && message == WM_NCLBUTTONDOWN)
        ++log->nclButtonDownsDone;
    if (log && message == WM_NCDESTROY)
        log->propertiesAfterNcDestroy = HasProp(window, "ibSize") || HasProp(window, "ibFlag");
    return result;
}

inline void RegisterFrameClass()
{
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kFrameClass, &wc))
        return;
    wc.lpfnWndProc = LoggingFrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
}

// A top-level frame window, destroyed with the holder.
class Frame {
public:
    Frame(DWORD style, int x, int y, int width, int height, const char *title = "")
    {
        RegisterFrameClass();
        hwnd_ = CreateWindowExA(0, kFrameClass, title, style, x, y, width, height, nullptr, nullptr,
                                GetModuleHandleA(nullptr), &log_);
    }
    ~Frame()
    {
        if (IsWindow(hwnd_)) {
            SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
            DestroyWindow(hwnd_);
        }
    }
    Frame(const Frame &) = delete;
    Frame &operator=(const Frame &) = delete;

    HWND hwnd() const { return hwnd_; }
    FrameLog &log() { return log_; }
    DWORD style() const { return static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)); }
    // Shown and active, with every pending message handled.
    void ShowActive()
    {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        tavtest::PumpUntil([this] { return GetForegroundWindow() == hwnd_; }, 3000);
        tavtest::PumpFor(50);
    }
    RECT windowRect() const
    {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }

private:
    FrameLog log_;
    HWND hwnd_ = nullptr;
};

inline const DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
inline const DWORD kAllBoxes = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// A screen point and the centre of a screen rectangle.
inline POINT Centre(const RECT &r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

using Canvas = tavtest::MemoryCanvas;
constexpr COLORREF kUntouched = tavtest::kUnpainted;

// The colour each picture character stands for.
inline COLORREF LegendColor(char c)
{
    switch (c) {
    case 'F': return GetSysColor(COLOR_WINDOWFRAME);
    case 'g': return RGB(0xC0, 0xC0, 0xC0);
    case 'd': return RGB(0x80, 0x80, 0x80);
    case 'k': return RGB(0, 0, 0);
    case 'w': return RGB(0xFF, 0xFF, 0xFF);
    case 'G': return RGB(0x3F, 0x3F, 0x3F);
    case 'D': return RGB(0x7F, 0x7F, 0x7F);
    case 'A': return GetSysColor(COLOR_ACTIVECAPTION);
    case 'I': return GetSysColor(COLOR_INACTIVECAPTION);
    default: return kUntouched;
    }
}

inline char LegendChar(COLORREF c, const std::string &candidates)
{
    for (char k : candidates)
        if (LegendColor(k) == c)
            return k;
    return '?';
}

// Compares every pixel of a picture whose box starts at (boxX, boxY); the
// answer is empty when they match, else the canvas as characters.
inline std::string PictureDiff(const Canvas &canvas, const BoxPicture &p, int boxX, int boxY)
{
    bool bad = false;
    std::string drawn;
    for (size_t y = 0; y < p.rows.size(); ++y) {
        for (size_t x = 0; x < p.rows[y].size(); ++x) {
            const char want = p.rows[y][x];
            const COLORREF got = canvas.At(boxX + p.x0 + static_cast<int>(x), boxY + p.y0 + static_cast<int>(y));
            if (want != '.' && got != LegendColor(want))
                bad = true;
            drawn += want == '.' ? '.' : LegendChar(got, "FgdkwGDAI");
        }
        drawn += '\n';
    }
    return bad ? drawn : std::string();
}

// The caption rectangle of a window in window coordinates.
inline RECT CaptionInWindow(HWND window)
{
    RECT caption{}, frame{};
    GetCaptionRect(window, &caption);
    GetWindowRect(window, &frame);
    OffsetRect(&caption, -frame.left, -frame.top);
    return caption;
}

inline RECT InWindow(HWND window, RECT screen)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    OffsetRect(&screen, -frame.left, -frame.top);
    return screen;
}

// Paints the window's caption the way WM_NCPAINT does, into the canvas.
inline BOOL PaintCaption(const Canvas &canvas, HWND window, BOOL active)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const RECT caption = CaptionInWindow(window);
    return DrawCaption(canvas.dc(), window, &caption, (style & CaptionStyleVertical) != 0, (style & WS_SYSMENU) != 0,
                       (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0, active);
}

// A pixel of the window as it shows on the screen (window coordinates).
inline COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

inline void SetIbSize(HWND window, int ibSize)
{
    SetPropA(window, "ibSize", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(ibSize)));
}

inline INT_PTR Prop(HWND window, const char *name)
{
    return reinterpret_cast<INT_PTR>(GetPropA(window, name));
}

// The real mouse on the test display (screen coordinates).
using tavtest::Xdotool;

// For a thread other than the window's: polls state that the window's
// thread changes (pixels, positions, its input state) until pred() holds.
inline bool WaitFor(const std::function<bool()> &pred, DWORD ms = 3000)
{
    const DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(5);
    }
    return true;
}

inline std::string At(POINT p)
{
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

} // namespace captiontest
