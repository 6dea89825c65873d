// The real TAV.EXE started, used and closed from another program: the
// single-instance rule, the change notices, the notification icon and its
// callback, saving at the end of a session, reloading on request, surviving
// a hand-edited file, and its border under the real mouse.
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
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr, nullptr, nullptr, nullptr);
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        SetForegroundWindow(other);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));
        for (LPARAM ignored : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK})
            SendMessageA(w, 0x600, 0x600, ignored);
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

TEST_F(BarLifecycle, EndOfSessionSavesAndReloadRebuilds)
{
    HWND w = Start("[environment section]\r\nmode=2048\r\nposition=40,60\r\nbuttons par page=7\r\nstartup page=2\r\n"
                   "maximum pages=3\r\nJapan=1\r\n");
    ASSERT_NE(w, nullptr);
    WriteIni("[environment section]\r\n");  // what the bar must write
    EXPECT_EQ(SendMessageA(w, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0}));
    EXPECT_EQ(IniValue("environment section", "mode") + IniValue("environment section", "position") +
                  IniValue("environment section", "buttons par page") + IniValue("environment section", "startup page"),
              "204840,6072");
    // Another program changes the count, the page and the corner, then asks for a reload: the
    // page stays; the corner takes the caption away, and clearing it brings the caption back.
    for (const char *mode : {"3", "0"}) {
        WriteIni(std::string("[environment section]\r\nbuttons par page=8\r\nstartup page=1\r\nmaximum pages=3\r\nposition=30,40\r\nmode=") + mode);
        EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
        EXPECT_TRUE(GetDlgItem(w, 1007) && !GetDlgItem(w, 1008)) << "eight slots";
        const RECT r = WindowRectOf(w);
        EXPECT_EQ(std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
                      std::to_string(r.bottom - r.top),
                  *mode == '3' ? "655,0 369x46" : "30,40 369x56");
        EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & (WS_SYSMENU | WS_DLGFRAME | 0x4000 | WS_BORDER),
                  *mode == '3' ? WS_BORDER : WS_SYSMENU | 0x4000 | WS_BORDER);
    }
    SendMessageA(w, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(IniValue("environment section", "startup page"), "2");
}

TEST_F(BarLifecycle, HandEditedFileStartsAWorkingBar)
{
    // Each key as far out as a hand edit can take it (the rules are pinned on the host and under Wine).
    const std::string big(3000, '9');
    HWND w = Start("[environment section]\r\nbuttons par page=-5\r\nmaximum pages=99\r\nstartup page=77\r\n"
                   "position=" + big + "\r\nmode=4294967295\r\nJapan=maybe\r\n[program section]\r\nprofile000=" + big +
                   "\r\nTitle000=" + big + "\r\nprofile001=x\r\nprofile002=,,,\r\nprofile003=\r\nno equals sign\r\n");
    ASSERT_NE(w, nullptr) << "the bar did not start";
    EXPECT_TRUE(IsWindowVisible(w) && GetDlgItem(w, 1000));
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
    EXPECT_EQ(bar_->Close(), 0);
}

// Drags the border from `from` to `to`, each step once the bar's sizing loop
// has taken the one before; true once the loop has ended.
bool Drag(HWND w, POINT from, POINT to)
{
    const auto at = [](int x, int y) { return "mousemove --sync " + std::to_string(x) + " " + std::to_string(y); };
    return Xdotool(at(from.x, from.y) + " mousedown 1") && PumpUntil([&] { return InMoveSize(w); }) &&
           Xdotool(at((from.x + to.x) / 2, (from.y + to.y) / 2)) && Xdotool(at(to.x, to.y) + " mouseup 1") &&
           PumpUntil([&] { return !InMoveSize(w); });
}

TEST_F(BarLifecycle, DraggingTheBorderSnapsToWholeSlotsFromFiveToTwenty)
{
    HWND w = Start("[environment section]\r\nposition=100,200\r\n");
    ASSERT_NE(w, nullptr);
    const struct {
        int from, to;  // x along the middle of the bar
        const char *slots;
    } drags[] = {{353, 449, "7"}, {429, 1020, "19 or 20"}, {-2, 23, "5"}};  // -2: the right border as it is
    for (const auto &d : drags) {
        const int from = d.from < 0 ? WindowRectOf(w).right + d.from : d.from;
        ASSERT_TRUE(Drag(w, {from, 228}, {d.to, 228}));
        const int n = (WindowRectOf(w).right - WindowRectOf(w).left - 255) / 38 + 5;
        EXPECT_NE(std::string(d.slots).find(std::to_string(n)), std::string::npos) << d.to;
        EXPECT_TRUE(PumpUntil([&] { return GetDlgItem(w, 999 + n) && !GetDlgItem(w, 1000 + n); })) << n << " slots";
        EXPECT_EQ((WindowRectOf(w).right - WindowRectOf(w).left - 255) % 38, 0);
    }
    for (int x : {150, 250})  // across the bar it stays one cell thick (two places: no double click)
        ASSERT_TRUE(Drag(w, {x, 254}, {x, x == 150 ? 354 : 224}));
    EXPECT_EQ(WindowRectOf(w).bottom - WindowRectOf(w).top, 56);
}

} // namespace
