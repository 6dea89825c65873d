// Moving a program across pages and the page menu with the real mouse, as the
// bar and TAV.INI show them.
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

} // namespace
