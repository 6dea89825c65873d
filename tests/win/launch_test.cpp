// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with. (The
// command line for each kind of file is pinned on the host.)
#include <cstdio>

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

TEST(Launch, ProgramsAndDocumentsUnderFoldersWithSpaces)
{
    const ProbeLog log;
    // A planted "tav.exe" beside "tav probe" would run if the path were cut at its space.
    const std::string top = ProgramDir() + "\\launch_spaces", folder = top + "\\tav probe";
    const std::string spaced = folder + "\\probe.exe", decoy = top + "\\tav.exe", doc = folder + "\\my plan.tavdoc";
    CreateDirectoryA(top.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(ProbePath().c_str(), spaced.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(ProbePath().c_str(), decoy.c_str(), FALSE));
    std::fclose(std::fopen(doc.c_str(), "wb"));
    // Our own extension opens in the spaced probe, as a user's file types would.
    RegSetValueA(HKEY_CLASSES_ROOT, ".tavdoc", REG_SZ, "TavProbe.Document", 0);
    const std::string command = "\"" + spaced + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "TavProbe.Document\\shell\\open\\command", REG_SZ, command.c_str(), 0);

    EXPECT_GE(LaunchProgram(spaced.c_str(), "-x", folder.c_str(), SW_SHOWNORMAL, nullptr), 32u);
    log.WaitFor(1);
    EXPECT_GE(LaunchProgram(doc.c_str(), "/p", folder.c_str(), SW_SHOWNORMAL, nullptr), 32u);
    auto r = log.WaitFor(2);
    ASSERT_EQ(r.size(), 2u);  // and none from the decoy
    std::string exe = FoundExecutable(spaced);
    std::erase(exe, '"');
    EXPECT_EQ(r[0]["cmdline"], "\"" + exe + "\" -x");
    EXPECT_EQ(r[1]["cmdline"], "\"" + exe + "\" \"" + doc + "\"");

    RegDeleteTreeA(HKEY_CLASSES_ROOT, "TavProbe.Document");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tavdoc");
    for (const std::string &f : {doc, spaced, decoy})
        DeleteFileA(f.c_str());
    RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(top.c_str());
}

} // namespace
