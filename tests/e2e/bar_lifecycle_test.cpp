// The real TAV.EXE started, used and closed from another program: the
// single-instance rule, the change notices, the tray callback, saving at the
// end of a session, reloading on request and surviving hand-edited files.
#include <gtest/gtest.h>

#include <string>

#include "support/bar_driver.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

constexpr UINT kTrayCallback = 0x600;

class BarLifecycle : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FindBar(), nullptr) << "a bar from an earlier test still runs"; }
    void TearDown() override { DeleteIni(); }
};

bool HasCaption(HWND bar)
{
    // The client area starts below the frame by the caption's thickness when there is one.
    const RECT w = WindowRectOf(bar), c = ClientRectOnScreen(bar);
    return c.top - w.top > GetSystemMetrics(SM_CYFRAME);
}

TEST_F(BarLifecycle, StartsOnceAnnouncesAndClosesWithSaveThenEnd)
{
    DeleteIni();
    NoticeRecorder notices;
    BarProcess first;
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(notices.WaitFor(1));
    HWND bar = FindBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);

    // A second start leaves at once with 0 and the first bar goes on unaffected.
    BarProcess second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitExit(), 0);
    EXPECT_EQ(FindBar(), bar);
    Settle();
    EXPECT_EQ(notices.Codes(), (std::vector<LPARAM>{1}));

    EXPECT_EQ(first.Close(), 0);
    EXPECT_EQ(notices.Codes(), (std::vector<LPARAM>{1, 0, 2}));
    EXPECT_EQ(FindBar(), nullptr);
    // The save at the end wrote the settings.
    EXPECT_EQ(IniValue("environment section", "buttons par page"), "5");
}

TEST_F(BarLifecycle, MinimizedShowCommandStillShowsTheBarNormally)
{
    DeleteIni();
    NoticeRecorder notices;
    BarProcess bar(SW_SHOWMINIMIZED);
    ASSERT_TRUE(notices.WaitFor(1));
    HWND w = FindBar();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_FALSE(IsIconic(w));
    const RECT r = WindowRectOf(w);
    EXPECT_EQ(r.right - r.left, 255);
}

TEST_F(BarLifecycle, TrayClicksBringTheBarForward)
{
    DeleteIni();
    NoticeRecorder notices;
    BarProcess bar;
    ASSERT_TRUE(notices.WaitFor(1));
    HWND w = FindBar();
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        // Something else comes forward first.
        HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr);
        SetForegroundWindow(other);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }, 3000));
        SendMessageA(w, kTrayCallback, 0x600, mouse);
        PumpUntil([&] { return GetForegroundWindow() == w; }, 3000);
        EXPECT_EQ(GetForegroundWindow(), w);
        DestroyWindow(other);
    }
    // Other mouse events on the icon do nothing, and no window (a menu) appears.
    const RECT before = WindowRectOf(w);
    for (LPARAM mouse : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK})
        SendMessageA(w, kTrayCallback, 0x600, mouse);
    const RECT after = WindowRectOf(w);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
    EXPECT_EQ(notices.Codes(), (std::vector<LPARAM>{1}));
}

TEST_F(BarLifecycle, EndOfSessionSavesTheSettings)
{
    WriteIni("[environment section]\r\nmode=2048\r\nposition=40,60\r\nbuttons par page=7\r\nstartup page=2\r\n"
             "maximum pages=3\r\n");
    NoticeRecorder notices;
    BarProcess bar;
    ASSERT_TRUE(notices.WaitFor(1));
    HWND w = FindBar();
    // Remove what the bar must write, then end the session.
    WriteIni("[environment section]\r\n");
    notices.Clear();
    EXPECT_EQ(SendMessageA(w, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(notices.Codes(), (std::vector<LPARAM>{0}));
    EXPECT_EQ(IniValue("environment section", "mode"), "2048");
    EXPECT_EQ(IniValue("environment section", "startup page"), "2");
    EXPECT_EQ(IniValue("environment section", "maximum pages"), "3");
    EXPECT_EQ(IniValue("environment section", "buttons par page"), "7");
    EXPECT_EQ(IniValue("environment section", "position"), "40,60");
}

TEST_F(BarLifecycle, ReloadPicksUpButtonsAndCorner)
{
    WriteIni("[environment section]\r\nbuttons par page=5\r\nstartup page=2\r\nmaximum pages=3\r\nJapan=1\r\n"
             "position=100,100\r\n");
    NoticeRecorder notices;
    BarProcess bar;
    ASSERT_TRUE(notices.WaitFor(1));
    HWND w = FindBar();
    ASSERT_EQ(SlotCount(w), 5);
    ASSERT_TRUE(HasCaption(w));

    // Another program changes the count, the page and the language, then asks for a reload.
    WriteIni("[environment section]\r\nbuttons par page=8\r\nstartup page=1\r\nmaximum pages=3\r\nJapan=0\r\n"
             "position=100,100\r\n");
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
    EXPECT_EQ(SlotCount(w), 8);
    const RECT r = WindowRectOf(w);
    EXPECT_EQ(r.right - r.left, 38 * 9 + 19 + 8);
    // Page and language stay: the save at exit shows the page.
    SendMessageA(w, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(IniValue("environment section", "startup page"), "2");

    // A corner takes the caption away; clearing it brings the thin caption back.
    WriteIni("[environment section]\r\nmode=3\r\nbuttons par page=8\r\nmaximum pages=3\r\n");
    SendMessageA(w, WM_USER, 0, 0);
    LONG style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_DLGFRAME | 0x4000), 0);
    EXPECT_EQ(style & WS_BORDER, WS_BORDER);
    EXPECT_FALSE(HasCaption(w));
    RECT docked = WindowRectOf(w);
    EXPECT_EQ(docked.right, GetSystemMetrics(SM_CXSCREEN));  // upper right
    EXPECT_EQ(docked.top, 0);
    EXPECT_EQ(docked.bottom - docked.top, 38 + 8);

    WriteIni("[environment section]\r\nmode=0\r\nbuttons par page=8\r\nmaximum pages=3\r\nposition=30,40\r\n");
    SendMessageA(w, WM_USER, 0, 0);
    style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | 0x4000 | WS_BORDER), WS_SYSMENU | 0x4000 | WS_BORDER);
    EXPECT_EQ(style & WS_DLGFRAME, 0);
    EXPECT_TRUE(HasCaption(w));
    const RECT floating = WindowRectOf(w);
    EXPECT_EQ(floating.left, 30);
    EXPECT_EQ(floating.top, 40);
    EXPECT_EQ(floating.bottom - floating.top, 38 + 8 + 10);
    EXPECT_EQ(bar.Close(), 0);
}

struct HandEdited {
    const char *what;
    std::string ini;
};

TEST_F(BarLifecycle, HandEditedFilesStartAWorkingBar)
{
    const std::string big(3000, '9');
    const HandEdited files[] = {
        {"out of range", "[environment section]\r\nbuttons par page=50\r\nmaximum pages=99\r\nstartup page=77\r\n"},
        {"negative", "[environment section]\r\nbuttons par page=-5\r\nmaximum pages=-2\r\nstartup page=-1\r\n"
                     "position=-500,-500\r\nmode=-1\r\n"},
        {"huge", "[environment section]\r\nbuttons par page=99999999999\r\nposition=99999999,99999999\r\n"
                 "mode=4294967295\r\n"},
        {"not numbers", "[environment section]\r\nbuttons par page=five\r\nmode=corner\r\nJapan=maybe\r\n"},
        {"unparsable position", "[environment section]\r\nposition=here\r\n"},
        {"3000 characters", "[environment section]\r\nposition=" + big + "\r\nbuttons par page=" + big +
                                "\r\n[program section]\r\nprofile000=" + big + "\r\nTitle000=" + big + "\r\n"},
        {"no section at all", "just some text\r\nwithout=sections\r\n"},
        {"entries without fields", "[program section]\r\nprofile000=x\r\nprofile001=,,,\r\nprofile002=\r\n"},
    };
    for (const HandEdited &f : files) {
        SCOPED_TRACE(f.what);
        WriteIni(f.ini);
        NoticeRecorder notices;
        BarProcess bar;
        ASSERT_TRUE(notices.WaitFor(1)) << "the bar did not start";
        HWND w = FindBar();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(IsWindowVisible(w));
        EXPECT_GE(SlotCount(w), 1);
        for (int id = 501; id <= 505; ++id)
            EXPECT_NE(GetDlgItem(w, id), nullptr);
        // It still answers a reload and a save, then closes cleanly.
        EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
        EXPECT_EQ(bar.Close(), 0);
        EXPECT_EQ(notices.Codes().back(), 2);
    }
}

} // namespace
