// The bar created in the test process: every rebuild of the grid destroys
// exactly the old slot buttons, each after its own procedure was put back,
// and creates the new ones with consecutive ids; the control buttons live on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "bar/layout.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

struct DestroyRecord {
    bool hadProps;    // "TAVHI" still attached when destroyed
    bool procRestored;
};

std::map<HWND, WNDPROC> gExpectedProc;  // what each subclassed button must get back
std::map<HWND, DestroyRecord> gDestroyed;
HWND gBar = nullptr;

DestroyRecord StateOf(HWND h)
{
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC));
    const auto it = gExpectedProc.find(h);
    return {GetPropA(h, "TAVHI") != nullptr || GetPropA(h, "TAVLO") != nullptr,
            it != gExpectedProc.end() && proc == it->second};
}

// A button the bar destroys itself, just before it goes.
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND) {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (GetParent(h) == gBar)
            gDestroyed[h] = StateOf(h);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The control buttons go with the bar, after its WM_DESTROY has run.
LRESULT CALLBACK AfterProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto *m = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (code == HC_ACTION && m->hwnd == gBar && m->message == WM_DESTROY)
        for (int id : {501, 502, 504})
            if (HWND h = GetDlgItem(gBar, id))
                gDestroyed[h] = StateOf(h);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<HWND> Slots(HWND bar)
{
    std::vector<HWND> out;
    for (int id = 1000; id < 1020; ++id)
        if (HWND h = GetDlgItem(bar, id))
            out.push_back(h);
    return out;
}

// Remembers the procedure each subclassed button should get back, and checks it is subclassed.
void Capture(const std::vector<HWND> &buttons)
{
    for (HWND h : buttons) {
        ASSERT_NE(GetPropA(h, "TAVHI"), nullptr);
        const WNDPROC previous = PreviousProc(h);
        EXPECT_NE(previous, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)));
        gExpectedProc[h] = previous;
    }
}

class BarRebuild : public ::testing::Test {
protected:
    HHOOK hook = nullptr, afterHook = nullptr;
    HWND bar = nullptr;

    void SetUp() override
    {
        WriteIni("[environment section]\r\nposition=60,60\r\nstartup page=1\r\nmaximum pages=2\r\n");
        HINSTANCE instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(RegisterBarClasses(instance));
        bar = gBar = CreateBar(instance);
        ASSERT_NE(bar, nullptr);
        ShowWindow(bar, SW_SHOWNORMAL);
        hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
        afterHook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterProcHook, nullptr, GetCurrentThreadId());
        gExpectedProc.clear();
        gDestroyed.clear();
    }

    void TearDown() override
    {
        if (IsWindow(bar))
            DestroyWindow(bar);
        UnhookWindowsHookEx(hook);
        UnhookWindowsHookEx(afterHook);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))  // the WM_QUIT of the teardown
            ;
        UnregisterBarClasses(GetModuleHandleA(nullptr));
        DeleteIni();
    }

    void ExpectReplaced(const std::vector<HWND> &before, const std::vector<HWND> &after, size_t count)
    {
        ASSERT_EQ(after.size(), count);
        for (size_t k = 0; k < after.size(); ++k) {
            EXPECT_EQ(GetDlgCtrlID(after[k]), static_cast<int>(1000 + k));
            EXPECT_NE(GetPropA(after[k], "TAVHI"), nullptr);
            EXPECT_EQ(gButtons.slots[k], after[k]);
        }
        // A snap to whole cells rebuilds once more from inside the first rebuild, so buttons
        // in between may come and go too; each of those went the same way.
        for (const auto &[h, rec] : gDestroyed) {
            EXPECT_FALSE(rec.hadProps);
            const int id = GetDlgCtrlID(h);
            EXPECT_TRUE(id == 0 || (id >= 1000 && id < 1020)) << "a control button was destroyed";
        }
        for (HWND h : after)
            EXPECT_FALSE(gDestroyed.count(h));
        for (HWND h : before) {
            EXPECT_FALSE(IsWindow(h));
            ASSERT_TRUE(gDestroyed.count(h)) << "an old slot button was not destroyed";
            EXPECT_FALSE(gDestroyed[h].hadProps);
            EXPECT_TRUE(gDestroyed[h].procRestored);
        }
    }
};

TEST_F(BarRebuild, ResizeReplacesExactlyTheSlotButtons)
{
    const std::vector<HWND> before = Slots(bar);
    ASSERT_EQ(before.size(), 5u);
    HWND pages[5];
    for (int id = 501; id <= 505; ++id)
        pages[id - 501] = GetDlgItem(bar, id);
    Capture(before);

    // A client area of seven slots and a bit.
    SendMessageA(bar, WM_SIZE, SIZE_RESTORED, MAKELPARAM(7 * 38 + 57 + 20, 38));
    const std::vector<HWND> after = Slots(bar);
    ExpectReplaced(before, after, 7);
    for (int id = 501; id <= 505; ++id)
        EXPECT_EQ(GetDlgItem(bar, id), pages[id - 501]);
    RECT r{};
    GetClientRect(bar, &r);
    EXPECT_EQ(r.right, 7 * 38 + 57);  // snapped to whole slots
}

TEST_F(BarRebuild, TooSmallAClientKeepsTheGrid)
{
    Capture(Slots(bar));
    for (LPARAM size : {MAKELPARAM(0, 0), MAKELPARAM(30, 38), MAKELPARAM(247, 10)}) {
        gDestroyed.clear();
        const std::vector<HWND> before = Slots(bar);
        Capture(before);
        SendMessageA(bar, WM_SIZE, SIZE_RESTORED, size);
        ExpectReplaced(before, Slots(bar), 5);
        EXPECT_EQ(gSettings.columns * gSettings.rows, 5);
    }
}

TEST_F(BarRebuild, ReloadReplacesSlotsAndKeepsControlButtons)
{
    const std::vector<HWND> before = Slots(bar);
    Capture(before);
    HWND next = GetDlgItem(bar, 502);
    WriteIni("[environment section]\r\nbuttons par page=9\r\nmode=32768\r\n");
    EXPECT_EQ(SendMessageA(bar, WM_USER, 0, 0), 0);
    ExpectReplaced(before, Slots(bar), 9);
    EXPECT_EQ(GetDlgItem(bar, 502), next);
    EXPECT_EQ(gSettings.rows, 9);
}

TEST_F(BarRebuild, TeardownRestoresEveryProcedureBeforeDestroying)
{
    std::vector<HWND> subclassed = Slots(bar);
    for (int id : {501, 502, 504})
        subclassed.push_back(GetDlgItem(bar, id));
    Capture(subclassed);
    // 503 and 505 keep the button class's own procedure.
    EXPECT_EQ(GetPropA(GetDlgItem(bar, 503), "TAVHI"), nullptr);
    EXPECT_EQ(GetPropA(GetDlgItem(bar, 505), "TAVLO"), nullptr);

    DestroyWindow(bar);
    for (HWND h : subclassed) {
        ASSERT_TRUE(gDestroyed.count(h));
        EXPECT_FALSE(gDestroyed[h].hadProps);
        EXPECT_TRUE(gDestroyed[h].procRestored);
    }
    EXPECT_TRUE(gButtons.slots.empty());
}

LRESULT CALLBACK ReloadingListener(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == gApp.changeNoticeId && l == NoticeChanged && IsWindow(gBar))
        SendMessageA(gBar, WM_USER, 0, 0);
    return DefWindowProcA(h, m, w, l);
}

TEST_F(BarRebuild, AReloadAnsweredDuringTeardownBuildsNothing)
{
    // Another program answers every change notice with a reload, also the save's during teardown.
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReloadingListener;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TavTestReloadingListener";
    RegisterClassA(&wc);
    HWND listener = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    gApp.changeNoticeId = RegisterWindowMessageA(kChangeNoticeName);
    DestroyWindow(bar);
    gApp.changeNoticeId = 0;
    DestroyWindow(listener);
    EXPECT_TRUE(gButtons.slots.empty());

    // Putting a procedure back twice leaves the first result alone.
    HWND b = CreateWindowExA(0, "button", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR own = GetWindowLongPtrA(b, GWLP_WNDPROC);
    SubclassButton(b, ReloadingListener);
    RestoreButtonProc(b);
    RestoreButtonProc(b);
    EXPECT_EQ(GetWindowLongPtrA(b, GWLP_WNDPROC), own);
    DestroyWindow(b);
}

TEST_F(BarRebuild, SlotButtonsAcceptDroppedFiles)
{
    for (HWND h : Slots(bar))
        EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, WS_EX_ACCEPTFILES);
    for (int id = 501; id <= 505; ++id) {
        HWND h = GetDlgItem(bar, id);
        EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)), 0x5000000Bu);
    }
}

} // namespace
