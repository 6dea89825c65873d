// The real TAV.EXE started, used and closed from another program: the
// single-instance rule, the change notices, the notification icon and its
// callback, saving at the end of a session. (Reloads: bar_robustness_test.)
#include "support/win_test.h"

#include <shellapi.h>

using namespace tavtest;

namespace {

class BarLifecycle : public BarTest {};

// Whether the shell knows the bar's icon: modifying (or deleting) an unknown one fails.
bool Icon(HWND bar, DWORD action = NIM_MODIFY)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = 0x600;
    return Shell_NotifyIconA(action, &nid) != FALSE;
}

TEST_F(BarLifecycle, StartsOnceWithItsIconAndClosesWithSaveThenEnd)
{
    WriteIni("-");
    bar_ = std::make_unique<BarProcess>(SW_SHOWMINIMIZED);  // a show command the bar does not follow
    HWND w = bar_->WaitForBar();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowVisible(w) && !IsIconic(w) && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW));
    EXPECT_TRUE(Icon(w));
    EXPECT_EQ(BarProcess().WaitExit(), 0) << "a second start leaves at once";
    // The icon's clicks bring the bar forward; its other events do nothing.
    HWND other =
        CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr, nullptr, nullptr, nullptr);
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        SetForegroundWindow(other);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));
        SendMessageA(w, 0x600, 0x600, WM_MOUSEMOVE);
        EXPECT_EQ(GetForegroundWindow(), other);
        SendMessageA(w, 0x600, 0x600, mouse);
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == w; }));
    }
    DestroyWindow(other);
    // The shell lost its icons (as when it restarts) and says so to every top-level window.
    ASSERT_TRUE(Icon(w, NIM_DELETE));
    SendMessageA(w, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Icon(w));
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0, 2}));
    EXPECT_FALSE(Icon(w)) << "the icon goes with the bar";
    EXPECT_EQ(IniValue("environment section", "buttons par page"), "5") << "saved at the end";
}

TEST_F(BarLifecycle, EndOfSessionSaves)
{
    // Seven buttons down a column: the count saved is the larger of columns and rows.
    HWND w = Start("[environment section]\r\nmode=34816\r\nposition=40,60\r\nbuttons par page=7\r\nstartup page=2\r\n"
                   "maximum pages=3\r\nJapan=1\r\n");
    ASSERT_NE(w, nullptr);
    WriteIni("[environment section]\r\n");  // what the bar must write
    EXPECT_EQ(SendMessageA(w, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0}));
    EXPECT_EQ(IniValue("environment section", "mode") + IniValue("environment section", "position") +
                  IniValue("environment section", "buttons par page") + IniValue("environment section", "startup page"),
              "3481640,6072");
}

} // namespace
