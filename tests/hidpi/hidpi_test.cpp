// The real TAV.EXE on a screen at 150 % (the LogPixels of this program's Wine environment).
#include "support/win_test.h"

#include "caption/caption_geometry_rules.h"
#include "ini/settings_rules.h"
#include "winkit/dpi.h"

using namespace tavtest;

namespace {

using HiDpi = BarTest;

// An icon file of a red 32-pixel image, a blue 48-pixel one and a green 96-pixel one.
void WriteThreeSizeIcon(const std::string &path)
{
    std::string head("\0\0\1\0\3\0", 6), images;
    for (const auto &[n, bgra] : {std::pair{32, 0xFFFF0000u}, std::pair{48, 0xFF0000FFu}, std::pair{96, 0xFF00FF00u}}) {
        const BITMAPINFOHEADER h{sizeof h, n, 2 * n, 1, 32};
        std::string data(reinterpret_cast<const char *>(&h), sizeof h);
        for (int i = 0; i < n * n; ++i)
            data.append(reinterpret_cast<const char *>(&bgra), 4);
        data.append(static_cast<std::size_t>(n / 8 * n), '\0');  // the mask: every pixel shown
        const struct { BYTE w, h, colours, reserved; WORD planes, bits; DWORD size, offset; } entry{
            BYTE(n), BYTE(n), 0, 0, 1, 32, DWORD(data.size()), DWORD(6 + 3 * 16 + images.size())};
        head.append(reinterpret_cast<const char *>(&entry), sizeof entry);
        images += data;
    }
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, (head + images).data(), DWORD(head.size() + images.size()), &written, nullptr);
    CloseHandle(f);
}

Extent SizeOf(HWND window)
{
    const RECT r = WindowRectOf(window);
    return {r.right - r.left, r.bottom - r.top};
}

TEST_F(HiDpi, TheBarIsLaidOutAtItsScreensScaleAndAgainAtANewOne)
{
    DeclareDpiAwareness();  // this program reads the screen as the bar does
    const int dpi = SystemDpi();
    ASSERT_EQ(dpi, 144) << "the environment is not at 150 %";
    const std::string icon = TempDir() + "\\tav_sizes.ico";
    WriteThreeSizeIcon(icon);
    HWND bar = Start("[environment section]\r\nposition=100,100\r\nbuttons par page=5\r\n"
                     "[program section]\r\nprofile000=" + icon + ",0,,probe.exe\r\n");
    ASSERT_TRUE(bar);
    // The cell, the control buttons and the caption at the scale; the icon the file's
    // 48-pixel image, whole between the face's bevels.
    const int s = ScaleCellToDpi(kLargeCell, dpi);
    EXPECT_EQ(SizeOf(GetDlgItem(bar, 505)), (Extent{s / 2, s}));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(bar, "ibSize")), IbSizeForDpi(MetricForDpi(SM_CYCAPTION, 96), dpi));
    EXPECT_TRUE(Shows(GetDlgItem(bar, 1000), "face blue 48"));

    // Moved to a screen at 200 %: where the system suggests, in cells of that scale.
    const RECT suggested{200, 150, 900, 300};
    void *remote = VirtualAllocEx(bar_->Process(), nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(remote && WriteProcessMemory(bar_->Process(), remote, &suggested, sizeof suggested, nullptr));
    SendMessageA(bar, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(remote));
    const RECT r = WindowRectOf(bar);
    EXPECT_EQ((Point{r.left, r.top}), (Point{200, 150}));
    EXPECT_EQ(SizeOf(GetDlgItem(bar, 1000)), (Extent{76, 76}));
    // Its 64-pixel icon: the file's 96-pixel image reduced, not its 48 one stretched.
    const RECT slot = WindowRectOf(GetDlgItem(bar, 1000));
    const HDC screen = GetDC(nullptr);
    EXPECT_TRUE(PumpUntil([&] { return GetPixel(screen, slot.left + 38, slot.top + 38) == RGB(0, 255, 0); }));
    ReleaseDC(nullptr, screen);
    DeleteFileA(icon.c_str());
    // The place stays in the screen's own pixels.
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(IniValue("environment section", "position"), "200,150");
}

} // namespace
