#include <gtest/gtest.h>

#include "ini/entry_rules.h"

#include <cstring>
#include <tuple>

namespace {

// remainder and token: the command in each reading.
struct ParseCase { const char *value, *iconFile; int iconIndex, effective; const char *directory, *remainder, *token; };

const ParseCase kCases[] = {
    {"", "", 0, 0, "", "", ""},  // an empty slot
    {"C:\\A.EXE,0,,C:\\A.EXE", "C:\\A.EXE", 0, 0, "", "C:\\A.EXE", "C:\\A.EXE"},
    {"C:\\A.EXE,-1,C:\\WORK,C:\\A.EXE /x", "C:\\A.EXE", -1, 0, "C:\\WORK", "C:\\A.EXE /x", "C:\\A.EXE /x"},
    {"C:\\A.EXE,0,,C:\\A.EXE a,b", "C:\\A.EXE", 0, 0, "", "C:\\A.EXE a,b", "C:\\A.EXE a"},
    {"C:\\E.EXE,-2,,\"C:\\E.EXE\" /n", "C:\\E.EXE", -2, 1, "", "\"C:\\E.EXE\" /n", "\"C:\\E.EXE\" /n"},
    // After a directory, commas and tabs stay in the Remainder reading only.
    {"i.ico,3,D:\\W,run a,b\tc", "i.ico", 3, 3, "D:\\W", "run a,b\tc", "run a"},
    {"i.ico\t5\tD:\\W\tcmd", "i.ico", 5, 5, "D:\\W", "cmd", "cmd"},
    // The empty-directory test looks at the byte after the index's delimiter, whichever it was;
    // a tab there is no empty field, so the tokeniser takes the command for the directory.
    {"i.ico,1\t,cmd", "i.ico", 1, 1, "", "cmd", "cmd"}, {"i.ico,1,\tcmd", "i.ico", 1, 1, "cmd", "", ""},
    // Fewer than four fields: what is missing reads as empty.
    {"C:\\A.EXE", "C:\\A.EXE", 0, 0, "", "", ""}, {"C:\\A.EXE,-3,", "C:\\A.EXE", -3, 2, "", "", ""},
    {"C:\\A.EXE,0,,", "C:\\A.EXE", 0, 0, "", "", ""},
    // The index as the standard conversion reads it, saturated.
    {"f,abc,,x", "f", 0, 0, "", "x", "x"}, {"f, -4x,,x", "f", -4, 3, "", "x", "x"},
    {"f,99999999999999999999,,x", "f", 2147483647, 2147483647, "", "x", "x"},
    {"f,-99999999999999999999,,x", "f", -2147483647 - 1, 2147483647, "", "x", "x"},
    // Leading delimiters are skipped, so an empty icon file shifts the fields.
    {",0,,cmd", "0", 0, 0, "", "", ""},
    // Shift-JIS "表" (0x95 0x5C): its trail byte is a backslash, never a delimiter.
    {"C:\\\x95\x5C.exe,0,,\"C:\\\x95\x5C.exe\"", "C:\\\x95\x5C.exe", 0, 0, "", "\"C:\\\x95\x5C.exe\"",
     "\"C:\\\x95\x5C.exe\""},
};

TEST(ParseProgramEntry, BothReadings)
{
    for (const ParseCase &c : kCases)
        for (CommandExtent extent : {CommandExtent::Remainder, CommandExtent::Token}) {
            SCOPED_TRACE(c.value);
            const ProgramEntry e = ParseProgramEntry(c.value, extent);
            EXPECT_EQ(std::tuple(e.empty, e.iconFile, e.iconIndex, e.runMinimized, e.effectiveIconIndex, e.directory),
                      std::tuple(!*c.value, c.iconFile, c.iconIndex, c.iconIndex < 0, c.effective, c.directory));
            EXPECT_EQ(e.command, extent == CommandExtent::Remainder ? c.remainder : c.token);
        }
}

TEST(CheckEntryLength, WhatEveryReaderTakesWholeAndAStartTakes)
{
    const std::string p255 = "C:\\" + std::string(252, 'p'), p256 = p255 + "q", at = p255 + ",0," + p255 + ",p ";
    // entry, program, what it gives; arguments are no path, only the whole entry bounds them.
    const struct { std::string entry, program; EntryLength length; } cases[] = {
        {at + std::string(1023 - at.size(), 'a'), "p", EntryLength::Fits},
        {at + std::string(1024 - at.size(), 'a'), "p", EntryLength::EntryTooLong},
        {p256 + ",0,,p", "p", EntryLength::PathTooLong}, {"i,0," + p256 + ",p", "p", EntryLength::PathTooLong},
        {"i,0,,\"" + p256 + "\"", p256, EntryLength::PathTooLong}, {"i,0,,p " + p256, "p", EntryLength::Fits},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckEntryLength(c.entry, c.program), c.length) << c.entry.size() << " bytes: " << c.entry;
}

TEST(SplitCommandToken, Table)
{
    const std::string longToken(300, 'q');
    const struct { std::string source; std::size_t destSize; std::string token, rest; } cases[] = {
        {"C:\\TOOLS\\EDIT.EXE /n", 2048, "C:\\TOOLS\\EDIT.EXE", "/n"},
        {"\"C:\\My Tools\\edit.exe\" -x a.txt", 2048, "C:\\My Tools\\edit.exe", "-x a.txt"},
        {"ab\"c d\"e f", 2048, "abc de", "f"},
        {"\"C:\\My Tools\\edit.exe", 2048, "C:\\My Tools\\edit.exe", ""},  // no closing quote
        {"\"a\tb\"", 2048, "a", "b\""},                                    // a tab ends it even inside quotes
        {"*.exe", 2048, "", ".exe"}, {" x", 2048, "", "x"}, {"", 2048, "", ""}, {"a?b", 2048, "a", "b"},
        {"\"a*b\" c", 2048, "a", "b\" c"},
        {"\"\" x", 2048, "", "x"},  // the quotes flip but copy nothing
        {"a  b", 2048, "a", " b"},  // only the first blank is consumed
        {"\x83\x76\x83\x8D.exe /a", 2048, "\x83\x76\x83\x8D.exe", "/a"},  // Shift-JIS trail bytes are never below 64
        {longToken, 2048, longToken, ""},
        {longToken + " tail", 128, std::string(127, 'q'), "tail"},  // cut, but the rest is found
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source.substr(0, 40));
        std::string dest(c.destSize, 'Z');
        const char *rest = SplitCommandToken(dest.data(), c.destSize, c.source.c_str());
        EXPECT_EQ(dest.substr(0, c.token.size() + 1), c.token.empty() ? "Z" : c.token + '\0')
            << "an empty token leaves the destination untouched";
        EXPECT_EQ(std::string(rest), c.rest);
        EXPECT_EQ(rest + std::strlen(rest), c.source.c_str() + c.source.size());
    }
}

TEST(ProgramFields, StoredValuesOpenAndAreWrittenBackAsTheyStand)
{
    const std::pair<const char *, ProgramFields> cases[] = {
        {"C:\\APP\\A.EXE,-3,C:\\APP,\"C:\\APP\\A.EXE\" /q",
         {"\"C:\\APP\\A.EXE\" /q", "C:\\APP", "C:\\APP\\A.EXE", 2, true}},
        {"X.ICO,0,,X.EXE", {"X.EXE", "", "X.ICO", 0, false}},
        {"C:\\A,4,,\"C:\\A,B\\X.EXE\" -p", {"\"C:\\A,B\\X.EXE\" -p", "", "C:\\A", 4, false}},
    };
    for (const auto &[value, shown] : cases) {
        EXPECT_EQ(FieldsFromStoredValue(value), shown) << value;
        EXPECT_EQ(StoredValueFromFields(shown), value);
    }
    EXPECT_EQ(FieldsFromStoredValue("C:\\A.EXE"), (ProgramFields{"", "", "C:\\A.EXE", 0, false}));
    EXPECT_EQ(StoredValueFromFields({"P", "", "I", 4, true}), "I,-5,,P");
    EXPECT_FALSE(StoredValueFromFields({"", "D", "I", 0, false}) || StoredValueFromFields({"P", "D", "", 0, false}));
    EXPECT_EQ(InterlockIconFile("\"C:\\A,B\\X.EXE\" -p"), "C:\\A");
    EXPECT_EQ(InterlockIconFile("\"C:\\Program Files\\App\\app.exe\" -x"), "C:\\Program Files\\App\\app.exe");
}

} // namespace
