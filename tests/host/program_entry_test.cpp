#include <gtest/gtest.h>

#include "app/program_entry.h"

namespace {

struct ParseCase {
    const char *value;
    const char *iconFile;
    int iconIndex;
    bool minimized;
    int effective;
    const char *directory;
    const char *remainder;  // command, Remainder reading
    const char *token;      // command, Token reading
};

const ParseCase kCases[] = {
    {"C:\\A.EXE,0,,C:\\A.EXE", "C:\\A.EXE", 0, false, 0, "", "C:\\A.EXE", "C:\\A.EXE"},
    {"C:\\A.EXE,-1,C:\\WORK,C:\\A.EXE /x", "C:\\A.EXE", -1, true, 0, "C:\\WORK", "C:\\A.EXE /x", "C:\\A.EXE /x"},
    {"C:\\A.EXE,0,,C:\\A.EXE a,b", "C:\\A.EXE", 0, false, 0, "", "C:\\A.EXE a,b", "C:\\A.EXE a"},
    {"C:\\TOOLS\\EDIT.EXE,-2,,\"C:\\TOOLS\\EDIT.EXE\" /n", "C:\\TOOLS\\EDIT.EXE", -2, true, 1, "",
     "\"C:\\TOOLS\\EDIT.EXE\" /n", "\"C:\\TOOLS\\EDIT.EXE\" /n"},
    // A directory with the command after it keeps commas in the Remainder reading only.
    {"i.ico,3,D:\\W,run a,b\tc", "i.ico", 3, false, 3, "D:\\W", "run a,b\tc", "run a"},
    // Tabs delimit like commas.
    {"i.ico\t5\tD:\\W\tcmd", "i.ico", 5, false, 5, "D:\\W", "cmd", "cmd"},
    // The empty-directory test looks at the byte after the index's delimiter, whichever it was.
    {"i.ico,1\t,cmd", "i.ico", 1, false, 1, "", "cmd", "cmd"},
    // A tab there is no empty field: the tokeniser skips it and the command becomes the directory.
    {"i.ico,1,\tcmd", "i.ico", 1, false, 1, "cmd", "", ""},
    // Fewer than four fields: what is missing reads as empty.
    {"C:\\A.EXE", "C:\\A.EXE", 0, false, 0, "", "", ""},
    {"C:\\A.EXE,7", "C:\\A.EXE", 7, false, 7, "", "", ""},
    {"C:\\A.EXE,-3,", "C:\\A.EXE", -3, true, 2, "", "", ""},
    {"C:\\A.EXE,0,C:\\W", "C:\\A.EXE", 0, false, 0, "C:\\W", "", ""},
    // An empty command after an empty directory.
    {"C:\\A.EXE,0,,", "C:\\A.EXE", 0, false, 0, "", "", ""},
    // Index text without digits gives 0; leading blanks and a sign are read.
    {"f,abc,,x", "f", 0, false, 0, "", "x", "x"},
    {"f, -4x,,x", "f", -4, true, 3, "", "x", "x"},
    {"f,+2,,x", "f", 2, false, 2, "", "x", "x"},
    // A huge index saturates instead of overflowing.
    {"f,99999999999999999999,,x", "f", 2147483647, false, 2147483647, "", "x", "x"},
    {"f,-99999999999999999999,,x", "f", -2147483647 - 1, true, 2147483647, "", "x", "x"},
    // Leading delimiters are skipped by the tokeniser, so an empty icon file shifts the fields.
    {",0,,cmd", "0", 0, false, 0, "", "", ""},
    // Only delimiters: nothing is found, but the slot is not empty.
    {",,,", "", 0, false, 0, "", "", ""},
};

TEST(ParseProgramEntry, BothReadings)
{
    for (const ParseCase &c : kCases) {
        SCOPED_TRACE(c.value);
        for (CommandExtent extent : {CommandExtent::Remainder, CommandExtent::Token}) {
            const ProgramEntry e = ParseProgramEntry(c.value, extent);
            EXPECT_FALSE(e.empty);
            EXPECT_EQ(e.iconFile, c.iconFile);
            EXPECT_EQ(e.iconIndex, c.iconIndex);
            EXPECT_EQ(e.runMinimized, c.minimized);
            EXPECT_EQ(e.effectiveIconIndex, c.effective);
            EXPECT_EQ(e.directory, c.directory);
            EXPECT_EQ(e.command, extent == CommandExtent::Remainder ? c.remainder : c.token);
        }
    }
}

TEST(ParseProgramEntry, EmptyValueIsAnEmptySlot)
{
    for (CommandExtent extent : {CommandExtent::Remainder, CommandExtent::Token}) {
        const ProgramEntry e = ParseProgramEntry("", extent);
        EXPECT_TRUE(e.empty);
        EXPECT_EQ(e.iconFile, "");
        EXPECT_EQ(e.command, "");
    }
}

TEST(ParseProgramEntry, CommaOnlyDelimitersKeepTabsInFields)
{
    const ProgramEntry e = ParseProgramEntry("a\tb,1,,c\td", CommandExtent::Token, ",");
    EXPECT_EQ(e.iconFile, "a\tb");
    EXPECT_EQ(e.command, "c\td");
}

TEST(ParseProgramEntry, DoubleByteNamesPassThrough)
{
    // Shift-JIS "表" is 0x95 0x5C: its trail byte is a backslash, never a delimiter.
    const std::string value = "C:\\\x95\x5C\\a.exe,0,,\"C:\\\x95\x5C\\a.exe\"";
    const ProgramEntry e = ParseProgramEntry(value, CommandExtent::Token);
    EXPECT_EQ(e.iconFile, "C:\\\x95\x5C\\a.exe");
    EXPECT_EQ(e.command, "\"C:\\\x95\x5C\\a.exe\"");
}

TEST(FormatProgramEntry, RoundTripsThroughTheParser)
{
    const std::string v = FormatProgramEntry("C:\\TOOLS\\EDIT.EXE", ~1, "", "\"C:\\TOOLS\\EDIT.EXE\" /n");
    EXPECT_EQ(v, "C:\\TOOLS\\EDIT.EXE,-2,,\"C:\\TOOLS\\EDIT.EXE\" /n");
    const ProgramEntry e = ParseProgramEntry(v, CommandExtent::Remainder);
    EXPECT_TRUE(e.runMinimized);
    EXPECT_EQ(e.effectiveIconIndex, 1);
    EXPECT_EQ(e.command, "\"C:\\TOOLS\\EDIT.EXE\" /n");
}

} // namespace
