// The real TAV.EXE starting the probe: files dropped on slot buttons, the
// system panel with the Execute Application dialog, and the failures the bar
// reports. (Clicks, registering by a drop and quitting from the panel: journey_test.)
#include <algorithm>

#include "app/gdi_holders.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

class Launcher : public BarTest {
protected:
    HWND Start(const std::string &programs)
    {
        return bar = BarTest::Start("[environment section]\r\nJapan=1\r\n[program section]\r\n" + programs);
    }
    // Command line, directory, title and show mode of each start, sorted.
    std::vector<std::string> Starts(size_t count) const
    {
        std::vector<std::string> out;
        for (ProbeRecord r : log.WaitFor(count))
            out.push_back(r["cmdline"] + "|" + r["cwd"] + "|" + r["title"] + "|" + r["show"]);
        std::sort(out.begin(), out.end());
        return out;
    }
    // Whether the last of five cells shows the run action's face: a dark blue stroke of its letters.
    bool PanelShown()
    {
        HWND cell = GetDlgItem(bar, 1004);
        // Painted afresh, so that a window that just went away cannot leave stale pixels.
        RedrawWindow(cell, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        POINT p{11, 16};
        ClientToScreen(cell, &p);
        return GetPixel(WindowDc(nullptr).get(), p.x, p.y) == RGB(0, 0, 128);
    }
    HWND bar = nullptr;
    ProbeLog log;
    const std::string probe = ProbePath(), exe = FoundExecutable(probe);
};

TEST_F(Launcher, DropsStartPerFileAndRefusalsAndFailuresAreReported)
{
    Start("profile000=x,-1,,\"" + probe + "\" /n\r\nTitle000=T\r\nprofile004=x,0,,C:\\no\\such.exe\r\n");
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1000), {"C:\\My Docs\\a.txt", "C:\\b.txt"}));
    char own[MAX_PATH] = {};  // the bar's own directory, inherited from this test
    GetCurrentDirectoryA(sizeof own, own);
    const std::string rest = "|" + std::string(own) + "|" + probe + "|1";
    EXPECT_EQ(Starts(2), (std::vector<std::string>{exe + " \"C:\\My Docs\\a.txt\"" + rest, exe + " \"C:\\b.txt\"" + rest}));

    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1002), {"C:\\A\\B.EXE", "C:\\A\\C.EXE"}));
    EXPECT_EQ(TakeMessageBox(bar), "Multi files register mode cannot support");
    EXPECT_EQ(IniValue("program section", "profile002"), "<missing>");
    PostCommand(bar, 1004);  // drops leave the double-start guard alone
    EXPECT_EQ(TakeMessageBox(bar), "Execute error");
}

TEST_F(Launcher, PanelRunsCommands)
{
    Start("");
    ASSERT_FALSE(PanelShown());
    PostCommand(bar, 504);   // the panel,
    PostCommand(bar, 1004);  // and its Execute Application dialog
    HWND d = WaitForDialog(bar, [](HWND d) { return GetDlgItem(d, 1004) != nullptr; });
    SetDlgItemTextA(d, 1004, "C:\\no\\such.exe");
    SendMessageA(d, WM_COMMAND, IDOK, 0);  // fails: the dialog stays with its text, the panel behind it
    SetWindowPos(d, nullptr, 400, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // off the bar, to see the cells
    EXPECT_TRUE(PumpUntil([&] { return PanelShown(); }));
    char text[128] = {};
    GetDlgItemTextA(d, 1004, text, sizeof text);
    EXPECT_STREQ(text, "C:\\no\\such.exe");
    SetDlgItemTextA(d, 1004, probe.c_str());
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(log.WaitFor(1).size(), 1u);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(d) && !PanelShown(); }));
}

} // namespace
