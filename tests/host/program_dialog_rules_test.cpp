#include <gtest/gtest.h>

#include "bar/program_dialog_rules.h"

namespace {

TEST(ProgramFields, IconCountFileAndIndex)
{
    const FileExistsPredicate exists = [](const std::string &p) { return p == "C:\\Program Files\\a.exe"; };
    EXPECT_EQ(IconCountFile("C:\\Program Files\\a.exe", exists), "C:\\Program Files\\a.exe");
    EXPECT_EQ(IconCountFile("C:\\Program Files\\gone.exe", exists), "C:\\Program");

    EXPECT_EQ(ApplyIconCount(3, 7).index + ApplyIconCount(3, 7).highest, 4);
    EXPECT_EQ(ScrolledIconIndex(ScrollLineUp, 0, {0, 4}), 0);
    EXPECT_EQ(ScrolledIconIndex(ScrollPageDown, 0, {4, 4}), 4);
    EXPECT_EQ(ScrolledIconIndex(ScrollThumbTrack, 900, {0, 4}), 4);
    EXPECT_FALSE(ScrolledIconIndex(4 /* thumb position */, 1, {2, 4}));
}

// What OK stores, so that a click starts what was typed: files of a small disk, by their
// short paths where they have one.
TEST(ProgramFields, OkStoresWhatAClickStarts)
{
    const FileExistsPredicate exists = [](const std::string &p) {
        return p == "C:\\Program Files\\App\\app.exe" || p == "C:\\A,B\\X.EXE" || p == "C:\\Tools\\T,1.EXE" ||
               p == "C:\\Tools\\run.exe" || p == "C:\\My Tools,2\\x.exe" || p == "C:\\Long,Name\\y.exe";
    };
    const ShortPathOf shortPath = [](const std::string &p) -> std::string {
        return p == "C:\\A,B\\X.EXE" ? "C:\\AB~1\\X.EXE" : p == "C:\\My Tools,2\\x.exe" ? "C:\\MYTOOL~1\\x.exe"
             : p == "C:\\Long,Name\\y.exe" ? "C:\\Long,Name\\y.exe" : "";
    };
    const struct { const char *typed; ProgramToStore stored; } cases[] = {
        {"C:\\Program Files\\App\\app.exe", {"\"C:\\Program Files\\App\\app.exe\""}},   // "C:\Program" is no file
        {"C:\\Program Files\\App\\app.exe -x", {"C:\\Program Files\\App\\app.exe -x"}},  // names no file: as typed
        {"\"C:\\Program Files\\App\\app.exe\" -x", {"\"C:\\Program Files\\App\\app.exe\" -x"}},
        {"C:\\Tools\\run.exe a,b", {"C:\\Tools\\run.exe a,b"}}, {"notepad.exe", {"notepad.exe"}},  // arguments are the user's
        {"\"C:\\A,B\\X.EXE\" -p", {"\"C:\\AB~1\\X.EXE\" -p"}}, {"C:\\A,B\\X.EXE\t-p", {"\"C:\\AB~1\\X.EXE\"\t-p"}},
        {"C:\\My Tools,2\\x.exe", {"\"C:\\MYTOOL~1\\x.exe\""}},  // quoted whole first, then shortened
        // Refused: no short path, one that keeps the comma, no file at all.
        {"C:\\Tools\\T,1.EXE", {"C:\\Tools\\T,1.EXE", "C:\\Tools\\T,1.EXE"}},
        {"C:\\Long,Name\\y.exe", {"C:\\Long,Name\\y.exe", "C:\\Long,Name\\y.exe"}},
        {"\"C:\\Gone,Dir\\z.exe\"", {"\"C:\\Gone,Dir\\z.exe\"", "C:\\Gone,Dir\\z.exe"}}};
    for (const auto &c : cases)
        EXPECT_EQ(ProgramFieldToStore(c.typed, exists, shortPath), c.stored) << c.typed;
}

} // namespace
