#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "ini/settings_rules.h"

namespace {

// language, mode, maximum pages, page, columns x rows, cell, position
std::string Applied(const RawSettings &raw, bool startup, BarSettings &s)
{
    const BarPosition p = ApplyRawSettings(raw, startup, s);
    char out[96];
    std::snprintf(out, sizeof out, "%d %x %d %d %dx%d %d %d,%d", s.languageOffset, s.mode, s.maximumPages,
                  s.currentPage, s.columns, s.rows, s.cellSize, p.x, p.y);
    return out;
}

// (Overflowing numbers and positions, through the system's reader: settings_profile_test.)
TEST(Settings, StartupRules)
{
    const struct { RawSettings raw; const char *applied; } cases[] = {
        {RawSettings{}, "1 0 1 1 5x1 38 0,0"},  // what the reader hands over for a missing file
        {{DefaultJapan(true), 0, 1, 1, 5, ""}, "0 0 1 1 5x1 38 0,0"},  // on a double-byte system
        {{1, 0, 3, 2, 8, "10,20"}, "1 0 3 2 8x1 38 10,20"},
        {{5, 0, 1, 1, 5, ""}, "1 0 1 1 5x1 38 0,0"},          // "Japan" other than 0 or 1 is English
        {{1, 0, 1, 1, 25, ""}, "1 0 1 1 20x1 38 0,0"},        // 25 buttons read as 20
        {{1, 0xA000, 1, 1, 8, ""}, "1 a000 1 1 1x8 30 0,0"},  // vertical, small
        {{1, 0x07F3, 1, 1, 5, ""}, "1 7f3 1 1 5x1 38 0,0"},   // meaningless bits are kept
        {{1, 0x1C000, 1, 1, 5, ""}, "1 c000 1 1 1x5 38 0,0"}, // 16 bits of the mode
        {{1, 0, 1, 1, 0, ""}, "1 0 1 1 5x1 38 0,0"},          // rows of 5 to 20 only
        {{1, 0, 1, 1, -7, ""}, "1 0 1 1 5x1 38 0,0"}, {{1, Vertical, 1, 1, 4, ""}, "1 8000 1 1 1x5 38 0,0"},
        {{1, 0, 0, 1, 5, ""}, "1 0 1 1 5x1 38 0,0"},          // zero pages
        {{1, 0, 3, 9, 5, ""}, "1 0 3 3 5x1 38 0,0"},          // a page past the last
        {{1, 0, 3, 0, 5, ""}, "1 0 3 1 5x1 38 0,0"},
    };
    for (const auto &c : cases) {
        BarSettings s{.languageOffset = 7};  // overwritten at start-up
        EXPECT_EQ(Applied(c.raw, true, s), c.applied);
    }
}

// As the system's reader (Windows and Wine alike): default 7; lower-case prefixes; 32 bits; 29 characters.
TEST(Settings, IntegerKeys)
{
    const std::string blanks(27, ' ');
    const struct { std::string text; int read; } cases[] = {
        {"", 7}, {" ", 0}, {"abc", 0}, {"0x8000", 32768}, {"-0x10", -16}, {"0o17", 15}, {"0b101", 5}, {"0xfFg", 255},
        {"010", 10}, {"0x", 0}, {"0X10", 0}, {" \t+12abc", 12}, {"\x01\x1f 5", 5}, {"+-5", 0}, {"2147483648", INT_MIN},
        {"-4294967297", -1}, {"9999999999", 1410065407}, {blanks + " 7", 7}, {blanks + "  7", 0}, {blanks + "123", 12}};
    for (const auto &c : cases)
        EXPECT_EQ(ProfileInt(c.text.c_str(), 7), c.read) << '"' << c.text << '"';
}

TEST(Settings, ReloadKeepsLanguageAndPageAndReadsLongerPositions)
{
    BarSettings s{.currentPage = 3, .languageOffset = 0};
    RawSettings raw{1, Vertical, 4, 1, 8, "5,                          77"};
    EXPECT_EQ(Applied(raw, false, s), "0 8000 4 3 1x8 38 5,77");
    raw.maximumPages = 2;  // fewer pages than the page shown: the page follows
    EXPECT_EQ(Applied(raw, false, s), "0 8000 2 2 1x8 38 5,77");
}

TEST(Settings, PositionsSlotNumbersAndKeys)
{
    const struct { const char *text; int x, y; } positions[] = {
        {"", 0, 0}, {"12,34", 12, 34}, {" 12, 34", 12, 34}, {"-3,-4", -3, -4}, {"abc", 0, 0}, {"abc,5", 0, 5},
        {"5,abc", 5, 0}, {"5", 5, 0}, {",9", 0, 9}, {"1,2,3", 1, 2},
        {"99999999999999999999,-99999999999999999999", 32767, -32768}};
    for (const auto &c : positions)
        EXPECT_EQ(FormatPosition(ParsePosition(c.text).x, ParsePosition(c.text).y), FormatPosition(c.x, c.y)) << c.text;
    EXPECT_EQ(FormatPosition(-8, 700), "-8,700");
    EXPECT_EQ(ButtonsPerPageToSave({.columns = 1, .rows = 8}), 8);  // the larger of the two
    const BarSettings second{.currentPage = 2, .columns = 5, .rows = 1}, last{.currentPage = 20, .columns = 20};
    EXPECT_EQ(ProfileKey(SlotNumber(second, 3)) + TitleKey(SlotNumber(second, 3)), "profile008Title008");
    EXPECT_EQ(ProfileKey(SlotNumber(last, 19)) + ProfileKey(1234), "profile399profile1234");
}

// What "hot key" reads as, in its stored form ("-": no hot key; "?": bad input, also no hot key to the bar),
// and that form read back the same. The settings take it as the rule reads it, cut at its buffer.
TEST(Settings, HotKeys)
{
    const std::string longText = "Ctrl+Alt+" + std::string(60, ' ') + "T";
    const struct { std::string text; const char *stored; } cases[] = {
        {"", "-"}, {"none", "-"}, {" NONE ", "-"}, {"Ctrl+Alt+T", "Ctrl+Alt+T"}, {"alt + ctrl + t", "Ctrl+Alt+T"},
        {"Control+Shift+9", "Ctrl+Shift+9"}, {"Win+Shift+space", "Shift+Win+Space"}, {"F5", "F5"},
        {"shift+f24", "Shift+F24"}, {"Ctrl+Ctrl+PageDown", "Ctrl+PageDown"}, {"Ctrl+Alt+0xba", "Ctrl+Alt+0xBA"},
        {"Alt+0x0D", "Alt+Enter"}, {"Ctrl+Alt+Delete", "Ctrl+Alt+Delete"},
        {"T", "?"}, {"Shift+T", "?"}, {"Shift+Space", "?"},   // keys that type need Ctrl, Alt or Win
        {"Ctrl+Alt+", "?"}, {"+T", "?"}, {"Ctrl+Alt+T+U", "?"}, {"Ctrl+Alt+TT", "?"}, {"Ctrl+Alt+F25", "?"},
        {"Ctrl+Alt+F0", "?"}, {"Ctrl+Alt+F1x", "?"}, {"Hyper+T", "?"}, {"Ctrl+Alt+0x10", "?"},  // Shift is no key
        {"Ctrl+Alt+0x01", "?"}, {"Ctrl+Alt+0xFF", "?"}, {"Ctrl+Alt+0x1G", "?"}, {"Ctrl+Alt+0x", "?"},
        {"Ctrl+Alt+\x8f\x40", "?"}, {std::string("Ctrl+Alt+\0T", 11), "?"}, {"Ctrl+", "?"}, {"+", "?"},
    };
    for (const auto &c : cases) {
        const std::optional<HotKey> read = ParseHotKey(c.text);
        const std::string stored = !read ? "?" : read->key ? FormatHotKey(*read) : "-";
        EXPECT_EQ(stored, c.stored) << '"' << c.text << '"';
        if (read) {
            EXPECT_EQ(ParseHotKey(FormatHotKey(*read)), read) << c.text;
        }
    }
    BarSettings s;
    EXPECT_EQ(FormatHotKey((ApplyRawSettings({.hotKey = "Shift+Ctrl+F1"}, false, s), s.hotKey)), "Ctrl+Shift+F1");
    EXPECT_EQ(FormatHotKey((ApplyRawSettings({.hotKey = "Ctrl+T"}, true, s), s.hotKey)), "Ctrl+T");
    EXPECT_EQ(FormatHotKey((ApplyRawSettings({.hotKey = longText}, true, s), s.hotKey)), "none");
    EXPECT_EQ(FormatHotKey((ApplyRawSettings({.hotKey = "Shift+T"}, true, s), s.hotKey)), "none");
}

// The hotkey control's word (HOTKEYF_SHIFT 1, CONTROL 2, ALT 4, EXT 8 in the high byte) and the hot key.
TEST(Settings, HotKeyControlWords)
{
    const struct { unsigned word; const char *hotKey; unsigned wordBack; } cases[] = {
        {0x0654, "Ctrl+Alt+T", 0x0654}, {0x0370, "Ctrl+Shift+F1", 0x0370}, {0x0526, "Alt+Shift+Up", 0x0D26},
        {0x0D26, "Alt+Shift+Up", 0x0D26}, {0x0141, "none", 0}, {0x0074, "F5", 0x0074}, {0, "none", 0},
        {0x0600, "none", 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatHotKey(HotKeyFromControl(c.word)), c.hotKey) << std::hex << c.word;
        EXPECT_EQ(ControlWordOf(HotKeyFromControl(c.word)), c.wordBack) << std::hex << c.word;
    }
    EXPECT_EQ(ControlWordOf(*ParseHotKey("Win+Ctrl+T")), 0x0254u);  // the control has no Win key
}

TEST(Settings, SectionValues)
{
    using namespace std::string_literals;
    const std::vector<std::pair<const char *, std::string>> values{{"mode", "16384"}, {"position", "5,6"}};
    const struct { std::string section, written; } cases[] = {
        {"\0"s, "mode=16384\0position=5,6\0\0"s},  // none there yet: in the order given
        {"Japan=1\0MODE=0\0x\0mode=7\0\0"s, "Japan=1\0MODE=16384\0x\0mode=7\0position=5,6\0\0"s},
        {"position=1,2\0Japan=0\0mode=16384\0\0"s, "position=5,6\0Japan=0\0mode=16384\0\0"s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SetSectionValues(c.section, values), c.written);
}

} // namespace
