// The real TAV.EXE where other programs and the system push it: docked
// frames, minimizing, positions off the screen, a posted WM_QUIT, starts at
// the same moment, a hung window, and a CTL3D32.DLL planted beside it.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/settings_rules.h"
#include "bar/layout_rules.h"
#include "support/win_test.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

std::string Ini(unsigned mode, int buttons, const char *position = "100,100")
{
    return "[environment section]\r\nmode=" + std::to_string(mode) + "\r\nbuttons par page=" +
           std::to_string(buttons) + "\r\nposition=" + position + "\r\n";
}

// The client a bar of these settings must have: the layout formulas, no caption when docked.
void ExpectClientOfLayout(HWND bar, unsigned mode, int buttons)
{
    BarSettings s;
    s.mode = mode;
    s.cellSize = CellSizeForMode(mode);
    DeriveGrid(mode, buttons, s.columns, s.rows);
    const Extent want = ClientSize(GeometryFor(s));
    RECT c{};
    GetClientRect(bar, &c);
    EXPECT_EQ(c.right, want.w) << "mode " << mode << ", " << buttons << " slots";
    EXPECT_EQ(c.bottom, want.h) << "mode " << mode << ", " << buttons << " slots";
}

bool WholeOnScreen(HWND bar)
{
    const RECT r = WindowRectOf(bar);
    return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

using BarRobustness = BarTest;

TEST_F(BarRobustness, DockedBarsHaveTheClientOfTheirLayoutAtStartAndAfterReload)
{
    for (unsigned corner = 1; corner <= 4; ++corner) {
        HWND bar = Start(Ini(corner, 5));
        ASSERT_NE(bar, nullptr);
        ExpectClientOfLayout(bar, corner, 5);
        for (unsigned cell : {0u, unsigned{SmallButtons}})
            for (int buttons : {5, 6, 4}) {
                WriteIni(Ini(corner | cell, buttons));
                SendMessageA(bar, WM_USER, 0, 0);
                ExpectClientOfLayout(bar, corner | cell, buttons < 5 ? 5 : buttons);
            }
        EXPECT_EQ(bar_->Close(), 0);
    }
}

TEST_F(BarRobustness, AnotherProgramsSizeNeverGivesFewerThanFiveSlots)
{
    HWND bar = Start(Ini(0, 5));
    ASSERT_NE(bar, nullptr);
    SendMessageA(bar, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 38));
    EXPECT_EQ(SlotCount(bar), 5);
    ExpectClientOfLayout(bar, 0, 5);
}

TEST_F(BarRobustness, MinimizedBarSavesItsOwnPlace)
{
    HWND bar = Start(Ini(0, 5));
    ASSERT_NE(bar, nullptr);
    ShowWindow(bar, SW_MINIMIZE);
    Settle();
    ASSERT_TRUE(IsIconic(bar));
    SendMessageA(bar, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(IniValue("environment section", "position"), "100,100");
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(IniValue("environment section", "position"), "100,100");
}

TEST_F(BarRobustness, PositionsOffTheScreenComeOntoIt)
{
    for (const char *position : {"-32000,-32000", "30000,30000", "-400,300", "2000,-900"}) {
        HWND bar = Start(Ini(0, 8, position));
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(WholeOnScreen(bar)) << position;
        // A reload to a position off the screen as well.
        WriteIni(Ini(0, 5, position));
        SendMessageA(bar, WM_USER, 0, 0);
        EXPECT_TRUE(WholeOnScreen(bar)) << position << " after a reload";
        EXPECT_EQ(bar_->Close(), 0);
    }
    // A visible position is kept as it is.
    HWND bar = Start(Ini(0, 5, "-10,40"));
    EXPECT_EQ(WindowRectOf(bar).left, -10);
}

TEST_F(BarRobustness, PostedQuitStillTearsDownSavesAndAnnounces)
{
    HWND bar = Start(Ini(0, 5, "100,100"));
    ASSERT_NE(bar, nullptr);
    WriteIni("");
    PostMessageA(bar, WM_QUIT, 7, 0);
    EXPECT_EQ(bar_->WaitExit(), 0);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0, 2}));
    EXPECT_EQ(IniValue("environment section", "position"), "100,100");
}

TEST_F(BarRobustness, SimultaneousStartsLeaveOneBar)
{
    WriteIni("-");
    for (int pair = 0; pair < 10; ++pair) {
        BarProcess a, b;
        ASSERT_TRUE(a.Process() && b.Process());
        // One of the two leaves at once with 0; the other is the bar.
        const HANDLE both[] = {a.Process(), b.Process()};
        const DWORD first = WaitForMultipleObjects(2, both, FALSE, 10000);
        ASSERT_LT(first, WAIT_OBJECT_0 + 2) << "pair " << pair;
        BarProcess &second = first == WAIT_OBJECT_0 ? a : b, &bar = first == WAIT_OBJECT_0 ? b : a;
        EXPECT_EQ(second.WaitExit(), 0);
        ASSERT_NE(bar.WaitForBar(), nullptr);
        int bars = 0;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "TAV!", "TAV!")) != nullptr;)
            ++bars;
        EXPECT_EQ(bars, 1) << "pair " << pair;
        EXPECT_EQ(bar.Close(), 0);
    }
}

TEST_F(BarRobustness, AHungWindowDoesNotHoldTheBarUp)
{
    // A top-level window whose thread stops answering for 25 seconds.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        HWND w = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetEvent(created);
        WaitForSingleObject(release, 25000);
        DestroyWindow(w);
    });
    WaitForSingleObject(created, 5000);

    const DWORD t0 = GetTickCount();
    WriteIni("-");
    bar_ = std::make_unique<BarProcess>();
    EXPECT_NE(bar_->WaitForBar(), nullptr);
    EXPECT_EQ(bar_->Close(), 0);
    // Three notices, each waiting at most a second for the hung thread.
    EXPECT_LT(GetTickCount() - t0, 8000u);
    // Every window that answers still gets every notice.
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0, 2}));
    SetEvent(release);
    hung.join();
    CloseHandle(release);
    CloseHandle(created);
}

TEST_F(BarRobustness, ACtl3dBesideTheBarIsNeverLoaded)
{
    // The decoy writes a marker when any process loads it.
    const std::string dll = ProgramDir() + "\\CTL3D32.DLL", marker = ProgramDir() + "\\ctl3d_loaded.txt";
    ASSERT_TRUE(CopyFileA((ProgramDir() + "\\ctl3d_decoy.dll").c_str(), dll.c_str(), FALSE));
    DeleteFileA(marker.c_str());
    HWND bar = Start(Ini(0, 5));
    EXPECT_NE(bar, nullptr);
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(dll.c_str());
}

} // namespace
