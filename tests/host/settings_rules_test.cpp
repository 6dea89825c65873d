#include <gtest/gtest.h>

#include "app/settings_rules.h"

namespace {

TEST(Settings, MissingFileGivesTheDefaults)
{
    for (bool dbcs : {false, true}) {
        RawSettings raw;  // what the reader hands back for a missing file
        raw.japan = DefaultJapan(dbcs);
        BarSettings s;
        s.languageOffset = 7;  // must be overwritten at start-up
        const BarPosition pos = ApplyRawSettings(raw, true, s);
        EXPECT_EQ(s.languageOffset, dbcs ? 0 : 1);
        EXPECT_EQ(s.mode, 0u);
        EXPECT_EQ(s.maximumPages, 1);
        EXPECT_EQ(s.currentPage, 1);
        EXPECT_EQ(s.cellSize, 38);
        EXPECT_EQ(s.columns, 5);
        EXPECT_EQ(s.rows, 1);
        EXPECT_EQ(pos.x, 0);
        EXPECT_EQ(pos.y, 0);
    }
}

struct RawCase {
    const char *what;
    long long japan, mode, maxPages, startupPage, buttons;
    const char *position;
    // expected
    int language;
    unsigned mode_;
    int maxPages_, page, columns, rows, cell, x, y;
};

const RawCase kRawCases[] = {
    {"plain", 1, 0, 3, 2, 8, "10,20", 1, 0, 3, 2, 8, 1, 38, 10, 20},
    {"japanese", 0, 0, 1, 1, 5, "", 0, 0, 1, 1, 5, 1, 38, 0, 0},
    {"Japan other than 0 or 1 is English", 5, 0, 1, 1, 5, "", 1, 0, 1, 1, 5, 1, 38, 0, 0},
    {"25 buttons read as 20", 1, 0, 1, 1, 25, "", 1, 0, 1, 1, 20, 1, 38, 0, 0},
    {"vertical small", 1, 0xA000, 1, 1, 8, "", 1, 0xA000, 1, 1, 1, 8, 30, 0, 0},
    {"meaningless bits are kept", 1, 0x07F3, 1, 1, 5, "", 1, 0x07F3, 1, 1, 5, 1, 38, 0, 0},
    {"mode keeps 16 bits", 1, 0x1C000, 1, 1, 5, "", 1, 0xC000, 1, 1, 1, 5, 38, 0, 0},
    {"negative mode", 1, -1, 1, 1, 5, "", 1, 0xFFFF, 1, 1, 1, 5, 30, 0, 0},
    {"zero buttons read as 5", 1, 0, 1, 1, 0, "", 1, 0, 1, 1, 5, 1, 38, 0, 0},
    {"negative buttons read as 5", 1, 0, 1, 1, -7, "", 1, 0, 1, 1, 5, 1, 38, 0, 0},
    {"4 buttons read as 5", 1, 0x8000, 1, 1, 4, "", 1, 0x8000, 1, 1, 1, 5, 38, 0, 0},
    {"huge buttons", 1, 0, 1, 1, 4294967295LL, "", 1, 0, 1, 1, 20, 1, 38, 0, 0},
    {"zero pages", 1, 0, 0, 1, 5, "", 1, 0, 1, 1, 5, 1, 38, 0, 0},
    {"too many pages", 1, 0, 500, 1, 5, "", 1, 0, 20, 1, 5, 1, 38, 0, 0},
    {"page past the last", 1, 0, 3, 9, 5, "", 1, 0, 3, 3, 5, 1, 38, 0, 0},
    {"page zero", 1, 0, 3, 0, 5, "", 1, 0, 3, 1, 5, 1, 38, 0, 0},
    {"negative position", 1, 0, 1, 1, 5, "-40,-5", 1, 0, 1, 1, 5, 1, 38, -40, -5},
    {"start-up position keeps 15 characters", 1, 0, 1, 1, 5, "1,2345678901234567", 1, 0, 1, 1, 5, 1, 38, 1, 32767},
};

TEST(Settings, StartupRules)
{
    for (const RawCase &c : kRawCases) {
        SCOPED_TRACE(c.what);
        RawSettings raw{c.japan, c.mode, c.maxPages, c.startupPage, c.buttons, c.position};
        BarSettings s;
        const BarPosition pos = ApplyRawSettings(raw, true, s);
        EXPECT_EQ(s.languageOffset, c.language);
        EXPECT_EQ(s.mode, c.mode_);
        EXPECT_EQ(s.maximumPages, c.maxPages_);
        EXPECT_EQ(s.currentPage, c.page);
        EXPECT_EQ(s.columns, c.columns);
        EXPECT_EQ(s.rows, c.rows);
        EXPECT_EQ(s.cellSize, c.cell);
        EXPECT_EQ(pos.x, c.x);
        EXPECT_EQ(pos.y, c.y);
    }
}

TEST(Settings, ReloadKeepsLanguageAndPage)
{
    BarSettings s;
    s.languageOffset = 0;
    s.currentPage = 3;
    s.maximumPages = 4;
    RawSettings raw{1, Vertical, 4, 1, 8, "5,6"};
    ApplyRawSettings(raw, false, s);
    EXPECT_EQ(s.languageOffset, 0);
    EXPECT_EQ(s.currentPage, 3);
    EXPECT_EQ(s.columns, 1);
    EXPECT_EQ(s.rows, 8);
    // Fewer pages than the page shown: the page follows, so no slot beyond the file's range is shown.
    raw.maximumPages = 2;
    ApplyRawSettings(raw, false, s);
    EXPECT_EQ(s.currentPage, 2);
}

TEST(Settings, ReloadReadsLongerPositions)
{
    BarSettings s;
    RawSettings raw;
    raw.position = "1,                          77";
    EXPECT_EQ(ApplyRawSettings(raw, false, s).y, 77);
    EXPECT_EQ(ApplyRawSettings(raw, true, s).y, 0);  // cut at 15 characters at start-up
}

struct PositionCase {
    const char *text;
    int x, y;
};

const PositionCase kPositionCases[] = {
    {"", 0, 0},
    {"12,34", 12, 34},
    {" 12, 34", 12, 34},
    {"-3,-4", -3, -4},
    {"abc", 0, 0},
    {"abc,5", 0, 5},
    {"5,abc", 5, 0},
    {"5", 5, 0},
    {",9", 0, 9},
    {"99999999999999999999,-99999999999999999999", 32767, -32768},
    {"1,2,3", 1, 2},
};

TEST(Settings, ParsePosition)
{
    for (const PositionCase &c : kPositionCases) {
        SCOPED_TRACE(c.text);
        const BarPosition p = ParsePosition(c.text);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
    EXPECT_EQ(FormatPosition(-8, 700), "-8,700");
}

TEST(Settings, ButtonsPerPageSavedIsTheLargerCount)
{
    BarSettings s;
    s.columns = 1;
    s.rows = 8;
    EXPECT_EQ(ButtonsPerPageToSave(s), 8);
    s.columns = 12;
    s.rows = 1;
    EXPECT_EQ(ButtonsPerPageToSave(s), 12);
}

TEST(Settings, SlotNumberAndKeys)
{
    BarSettings s;
    s.currentPage = 2;
    s.columns = 5;
    s.rows = 1;
    EXPECT_EQ(SlotNumber(s, 3), 8);
    EXPECT_EQ(ProfileKey(8), "profile008");
    EXPECT_EQ(TitleKey(8), "Title008");
    s.currentPage = 20;
    s.columns = 1;
    s.rows = 20;
    EXPECT_EQ(SlotNumber(s, 19), 399);
    EXPECT_EQ(ProfileKey(399), "profile399");
    EXPECT_EQ(ProfileKey(1234), "profile1234");
}

TEST(Settings, LanguageChoosesDialogsAndStrings)
{
    EXPECT_EQ(DialogId(DialogKind::Properties, 0), 112u);
    EXPECT_EQ(DialogId(DialogKind::ProgramDefinition, 0), 110u);
    EXPECT_EQ(DialogId(DialogKind::ExecuteApplication, 0), 111u);
    EXPECT_EQ(DialogId(DialogKind::Properties, 1), 106u);
    EXPECT_EQ(DialogId(DialogKind::ProgramDefinition, 1), 107u);
    EXPECT_EQ(DialogId(DialogKind::ExecuteApplication, 1), 109u);
    EXPECT_EQ(StringId(IDS_EXECUTE_ERROR, 0), 24u);
    EXPECT_EQ(StringId(IDS_EXECUTE_ERROR, 1), 25u);
    EXPECT_EQ(StringId(IDS_EXECUTE_TITLE, 1), 2u);
    EXPECT_EQ(StringId(IDS_PLATFORM, 0), 23u);  // one text for both languages
    EXPECT_EQ(StringId(IDS_PLATFORM, 1), 23u);
}

} // namespace
