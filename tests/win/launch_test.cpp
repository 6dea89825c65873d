// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "launch/launch.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

class Launch : public ::testing::Test {
protected:
    ProbeLog log;
    std::string dir;  // a scratch folder of its own
    std::string probe = ProbePath();

    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        dir = std::string(temp) + "tav_launch_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
    }

    void TearDown() override
    {
        DeleteFileA((dir + "\\plan.tavdoc").c_str());
        RemoveDirectoryA(dir.c_str());
    }

    std::vector<ProbeRecord> Records(size_t count) { return log.WaitFor(count); }
    std::string Found(const std::string &file) { return FoundExecutable(file); }

    // Our own extension opens in `program`, as a user's file types would.
    static void AssociateDocumentsWith(const std::string &program)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".tavdoc", &key), ERROR_SUCCESS);
        RegSetValueA(key, nullptr, REG_SZ, "TavProbe.Document", 0);
        RegCloseKey(key);
        const std::string command = "\"" + program + "\" \"%1\"";
        ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "TavProbe.Document\\shell\\open\\command", &key),
                  ERROR_SUCCESS);
        RegSetValueA(key, nullptr, REG_SZ, command.c_str(), 0);
        RegCloseKey(key);
    }

    static void UnassociateDocuments()
    {
        for (const char *k : {"TavProbe.Document\\shell\\open\\command", "TavProbe.Document\\shell\\open",
                              "TavProbe.Document\\shell", "TavProbe.Document", ".tavdoc"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, k);
    }

    static std::string Unquoted(const std::string &s)
    {
        std::string out;
        for (char c : s)
            if (c != '"')
                out += c;
        return out;
    }
};

TEST_F(Launch, ProgramWithArgumentsTitleDirectoryAndShowMode)
{
    const UINT_PTR r = LaunchProgram(probe.c_str(), "/n readme.txt", dir.c_str(), SW_SHOWMINIMIZED, "Probe Title");
    EXPECT_GE(r, 32u);
    const auto recs = Records(1);
    ASSERT_EQ(recs.size(), 1u);
    const std::string exe = Found(probe);
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(recs[0].at("cmdline"), exe + " /n readme.txt");
    EXPECT_EQ(recs[0].at("cwd"), dir);
    EXPECT_EQ(recs[0].at("title"), "Probe Title");
    EXPECT_EQ(recs[0].at("show"), "2");
    EXPECT_EQ(std::stoul(recs[0].at("flags"), nullptr, 16) & STARTF_USESHOWWINDOW, 1u);
}

TEST_F(Launch, EmptyArgumentsEndInOneSpace)
{
    EXPECT_GE(LaunchProgram(probe.c_str(), "", nullptr, SW_SHOWNORMAL, nullptr), 32u);
    const auto recs = Records(1);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].at("cmdline"), Found(probe) + " ");
    EXPECT_EQ(recs[0].at("show"), "1");
}

TEST_F(Launch, DocumentOpensInItsProgramWithoutTheArguments)
{
    AssociateDocumentsWith(probe);

    const std::string doc = dir + "\\plan.tavdoc";
    FILE *f = std::fopen(doc.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fclose(f);

    EXPECT_GE(LaunchProgram(doc.c_str(), "/p", dir.c_str(), SW_SHOWNORMAL, nullptr), 32u);
    const auto recs = Records(1);
    ASSERT_EQ(recs.size(), 1u);
    // The document path goes unquoted after the associated program; "/p" is dropped.
    const std::string found = Found(doc);
    const char *p = found.c_str();
    std::string exe;
    for (bool quoted = false; *p && (quoted || *p != ' '); ++p)
        if (*p == '"')
            quoted = !quoted;
        else
            exe += *p;
    EXPECT_EQ(lstrcmpiA(exe.c_str(), probe.c_str()), 0) << found;
    EXPECT_EQ(recs[0].at("cmdline"), exe + " " + doc);

    UnassociateDocuments();
}

TEST_F(Launch, ProgramsAndDocumentsUnderFoldersWithSpaces)
{
    // A planted "tav.exe" beside "tav probe" would run if the path were cut at its space.
    const std::string folder = dir + "\\tav probe", spaced = folder + "\\probe.exe", decoy = dir + "\\tav.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(probe.c_str(), spaced.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(probe.c_str(), decoy.c_str(), FALSE));
    AssociateDocumentsWith(spaced);
    const std::string doc = folder + "\\my plan.tavdoc";
    std::fclose(std::fopen(doc.c_str(), "wb"));

    EXPECT_GE(LaunchProgram(spaced.c_str(), "-x", folder.c_str(), SW_SHOWNORMAL, nullptr), 32u);
    EXPECT_GE(LaunchProgram(doc.c_str(), "/p", folder.c_str(), SW_SHOWNORMAL, nullptr), 32u);
    const auto recs = Records(2);
    ASSERT_EQ(recs.size(), 2u);
    const std::string exe = "\"" + Unquoted(Found(spaced)) + "\"";
    EXPECT_EQ(recs[0].at("cmdline"), exe + " -x");
    EXPECT_EQ(recs[1].at("cmdline"), exe + " \"" + doc + "\"");

    UnassociateDocuments();
    for (const std::string &f : {doc, spaced, decoy})
        DeleteFileA(f.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(Launch, CommandLinesAreSizedToTheirTextUpToTheSystemLimit)
{
    const std::string args(5000, 'a');
    EXPECT_GE(LaunchProgram(probe.c_str(), args.c_str(), nullptr, SW_SHOWNORMAL, nullptr), 32u);
    // Beyond what the system takes, nothing starts rather than a program with cut arguments.
    EXPECT_EQ(LaunchProgram(probe.c_str(), std::string(40000, 'b').c_str(), nullptr, SW_SHOWNORMAL, nullptr), 0u);
    const auto recs = Records(1);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].at("cmdline"), Found(probe) + " " + args);
}

TEST_F(Launch, FailuresReturnZero)
{
    // Nothing is associated with a missing file: the command line is " <file>", which cannot start.
    EXPECT_EQ(LaunchProgram((dir + "\\DATA.XYZ").c_str(), "any", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    // A working directory that does not exist.
    EXPECT_EQ(LaunchProgram(probe.c_str(), "", (dir + "\\no such dir").c_str(), SW_SHOWNORMAL, nullptr), 0u);
    // An empty file name.
    EXPECT_EQ(LaunchProgram("", "", nullptr, SW_SHOWNORMAL, nullptr), 0u);
    EXPECT_TRUE(log.WaitFor(1, 0).empty());
}

} // namespace
