// Moving a program across pages and the page menu with the real mouse, and the
// Properties dialog's refusals and choices, as the bar and TAV.INI show them.
#include <gtest/gtest.h>

#include <string>

#include "support/win_test.h"

using namespace tavtest;

namespace {

const char kEnv[] = "environment section", kPrograms[] = "program section";

std::string Ini(const std::string &environment, const std::string &programs = "")
{
    return "[environment section]\r\nposition=40,40\r\nJapan=1\r\n" + environment + "[program section]\r\n" + programs;
}

// The real mouse on a button's middle; `keys` are held while it clicks.
void Click(HWND bar, int id, int button = 1, const std::string &keys = "")
{
    const RECT r = ClientRectOnScreen(GetDlgItem(bar, id));
    const std::string down = keys.empty() ? "" : "keydown " + keys + " ", up = keys.empty() ? "" : " keyup " + keys;
    // No --sync: it would wait for ever when the pointer is already there.
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string((r.left + r.right) / 2) + " " +
                        std::to_string((r.top + r.bottom) / 2) + " sleep 0.1 " + down + "click " +
                        std::to_string(button) + up));
    Settle(200);
}

// The settings as the bar would save them now.
std::string Saved(HWND bar, const char *key)
{
    SendMessageA(bar, WM_QUERYENDSESSION, 0, 0);
    return IniValue(kEnv, key);
}

HWND WaitForWindow(const char *cls, const char *title)
{
    HWND w = nullptr;
    PumpUntil([&] { return (w = FindWindowA(cls, title)) != nullptr; });
    return w;
}

class Pages : public BarTest
{
};

TEST_F(Pages, MoveAcrossPagesAndThePageMenu)
{
    const std::string entry = ProgramDir() + "\\tav_testicons.dll,0,,C:\\NO\\SUCH.EXE";
    const std::string title(3000, 'T'); // longer than any profile buffer of the bar
    HWND bar = Start(Ini("maximum pages=20\r\n", "profile000=" + entry + "\r\nTitle000=" + title + "\r\n"));
    ASSERT_TRUE(bar);
    bar_->notices.clear();

    Click(bar, 1000, 3, "shift");
    Click(bar, 503); // ignored while a slot is picked up
    EXPECT_EQ(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    Click(bar, 502);
    Click(bar, 1001, 3);
    EXPECT_EQ(IniValue(kPrograms, "profile006"), entry);
    EXPECT_TRUE(IniValue(kPrograms, "Title006") == title) << "the whole title";
    EXPECT_EQ(IniValue(kPrograms, "profile000"), "");
    EXPECT_EQ(IniValue(kPrograms, "Title000"), "");
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{0}));

    Click(bar, 501, 3);
    HWND menu = WaitForWindow("#32768", nullptr);
    ASSERT_TRUE(menu);
    const RECT m = WindowRectOf(menu);
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(m.left + 20) + " " + std::to_string(m.bottom - 8) + " click 1"));
    Settle(200);
    EXPECT_EQ(Saved(bar, "startup page"), "20") << "the last of twenty items";
}

TEST_F(Pages, PropertiesRefuseBadCountsAndApplyTheChoices)
{
    // Pinned, with bits 4 to 6 set, 7 slots across, on page 2 of 3.
    HWND bar = Start(Ini("mode=16496\r\nmaximum pages=3\r\nstartup page=2\r\nbuttons par page=7\r\n"));
    ASSERT_TRUE(bar);
    Click(bar, 505);
    HWND dialog = WaitForWindow("#32770", "Properties");
    ASSERT_TRUE(dialog);
    for (const char *bad : {"0", "21", ""}) {
        SetDlgItemTextA(dialog, 1012, bad);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        HWND box = WaitForWindow("#32770", "Error");
        ASSERT_TRUE(box) << bad;
        char text[64] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(text, "Page range over");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        PumpUntil([&] { return !IsWindow(box); });
        EXPECT_EQ(GetDlgItemInt(dialog, 1012, nullptr, FALSE), 3u) << bad;
    }

    // Twenty pages, vertical, upper right corner.
    SetDlgItemTextA(dialog, 1012, "20");
    SendDlgItemMessageA(dialog, 1015, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageA(dialog, 1013, CB_SETCURSEL, 3, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
    Settle();
    EXPECT_EQ(SlotCount(bar), 7);
    EXPECT_EQ(WindowRectOf(GetDlgItem(bar, 1001)).top - ClientRectOnScreen(bar).top, 38) << "a column";
    const RECT r = WindowRectOf(bar);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(ClientRectOnScreen(bar).top - r.top, GetSystemMetrics(SM_CYFRAME)) << "no caption";
    EXPECT_EQ(Saved(bar, "mode"), std::to_string(0x4070 | 0x8000 | 3));
    EXPECT_EQ(IniValue(kEnv, "maximum pages"), "20");
    EXPECT_EQ(IniValue(kEnv, "startup page"), "1");
}

} // namespace
