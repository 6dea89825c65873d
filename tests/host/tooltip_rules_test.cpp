#include <gtest/gtest.h>

#include "tips/tooltip_rules.h"

namespace {

TEST(Tooltip, CommandTextReadsOverTheCommaAlone)
{
    EXPECT_EQ(TooltipCommandText("C:\\A.EXE,0,,C:\\A.EXE a,b"), "C:\\A.EXE a,b");  // empty directory: all of it
    EXPECT_EQ(TooltipCommandText("C:\\A.EXE,0,C:\\W\tX,C:\\B.EXE x,y"), "C:\\B.EXE x");  // a tab is text
}

TEST(Tooltip, PlacementTable)
{
    const struct { const char *what; int cursorX, textWidth, anchorTop, anchorBottom; Box at; int dpi = 96; } cases[] = {
        {"centred on the cursor below the button", 125, 81, 120, 158, {82, 158, 87, 17}},
        {"left of the screen starts at 0", 10, 82, 120, 158, {0, 158, 88, 17}},
        {"past the right edge ends 2 pixels before it", 1000, 82, 120, 158, {934, 158, 88, 17}},
        {"ending at the right edge stays", 980, 82, 120, 158, {936, 158, 88, 17}},
        {"past the bottom flips above the button", 125, 82, 730, 768, {81, 711, 88, 17}},
        {"ending at the bottom stays below", 125, 82, 713, 751, {81, 751, 88, 17}},
        // On a second monitor right of the first, 640 x 480: its own edges.
        {"near its left edge starts there", 1030, 82, 120, 158, {1024, 158, 88, 17}},
        {"past its right edge ends 2 before it", 1660, 82, 120, 158, {1574, 158, 88, 17}},
        {"past its bottom flips above", 1200, 82, 450, 478, {1156, 431, 88, 17}},
        // At 200 % (a text of 26 pixels' height): 12 pixels' padding, 4 from the edges.
        {"at 200 %, past the right edge", 1000, 164, 120, 158, {844, 158, 176, 34}, 192},
        {"at 200 %, past the bottom", 125, 164, 700, 768, {37, 662, 176, 34}, 192},
    };
    for (const auto &c : cases) {
        const Box screen = c.cursorX < 1024 ? Box{0, 0, 1024, 768} : Box{1024, 0, 640, 480};
        const Extent text{c.textWidth, c.dpi == 96 ? 13 : 26};
        EXPECT_EQ(PlaceTooltip(c.cursorX, text, c.anchorTop, c.anchorBottom, screen, c.dpi), c.at) << c.what;
    }
}

// What the mouse rests on gives the tooltip a slot's text or a button's name, under a key of
// its own; nothing at all while the user wants no tooltips, on any button.
TEST(Tooltip, WhatEachButtonShows)
{
    const struct { bool off; HoverOn on; int index; TipChoice tip; } cases[] = {
        {false, HoverOn::ProgramSlot, 0, {TipText::Program, 0}}, {false, HoverOn::ProgramSlot, 399, {TipText::Program, 399}},
        {false, HoverOn::PanelCell, 0, {TipText::Name, -2}}, {false, HoverOn::PanelCell, 4, {TipText::Name, -6}},
        {false, HoverOn::PanelCell, -3, {}} /* a blank cell */, {false, HoverOn::Nothing, 0, {}},
        {false, HoverOn::ControlButton, 0, {TipText::Name, -7}}, {false, HoverOn::ControlButton, 4, {TipText::Name, -11}},
        {true, HoverOn::ProgramSlot, 0, {}}, {true, HoverOn::PanelCell, 3, {}}, {true, HoverOn::ControlButton, 2, {}}};
    for (const auto &c : cases)
        EXPECT_EQ(ChooseTip(c.off, c.on, c.index), c.tip) << c.off << " " << static_cast<int>(c.on) << " " << c.index;
}

// A message box beside its owner on a 1024 x 768 work area: below it, above it, beside it, over it.
TEST(Tooltip, BoxesStandBesideTheirOwner)
{
    const Rect area{0, 0, 1024, 768};
    const struct { const char *what; Rect owner; Point at; } cases[] = {
        {"below a bar at the top, centred on it", {0, 0, 255, 56}, {0, 56}}, {"below", {300, 100, 555, 156}, {277, 156}},
        {"above a bar at the bottom", {400, 712, 655, 768}, {377, 612}},
        {"right of a full-height column", {0, 0, 46, 768}, {46, 334}},
        {"left of a full-height column on the right", {978, 0, 1024, 768}, {678, 334}},
        {"over a window as large as the area", {0, 0, 1024, 768}, {362, 334}},
        {"kept inside on the right", {900, 100, 1024, 156}, {724, 156}}};
    for (const auto &c : cases)
        EXPECT_EQ(PlaceNear(c.owner, {300, 100}, area), c.at) << c.what;
    EXPECT_EQ(PlaceNear({0, 0, 10, 10}, {2000, 1000}, area), (Point{0, 0})) << "larger than the area: its left and top";
}

} // namespace
