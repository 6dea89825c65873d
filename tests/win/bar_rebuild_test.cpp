// The bar created in the test process: every rebuild (a resize, a reload,
// the teardown) destroys exactly the old slot buttons, each after its own
// procedure was put back and "TAVHI"/"TAVLO" removed, and creates the new
// ones with consecutive ids; the control buttons live on (the stress run
// counts the windows over thousands of rebuilds). The window takes
// the system's metrics and screen for its size, limits and corner.
#include <map>

#include "app/main_window.h"
#include "app/settings.h"
#include "bar/layout.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

std::map<HWND, WNDPROC> gOwnProc;    // each subclassed button's procedure before the bar's
std::map<HWND, bool> gWentRestored;  // destroyed buttons: procedure back and properties gone
HWND gBar = nullptr;

void Record(HWND h)
{
    if (h && gOwnProc.count(h))
        gWentRestored[h] = !GetPropA(h, "TAVHI") && !GetPropA(h, "TAVLO") &&
                           GetWindowLongPtrA(h, GWLP_WNDPROC) == LONG_PTR(gOwnProc[h]);
}

// Each button the bar destroys, just before it goes.
LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND)
        Record(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The slot buttons now, consecutive from 1000, subclassed and accepting files.
std::vector<HWND> Slots(size_t count)
{
    std::vector<HWND> slots;
    for (int id = 1000; HWND h = GetDlgItem(gBar, id); ++id) {
        EXPECT_TRUE(GetPropA(h, "TAVHI") && (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) << id;
        slots.push_back(gOwnProc.emplace(h, PreviousProc(h)).first->first);
    }
    EXPECT_EQ(slots.size(), count);
    EXPECT_EQ(slots, gButtons.slots);
    return slots;
}

std::string Str(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

LRESULT CALLBACK ReloadingListener(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == gApp.changeNoticeId && l == NoticeChanged && IsWindow(gBar))
        SendMessageA(gBar, WM_USER, 0, 0);
    return DefWindowProcA(h, m, w, l);
}

TEST(BarRebuild, ResizeReloadAndTeardown)
{
    WriteIni("[environment section]\r\nposition=100,50\r\nmaximum pages=2\r\n");
    ASSERT_TRUE(RegisterBarClasses(GetModuleHandleA(nullptr)));
    gBar = CreateBar(GetModuleHandleA(nullptr));
    ASSERT_NE(gBar, nullptr);
    ShowWindow(gBar, SW_SHOWNORMAL);
    MINMAXINFO mmi{};
    SendMessageA(gBar, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(Str(WindowRectOf(gBar)) + " " + Str(ClientRectOnScreen(gBar)) + " " +
                  Str({mmi.ptMinTrackSize.x, mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.x, mmi.ptMaxTrackSize.y}),
              "100,50-355,106 104,64-351,102 255,56-825,56");
    std::vector<HWND> controls;
    for (int id = 501; id <= 505; ++id) {
        HWND h = controls.emplace_back(GetDlgItem(gBar, id));
        EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) | (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES), 0x5000000B);
        EXPECT_EQ(GetPropA(h, "TAVHI") != nullptr, id != 503 && id != 505) << id;
    }
    HHOOK cbt = SetWindowsHookExA(WH_CBT, Cbt, nullptr, GetCurrentThreadId());
    std::vector<HWND> before = Slots(5);
    // Seven slots and a bit: seven, snapped; too small a client keeps the grid. Then a
    // reload to nine vertical slots in the lower right corner.
    const std::tuple<int, int, size_t> steps[] = {
        {7 * 38 + 57 + 20, 38, 7}, {0, 0, 7}, {30, 38, 7}, {247, 10, 7}, {0, 0, 9}};
    for (auto [width, height, count] : steps) {
        if (count == 9) {
            WriteIni("[environment section]\r\nbuttons par page=9\r\nmode=32772\r\n");
            EXPECT_EQ(SendMessageA(gBar, WM_USER, 0, 0), 0);
        } else {
            SendMessageA(gBar, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
        }
        const std::vector<HWND> now = Slots(count);
        for (HWND h : before)  // a snap rebuilds once more from inside a rebuild: others come and go too
            EXPECT_TRUE(gWentRestored[h] && !IsWindow(h));
        before = now;
    }
    EXPECT_EQ(Str(WindowRectOf(gBar)), "978,361-1024,768");
    for (int id = 501; id <= 505; ++id)
        EXPECT_EQ(GetDlgItem(gBar, id), controls[id - 501]) << "the control buttons live on";
    // Another program answers every change notice with a reload, also the save's in the teardown:
    // nothing is built again.
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReloadingListener;
    wc.lpszClassName = "TavTestReloadingListener";
    RegisterClassA(&wc);
    HWND listener = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    gApp.changeNoticeId = RegisterWindowMessageA(kChangeNoticeName);
    DestroyWindow(gBar);
    gApp.changeNoticeId = 0;
    DestroyWindow(listener);
    for (HWND h : before)
        EXPECT_TRUE(gWentRestored[h]);
    EXPECT_TRUE(gButtons.slots.empty());
    UnhookWindowsHookEx(cbt);
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);)  // the WM_QUIT of the teardown
        ;
    UnregisterBarClasses(GetModuleHandleA(nullptr));
    WriteIni("-");
}

} // namespace
