#include <gtest/gtest.h>

#include "bar/program_fields.h"

namespace {

TEST(ProgramFields, StoredValuesOpenCutToFitAndAreWrittenBackWhole)
{
    const std::string hira = "\x82\xA0", a126(126, 'a');  // one double-byte character of code page 932
    EXPECT_EQ(FitField(a126 + hira, IsCp932LeadByte), a126);
    EXPECT_EQ(FitField(a126.substr(1) + hira + "b", IsCp932LeadByte).size(), 127u);
    // A dropped file's path is longer than the dialog's fields.
    const std::string path = "C:\\" + std::string(123, 'd') + hira + "\\x.exe";
    const ProgramFields f = FieldsFromStoredValue(path + ",0,,\"" + path + "\"", IsCp932LeadByte);
    EXPECT_EQ(f.iconFile, path.substr(0, 126));
    EXPECT_EQ(f.program, "\"" + path.substr(0, 126));

    const std::pair<const char *, ProgramFields> cases[] = {
        {"C:\\APP\\A.EXE,-3,C:\\APP,\"C:\\APP\\A.EXE\" /q",
         {"\"C:\\APP\\A.EXE\" /q", "C:\\APP", "C:\\APP\\A.EXE", 2, true}},
        {"X.ICO,0,,X.EXE", {"X.EXE", "", "X.ICO", 0, false}},
        {"C:\\A,4,,\"C:\\A,B\\X.EXE\" -p", {"\"C:\\A,B\\X.EXE\" -p", "", "C:\\A", 4, false}},
    };
    for (const auto &[value, shown] : cases) {
        EXPECT_EQ(FieldsFromStoredValue(value, NoLeadByte), shown) << value;
        EXPECT_EQ(StoredValueFromFields(shown), value);
    }
    EXPECT_EQ(FieldsFromStoredValue("C:\\A.EXE", NoLeadByte), (ProgramFields{"", "", "C:\\A.EXE", 0, false}));
    EXPECT_EQ(StoredValueFromFields({"P", "", "I", 4, true}), "I,-5,,P");
    EXPECT_FALSE(StoredValueFromFields({"", "D", "I", 0, false}) || StoredValueFromFields({"P", "D", "", 0, false}));
}

TEST(ProgramFields, IconFileIndexAndBrowsedProgram)
{
    EXPECT_EQ(InterlockIconFile("\"C:\\A,B\\X.EXE\" -p"), "C:\\A");
    EXPECT_EQ(InterlockIconFile("\"C:\\Program Files\\App\\app.exe\" -x"), "C:\\Program Files\\App\\app.exe");
    const FileExistsPredicate exists = [](const std::string &p) { return p == "C:\\Program Files\\a.exe"; };
    EXPECT_EQ(IconCountFile("C:\\Program Files\\a.exe", exists), "C:\\Program Files\\a.exe");
    EXPECT_EQ(IconCountFile("C:\\Program Files\\gone.exe", exists), "C:\\Program");

    EXPECT_EQ(ApplyIconCount(3, 7).index + ApplyIconCount(3, 7).highest, 4);
    EXPECT_EQ(ScrolledIconIndex(ScrollLineUp, 0, {0, 4}), 0);
    EXPECT_EQ(ScrolledIconIndex(ScrollPageDown, 0, {4, 4}), 4);
    EXPECT_EQ(ScrolledIconIndex(ScrollThumbTrack, 900, {0, 4}), 4);
    EXPECT_FALSE(ScrolledIconIndex(4 /* thumb position */, 1, {2, 4}));
    // A browsed path is quoted when the quotes fit the field.
    const std::string spaced = "C:\\a b\\" + std::string(120, 'x'), plain = "C:\\abc\\" + std::string(120, 'x');
    EXPECT_EQ(BrowsedProgramText(spaced.substr(0, 125)), "\"" + spaced.substr(0, 125) + "\"");
    EXPECT_EQ(BrowsedProgramText(spaced.substr(0, 126)), "\"" + spaced.substr(0, 126));
    EXPECT_FALSE(BrowsedProgramText(spaced));
    EXPECT_EQ(BrowsedProgramText(plain), plain);
}

} // namespace
