// Another program paints a caption on a window of its own through TAV.EXE's
// exported painter, and gets the same pixels as the frame draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "caption/caption_frame.h"
#include "support/pe_image.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

LRESULT CALLBACK FramedProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    return SmallCaptionFrame(h, m, w, l);
}

// The whole window's pixels after `paint` drew into a memory copy of it.
template <typename Paint>
std::vector<DWORD> Pixels(HWND window, Paint paint)
{
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    PatBlt(dc, 0, 0, w, h, WHITENESS);
    paint(dc);
    GdiFlush();
    std::vector<DWORD> out(static_cast<const DWORD *>(bits), static_cast<const DWORD *>(bits) + w * h);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

TEST(DrawCaptionExport, TavExePaintsTheSameCaption)
{
    std::string why;
    HMODULE tav = LoadProgramBound(ProgramDir() + "\\TAV.EXE", &why);
    ASSERT_NE(tav, nullptr) << why;
    auto byDecorated = reinterpret_cast<DrawCaptionProc>(GetProcAddress(tav, "_DrawCaption@32"));
    auto byName = reinterpret_cast<DrawCaptionProc>(GetProcAddress(tav, "DrawCaption"));
    ASSERT_NE(byDecorated, nullptr);
    ASSERT_NE(byName, nullptr);

    WNDCLASSA wc{};
    wc.lpfnWndProc = FramedProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TavExportTestFrame";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    RegisterClassA(&wc);

    struct Case {
        DWORD style;
        BOOL active;
    } cases[] = {
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | 0x4000, TRUE},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | 0x4000, FALSE},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | 0x8000, TRUE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        HWND window = CreateWindowExA(0, wc.lpszClassName, "Caption title", c.style, 100, 100, 240, 60, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        RECT caption{}, win{};
        ASSERT_TRUE(GetCaptionRect(window, &caption));
        GetWindowRect(window, &win);
        OffsetRect(&caption, -win.left, -win.top);
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        const BOOL vertical = (style & 0x8000) != 0, sys = (style & WS_SYSMENU) != 0,
                   min = (style & WS_MINIMIZEBOX) != 0, max = (style & WS_MAXIMIZEBOX) != 0;

        const auto own = Pixels(window, [&](HDC dc) { DrawCaption(dc, window, &caption, vertical, sys, min, max, c.active); });
        const auto viaDecorated =
            Pixels(window, [&](HDC dc) { byDecorated(dc, window, &caption, vertical, sys, min, max, c.active); });
        const auto viaName =
            Pixels(window, [&](HDC dc) { byName(dc, window, &caption, vertical, sys, min, max, c.active); });
        // Something was painted, and the same everywhere.
        EXPECT_NE(std::count(own.begin(), own.end(), own[0]), static_cast<long>(own.size()));
        EXPECT_TRUE(own == viaDecorated);
        EXPECT_TRUE(own == viaName);
        DestroyWindow(window);
    }
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

} // namespace
