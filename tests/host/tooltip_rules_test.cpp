#include <gtest/gtest.h>

#include <string>

#include "tips/tooltip_rules.h"

namespace {

TEST(Tooltip, CommandTextReadsOverTheCommaAlone)
{
    const struct {
        const char *value, *command;
    } cases[] = {
        {"C:\\A.EXE,0,,C:\\A.EXE a,b", "C:\\A.EXE a,b"},  // empty directory: all of it
        {"C:\\A.EXE,0,C:\\W,C:\\B.EXE x,y", "C:\\B.EXE x"},  // a directory: the fourth field
        {"C:\\A.EXE,0,C:\\W\tX,C:\\B.EXE", "C:\\B.EXE"},   // a tab is text, not a delimiter
        {"C:\\A.EXE,0,,a\tb", "a\tb"},
        {"C:\\A.EXE,0,C:\\W", ""},  // no fourth field
        {"C:\\A.EXE", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TooltipCommandText(c.value), c.command) << c.value;
}

TEST(Tooltip, TextIsCutBetweenCharacters)
{
    const std::string a127(127, 'a');
    const struct {
        std::string text;
        std::size_t capacity;
        LeadBytePredicate lead;
        std::string kept;
    } cases[] = {
        {a127 + "bc", 128, IsCp932LeadByte, a127},
        {a127, 128, IsCp932LeadByte, a127},
        {std::string(126, 'a') + "\x93\xfa", 128, IsCp932LeadByte, std::string(126, 'a')},  // pair across the end
        {std::string(126, 'a') + "\x93\xfa", 128, NoLeadByte, std::string(126, 'a') + "\x93"},
        {std::string(125, 'a') + "\x93\xfa", 128, IsCp932LeadByte, std::string(125, 'a') + "\x93\xfa"},
        {"ab\x93", 128, IsCp932LeadByte, "ab"},  // a lead byte whose trail the reader cut
        {"\x93\x5c\x93\x5c", 4, IsCp932LeadByte, "\x93\x5c"},  // a trail byte that looks like '\'
        {"x", 0, IsCp932LeadByte, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FitText(c.text, c.capacity, c.lead), c.kept) << c.text.size() << " into " << c.capacity;
}

TEST(Tooltip, PlacementTable)
{
    const Extent screen{1024, 768};
    const struct {
        const char *what;
        int cursorX;
        Extent text;
        int anchorTop, anchorBottom;
        Box at;
    } cases[] = {
        {"centred on the cursor below the button", 125, {82, 13}, 120, 158, {81, 158, 88, 17}},
        {"odd width: the extra pixel goes right", 125, {81, 13}, 120, 158, {82, 158, 87, 17}},
        {"left of the screen starts at 0", 10, {82, 13}, 120, 158, {0, 158, 88, 17}},
        {"past the right edge ends 2 pixels before it", 1000, {82, 13}, 120, 158, {934, 158, 88, 17}},
        {"ending exactly at the edge stays", 980, {82, 13}, 120, 158, {936, 158, 88, 17}},
        {"past the bottom flips above the button", 125, {82, 13}, 730, 768, {81, 711, 88, 17}},
        {"ending exactly at the bottom stays below", 125, {82, 13}, 713, 751, {81, 751, 88, 17}},
        {"wider than the screen", 500, {1100, 13}, 120, 158, {-84, 158, 1106, 17}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PlaceTooltip(c.cursorX, c.text, c.anchorTop, c.anchorBottom, screen), c.at) << c.what;
}

} // namespace
