// The real TAV.EXE where other programs and the system push it: simultaneous starts, a hung window, two
// writers, other programs' commands, a reload after the user moved the bar, an unwritable TAV.INI, and
// CTL3D32.DLL in the system directory and beside it.
#include <algorithm>
#include <cstdio>
#include <ranges>
#include <thread>

#include "ini/profile_file.h"
#include "ini/settings_rules.h"
#include "support/probe_log.h"
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
    // A top-level window whose thread stops answering for up to 25 seconds (the window goes with the thread).
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr), created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SignalObjectAndWait(created, release, 25000, FALSE);
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

// Another program keeps the writers' lock (a script stuck half-way): a click still starts at once, and a drop is
// not stored behind the lock's back: the user is told.
TEST_F(BarRobustness, AWriterThatKeepsTheLockStallsNoClickAndIsNeverWrittenPast)
{
    ProbeLog log;
    ASSERT_TRUE(Start("[program section]\r\nprofile000=x,0,," + ProbePath() + "\r\n"));
    const HANDLE lock = CreateMutexA(nullptr, FALSE, "TAV_INI_WRITER");
    ASSERT_EQ(WaitForSingleObject(lock, 0), WAIT_OBJECT_0);
    const DWORD t0 = GetTickCount();
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), LPARAM(GetDlgItem(bar, 1000)));
    EXPECT_EQ(log.WaitFor(1).size(), 1u);
    EXPECT_LT(GetTickCount() - t0, 2000u) << "the click waited for the lock";
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1001), {"C:\\a.exe"}));
    Settle(kProfileLockTimeoutMs - 1000);
    EXPECT_EQ(TakeMessageBox(bar), "TAV.INI cannot be written: the change was not stored");
    ReleaseMutex(lock);
    CloseHandle(lock);
    EXPECT_EQ(IniValue(kProgramSection, "profile001"), "<missing>");
}

// The visible dialogs and boxes of the bar's thread.
int OpenDialogs(HWND bar)
{
    int n = 0;
    for (HWND d = nullptr; (d = FindWindowExA(nullptr, d, "#32770", nullptr));)
        n += IsWindowVisible(d) && GetWindowThreadProcessId(d, nullptr) == GetWindowThreadProcessId(bar, nullptr);
    return n;
}

TEST_F(BarRobustness, OtherProgramsCommandsStayInsideTheBarsRules)
{
    HWND d;
    ASSERT_TRUE(Start("[environment section]\r\nbuttons par page=5\r\n"));
    const auto command = [&](int id) { PostMessageA(bar, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    // A slot beyond the grid names no button: nothing opens.
    command(1019);
    Settle(400);
    EXPECT_EQ(OpenDialogs(bar), 0);
    // With one dialog open, further commands open none over it.
    command(1000);
    ASSERT_TRUE(d = WaitForDialog(bar, 1006));
    for (int id : {1001, 505, 1002})
        command(id);
    Settle(400);
    EXPECT_EQ(OpenDialogs(bar), 1);
    ASSERT_TRUE(Dismiss(d, IDCANCEL));
    // The subclass properties are for reading: rewritten, they do not take the bar anywhere.
    for (HWND button : {GetDlgItem(bar, 1000), GetDlgItem(bar, 501)}) {
        SetPropA(button, "TAVHI", nullptr);
        SetPropA(button, "TAVLO", reinterpret_cast<HANDLE>(0x4141));
        InvalidateRect(button, nullptr, TRUE);  // painted through the subclass procedure
    }
    // The Properties dialog's OK keeps the system panel shown: the empty slot does not come back.
    ASSERT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1000), "face blank"); }));
    command(504);
    command(505);
    ASSERT_TRUE(d = WaitForDialog(bar, 1013)) << "the bar stopped after the rewritten properties";
    ASSERT_TRUE(Dismiss(d, IDOK));
    Settle(300);
    EXPECT_FALSE(Shows(GetDlgItem(bar, 1000), "face blank"));
}

// Twenty pages of twenty, each slot's icon shifted by its page: turned to, every page shows its own icons
// (whether drawn while the bar was idle or at the turn), and a reload after another program changed two
// entries keeps the slot buttons and shows the new icons.
TEST_F(BarRobustness, EveryPageShowsItsOwnIconsAndAReloadKeepsTheButtons)
{
    const std::string icons = ProgramDir() + "\\tav_testicons.dll";
    const auto icon = [](int n, bool changed) { return (n + n / 20 + (changed && (n == 0 || n == 25))) % 4; };
    const auto entries = [&](bool changed) {
        std::string ini = "[environment section]\r\nmaximum pages=20\r\nbuttons par page=20\r\n[program section]\r\n";
        for (int n = 0; n < 400; ++n)
            ini += ProfileKey(n) + "=" + icons + "," + std::to_string(icon(n, changed)) + ",,C:\\P.EXE\r\n";
        return ini;
    };
    const auto showsOwn = [&](HWND slot, int n, bool changed = false) {
        return Shows(slot, "face " + std::to_string(113 + icon(n, changed)));
    };
    ASSERT_TRUE(Start(entries(false)));
    std::vector<HWND> slots;
    for (int k = 0; k < 20; ++k)
        slots.push_back(GetDlgItem(bar, 1000 + k));
    const auto next = [&] { SendMessageA(bar, WM_COMMAND, MAKEWPARAM(502, BN_CLICKED), LPARAM(GetDlgItem(bar, 502))); };
    const auto pageShowsOwn = [&](int page) {
        return std::ranges::all_of(std::views::iota(0, 20), [&](int k) { return showsOwn(slots[k], page * 20 + k); });
    };
    for (int page = 0; page < 20; ++page, next())
        EXPECT_TRUE(PumpUntil([&] { return pageShowsOwn(page); }, 1000)) << "page " << page + 1;
    // Slots 0 and 25, on pages 1 and 2, get another icon; the bar is on page 1 again.
    WriteIni(entries(true));
    SendMessageA(bar, WM_USER, 0, 0);
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(GetDlgItem(bar, 1000 + k), slots[k]) << "slot button " << k << " made again";
    EXPECT_TRUE(PumpUntil([&] { return showsOwn(slots[0], 0, true) && showsOwn(slots[1], 1, true); }));
    next();
    EXPECT_TRUE(PumpUntil([&] { return showsOwn(slots[5], 25, true) && showsOwn(slots[4], 24, true); }));
}

// A press waits for the bar's move and size loop, when what the bar did before (posted, notices) is done.
TEST_F(BarRobustness, AReloadKeepsTheBarWhereTheUserMovedAndSizedIt)
{
    ASSERT_TRUE(Start("[environment section]\r\nposition=100,200\r\n"));
    const auto inLoop = [&] { return (ThreadInfo(bar).flags & GUI_INMOVESIZE) != 0; };
    const auto at = [](POINT p) { return " mousemove " + std::to_string(p.x) + " " + std::to_string(p.y); };
    const auto press = [&](POINT p) { return Xdotool(at(p) + " mousedown 1") && PumpUntil(inLoop); };
    const auto release = [&](POINT p) { return Xdotool(at(p) + " mouseup 1") && PumpUntil([&] { return !inLoop(); }); };
    // A click on the caption stores nothing; drags of it (elsewhere: no double click) and of the border do: 150
    // right and 100 down, then five 38-pixel slots wider and a bit.
    const RECT start = WindowRectOf(bar);
    const POINT caption{start.left + 100, start.top + 8}, click{caption.x - 30, caption.y},
        moved{start.right - 2 + 150, start.top + 128};
    ASSERT_TRUE(press(click) && release(click) && press(caption));
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1})) << "stored after a click";
    ASSERT_TRUE(release({caption.x + 150, caption.y + 100}) && press(moved) && release({moved.x + 200, moved.y}));
    EXPECT_TRUE(PumpUntil([&] { return bar_->notices == std::vector<LPARAM>{1, 0, 0}; })) << "once for each drag";
    SendMessageA(bar, WM_USER, 0, 0);
    const RECT r = WindowRectOf(bar);
    const std::string place = FormatPosition(start.left + 150, start.top + 100) + " 10";
    EXPECT_EQ(IniValue(kEnvironmentSection, kKeyPosition) + " " + IniValue(kEnvironmentSection, kKeyButtonsPerPage) +
                  " | " + FormatPosition(r.left, r.top) + " " + std::to_string(SlotCount(bar)), place + " | " + place);
}

TEST_F(BarRobustness, AnUnwritableTavIniMovesToThePerUserCopy)
{
    const std::string copy = StoreIniPath(), store = copy.substr(0, copy.size() - 8);
    // Changeable again at the end, however the test ends; a run that broke off may have left them so.
    const auto thaw = [&] { Immutable(IniPath(), false), Immutable(copy, false); };
    const std::shared_ptr<void> guard(nullptr, [&](void *) { thaw(); });
    thaw();
    DeleteFileA(copy.c_str());
    WriteIni("[environment section]\r\nposition=100,100\r\n");
    ASSERT_TRUE(Immutable(IniPath(), true));
    // A drop registers in the per-user copy, made from the file; the bar's place at its end goes there too.
    HWND bar = Start(""), d;
    // Held unshared by a backup tool past the wait when the first change comes: nothing is stored, and no
    // per-user copy is made without what the file holds.
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), LPARAM(GetDlgItem(bar, 1001)));
    ASSERT_TRUE(d = WaitForDialog(bar, 1006));
    SetDlgItemTextA(d, 1006, "C:\\b.exe");
    SetDlgItemTextA(d, 1007, "C:\\b.exe");
    const HANDLE held = CreateFileA(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    PostMessageA(d, WM_COMMAND, IDOK, 0);
    Settle(kHeldProfileWaitMs - 1000);
    EXPECT_EQ(TakeMessageBox(d), "TAV.INI cannot be written: the change was not stored");
    CloseHandle(held);
    ASSERT_TRUE(Dismiss(d, IDCANCEL));
    EXPECT_EQ(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "a per-user copy made without the file";
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1000), {"C:\\a.exe"}));
    EXPECT_TRUE(PumpUntil([&] { return ReadFileText(copy).find("profile000=C:\\a.exe") != std::string::npos; }));
    EXPECT_NE(ReadFileText(copy).find("position=100,100"), std::string::npos) << "the copy is made from the file";
    SetWindowPos(bar, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1, 0, 0, 2}));
    EXPECT_EQ(ReadFileText(IniPath()), "[environment section]\r\nposition=100,100\r\n");
    // The next start reads the copy. With that unchangeable too, a definition is not stored: the
    // user is told, the dialog stays open, and nothing is announced.
    ASSERT_TRUE(Immutable(copy, true));
    bar_ = std::make_unique<BarProcess>();
    ASSERT_TRUE(bar = bar_->WaitForBar());
    EXPECT_EQ(WindowRectOf(bar).left * 1000 + WindowRectOf(bar).top, 300200);
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), LPARAM(GetDlgItem(bar, 1001)));
    ASSERT_TRUE(d = WaitForDialog(bar, 1006));
    SetDlgItemTextA(d, 1006, "C:\\b.exe");
    SetDlgItemTextA(d, 1007, "C:\\b.exe");
    PostMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(TakeMessageBox(d), "TAV.INI cannot be written: the change was not stored");
    EXPECT_TRUE(IsWindowVisible(d)) << "the dialog stays open";
    Dismiss(d, IDCANCEL);
    EXPECT_EQ(bar_->notices, (std::vector<LPARAM>{1})) << "nothing announced";
    bar_.reset();
    thaw();
    DeleteFileA(copy.c_str());
    DeleteFileA((store + "\\TAV.BAK").c_str());
}

TEST_F(BarRobustness, Ctl3dOnlyFromTheSystemDirectoryAndOnlyInTheX86Build)
{
    // The stand-in logs beside itself. Wine prefers its own CTL3D32 unless told to load the file.
    const std::string installed = SystemDir() + "\\ctl3d32.dll", planted = ProgramDir() + "\\CTL3D32.DLL";
    const std::string stub = ProgramDir() + "\\ctl3d_stub.dll", kept = installed + ".tav";
    const std::string systemLog = SystemDir() + "\\ctl3d_calls.txt", besideLog = ProgramDir() + "\\ctl3d_calls.txt";
    const char *overrides = "Software\\Wine\\AppDefaults\\TAV.EXE\\DllOverrides";
    // Wine's own kept aside, unless a run that broke off did so already.
    ASSERT_TRUE(GetFileAttributesA(kept.c_str()) != INVALID_FILE_ATTRIBUTES || MoveFileA(installed.c_str(), kept.c_str()));
    ASSERT_TRUE(CopyFileA(stub.c_str(), installed.c_str(), FALSE) && CopyFileA(stub.c_str(), planted.c_str(), FALSE));
    DeleteFileA(systemLog.c_str()), DeleteFileA(besideLog.c_str());
    RegSetKeyValueA(HKEY_CURRENT_USER, overrides, "ctl3d32", REG_SZ, "native", 7);
    Start("-");
    char instance[32] = {};
    std::snprintf(instance, sizeof instance, " %llx\n",
                  static_cast<unsigned long long>(GetWindowLongPtrA(bar, GWLP_HINSTANCE)));
    EXPECT_EQ(bar_->Close(), 0);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, overrides, "ctl3d32");
    MoveFileExA(kept.c_str(), installed.c_str(), MOVEFILE_REPLACE_EXISTING);
    DeleteFileA(planted.c_str());
    const std::string i = instance, calls = "load 0\nCtl3dRegister" + i + "Ctl3dAutoSubclass" + i + "Ctl3dUnregister" +
                                            i + "unload 0\n";
    EXPECT_EQ(ReadFileText(systemLog), sizeof(void *) == 4 ? calls : "") << "there is no 64-bit CTL3D32";
    EXPECT_EQ(ReadFileText(besideLog), "") << "never the one beside the bar";
    DeleteFileA(systemLog.c_str());
}

} // namespace
