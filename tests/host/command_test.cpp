#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "launch/command.h"

namespace {

struct SplitCase {
    const char *source;
    const char *token;
    const char *rest;
};

const SplitCase kSplitCases[] = {
    {"C:\\TOOLS\\EDIT.EXE /n", "C:\\TOOLS\\EDIT.EXE", "/n"},
    {"\"C:\\My Tools\\edit.exe\" -x a.txt", "C:\\My Tools\\edit.exe", "-x a.txt"},
    {"ab\"c d\"e f", "abc de", "f"},
    {"\"C:\\My Tools\\edit.exe", "C:\\My Tools\\edit.exe", ""},  // no closing quote
    {"\"a\tb\"", "a", "b\""},                                    // a tab ends the token even inside quotes
    {"*.exe", "", ".exe"},
    {" x", "", "x"},
    {"", "", ""},
    {"a?b", "a", "b"},
    {"\"a*b\" c", "a", "b\" c"},
    {"prog\targs", "prog", "args"},
    {"\"\" x", "", "x"},  // the quotes flip but copy nothing
    {"a  b", "a", " b"},  // only the first blank is consumed
    // Double-byte names: Shift-JIS trail bytes are never below 64, so nothing reacts to them.
    {"\x83\x76\x83\x8D\x83\x4F.exe /a", "\x83\x76\x83\x8D\x83\x4F.exe", "/a"},
    {"\"C:\\\x95\x5C \x8E\xA6\\a.exe\" b", "C:\\\x95\x5C \x8E\xA6\\a.exe", "b"},
};

TEST(SplitCommandToken, Table)
{
    for (const SplitCase &c : kSplitCases) {
        SCOPED_TRACE(c.source);
        char dest[2048] = {};
        const char *rest = SplitCommandToken(dest, sizeof dest, c.source);
        EXPECT_STREQ(dest, c.token);
        EXPECT_STREQ(rest, c.rest);
        EXPECT_GE(rest, c.source);
        EXPECT_LE(rest, c.source + std::strlen(c.source));
    }
}

TEST(SplitCommandToken, EmptyTokenLeavesTheDestinationUntouched)
{
    char dest[8];
    std::memset(dest, 'Z', sizeof dest);
    SplitCommandToken(dest, sizeof dest, "*x");
    EXPECT_EQ(std::string(dest, sizeof dest), std::string(8, 'Z'));
}

TEST(SplitCommandToken, LongTokenIsCopiedWholeWhenItFits)
{
    const std::string source(300, 'q');
    char dest[2048];
    std::memset(dest, 'Z', sizeof dest);
    const char *rest = SplitCommandToken(dest, sizeof dest, source.c_str());
    EXPECT_EQ(std::string(dest), source);
    EXPECT_EQ(*rest, '\0');
    EXPECT_EQ(rest, source.c_str() + 300);
}

TEST(SplitCommandToken, TooLongTokenIsCutButTheRestIsFound)
{
    const std::string source = std::string(300, 'q') + " tail";
    char dest[128];
    std::memset(dest, 'Z', sizeof dest);
    const char *rest = SplitCommandToken(dest, sizeof dest, source.c_str());
    EXPECT_EQ(std::string(dest), std::string(127, 'q'));
    EXPECT_STREQ(rest, "tail");
}

struct ExtensionCase {
    const char *path;
    const char *dbcs;   // with the code page 932 rule
    const char *plain;  // without double-byte characters
};

const ExtensionCase kExtensionCases[] = {
    {"C:\\TOOLS\\EDIT.EXE", ".EXE", ".EXE"},
    {"C:\\DOCS\\PLAN.TXT", ".TXT", ".TXT"},
    {"C:\\DIR.X\\NOEXT", "", ""},
    {"C:/dir/a.b.c", ".c", ".c"},
    {"C:.hidden", ".hidden", ".hidden"},  // drive prefix
    {"readme", "", ""},
    {"", "", ""},
    {"a.", ".", "."},
    // "表" (0x95 0x5C): the trail byte is a backslash only to a single-byte reader.
    {"C:\\x.exe\\\x95\x5C", "", ""},
    {"C:\\d\\x\x95\x5C.y", ".y", ".y"},
};

TEST(PathExtension, SingleAndDoubleByte)
{
    for (const ExtensionCase &c : kExtensionCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathExtension(c.path, IsCp932LeadByte), c.dbcs);
    }
    // Where a trail byte is a backslash, a single-byte reader splits the name there.
    EXPECT_EQ(PathExtension("C:\\x.exe\\\x95\x5C.b", NoLeadByte), ".b");
    EXPECT_EQ(PathExtension("C:\\a\x95\x5C""b", NoLeadByte), "");
    EXPECT_EQ(PathExtension("C:\\a.q\x95\x5C""b", NoLeadByte), "");
    EXPECT_EQ(PathExtension("C:\\a.q\x95\x5C""b", IsCp932LeadByte), ".q\x95\x5C""b");
}

struct LineCase {
    const char *file;
    const char *found;
    const char *args;
    const char *line;
};

const LineCase kLineCases[] = {
    {"C:\\TOOLS\\EDIT.EXE", "C:\\TOOLS\\EDIT.EXE", "/n readme.txt", "C:\\TOOLS\\EDIT.EXE /n readme.txt"},
    {"C:\\TOOLS\\EDIT.EXE", "C:\\TOOLS\\EDIT.EXE", "", "C:\\TOOLS\\EDIT.EXE "},
    {"C:\\DOCS\\PLAN.TXT", "C:\\WINDOWS\\NOTEPAD.EXE", "/p", "C:\\WINDOWS\\NOTEPAD.EXE C:\\DOCS\\PLAN.TXT"},
    {"C:\\TOOLS\\edit.Exe", "C:\\TOOLS\\EDIT.EXE", "-x", "C:\\TOOLS\\EDIT.EXE -x"},
    {"C:\\DOCS\\DATA.XYZ", "", "any", " C:\\DOCS\\DATA.XYZ"},
    {"C:\\DOCS\\NOEXT", "", "args", " args"},  // both extensions empty, so equal
    // Paths with spaces: the whole reported path runs, quoted; a document goes as one argument.
    {"C:\\Program Files\\Ed\\ed.exe", "C:\\Program Files\\Ed\\ed.exe", "-x", "\"C:\\Program Files\\Ed\\ed.exe\" -x"},
    {"C:\\A B\\p.exe", "\"C:\\A B\\p.exe\"", "", "\"C:\\A B\\p.exe\" "},
    {"C:\\My Docs\\PLAN.TXT", "C:\\WINDOWS\\NOTEPAD.EXE", "/p", "C:\\WINDOWS\\NOTEPAD.EXE \"C:\\My Docs\\PLAN.TXT\""},
    {"C:\\A\\x.\x83\x41", "C:\\A\\x.\x83\x61", "-q", "C:\\A\\x.\x83\x61 C:\\A\\x.\x83\x41"},  // trail bytes are no letters
};

TEST(BuildLaunchCommandLine, WorkedTable)
{
    for (const LineCase &c : kLineCases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(BuildLaunchCommandLine(c.found, c.file, c.args, IsCp932LeadByte), c.line);
    }
}

TEST(BuildLaunchCommandLine, LongArgumentsAreNotCut)
{
    const std::string args(5000, 'a');
    EXPECT_EQ(BuildLaunchCommandLine("P.EXE", "P.EXE", args.c_str(), NoLeadByte), "P.EXE " + args);
}

} // namespace
