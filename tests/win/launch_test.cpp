// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with. (The
// command line for each kind of file, paths with spaces among them, is
// pinned on the host.)
#include <algorithm>

#include "launch/launch.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

// (Title, show mode and directory through the real bar: journey_test.)
TEST(Launch, LongArgumentsArriveWholeAndFailuresStartNothing)
{
    const ProbeLog log;
    const std::string probe = ProbePath(), args(5000, 'a');
    // Sized to its text: long arguments arrive whole; beyond what the system takes, nothing starts.
    EXPECT_GE(LaunchProgram(probe.c_str(), args.c_str(), nullptr, SW_SHOWMINIMIZED, nullptr), 32u);
    EXPECT_EQ(LaunchProgram(probe.c_str(), std::string(40000, 'b').c_str(), nullptr, SW_SHOWNORMAL, nullptr), 0u);
    // Nothing associated with a missing file (" <file>" cannot start), a missing directory, no file at all.
    EXPECT_EQ(LaunchProgram((ProgramDir() + "\\DATA.XYZ").c_str(), "any", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram(probe.c_str(), "", (ProgramDir() + "\\no such dir").c_str(), SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram("", "", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    const auto r = log.WaitFor(1);
    ASSERT_EQ(r.size(), 1u);
    const auto shown = std::stoul(r[0].at("flags"), nullptr, 16) & STARTF_USESHOWWINDOW ? r[0].at("show") : "no show mode";
    EXPECT_EQ(r[0].at("cmdline") + "|" + shown, FoundExecutable(probe) + " " + args + "|2");
}

TEST(Launch, ProgramsOfThe64BitSystemStart)
{
    // A 64-bit program, and one that only the 64-bit system directory holds, named by its usual path:
    // a 32-bit process on a 64-bit system is shown the 32-bit system directory under that name.
    const ProbeLog log;
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    char system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string probe64 = sizeof(void *) == 8 ? ProbePath() : ProgramDir() + "\\probe64.exe";
    const std::string only = "\\tav_probe_64_only.exe",
                      native = (wow64 ? windows + std::string("\\Sysnative") : system) + only;
    ASSERT_TRUE(CopyFileA(probe64.c_str(), native.c_str(), FALSE)) << native;
    EXPECT_GE(LaunchProgram(probe64.c_str(), "64", nullptr, SW_SHOWNORMAL, nullptr), 32u);
    EXPECT_GE(LaunchProgram((system + only).c_str(), "only", nullptr, SW_SHOWNORMAL, nullptr), 32u);
    EXPECT_EQ(LaunchProgram((system + std::string("\\tav_nowhere.exe")).c_str(), "", nullptr, SW_SHOWNORMAL, nullptr),
              0u);
    std::vector<std::string> lines;
    for (const auto &r : log.WaitFor(2))
        lines.push_back(r.at("cmdline").substr(r.at("cmdline").find(' ') + 1));
    std::ranges::sort(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"64", "only"}));
    DeleteFileA(native.c_str());
}

} // namespace
