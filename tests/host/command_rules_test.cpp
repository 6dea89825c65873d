#include <gtest/gtest.h>

#include "launch/command_rules.h"

namespace {

TEST(PathExtension, SingleAndDoubleByte)
{
    // The extension in code page 932, and to a reader of no double-byte characters.
    const struct { const char *path, *dbcs, *plain; } cases[] = {
        {"C:\\TOOLS\\EDIT.EXE", ".EXE", ".EXE"}, {"C:\\DIR.X\\NOEXT", "", ""}, {"C:/dir/a.b.c", ".c", ".c"},
        {"C:.hidden", ".hidden", ".hidden"},     {"readme", "", ""},           {"", "", ""},
        {"a.", ".", "."},
        // "表" (0x95 0x5C): the trail byte is a backslash only to a single-byte reader.
        {"C:\\x.exe\\\x95\x5C", "", "" }, {"C:\\d\\x\x95\x5C.y", ".y", ".y"}, {"C:\\x.exe\\\x95\x5C.b", ".b", ".b"},
        {"C:\\a.q\x95\x5C""b", ".q\x95\x5C""b", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PathExtension(c.path, IsCp932LeadByte), c.dbcs) << c.path;
        EXPECT_EQ(PathExtension(c.path, NoLeadByte), c.plain) << c.path;
    }
}

TEST(BuildLaunchCommand, WorkedTable)
{
    const struct { const char *file, *found, *args, *line; } cases[] = {
        {"C:\\TOOLS\\EDIT.EXE", "C:\\TOOLS\\EDIT.EXE", "/n readme.txt", "C:\\TOOLS\\EDIT.EXE /n readme.txt"},
        {"C:\\TOOLS\\EDIT.EXE", "C:\\TOOLS\\EDIT.EXE", "", "C:\\TOOLS\\EDIT.EXE "},
        {"C:\\DOCS\\PLAN.TXT", "C:\\WINDOWS\\NOTEPAD.EXE", "/p", "C:\\WINDOWS\\NOTEPAD.EXE C:\\DOCS\\PLAN.TXT"},
        {"C:\\TOOLS\\edit.Exe", "C:\\TOOLS\\EDIT.EXE", "-x", "C:\\TOOLS\\EDIT.EXE -x"},
        // Nothing associated: a document never runs as a program, whatever it holds; a program file runs itself.
        {"C:\\DOCS\\DATA.XYZ", "", "any", nullptr}, {"C:\\DOCS\\NOEXT", "", "args", nullptr},
        {"C:\\DOCS\\a.exe.txt", "\"\"", "", nullptr}, {"C:\\Tools\\go.Bat", "", "-q", "C:\\Tools\\go.Bat -q"},
        {"C:\\My Tools\\x.pif", "", "", "\"C:\\My Tools\\x.pif\" "},
        // Paths with spaces: the whole reported path runs, quoted; a document goes as one argument.

        {"C:\\Program Files\\Ed\\ed.exe", "C:\\Program Files\\Ed\\ed.exe", "-x", "\"C:\\Program Files\\Ed\\ed.exe\" -x"},
        {"C:\\A B\\p.exe", "\"C:\\A B\\p.exe\"", "", "\"C:\\A B\\p.exe\" "},
        {"C:\\My Docs\\PLAN.TXT", "C:\\WINDOWS\\NOTEPAD.EXE", "/p", "C:\\WINDOWS\\NOTEPAD.EXE \"C:\\My Docs\\PLAN.TXT\""},
        {"C:\\A\\x.\x83\x41", "C:\\A\\x.\x83\x61", "-q", "C:\\A\\x.\x83\x61 C:\\A\\x.\x83\x41"},  // trail bytes are no letters
    };
    for (const auto &c : cases) {
        const LaunchCommand command = BuildLaunchCommand(c.found, c.file, c.args, IsCp932LeadByte);
        EXPECT_EQ(command.associated ? CommandLineOf(command.executable, command.parameters) : "(no association)",
                  c.line ? c.line : "(no association)") << c.file;
    }
}

TEST(ShortcutShowCommand, OnlyTheThreeAShortcutCanHold)
{
    const auto header = [](int show, std::size_t size = 76) {
        std::string h(size, '\0');
        h[0] = 76;
        if (size > 63)
            h[60] = static_cast<char>(show), h[61] = static_cast<char>(show >> 8);
        return h;
    };
    const struct { std::string header; int show; } cases[] = {
        {header(1), 1}, {header(3), 3}, {header(7), 7}, {header(2), 1}, {header(0), 1}, {header(0x107), 1},
        {header(7, 75), 1}, {std::string(76, '\0'), 1},  // cut short; no header
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShortcutShowCommand(c.header), c.show) << c.header.size();
}

TEST(NextLaunchAttempt, OnlyTheTwoFailuresThatAnotherWayCanMend)
{
    const struct { unsigned long error; bool wow64; LaunchRetry next; } cases[] = {
        {kErrorFileNotFound, true, LaunchRetry::NativeSystemDirectory}, {kErrorFileNotFound, false, LaunchRetry::None},
        {kErrorElevationRequired, false, LaunchRetry::Elevated}, {kErrorElevationRequired, true, LaunchRetry::Elevated},
        {3, true, LaunchRetry::None},  // a missing directory
        {5, false, LaunchRetry::None},  // access denied: elevating would run what the user may not
        {kErrorNoAssociation, true, LaunchRetry::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NextLaunchAttempt(c.error, c.wow64), c.next) << c.error << (c.wow64 ? " wow64" : "");
}

TEST(SysnativePath, OnlyInsideTheSystemDirectory)
{
    const char *cases[][2] = {
        {"C:\\windows\\system32\\a.exe", "C:\\W\\Sysnative\\a.exe"},
        {"c:\\WINDOWS\\SYSTEM32\\s\\b", "C:\\W\\Sysnative\\s\\b"},
        {"C:\\windows\\system32", ""}, {"C:\\windows\\system32\\", ""}, {"C:\\windows\\system32x\\a", ""},
        {"D:\\windows\\system32\\a", ""}, {"a.exe", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SysnativePath(c[0], "C:\\windows\\system32\\", "C:\\W\\", NoLeadByte), c[1]) << c[0];
}

} // namespace
