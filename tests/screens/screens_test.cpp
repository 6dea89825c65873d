// The real TAV.EXE on two monitors: a primary 1024 x 768 whose bottom 40 pixels a taskbar keeps, and a second
// 640 x 480 to its right (the layout this program's Wine environment is started with).
#include "support/win_test.h"

using namespace tavtest;

namespace {

using Screens = BarTest;

// Whether `r` lies within `area`: adding it changes nothing.
bool Inside(RECT r, const RECT &area) { return UnionRect(&r, &r, &area) && EqualRect(&r, &area); }

TEST_F(Screens, DockedBarsKeepTheTaskbarFreeAndEveryBarItsMonitor)
{
    const RECT primaryWork{0, 0, 1024, 728}, second{1024, 0, 1664, 480};
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) && EqualRect(&work, &primaryWork))
        << "the environment has no taskbar edge";
    // Lower right of the primary monitor: above the taskbar.
    ASSERT_TRUE(Start("[environment section]\r\nmode=4\r\nbuttons par page=5\r\n"));
    RECT r = WindowRectOf(bar);
    EXPECT_TRUE(r.right == 1024 && r.bottom == 728) << r.right << "," << r.bottom;
    // Floating again, through the Properties dialog: wholly on the screen.
    PostMessageA(bar, WM_COMMAND, 505, 0);
    HWND d = WaitForDialog(bar, 1013);
    ASSERT_TRUE(d);
    SendDlgItemMessageA(d, 1013, CB_SETCURSEL, 0, 0);
    ASSERT_TRUE(Dismiss(d, IDOK));
    EXPECT_TRUE(PumpUntil([&] { return GetWindowLongA(bar, GWL_STYLE) & WS_SYSMENU; })) << "floating";
    r = WindowRectOf(bar);
    EXPECT_TRUE(Inside(r, primaryWork)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_EQ(bar_->Close(), 0);

    // A bar on the second monitor docks in its corner there, and its tooltip stays there too.
    ASSERT_TRUE(Start("[environment section]\r\nposition=1400,100\r\nbuttons par page=5\r\n[program section]\r\n"
                      "profile004=x,0,,x.exe\r\nTitle004=A title long enough to pass the edge\r\n"));
    const HWND last = GetDlgItem(bar, 1004);
    ASSERT_TRUE(MouseOn(last));
    HWND tip = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        return (tip = FindWindowA("TAV!TIPS", nullptr)) && IsWindowVisible(tip) && WindowRectOf(tip).right > 1100;
    }));
    r = WindowRectOf(tip);
    EXPECT_TRUE(Inside(r, second)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    MouseOn(nullptr);
    WritePrivateProfileStringA("environment section", "mode", "4", "TAV.INI");
    SendMessageA(bar, WM_USER, 0, 0);
    r = WindowRectOf(bar);
    EXPECT_TRUE(r.right == second.right && r.bottom == second.bottom) << r.right << "," << r.bottom;
}

} // namespace
