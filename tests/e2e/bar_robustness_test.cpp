// The real TAV.EXE where other programs and the system push it: starts at the
// same moment, and a hung window. (Layouts and positions at each reload:
// stress_test; minimized at the end of a session, and a posted WM_QUIT:
// journey_test. A CTL3D32.DLL is only ever looked for in the system
// directory, and only by the x86 build.)
#include <thread>

#include "support/win_test.h"

using namespace tavtest;

namespace {

using BarRobustness = BarTest;

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
        EXPECT_EQ(FindWindowExA(nullptr, FindWindowA("TAV!", "TAV!"), "TAV!", "TAV!"), nullptr) << "pair " << pair;
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
