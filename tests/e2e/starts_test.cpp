// What the real TAV.EXE makes of a dropped shortcut: stored as it is, it shows its target's icon or its own icon
// location (how it starts: launch_test); a bare program name never finds a file planted where the bar was started,
// and the failure says what and why.
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

std::string SystemReason(DWORD error)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    const std::string reason = text;
    return reason.substr(0, reason.find_last_not_of(" \t\r\n") + 1);
}

using Starts = BarTest;

TEST_F(Starts, ShortcutsAndBareNames)
{
    const ProbeLog log;
    const std::string dir = ProgramDir(), probe = ProbePath();
    const std::string work = TempDir() + "\\tav_started_here";
    CreateDirectoryA(work.c_str(), nullptr);
    const std::string plain = dir + "\\tav_plain.lnk", iconed = dir + "\\tav_iconed.lnk";
    ASSERT_TRUE(MakeShortcut(Wide(plain), {.target = Wide(probe)}));
    ASSERT_TRUE(MakeShortcut(Wide(iconed), {Wide(probe), L"", L"", SW_SHOWNORMAL, Wide(dir + "\\tav_testicons.dll"), 1}));
    // A copy of the probe under a bare name, where the bar is started from.
    const std::string planted = work + "\\tav_planted.exe";
    ASSERT_TRUE(CopyFileA(probe.c_str(), planted.c_str(), FALSE));
    char own[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof own, own);
    SetCurrentDirectoryA(work.c_str());
    const HWND bar = Start("[program section]\r\nprofile002=x,0,,tav_planted.exe\r\n");
    SetCurrentDirectoryA(own);
    ASSERT_TRUE(bar);
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1000), {plain}));
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1001), {iconed}));
    EXPECT_TRUE(PumpUntil([&] { return IniValue("program section", "profile000") == plain + ",0,,\"" + plain + "\""; }));
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1000), "face 115"); })) << "the probe's icon";
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1001), "face 114"); })) << "the link's icon location";
    // The bare name is not found, whatever the folder the bar was started in holds.
    PostMessageA(bar, WM_COMMAND, 1002, LPARAM(GetDlgItem(bar, 1002)));  // the box holds a sent one up
    const std::string failed = GetACP() == 932 ? "\x8e\xc0\x8d\x73\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
                                               : "Execute error";
    EXPECT_EQ(TakeMessageBox(bar), failed + "\ntav_planted.exe: " + SystemReason(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(log.WaitFor(1, 500).size(), 0u) << "the planted file ran";
    DeleteFileA(plain.c_str());
    DeleteFileA(iconed.c_str());
    DeleteFileA(planted.c_str());
    RemoveDirectoryA(work.c_str());
}

} // namespace
