// The notification icon: added with the bar's record, and added again when
// the shell announces that it restarted.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "app/main_window.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

// Whether the shell knows the bar's icon: modifying an unknown icon fails.
bool IconKnown(HWND bar)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = 0x600;
    nid.uFlags = NIF_TIP;
    lstrcpyA(nid.szTip, "TAV!");
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

void ForgetIcon(HWND bar)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = 0x600;
    Shell_NotifyIconA(NIM_DELETE, &nid);
}

TEST(BarTray, IconComesBackWhenTheShellRestarts)
{
    DeleteIni();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterBarClasses(instance));
    HWND bar = CreateBar(instance);
    ASSERT_NE(bar, nullptr);

    AddNotifyIcon(bar);
    EXPECT_TRUE(IconKnown(bar));

    // The shell lost its icons (as when it restarts) and says so to every top-level window.
    ForgetIcon(bar);
    ASSERT_FALSE(IconKnown(bar));
    SendMessageA(bar, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconKnown(bar));

    RemoveNotifyIcon(bar);
    EXPECT_FALSE(IconKnown(bar));
    DestroyWindow(bar);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ;
    UnregisterBarClasses(instance);
    DeleteIni();
}

} // namespace
