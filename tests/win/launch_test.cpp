// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with. (The
// command line for a document is pinned on the host.)
#include <map>
#include <sstream>

#include "launch/launch.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

TEST(Launch, ProgramWithArgumentsDirectoryTitleAndShowModeOrAFailure)
{
    const std::string dir = ProgramDir() + "\\launch_scratch", out = dir + "\\probe.txt";
    const std::string probe = ProgramDir() + "\\probe.exe";
    CreateDirectoryA(dir.c_str(), nullptr);
    SetEnvironmentVariableA("TAV_PROBE_OUT", out.c_str());
    char found[MAX_PATH] = {};
    FindExecutableA(probe.c_str(), nullptr, found);
    const struct {
        const char *args, *title;
        bool inDir;
        WORD show;
        const char *record;  // cmdline after the program, and the show mode; the directory and title when given
    } cases[] = {{"/n readme.txt", "Probe Title", true, SW_SHOWMINIMIZED, " /n readme.txt|2|Probe Title"},
                 {"", nullptr, false, SW_SHOWNORMAL, " |1"}};  // empty arguments still end in one space
    for (const auto &c : cases) {
        DeleteFileA(out.c_str());
        EXPECT_GE(LaunchProgram(probe.c_str(), c.args, c.inDir ? dir.c_str() : nullptr, c.show, c.title), 32u);
        std::string text;
        PumpUntil([&] { return (text = ReadFileText(out)).find("\n\n") != std::string::npos; }, 10000);
        std::map<std::string, std::string> r;
        std::istringstream in(text);
        for (std::string key, value; std::getline(in, key, '=') && std::getline(in, value);)
            r[key] = value;
        EXPECT_EQ(std::stoul(r["flags"], nullptr, 16) & STARTF_USESHOWWINDOW, 1u);
        EXPECT_EQ(r["cmdline"].substr(0, strlen(found)), found);
        EXPECT_EQ(r["cmdline"].substr(strlen(found)) + "|" + r["show"] + (c.inDir ? "|" + r["title"] : ""), c.record);
        if (c.inDir) {
            EXPECT_EQ(r["cwd"], dir);
        }
    }
    // Nothing associated with a missing file (" <file>" cannot start), a missing directory, no file at all.
    DeleteFileA(out.c_str());
    EXPECT_EQ(LaunchProgram((dir + "\\DATA.XYZ").c_str(), "any", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram(probe.c_str(), "", (dir + "\\no such dir").c_str(), SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(LaunchProgram("", "", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES) << "something started";
    RemoveDirectoryA(dir.c_str());
}

} // namespace
