#include <gtest/gtest.h>

#include "launch/activation_rules.h"

namespace {

// A slot's value or a typed command, and the program|arguments|directory it starts.
struct StartCase { const char *input, *expected; };

const StartCase kSlotCases[] = {
    {"i,0,,\"C:\\TOOLS\\EDIT.EXE\" /n readme.txt", "C:\\TOOLS\\EDIT.EXE|/n readme.txt|C:\\TOOLS"},
    {"i,0,C:\\WORK,\"C:\\TOOLS\\EDIT.EXE\"", "C:\\TOOLS\\EDIT.EXE||C:\\WORK"},
    {"i,0,,C:\\DOCS\\PLAN.TXT /p", "C:\\DOCS\\PLAN.TXT|/p|C:\\DOCS"},
    {"i,0,,C:\\TOOLS\\EDIT.EXE a,b", "C:\\TOOLS\\EDIT.EXE|a|C:\\TOOLS"}, {"i,0,,EDIT.EXE", "EDIT.EXE||"},
    // Only bytes 1 to 32 are skipped: arguments that begin with a double-byte character stay whole.
    {"i,0,,a.exe  \x01\x93\xFA\x96\x7B.txt", "a.exe|\x93\xFA\x96\x7B.txt|"},
    // The trail byte 0x5C of "\x95\x5C" is no backslash: the folder keeps the whole character.
    {"i,0,,C:\\\x95\x5C\\\x95\x5C.exe", "C:\\\x95\x5C\\\x95\x5C.exe||C:\\\x95\x5C"},
    // A shortcut starts in its own working directory unless the entry names one.
    {"C:\\D\\X.lnk,0,,\"C:\\D\\X.lnk\"", "C:\\D\\X.lnk||"}, {"i,0,C:\\WORK,C:\\D\\X.LNK a", "C:\\D\\X.LNK|a|C:\\WORK"},
};

const StartCase kTypedCases[] = {
    {"C:\\TOOLS\\EDIT.EXE,readme.txt", "C:\\TOOLS\\EDIT.EXE|readme.txt|C:\\TOOLS"},
    {"C:\\TOOLS\\EDIT.EXE readme.txt", "C:\\TOOLS\\EDIT.EXE readme.txt||C:\\TOOLS"},
    // Quotes group the program as on a command line; what follows them comes first in the arguments.
    {",\t\"C:\\My Tools\\a.exe\"\t  x, y", "C:\\My Tools\\a.exe|x, y|C:\\My Tools"},
    {"\"C:\\Program Files\\App\\app.exe\" -x,y", "C:\\Program Files\\App\\app.exe|-x y|C:\\Program Files\\App"},
    {",\t,,", "||"},  // nothing to start
    {"C:\\D\\X.lnk,a", "C:\\D\\X.lnk|a|"},
};

std::string Joined(const StartPlan &p) { return p.program + "|" + p.arguments + "|" + p.directory; }

TEST(StartPlans, SlotClicksAndTypedCommands)
{
    for (const StartCase &c : kSlotCases)
        EXPECT_EQ(Joined(PlanSlotStart(c.input, IsCp932LeadByte)), c.expected) << c.input;
    for (const StartCase &c : kTypedCases)
        EXPECT_EQ(Joined(PlanTypedCommand(c.input, IsCp932LeadByte)), c.expected) << c.input;
    // A directory far beyond any fixed buffer is kept whole rather than cut into another folder.
    const std::string longDir(1000, 'd');
    EXPECT_EQ(PlanSlotStart("i,0," + longDir + ",a.exe", NoLeadByte).directory, longDir);
}

TEST(RunHistoryRule, NewestFirstFiveKeptPrefixesNotAdded)
{
    RunHistory h;
    for (const char *c : {"X", "Y", "Z"})
        RememberRunCommand(h, c, NoLeadByte);
    EXPECT_EQ(h.entries, (std::array<std::string, 5>{"Z", "Y", "X", "", ""}));
    // The oldest goes; texts that begin an item, letter case aside, are not added.
    for (const char *c : {"C:\\TOOLS\\EDIT.EXE", "B", "D", "c:\\tools\\ed", "y"})
        RememberRunCommand(h, c, NoLeadByte);
    EXPECT_EQ(h.entries, (std::array<std::string, 5>{"D", "B", "C:\\TOOLS\\EDIT.EXE", "Z", "Y"}));
    // A double-byte character's second byte is not folded like a letter: 0x83 0x61 is not 0x83 0x41.
    RememberRunCommand(h, "\x83\x41", IsCp932LeadByte);
    RememberRunCommand(h, "\x83\x61", IsCp932LeadByte);
    EXPECT_EQ(h.entries[1], "\x83\x41");
    // What the field holds: 127 bytes, a double-byte character across the edge dropped whole.
    const std::string a126(126, 'a');
    RememberRunCommand(h, a126 + "bc", NoLeadByte);
    RememberRunCommand(h, a126 + "\x83\x41", IsCp932LeadByte);
    EXPECT_EQ(h.entries[1], a126 + "b");
    EXPECT_EQ(h.entries[0], a126);
}

} // namespace
