// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with. (The
// command line for each kind of file, paths with spaces among them, is
// pinned on the host.)
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

} // namespace
