// tavctl.exe run as a script would run it, beside the real bar: what it registers shows and starts at once, bad
// input changes nothing, a backup restores under the other code page, writers share the lock and lose nothing.
#include <algorithm>
#include <atomic>
#include <fstream>
#include <future>
#include <mutex>
#include <regex>
#include <thread>

#include "ctl/json_rules.h"
#include "ini/settings_rules.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

struct CtlRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out, err;  // UTF-8, as tavctl writes to a pipe
};

// tavctl with `args` (UTF-8), its output read through pipes of `size` bytes (0: the system's) once `meanwhile`
// (given the process) has run: until then nobody reads them.
CtlRun Ctl(const std::string &args, DWORD size = 0, const std::function<void(HANDLE)> &meanwhile = {})
{
    CtlRun run;
    HANDLE outRead, outWrite, errRead, errWrite;
    PROCESS_INFORMATION pi{};
    bool started = false;
    {
        // One start at a time: a program started meanwhile by another thread would inherit these pipes'
        // write ends, and their readers would wait for that program too.
        static std::mutex starting;
        const std::lock_guard<std::mutex> hold(starting);
        // Under Wine the first program that asks for the desktop starts the desktop's process, which keeps that
        // program's standard handles: asked for here, before any pipe is made, it keeps none of tavctl's.
        GetDesktopWindow();
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        CreatePipe(&outRead, &outWrite, &inherit, size);
        CreatePipe(&errRead, &errWrite, &inherit, size);
        SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{.cb = sizeof(STARTUPINFOW), .dwFlags = STARTF_USESTDHANDLES, .hStdOutput = outWrite,
                        .hStdError = errWrite};
        std::wstring line = L"\"" + Wide(ProgramDir(), CP_UTF8) + L"\\tavctl.exe\" " + Wide(args, CP_UTF8);
        // Under Wine a process now and then fails to start at all, which is no answer of tavctl's.
        for (int attempt = 0; attempt < 3 && !started; ++attempt)
            if (!(started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)))
                run.err = "not started: error " + std::to_string(GetLastError());
        CloseHandle(outWrite);
        CloseHandle(errWrite);
    }
    if (started) {
        if (meanwhile)
            meanwhile(pi.hProcess);
        const auto readAll = [](HANDLE pipe, std::string *text) {
            char chunk[4096];
            for (DWORD got = 0; ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got;)
                text->append(chunk, got);
        };
        std::thread errors(readAll, errRead, &run.err), output(readAll, outRead, &run.out);
        // The notice tavctl sends reaches this thread's windows too: they answer meanwhile.
        PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
        errors.join();
        output.join();
        GetExitCodeProcess(pi.hProcess, &run.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

// A copy of the probe at `path` (UTF-8), in a folder made for it.
std::wstring PlantProbe(const std::string &path)
{
    const std::wstring wide = Wide(path, CP_UTF8);
    CreateDirectoryW(wide.substr(0, wide.find_last_of(L'\\')).c_str(), nullptr);
    CopyFileW(Wide(ProbePath(), CP_UTF8).c_str(), wide.c_str(), FALSE);
    return wide;
}

// tavctl under the other code page (932 and 1252 trade places), through the Linux side: Wine takes a
// process's code page from its locale.
bool CtlInOtherLocale(const std::string &args)
{
    const std::string dir = UnixPath(ProgramDir());
    const char *loader = sizeof(void *) == 4 ? "/usr/lib/wine/wine" : "/usr/lib/wine/wine64";
    const char *locale = GetACP() == 932 ? "C.UTF-8" : "ja_JP.UTF-8";
    return RunLinux(std::string("LC_ALL=") + locale + " " + loader + " " + dir + "/tavctl.exe " + args +
                    " >/dev/null 2>&1");
}

using Tavctl = BarTest;

TEST_F(Tavctl, WhatItAddsShowsAndStarts)
{
    const ProbeLog log;
    const std::string temp = TempDir();
    // A name the code page cannot hold: stored by its short name.
    const std::string outside = GetACP() == 932 ? "caf\xc3\xa9" : "\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88";
    const std::string spaced = temp + "\\tav ctl folder\\app one.exe", link = temp + "\\tav_ctl.lnk";
    const std::string foreign = temp + "\\tav_ctl_" + outside + "\\" + outside + ".exe";
    PlantProbe(spaced);
    PlantProbe(foreign);
    ASSERT_TRUE(MakeShortcut(Wide(link, CP_UTF8), {.target = Wide(ProbePath(), CP_UTF8)}));
    ASSERT_TRUE(Start("[environment section]\r\nbuttons par page=5\r\n"));

    const std::string titles[3] = {"Spaced \xc2\xa7 2\xc3\x97" "3", "Link", "Outside"};
    const std::string adds[3] = {"\"" + spaced + "\" -a \"b c\"", "\"" + link + "\"", "\"" + foreign + "\""};
    for (int k = 0; k < 3; ++k) {
        const CtlRun run = Ctl("add " + adds[k] + " --title \"" + titles[k] + "\"");
        ASSERT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.out.rfind("page 1 slot " + std::to_string(k + 1) + ": ", 0), 0u) << run.out;
    }
    // With --json, the slot it chose as list --json describes it (there one level further in).
    const std::string added = Ctl("add " + adds[2] + " --title " + titles[2] + " --slot 3 --replace --json").out;
    const std::string listed = Ctl("list --json").out, last = listed.substr(listed.rfind("  {"));
    EXPECT_EQ(added + "]\n", std::regex_replace(last, std::regex("\n  "), "\n").substr(2)) << listed;
    const CtlRun list = Ctl("list");
    EXPECT_NE(list.out.find("1\t1\t" + spaced + "\t0\tnormal\t\t\"" + spaced + "\" -a \"b c\"\t" + titles[0] + "\n"),
              std::string::npos) << list.out;
    EXPECT_NE(list.out.find("1\t2\t" + link + "\t0\tnormal\t\t\"" + link + "\"\tLink\n"), std::string::npos);
    EXPECT_NE(list.out.find("\tOutside\n"), std::string::npos);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 3);

    // The running bar reloaded: every face is the probe's icon, and every slot starts it.
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1000 + k), "face 115"); })) << "slot " << k;
    for (int k = 0; k < 3; ++k) {
        Settle(2100);  // the bar's guard against a double start
        PostMessageA(bar, WM_COMMAND, 1000 + k, LPARAM(GetDlgItem(bar, 1000 + k)));
        ASSERT_EQ(log.WaitFor(k + 1).size(), size_t(k + 1)) << "slot " << k << " started nothing";
    }

    // Moved as the bar swaps, titles with the programs; removed with both keys.
    ASSERT_EQ(Ctl("move --page 1 --slot 1 --to-slot 5").exitCode, 0u);
    EXPECT_EQ(IniValue("program section", "Title004"), Narrow(Wide(titles[0], CP_UTF8)));
    EXPECT_EQ(IniValue("program section", "profile000"), "");
    ASSERT_EQ(Ctl("remove --page 1 --slot 2").exitCode, 0u);
    EXPECT_EQ(IniValue("program section", "profile001"), "<missing>");
    EXPECT_EQ(IniValue("program section", "Title001"), "<missing>");
    DeleteFileA(link.c_str());
}

TEST_F(Tavctl, BadInputChangesNothing)
{
    const std::string probe = ProbePath(), entry = JsonQuoted(probe + ",0,,\"" + probe + "\"");
    const std::string malformed = TempDir() + "\\tav_ctl_bad.json", other = TempDir() + "\\tav_ctl_other.json";
    const std::string titled = TempDir() + "\\tav_ctl_titled.json", overlong = TempDir() + "\\tav_ctl_long.json";
    const std::string longer = probe + ",0,,\"" + probe + "\" " + std::string(1023, 'x');
    std::ofstream(malformed) << "{\"tav\": 1, \"programs\": [";
    // Backups whose second program has a title that would not read back, and whose first an entry too long.
    std::ofstream(titled) << "{\"tav\": 1, \"programs\": [{\"key\": 2, \"entry\": " << entry << "}, {\"key\": 1, "
                          << "\"entry\": " << entry << ", \"title\": \"'Beta'\"}]}";
    std::ofstream(overlong) << "{\"tav\": 1, \"programs\": [{\"page\": 1, \"slot\": 3, \"entry\": "
                            << JsonQuoted(longer) << "}]}";
    WriteIni("-");
    ASSERT_EQ(Ctl("add \"" + probe + "\" --slot 2").exitCode, 0u);
    ASSERT_EQ(Ctl("export \"" + other + "\"").exitCode, 0u);
    ASSERT_EQ(Ctl("move --page 1 --slot 2 --to-slot 3").exitCode, 0u);  // the backup no longer holds it as it is
    const std::string before = ReadFileText(IniPath());
    const struct { std::string args, error; } kCases[] = {
        {"add \"" + probe + "\" --page 2", "page 2 is beyond the bar's 1 page"},
        {"add C:\\no\\such.exe", "no such file: C:\\no\\such.exe"},
        {"add \"" + probe + "\" --slot 3", "page 1 slot 3 holds"},
        {"add \"" + probe + "\" a,b", "the argument 'a,b' holds a comma"},
        {"import \"" + malformed + "\"", malformed + ": line 1, column "},
        {"import \"" + other + "\"", "the import would drop 1 program"},
        {"set \"buttons par page\" many", "buttons par page takes a number"},
        {"remove --page 1 --slot 1", "page 1 slot 1 is empty"},
        // A title the profile reader would not give back as given, refused by the import with its slot named.
        {"import \"" + titled + "\"", titled + ": page 1 slot 2: the title ''Beta'' would read back as 'Beta'"},
        {"import \"" + overlong + "\"", overlong + ": page 1 slot 3: the entry would be " +
                                           std::to_string(longer.size()) + " bytes; the bar keeps at most 1023"},
        // A line break given shows escaped: the error stays one line.
        {"add \"" + probe + "\" --dir \"C:\\no\r\nsuch\"", "no such folder: C:\\no\\r\\nsuch"},
    };
    for (const auto &c : kCases) {
        const CtlRun run = Ctl(c.args);
        EXPECT_EQ(run.exitCode, 2u) << c.args;
        EXPECT_EQ(run.err.rfind("tavctl: " + c.error, 0), 0u) << c.args << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(ReadFileText(IniPath()), before) << c.args;
    }
    for (const std::string &file : {malformed, other, titled, overlong})
        DeleteFileA(file.c_str());
}

TEST_F(Tavctl, BackupRestoresUnderTheOtherCodePage)
{
    const std::string dir = TempDir() + "\\tav ctl backup";
    const std::string program = dir + "\\tool.exe", backup = TempDir() + "\\tav_ctl_backup.json";
    const std::string again = TempDir() + "\\tav_ctl_again.json";
    PlantProbe(program);
    WriteIni("[environment section]\r\nbuttons par page=8\r\nmaximum pages=3\r\n");
    // Text both code pages hold beyond ASCII: the section sign and the multiplication sign.
    ASSERT_EQ(Ctl("add \"" + program + "\" --page 3 --slot 8 --title \"Tool \xc2\xa7 2\xc3\x97" "3\"").exitCode, 0u);
    ASSERT_EQ(Ctl("add \"" + program + "\" -x --minimized --dir \"" + dir + "\" --icon \"" + program + ",1\"").exitCode,
              0u);
    // A folder only this code page can name: the other one takes it by its short name.
    const std::string native = GetACP() == 932 ? "\xe6\x97\xa5\xe6\x9c\xac" : "\xc3\x9cn\xc3\xaf";
    const std::string nativeDir = TempDir() + "\\tav_" + native;
    const std::wstring nativeProgram = PlantProbe(nativeDir + "\\tool.exe");
    ASSERT_EQ(Ctl("add \"" + nativeDir + "\\tool.exe\" --dir \"" + nativeDir + "\"").exitCode, 0u);
    ASSERT_EQ(Ctl("export \"" + backup + "\"").exitCode, 0u);
    WriteIni("-");
    // A dry run says what the import would change, and writes nothing.
    const CtlRun dry = Ctl("import \"" + backup + "\" --dry-run");
    EXPECT_EQ(dry.exitCode, 0u) << dry.err;
    EXPECT_NE(dry.out.find("page 3 slot 8: adds \"" + program + "\"\n"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("\n3 programs in " + backup + ": 6 changes; nothing written (--dry-run)\n"),
              std::string::npos);
    EXPECT_EQ(GetFileAttributesA(IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(CtlInOtherLocale("import '" + backup + "'"));
    ASSERT_TRUE(CtlInOtherLocale("export '" + again + "'"));
    // The same text but for the code page it was made under and the short names.
    const auto backslashes = [](std::string path) {
        for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 2))
            path.insert(at, 1, '\\');
        return path;
    };
    wchar_t shortName[MAX_PATH] = {};
    GetShortPathNameW(Wide(nativeDir, CP_UTF8).c_str(), shortName, MAX_PATH);
    std::string expected = ReadFileText(backup);
    const std::string longForm = backslashes(nativeDir), shortForm = backslashes(Narrow(shortName, CP_UTF8));
    for (size_t at = 0; (at = expected.find(longForm, at)) != std::string::npos; at += shortForm.size())
        expected.replace(at, longForm.size(), shortForm);
    const auto withoutCodePage = [](std::string text) {
        const size_t at = text.find("\"codePage\"");
        return at == std::string::npos ? text : text.erase(at, text.find('\n', at) - at);
    };
    EXPECT_NE(expected.find("Tool \xc2\xa7 2\xc3\x97" "3"), std::string::npos);
    EXPECT_NE(shortForm, longForm);
    EXPECT_EQ(withoutCodePage(ReadFileText(again)), withoutCodePage(expected));
    DeleteFileW(nativeProgram.c_str());
    RemoveDirectoryW(Wide(nativeDir, CP_UTF8).c_str());
    DeleteFileA(backup.c_str());
    DeleteFileA(again.c_str());
}

TEST_F(Tavctl, ConcurrentWritersLoseNothing)
{
    const std::string probe = ProbePath();
    ASSERT_TRUE(Start("[environment section]\r\nbuttons par page=20\r\nmaximum pages=20\r\n"));
    std::atomic<int> failures{0}, done{0};
    std::string firstError;  // kept by the thread that failed first
    const auto adds = [&](int firstPage) {
        for (int n = 0; n < 100; ++n)
            if (const CtlRun run = Ctl("add \"" + probe + "\" --page " + std::to_string(firstPage + n / 20) +
                                       " --slot " + std::to_string(n % 20 + 1));
                run.exitCode != 0 && failures++ == 0)
                firstError = "exit " + std::to_string(run.exitCode) + ": " + run.err;
        ++done;
    };
    std::thread one(adds, 1), two(adds, 6);
    // This thread answers the notices meanwhile, and the bar saves its settings half-way through.
    PumpUntil([&] { return IniValue("program section", "profile100") != "<missing>"; }, 60000);
    EXPECT_EQ(bar_->Close(), 0);
    PumpUntil([&] { return done == 2; }, 120000);
    one.join();
    two.join();
    EXPECT_EQ(failures, 0) << firstError;
    const std::string ini = ReadFileText(IniPath());
    int entries = 0;
    for (int key = 0; key < 200; ++key)
        entries += IniValue("program section", ProfileKey(key).c_str()) != "<missing>";
    EXPECT_EQ(entries, 200);
    EXPECT_EQ(IniValue("environment section", "buttons par page"), "20") << "the bar's own save";
}

TEST_F(Tavctl, TheLockIsHeldForTheFileAloneAndNeverGoneWithout)
{
    const std::string probe = ProbePath(), backup = TempDir() + "\\tav_ctl_locked.json";
    WriteIni("-");
    ASSERT_EQ(Ctl("add \"" + probe + "\" --slot 1").exitCode, 0u);
    ASSERT_EQ(Ctl("export \"" + backup + "\"").exitCode, 0u);
    const std::string before = ReadFileText(IniPath());
    // Another program holds the writers' lock past its time-out: every verb reads and writes nothing, and says so.
    const HANDLE lock = CreateMutexA(nullptr, TRUE, "TAV_INI_WRITER");
    const std::string verbs[] = {"add \"" + probe + "\" --slot 2", "remove --page 1 --slot 1",
                                 "move --page 1 --slot 1 --to-slot 3", "title --page 1 --slot 1 T", "set mode 3",
                                 "import \"" + backup + "\" --replace", "list", "export -"};
    std::vector<std::future<CtlRun>> runs;
    for (const std::string &verb : verbs)
        runs.push_back(std::async(std::launch::async, [verb] { return Ctl(verb); }));
    const auto ready = [](auto &run) { return run.wait_for(std::chrono::seconds(0)) == std::future_status::ready; };
    PumpUntil([&] { return std::all_of(runs.begin(), runs.end(), ready); }, 60000);
    ReleaseMutex(lock);
    CloseHandle(lock);
    for (size_t i = 0; i < runs.size(); ++i) {
        const CtlRun run = runs[i].get();
        EXPECT_TRUE(run.exitCode == 1 && run.out.empty() &&
                    run.err == "tavctl: another program has held TAV.INI (the lock TAV_INI_WRITER) for over 5 s; "
                               "nothing was read or written\n") << verbs[i] << ": " << run.exitCode << " " << run.err;
    }
    EXPECT_EQ(ReadFileText(IniPath()), before);
    // A tavctl whose output nobody reads (a pipe of one byte) holds no lock meanwhile: another writer gets it in time.
    const CtlRun stuck = Ctl("add \"" + probe + "\" --slot 4", 1, [&](HANDLE process) {
        EXPECT_TRUE(PumpUntil([] { return IniValue("program section", "profile003") != "<missing>"; }, 15000));
        const CtlRun other = Ctl("add \"" + probe + "\" --slot 5");
        EXPECT_EQ(other.exitCode, 0u) << other.err;
        EXPECT_EQ(WaitForSingleObject(process, 0), DWORD(WAIT_TIMEOUT)) << "its output was taken after all";
    });
    EXPECT_EQ(stuck.out.rfind("page 1 slot 4: ", 0), 0u) << stuck.out;
    DeleteFileA(backup.c_str());
}

TEST_F(Tavctl, APathNoStartTakesIsNotStored)
{
    // The probe four folders of 60 letters deep (made by \\?\ paths): 285 characters, far more than its short form.
    std::wstring deep = Wide(TempDir(), CP_UTF8) + L"\\tav_ctl_deep";
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    for (wchar_t letter : {L'a', L'b', L'c', L'd'})
        CreateDirectoryW((L"\\\\?\\" + (deep += L"\\" + std::wstring(60, letter))).c_str(), nullptr);
    CopyFileW(Wide(ProbePath(), CP_UTF8).c_str(), (L"\\\\?\\" + (deep += L"\\probe.exe")).c_str(), FALSE);
    ASSERT_TRUE(Start("-"));
    // Dropped: a box says why, and nothing is stored, not even by the short form (which a start resolves).
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1000), {deep}));
    const HWND box = WaitForDialog(bar, [](HWND b) { return GetWindowTextLengthW(GetDlgItem(b, 0xFFFF)) > 0; });
    wchar_t title[16] = {}, text[1024] = {};  // empty without a box
    GetWindowTextW(box, title, int(std::size(title)));
    GetDlgItemTextW(box, 0xFFFF, text, int(std::size(text)));
    EXPECT_TRUE(!wcscmp(title, L"TAV!") && wcsstr(text, L"255") && wcsstr(text, L"\n\nprobe.exe"))
        << Narrow(text, CP_UTF8);
    ASSERT_TRUE(Dismiss(box, IDOK));
    EXPECT_EQ(IniValue("program section", "profile000"), "<missing>");
    const CtlRun add = Ctl("add \"" + Narrow(deep, CP_UTF8) + "\"");
    EXPECT_TRUE(add.exitCode == 2 && add.err.find(": the file's full name is longer than the 255 characters a start "
                                                  "takes\n") != std::string::npos) << add.err;
}

// A hot key another program holds (here this one) is stored all the same, and said so.
TEST_F(Tavctl, AHotKeyAnotherProgramHoldsIsStoredAndSaidSo)
{
    WriteIni("-");
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'T'));
    const CtlRun taken = Ctl("set \"hot key\" alt+ctrl+t");
    EXPECT_EQ(taken.exitCode, 0u);
    EXPECT_EQ(taken.out,
              "hot key = Ctrl+Alt+T (another program holds this hot key: the bar takes it at its next start)\n");
    EXPECT_EQ(IniValue("environment section", "hot key"), "Ctrl+Alt+T");
    UnregisterHotKey(nullptr, 1);
}

TEST(TavctlAutostart, RunKeyNamesTheBarBesideIt)
{
    const wchar_t *run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_EQ(Ctl("autostart on").exitCode, 0u);
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, run, L"TAV!", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), L"\"" + Wide(ProgramDir(), CP_UTF8) + L"\\TAV.EXE\"");
    ASSERT_EQ(Ctl("autostart off").exitCode, 0u);
    EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, run, L"TAV!", RRF_RT_REG_SZ, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

} // namespace

