// LaunchProgram starting the probe under the system's real FindExecutableA
// and CreateProcessA; the probe writes down what it was started with.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "launch/launch.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

using Record = std::map<std::string, std::string>;

class Launch : public ::testing::Test {
protected:
    std::string dir;      // a scratch folder of its own
    std::string outFile;  // where the probe writes
    std::string probe;

    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        dir = std::string(temp) + "tav_launch_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        outFile = dir + "\\probe.txt";
        DeleteFileA(outFile.c_str());
        SetEnvironmentVariableA("TAV_PROBE_OUT", outFile.c_str());
        probe = ProgramDir() + "\\probe.exe";
    }

    void TearDown() override
    {
        DeleteFileA(outFile.c_str());
        DeleteFileA((dir + "\\plan.tavdoc").c_str());
        RemoveDirectoryA(dir.c_str());
    }

    // Waits for `count` records from the probe and returns them.
    std::vector<Record> Records(size_t count)
    {
        std::vector<Record> records;
        PumpUntil(
            [&] {
                records.clear();
                const std::string text = ReadFileText(outFile);
                Record r;
                size_t pos = 0;
                while (pos < text.size()) {
                    size_t end = text.find('\n', pos);
                    if (end == std::string::npos)
                        break;
                    const std::string line = text.substr(pos, end - pos);
                    pos = end + 1;
                    if (line.empty()) {
                        records.push_back(r);
                        r.clear();
                        continue;
                    }
                    const size_t eq = line.find('=');
                    r[line.substr(0, eq)] = line.substr(eq + 1);
                }
                return records.size() >= count;
            },
            10000);
        return records;
    }

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

    std::string Found(const std::string &file)
    {
        char found[MAX_PATH] = {};
        FindExecutableA(file.c_str(), nullptr, found);
        return found;
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
    EXPECT_EQ(GetFileAttributesA(outFile.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
