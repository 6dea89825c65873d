#include <gtest/gtest.h>

#include <tuple>

#include "bar/page_rules.h"

namespace {

TEST(Pages, ArrowsTurnAndWrapAround)
{
    // page, pages, previous, next
    const int turns[][4] = {{1, 3, 3, 2}, {3, 3, 2, 1}, {2, 3, 1, 3}, {1, 1, 1, 1}, {0, 3, 0, 0}, {9, 3, 2, 1}};
    for (const auto &t : turns) {
        EXPECT_EQ(PreviousPage(t[0], t[1]), t[2]) << t[0] << " of " << t[1];
        EXPECT_EQ(NextPage(t[0], t[1]), t[3]) << t[0] << " of " << t[1];
    }
}

TEST(Pages, MenuCommandNamesAPageInRange)
{
    const int commands[][3] = {{5121, 20, 1}, {5140, 20, 20}, {5120, 20, 0}, {5141, 20, 0}, {5124, 3, 0}};
    for (const auto &c : commands)
        EXPECT_EQ(PageOfCommand(c[0], c[1]), c[2]) << c[0];
}

TEST(Pages, SlotRightClickPicksUpSwapsEndsOrDefines)
{
    using enum SlotRightClick;
    const struct { bool panel, move; int source; bool shift; SlotRightClick action; } clicks[] = {
        {true, false, -1, true, Nothing}, {true, true, 7, false, Nothing}, {false, true, 2, false, EndMove},
        {false, true, 7, true, Swap}, {false, false, -1, true, StartMove}, {false, false, 2, false, OpenDefinition}};
    for (const auto &c : clicks) // the slot clicked is always 2
        EXPECT_EQ(DecideSlotRightClick(c.panel, c.move, c.source, 2, c.shift), c.action) << c.source;
}

TEST(Properties, PageSpinStaysWithinOneToTwenty)
{
    const int spins[][3] = {{5, 1, 6}, {5, -1, 4}, {1, -1, 1}, {20, 1, 20}, {0, 1, 1}, {25, -1, 24}};
    for (const auto &s : spins)
        EXPECT_EQ(SpinPageCount(s[0], s[1]), s[2]) << s[0] << " " << s[1];
}

TEST(Properties, OkKeepsThePinAndUnknownBitsAndStartsAtPageOne)
{
    // mode, columns, rows, choice; then mode, columns, rows and cell size after OK
    const struct {
        unsigned mode; int columns, rows; PropertiesChoice choice; unsigned mode_; int columns_, rows_, cell;
    } cases[] = {
        {Topmost | 0x07F2, 7, 1, {20, 3, true}, 0xC7F3, 1, 7, 38}, // the pin and bits 4 to 10 stay
        {0xB800, 1, 9, {4, 0}, 0, 9, 1, 38},
        {0x000C, 5, 1, {2, -1, false, true, true, true}, 0x3800, 5, 1, 30}, // no corner selected: 0
        {0, 5, 1, {2, 7}, 0, 5, 1, 38},
    };
    for (const auto &c : cases) {
        BarSettings s{.mode = c.mode, .currentPage = 3, .columns = c.columns, .rows = c.rows};
        ApplyProperties(c.choice, s);
        EXPECT_EQ(s.mode, c.mode_) << c.mode;
        EXPECT_EQ(std::tuple(s.maximumPages, s.columns, s.rows, s.cellSize, s.currentPage),
                  std::tuple(c.choice.pages, c.columns_, c.rows_, c.cell, 1))
            << c.mode;
    }
}

} // namespace
