#include <gtest/gtest.h>

#include "ini/program_entry.h"

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
    {"i.ico,1\t,cmd", "i.ico", 1, 1, "", "cmd", "cmd"},
    {"i.ico,1,\tcmd", "i.ico", 1, 1, "cmd", "", ""},
    // Fewer than four fields: what is missing reads as empty.
    {"C:\\A.EXE", "C:\\A.EXE", 0, 0, "", "", ""},
    {"C:\\A.EXE,-3,", "C:\\A.EXE", -3, 2, "", "", ""},
    {"C:\\A.EXE,0,,", "C:\\A.EXE", 0, 0, "", "", ""},
    // The index as the standard conversion reads it, saturated.
    {"f,abc,,x", "f", 0, 0, "", "x", "x"},
    {"f, -4x,,x", "f", -4, 3, "", "x", "x"},
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
            EXPECT_EQ(e.empty, !*c.value);
            EXPECT_EQ(e.iconFile, c.iconFile);
            EXPECT_EQ(e.iconIndex, c.iconIndex);
            EXPECT_EQ(e.runMinimized, c.iconIndex < 0);
            EXPECT_EQ(e.effectiveIconIndex, c.effective);
            EXPECT_EQ(e.directory, c.directory);
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

} // namespace
