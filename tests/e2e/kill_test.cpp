// TAV.INI and TAV.BAK under a kill at every write: each change of TAV.INI, by the bar or by tavctl, is killed at
// a write or flush of any file it touches (half-way through that write, as the power going would), on a file of
// 400 slots, and the first per-user copy made where the Windows directory's file may not be written. TAV.INI
// (or the copy) is then the whole file from before the change or the whole file after it, TAV.BAK is whole,
// and the next start (or tavctl, then the start) finds every program. TAV_KILL_SWEEP=all kills at every write;
// by default the middle write of each file a change touches, and the last flush, between the move of the backup
// and the move of the file.
#include "ini/settings_rules.h"
#include "support/probe_log.h"
#include "support/win_test.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <map>
#include <set>
#include <sstream>

using namespace tavtest;

namespace {

const std::string kShim = "/tmp/tav_kill_at_write_" + std::to_string(GetCurrentProcessId()) + ".so";
const std::string kLog = kShim + ".log";

// The command line that runs a program of this tree under the shim, killed at its n-th counted write (0: never).
std::string UnderShim(int n, const std::string &program)
{
    const char *loader = sizeof(void *) == 8 ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
    return "rm -f " + kLog + "; TAV_KILL_LOG=" + kLog + (n ? " TAV_KILL_AT=" + std::to_string(n) : "") +
           " LD_PRELOAD=" + kShim + " " + loader + " '" + UnixPath(ProgramDir() + "\\" + program) + "'";
}

int CountedWrites() { return static_cast<int>(std::ranges::count(ReadFileText("Z:" + kLog), '\n')); }

// The middle write or flush of each file the counted run touched ("n what file" lines): a kill there cuts that
// file half-way, whichever file the change writes in place.
std::set<int> MiddleOfEachFile()
{
    std::map<std::string, std::vector<int>> byFile;
    std::istringstream lines(ReadFileText("Z:" + kLog));
    int n = 0;
    for (std::string what, file; lines >> n >> what >> file;)
        byFile[file].push_back(n);
    std::set<int> middles;
    for (const auto &[file, writes] : byFile)
        middles.insert(writes[writes.size() / 2]);
    return middles;
}

int Programs(const std::string &ini)
{
    int n = 0;
    std::istringstream lines(ini);
    for (std::string line; std::getline(lines, line);)
        n += line.rfind("profile", 0) == 0 && line.find('=') != std::string::npos && line.find('=') + 2 < line.size();
    return n;
}

std::string ProgramSection(const std::string &s) { return s.substr(std::min(s.find("[program section]"), s.size())); }

// 20 pages of 20 slots, every slot but the first holding an entry and a title of some length (0.4 MB; 1.6 MB with
// TAV_KILL_SWEEP=all).
std::string FullFile(bool large)
{
    std::string ini = "[environment section]\r\nmode=0\r\nmaximum pages=20\r\nstartup page=1\r\nbuttons par page=20\r\n"
                      "position=100,100\r\nJapan=1\r\n[program section]\r\n";
    for (int n = 1; n < 400; ++n) {
        const std::string k = std::to_string(n), pad(large ? 1900 : 400, static_cast<char>('a' + n % 26));
        ini += ProfileKey(n) + "=C:\\windows\\notepad.exe,0,,C:\\windows\\notepad.exe " + pad + "\r\n" + TitleKey(n) +
               "=Program " + k + " " + pad + "\r\n";
    }
    return ini;
}

struct Change {
    const char *name;
    std::string ctl;                     // tavctl's arguments; empty: a change the bar makes
    std::function<void(HWND bar)> inBar;  // what is done to the bar before it is closed
    bool firstCopy = false;              // the Windows directory's file may not be written: the per-user copy is made
};

// One run of `c` killed at write n (0: not killed), until the bar is gone: killed, or closed once its change is
// done. False when the run could not be made at all.
bool RunChange(const Change &c, int n)
{
    if (!c.ctl.empty()) {
        RunLinux(UnderShim(n, "tavctl.exe") + " " + c.ctl + " >/dev/null 2>&1");
        return true;
    }
    HWND bar = nullptr;
    if (!RunLinux("(" + UnderShim(n, "TAV.EXE") + " >/dev/null 2>&1 &)"))
        return false;
    PumpUntil([&] { return (bar = FindWindowA("TAV!", "TAV!")) && IsWindowVisible(bar); }, 20000);
    Settle(300);
    if (!bar)
        return false;
    c.inBar(bar);
    if (!PumpUntil([&] { return !IsWindow(bar); }, 1500))
        PostMessageA(bar, WM_CLOSE, 0, 0);
    PumpUntil([&] { return !IsWindow(bar); }, 20000);
    Settle(200);
    return true;
}

TEST(Kill, EveryChangeLeavesAWholeFileBeforeOrAfter)
{
    if (sizeof(void *) == 4)
        GTEST_SKIP() << "the kill shim is a 64-bit library: the x64 tree runs this (the writer is the same code)";
    ASSERT_TRUE(RunLinux("cc -shared -fPIC -O1 -o " + kShim + " '" TAV_SOURCE_DIR "/tests/kill/kill_at_write.c' -ldl"));
    char sweep[8] = {}, only[64] = {};  // TAV_KILL_ONLY: one change by name, while working on it
    GetEnvironmentVariableA("TAV_KILL_SWEEP", sweep, sizeof sweep);
    GetEnvironmentVariableA("TAV_KILL_ONLY", only, sizeof only);
    const bool all = !strcmp(sweep, "all");
    const std::string base = FullFile(all), olderBackup = "[program section]\r\nprofile001=an older file\r\n";
    const std::string backupPath = WindowsDir() + "\\TAV.BAK", json = TempDir() + "\\tav_kill.json";
    const Change changes[] = {
        {"exit save", "", [](HWND bar) {
             SetWindowPos(bar, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
             PostMessageA(bar, WM_CLOSE, 0, 0);
         }},
        {"Properties OK", "", [](HWND bar) {
             PostMessageA(bar, WM_COMMAND, MAKEWPARAM(505, BN_CLICKED), 0);
             if (const HWND d = WaitForDialog(bar, 1018)) {
                 CheckDlgButton(d, 1018, BST_CHECKED);  // no tooltips
                 Dismiss(d, IDOK);
             }
         }},
        {"drop", "", [](HWND bar) { PostDrop(GetDlgItem(bar, 1000), {"C:\\windows\\notepad.exe"}); }},
        {"swap", "", [](HWND bar) {
             SendMessageA(GetDlgItem(bar, 1001), WM_RBUTTONDOWN, MK_SHIFT, 0);
             SendMessageA(GetDlgItem(bar, 1002), WM_RBUTTONDOWN, 0, 0);
         }},
        {"tavctl add", "add 'C:\\windows\\notepad.exe' --page 1 --slot 1 --title New", {}},
        {"tavctl remove", "remove --page 1 --slot 2", {}},
        {"tavctl move", "move --page 1 --slot 2 --to-page 20 --to-slot 20", {}},
        {"tavctl title", "title --page 3 --slot 4 Renamed", {}},
        {"tavctl set", "set 'maximum pages' 19", {}},
        {"tavctl import", "import '" + json + "' --replace", {}},
        {"first per-user copy", "add 'C:\\windows\\notepad.exe' --page 1 --slot 1", {}, true},
    };
    const std::string store = StoreIniPath(), storeBackup = store.substr(0, store.size() - 3) + "BAK";
    const auto thaw = [&] { Immutable(IniPath(), false); };
    const std::shared_ptr<void> guard(nullptr, [&](void *) { thaw(); });
    // Each run starts from the same files: TAV.INI, an older TAV.BAK, no per-user copy.
    const auto prepare = [&](const Change &c) {
        thaw();
        WriteIni(base);
        std::ofstream(backupPath, std::ios::binary) << olderBackup;
        DeleteFileA(storeBackup.c_str());
        if (c.firstCopy)
            Immutable(IniPath(), true);
    };
    // The file the bar reads, and its backup.
    const auto current = [&] {
        return ReadFileText(GetFileAttributesA(store.c_str()) != INVALID_FILE_ATTRIBUTES ? store : IniPath());
    };
    for (const Change &c : changes) {
        if (only[0] && std::strcmp(only, c.name) != 0)
            continue;
        // The reference run: what the change writes, and how many writes it takes.
        prepare(c);
        if (c.ctl.rfind("import", 0) == 0) {
            // An export of the file with one title changed.
            ASSERT_TRUE(RunLinux(UnderShim(0, "tavctl.exe") + " export '" + json + "'"));
            ASSERT_TRUE(RunLinux("sed -i 's/Program 7 /Imported 7 /' " + UnixPath(json)));
            WriteIni(base);
        }
        ASSERT_TRUE(RunChange(c, 0)) << c.name;
        const std::string after = current();
        const int writes = CountedWrites();
        ASSERT_TRUE(after != base) << c.name << " changed nothing";
        ASSERT_GT(writes, 2) << c.name;
        std::set<int> points = MiddleOfEachFile();
        points.insert(writes);
        if (c.firstCopy)
            points.insert(1);  // the copy's first write: a copy cut there once lost every program
        if (all)
            for (int n = 1; n <= writes; ++n)
                points.insert(n);
        for (const int n : points) {
            prepare(c);
            ASSERT_TRUE(RunChange(c, n)) << c.name << " at " << n;
            const std::string ini = current(), backup = ReadFileText(c.firstCopy ? storeBackup : backupPath);
            const std::string at =
                std::string(c.name) + " killed at write " + std::to_string(n) + " of " + std::to_string(writes);
            EXPECT_TRUE(ini == base || ini == after)
                << at << ": TAV.INI is " << ini.size() << " bytes, " << Programs(ini) << " programs";
            EXPECT_TRUE(backup == (c.firstCopy ? "" : olderBackup) || backup == base)
                << at << ": TAV.BAK is " << backup.size() << " bytes";
            // Every other run, tavctl reads the file first; then the bar starts and ends.
            const int programs = Programs(ini);
            if (n % 2 == 0) {
                const std::string listed = UnixPath(TempDir() + "\\tav_kill_list.txt");
                RunLinux(UnderShim(0, "tavctl.exe") + " list > " + listed);
                const std::string list = ReadFileText("Z:" + listed);
                EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), programs) << at << ": tavctl list";
            }
            BarProcess restarted;
            EXPECT_TRUE(restarted.WaitForBar()) << at;
            restarted.Close();
            const std::string next = current();
            EXPECT_EQ(ProgramSection(next), ProgramSection(ini)) << at << ": the next start changed the programs";
            for (const std::string &dir : {WindowsDir(), store.substr(0, store.size() - 8)})
                for (const char *stray : {"\\TAV.NEW", "\\TAV.OLD"})
                    EXPECT_EQ(GetFileAttributesA((dir + stray).c_str()), INVALID_FILE_ATTRIBUTES)
                        << at << ": " << stray << " left after the next start";
        }
    }
    thaw();
    WriteIni("-");
    DeleteFileA(backupPath.c_str());
    DeleteFileA(storeBackup.c_str());
    RunLinux("rm -f " + kShim + " " + kLog + " " + UnixPath(json));
}

}  // namespace
