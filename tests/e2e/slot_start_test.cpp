// The real TAV.EXE starting the probe: clicks on slots as their buttons
// report them, files dropped on slot buttons, and the failures it reports.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/bar_driver.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

// Posted, so that a message box it opens cannot hold the test up.
void Click(HWND bar, int position, WORD code = BN_CLICKED)
{
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(1000 + position, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(bar, 1000 + position)));
}

// The text of the message box that comes up owned by `owner`, which is then closed.
std::string TakeMessageBox(HWND owner)
{
    char text[256] = {};
    HWND box = nullptr;
    PumpUntil([&] {
        for (box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box && GetWindow(box, GW_OWNER) != owner;)
            box = FindWindowExA(nullptr, box, "#32770", nullptr);
        return box && GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0;
    });
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
}

class SlotStart : public BarTest {
protected:
    HWND Start(const std::string &programs) { return BarTest::Start("[program section]\r\n" + programs); }
    // Command line, directory, title and show mode of each start, sorted.
    std::vector<std::string> Starts(size_t count)
    {
        std::vector<std::string> out;
        for (ProbeRecord r : log.WaitFor(count))
            out.push_back(r["cmdline"] + "|" + r["cwd"] + "|" + r["title"] + "|" + r["show"]);
        std::sort(out.begin(), out.end());
        return out;
    }
    ProbeLog log;
    const std::string probe = ProbePath(), exe = FoundExecutable(probe);
};

TEST_F(SlotStart, ClicksStartOnceInTwoSecondsWithTitleShowModeAndDirectory)
{
    HWND bar = Start("profile000=x,-1,,\"" + probe + "\" /n readme.txt\r\nTitle000=Probe Title\r\n"
                     "profile001=x,0,C:\\windows,\"" + probe + "\"\r\n");
    Click(bar, 0);
    Click(bar, 0, BN_DOUBLECLICKED);  // the second half of a double click
    Click(bar, 1);                    // another registered slot, within the two seconds
    ASSERT_EQ(log.WaitFor(1).size(), 1u);
    const DWORD started = GetTickCount();
    PumpUntil([&] { return GetTickCount() - started > 2000; }, 3000);
    Click(bar, 1);
    // Without a title of its own a program gets its path from the platform.
    EXPECT_EQ(Starts(2), (std::vector<std::string>{exe + " /n readme.txt|" + ProgramDir() + "|Probe Title|2",
                                                   exe + " |C:\\windows|" + probe + "|1"}));
}

TEST_F(SlotStart, DropsStartPerFileOrRegisterOneFileAndFailuresAreReported)
{
    HWND bar = Start("profile000=x,-1,,\"" + probe + "\" /n\r\nTitle000=T\r\nprofile004=x,0,,C:\\no\\such.exe\r\n");
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1000), {"C:\\My Docs\\a.txt", "C:\\b.txt"}));
    char own[MAX_PATH] = {};  // the bar's own directory, inherited from this test
    GetCurrentDirectoryA(sizeof own, own);
    const std::string rest = "|" + std::string(own) + "|" + probe + "|1";
    EXPECT_EQ(Starts(2), (std::vector<std::string>{exe + " \"C:\\My Docs\\a.txt\"" + rest, exe + " \"C:\\b.txt\"" + rest}));

    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1001), {"C:\\A\\B.EXE"}));
    EXPECT_TRUE(PumpUntil([] { return IniValue("program section", "profile001") == "C:\\A\\B.EXE,0,,\"C:\\A\\B.EXE\""; }));
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1002), {"C:\\A\\B.EXE", "C:\\A\\C.EXE"}));
    EXPECT_EQ(TakeMessageBox(bar), "Multi files register mode cannot support");
    EXPECT_EQ(IniValue("program section", "profile002"), "<missing>");
    Click(bar, 4);  // drops leave the double-start guard alone
    EXPECT_EQ(TakeMessageBox(bar), "Execute error");
}

} // namespace
