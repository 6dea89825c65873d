// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with. (The
// command line for each kind of file is pinned on the host.)
#include <cstdio>

#include "launch/launch.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

TEST(Launch, ProgramWithArgumentsDirectoryTitleAndShowModeOrAFailure)
{
    const ProbeLog log;
    const std::string dir = ProgramDir() + "\\launch_scratch", probe = ProbePath(), found = FoundExecutable(probe);
    CreateDirectoryA(dir.c_str(), nullptr);
    // One at a time, so that the records come in order.
    EXPECT_GE(LaunchProgram(probe.c_str(), "/n readme.txt", dir.c_str(), SW_SHOWMINIMIZED, "Probe Title"), 32u);
    log.WaitFor(1);
    EXPECT_GE(LaunchProgram(probe.c_str(), "", nullptr, SW_SHOWNORMAL, nullptr), 32u);
    log.WaitFor(2);
    // Sized to its text: long arguments arrive whole; beyond what the system takes, nothing starts.
    const std::string args(5000, 'a');
    EXPECT_GE(LaunchProgram(probe.c_str(), args.c_str(), nullptr, SW_SHOWNORMAL, nullptr), 32u);
    EXPECT_EQ(LaunchProgram(probe.c_str(), std::string(40000, 'b').c_str(), nullptr, SW_SHOWNORMAL, nullptr), 0u);
    // Nothing associated with a missing file (" <file>" cannot start), a missing directory, no file at all.
    EXPECT_EQ(LaunchProgram((dir + "\\DATA.XYZ").c_str(), "any", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram(probe.c_str(), "", (dir + "\\no such dir").c_str(), SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram("", "", nullptr, SW_SHOWNORMAL, nullptr), 0u);

    auto r = log.WaitFor(3);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(std::stoul(r[0]["flags"], nullptr, 16) & STARTF_USESHOWWINDOW, 1u);
    EXPECT_EQ(r[0]["cmdline"] + "|" + r[0]["show"] + "|" + r[0]["title"] + "|" + r[0]["cwd"],
              found + " /n readme.txt|2|Probe Title|" + dir);
    EXPECT_EQ(r[1]["cmdline"] + "|" + r[1]["show"], found + " |1");  // empty arguments still end in one space
    EXPECT_EQ(r[2]["cmdline"], found + " " + args);
    RemoveDirectoryA(dir.c_str());
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
