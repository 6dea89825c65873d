// The real TAV.EXE on a screen at 150 % (the LogPixels this program's Wine
// environment is started with): its sizes are the scaled ones, its icons come
// from the file's image of their size, and it lays itself out again when the
// system tells it the scale has changed.
#include "support/win_test.h"

#include "caption/caption_geometry.h"
#include "ini/settings_rules.h"
#include "winkit/dpi.h"

using namespace tavtest;

namespace {

using HiDpi = BarTest;

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGrey = RGB(192, 192, 192);

// An icon file with a red 32-pixel image and a blue 48-pixel one.
void WriteTwoSizeIcon(const std::string &path)
{
    std::string file(6, '\0');
    file[2] = 1, file[4] = 2;
    std::string images;
    const struct { int size; COLORREF colour; } kImages[] = {{32, kRed}, {48, kBlue}};
    for (const auto &image : kImages) {
        const int n = image.size;
        BITMAPINFOHEADER h{sizeof h, n, 2 * n, 1, 32};
        std::string data(reinterpret_cast<const char *>(&h), sizeof h);
        const DWORD bgra = 0xFF000000 | GetRValue(image.colour) << 16 | GetGValue(image.colour) << 8 | GetBValue(image.colour);
        for (int i = 0; i < n * n; ++i)
            data.append(reinterpret_cast<const char *>(&bgra), 4);
        data.append(static_cast<std::size_t>((n + 31) / 32 * 4 * n), '\0');  // the mask: all shown
        const struct { BYTE w, h, colours, reserved; WORD planes, bits; DWORD size, offset; } entry{
            static_cast<BYTE>(n), static_cast<BYTE>(n), 0, 0, 1, 32, static_cast<DWORD>(data.size()),
            static_cast<DWORD>(6 + 16 * std::size(kImages) + images.size())};
        file.append(reinterpret_cast<const char *>(&entry), sizeof entry);
        images += data;
    }
    file += images;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(f);
}

Extent ClientOf(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// What the raised face of `button` shows along its middle row, from its left edge: the colours
// it changes to and where.
std::string RowOf(HWND button)
{
    const RECT b = WindowRectOf(button);
    MemoryCanvas canvas(b.right - b.left, b.bottom - b.top);
    const HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, canvas.width, canvas.height, screen, b.left, b.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    std::string row;
    COLORREF last = CLR_INVALID;
    for (int x = 0; x < canvas.width; ++x) {
        const COLORREF c = canvas.At(x, canvas.height / 2);
        if (c == last)
            continue;
        last = c;
        const char *name = c == kRed ? "red" : c == kBlue ? "blue" : c == kGrey ? "grey" : c == 0 ? "black"
                           : c == RGB(255, 255, 255) ? "white" : c == RGB(128, 128, 128) ? "dark" : "other";
        row += std::to_string(x) + name + " ";
    }
    return row;
}

TEST_F(HiDpi, TheBarIsLaidOutAtItsScreensScaleAndAgainAtANewOne)
{
    DeclareDpiAwareness();  // this program reads the screen as the bar does
    const int dpi = SystemDpi();
    ASSERT_EQ(dpi, 144) << "the environment is not at 150 %";
    const std::string icon = TempDir() + "\\tav_sizes.ico";
    WriteTwoSizeIcon(icon);
    HWND bar = Start("[environment section]\r\nposition=100,100\r\nbuttons par page=5\r\n"
                     "[program section]\r\nprofile000=" + icon + ",0,,probe.exe\r\n");
    ASSERT_TRUE(bar);
    // The cell, its control buttons and the caption at the scale, the icon the file's
    // 48-pixel image whole between the face's bevels.
    const int s = ScaleCellToDpi(kLargeCell, dpi);
    EXPECT_EQ(ClientOf(GetDlgItem(bar, 1000)), (Extent{s, s}));
    EXPECT_EQ(ClientOf(GetDlgItem(bar, 505)), (Extent{s / 2, s}));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(bar, "ibSize")), IbSizeForDpi(MetricForDpi(SM_CYCAPTION, kBaseDpi), dpi));
    EXPECT_EQ(RowOf(GetDlgItem(bar, 1000)), "0black 1white 2grey 5blue 53grey 55dark 57black ");
    DeleteFileA(icon.c_str());

    // Moved to a screen at 200 %: where the system suggests, in cells of that scale.
    const RECT suggested{200, 150, 900, 300};
    void *remote = VirtualAllocEx(bar_->Process(), nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(remote && WriteProcessMemory(bar_->Process(), remote, &suggested, sizeof suggested, nullptr));
    SendMessageA(bar, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(remote));
    const RECT r = WindowRectOf(bar);
    EXPECT_EQ((Point{r.left, r.top}), (Point{200, 150}));
    EXPECT_EQ(ClientOf(GetDlgItem(bar, 1000)), (Extent{76, 76}));
    EXPECT_EQ(ClientOf(GetDlgItem(bar, 501)), (Extent{38, 38}));
    // The place stays in the screen's own pixels.
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(IniValue("environment section", "position"), "200,150");
}

} // namespace
