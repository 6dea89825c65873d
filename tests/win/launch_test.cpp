// LaunchProgram starting the probe under the system's real FindExecutableA and CreateProcessA; the probe writes
// down what it was started with. (Each kind of file's command line: host; title, show mode, folder: journey_test.)
#include <algorithm>

#include "launch/launch.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

TEST(Launch, LongArgumentsArriveWholeAndFailuresStartNothing)
{
    const ProbeLog log;
    const std::string probe = ProbePath(), args(5000, 'a');
    // Sized to its text: long arguments arrive whole; beyond what the system takes, nothing starts.
    EXPECT_GE(LaunchProgram(probe.c_str(), args.c_str(), nullptr, SW_SHOWMINIMIZED, nullptr), 32u);
    EXPECT_EQ(LaunchProgram(probe.c_str(), std::string(40000, 'b').c_str(), nullptr, SW_SHOWNORMAL, nullptr), 0u);
    // A document nothing opens never runs, even a program file, and says why; a missing directory; no file at all.
    const std::string planted = ProgramDir() + "\\tav_planted.xyz";
    ASSERT_TRUE(CopyFileA(probe.c_str(), planted.c_str(), FALSE));
    EXPECT_EQ(LaunchProgram(planted.c_str(), "any", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
    DeleteFileA(planted.c_str());
    EXPECT_EQ(LaunchProgram(planted.c_str(), "any", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "gone, not unassociated";
    EXPECT_EQ(LaunchProgram(probe.c_str(), "", (ProgramDir() + "\\no such dir").c_str(), SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram("", "", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    const auto r = log.WaitFor(1);
    ASSERT_EQ(r.size(), 1u);
    const auto shown = std::stoul(r[0].at("flags"), nullptr, 16) & STARTF_USESHOWWINDOW ? r[0].at("show") : "no show mode";
    EXPECT_EQ(r[0].at("cmdline") + "|" + shown, FoundExecutable(probe) + " " + args + "|2");
}

TEST(Launch, ShortcutsStartTheirTargetWithWhatTheCallerAdds)
{
    // The target in a folder the ANSI code page cannot spell; a handle the bar could leak to it.
    const ProbeLog log;
    const std::wstring folder = Wide(ProgramDir()) + L"\\tav \u0101\u1100", target = folder + L"\\probe.exe",
                       link = Wide(ProgramDir()) + L"\\tav_probe.lnk";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Wide(ProbePath()).c_str(), target.c_str(), FALSE));
    const std::string work = TempDir();
    ASSERT_TRUE(MakeShortcut(link, {target, L"/link \"a b\"", Wide(work), SW_SHOWMINNOACTIVE, L"", 0}));
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE event = CreateEventA(&inheritable, TRUE, FALSE, nullptr);
    SetEnvironmentVariableA("TAV_PROBE_HANDLE", std::to_string(reinterpret_cast<UINT_PTR>(event)).c_str());

    const std::string file = ProgramDir() + "\\tav_probe.lnk";
    // A drop's file follows the link's arguments; a slot's own directory and minimizing win over the link's.
    EXPECT_GE(LaunchProgram(file.c_str(), "\"C:\\b.txt\"", nullptr, SW_SHOWNORMAL, nullptr), 32u) << GetLastError();
    EXPECT_GE(LaunchProgram(file.c_str(), "", "C:\\", SW_SHOWMINIMIZED, "T"), 32u);
    std::vector<std::string> starts;
    for (const auto &r : log.WaitFor(2))
        starts.push_back(r.at("cmdline").substr(r.at("cmdline").find("probe.exe\"") + 10) + "|" + r.at("cwd") + "|" +
                         r.at("show") + (r.at("title") == "T" ? "|T" : ""));
    std::ranges::sort(starts);
    EXPECT_EQ(starts, (std::vector<std::string>{" /link \"a b\" \"C:\\b.txt\"|" + work + "|7",
                                                " /link \"a b\"|C:\\|2|T"}));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "a handle of the bar's was inherited";
    SetEnvironmentVariableA("TAV_PROBE_HANDLE", nullptr);
    CloseHandle(event);
    DeleteFileW(link.c_str());
    DeleteFileW(target.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(Launch, ProgramsOfThe64BitSystemStart)
{
    // A 64-bit program, and one that only the 64-bit system directory holds, named by its usual path:
    // a 32-bit process on a 64-bit system is shown the 32-bit system directory under that name.
    const ProbeLog log;
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const std::string system = SystemDir();
    const std::string probe64 = sizeof(void *) == 8 ? ProbePath() : ProgramDir() + "\\probe64.exe";
    const std::string only = "\\tav_probe_64_only.exe", native = (wow64 ? WindowsDir() + "\\Sysnative" : system) + only;
    ASSERT_TRUE(CopyFileA(probe64.c_str(), native.c_str(), FALSE)) << native;
    EXPECT_GE(LaunchProgram(probe64.c_str(), "64", nullptr, SW_SHOWNORMAL, nullptr), 32u);
    EXPECT_GE(LaunchProgram((system + only).c_str(), "only", nullptr, SW_SHOWNORMAL, nullptr), 32u);
    EXPECT_EQ(LaunchProgram((system + "\\tav_nowhere.exe").c_str(), "", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    std::vector<std::string> lines;
    for (const auto &r : log.WaitFor(2))
        lines.push_back(r.at("cmdline").substr(r.at("cmdline").find(' ') + 1));
    std::ranges::sort(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"64", "only"}));
    DeleteFileA(native.c_str());
}

} // namespace
