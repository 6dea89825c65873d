// The real TAV.EXE where other programs and the system push it: docked
// frames, minimizing, positions off the screen, a posted WM_QUIT, starts at
// the same moment, and a hung window. (A CTL3D32.DLL is only ever looked for
// in the system directory, and only by the x86 build.)
#include <thread>

#include "app/settings_rules.h"
#include "bar/layout_rules.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

std::string Ini(unsigned mode, int buttons, const char *position = "100,100")
{
    return "[environment section]\r\nmode=" + std::to_string(mode) + "\r\nbuttons par page=" +
           std::to_string(buttons) + "\r\nposition=" + position + "\r\n";
}

// The client a bar of these settings must have (the layout formulas, no caption when docked), and the bar's.
std::string Client(HWND bar, unsigned mode = 0, int buttons = 0)
{
    BarSettings s;
    s.mode = mode;
    s.cellSize = CellSizeForMode(mode);
    DeriveGrid(mode, buttons, s.columns, s.rows);
    const Extent want = ClientSize(GeometryFor(s));
    RECT c{};
    GetClientRect(bar, &c);
    const auto str = [](int w, int h) { return std::to_string(w) + "x" + std::to_string(h); };
    return bar ? str(c.right, c.bottom) : str(want.w, want.h);
}

bool WholeOnScreen(HWND bar)
{
    const RECT r = WindowRectOf(bar);
    return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

using BarRobustness = BarTest;

// Docked or not, at the start and after a reload, and under another program's size: never fewer than five slots.
TEST_F(BarRobustness, ClientOfTheLayoutAndNeverFewerThanFiveSlots)
{
    for (unsigned corner = 0; corner <= 4; ++corner) {
        HWND bar = Start(Ini(corner, 6));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(Client(bar), Client(nullptr, corner, 6)) << corner;
        const unsigned next = (corner + 1) % 5;  // a reload docks, moves or undocks the bar
        WriteIni(Ini(next | SmallButtons, 4));
        SendMessageA(bar, WM_USER, 0, 0);
        EXPECT_EQ(Client(bar), Client(nullptr, next | SmallButtons, 5)) << next << " after a reload";
        EXPECT_EQ((GetWindowLongA(bar, GWL_STYLE) & WS_SYSMENU) != 0, next == 0) << "a caption only when free";
        SendMessageA(bar, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 38));
        EXPECT_EQ(SlotCount(bar), 5) << corner;
        EXPECT_EQ(bar_->Close(), 0);
    }
}

// Minimized, the bar saves its own place, at the end of a session and after a posted WM_QUIT,
// which still tears down, saves and announces.
TEST_F(BarRobustness, MinimizedBarSavesItsPlaceAndPostedQuitEndsCleanly)
{
    HWND bar = Start(Ini(0, 5));
    ASSERT_NE(bar, nullptr);
    ShowWindow(bar, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(bar); }));
    EXPECT_EQ(SendMessageA(bar, WM_QUERYENDSESSION, 0, 0), TRUE) << "the session may end";
    EXPECT_EQ(IniValue("environment section", "position"), "100,100");
    WriteIni("");
    PostMessageA(bar, WM_QUIT, 7, 0);
    EXPECT_EQ(bar_->WaitExit(), 0);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0, 0, 2}));
    EXPECT_EQ(IniValue("environment section", "position"), "100,100");
}

TEST_F(BarRobustness, PositionsOffTheScreenComeOntoIt)
{
    for (const char *position : {"-32000,-32000", "30000,30000", "-400,300", "2000,-900"}) {
        HWND bar = Start(Ini(0, 8, position));
        EXPECT_TRUE(bar && WholeOnScreen(bar)) << position;
        WriteIni(Ini(0, 5, position));
        SendMessageA(bar, WM_USER, 0, 0);
        EXPECT_TRUE(WholeOnScreen(bar)) << position << " after a reload";
        EXPECT_EQ(bar_->Close(), 0);
    }
    EXPECT_EQ(WindowRectOf(Start(Ini(0, 5, "-10,40"))).left, -10) << "a visible position is kept";
}

TEST_F(BarRobustness, SimultaneousStartsLeaveOneBar)
{
    WriteIni("-");
    for (int pair = 0; pair < 10; ++pair) {
        BarProcess a, b;
        const HANDLE both[] = {a.Process(), b.Process()};
        const DWORD first = WaitForMultipleObjects(2, both, FALSE, 10000);  // the one that leaves at once, with 0
        ASSERT_LT(first, WAIT_OBJECT_0 + 2) << "pair " << pair;
        BarProcess &second = first == WAIT_OBJECT_0 ? a : b, &bar = first == WAIT_OBJECT_0 ? b : a;
        EXPECT_EQ(second.WaitExit(), 0);
        ASSERT_NE(bar.WaitForBar(), nullptr);
        EXPECT_EQ(FindWindowExA(nullptr, FindBar(), "TAV!", "TAV!"), nullptr) << "pair " << pair;
        EXPECT_EQ(bar.Close(), 0);
    }
}

TEST_F(BarRobustness, AHungWindowDoesNotHoldTheBarUp)
{
    // A top-level window whose thread stops answering for 25 seconds.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr), created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        HWND w = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetEvent(created);
        WaitForSingleObject(release, 25000);
        DestroyWindow(w);
    });
    WaitForSingleObject(created, 5000);
    const DWORD t0 = GetTickCount();
    EXPECT_NE(Start("-"), nullptr);
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_LT(GetTickCount() - t0, 8000u) << "three notices, each waiting at most a second";
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0, 2})) << "every window that answers gets every notice";
    SetEvent(release);
    hung.join();
    CloseHandle(release);
    CloseHandle(created);
}

} // namespace
