#include <gtest/gtest.h>

#include "bar/name_rules.h"

namespace {

TEST(Names, SlotIsNamedByItsTitleOrItsProgramsFileName)
{
    const struct { const char *title, *value, *name; LeadBytePredicate lead = NoLeadByte; } cases[] = {
        {"Editor", "a.ico,0,C:\\,C:\\TOOLS\\EDIT.EXE", "Editor"},
        {"", "a.ico,0,C:\\,C:\\TOOLS\\EDIT.EXE /n", "EDIT.EXE"},
        {"", "a.ico,-1,,\"C:\\Program Files\\My App\\app.exe\" x.txt", "app.exe"},
        {"", "a.ico,0,,D:notes.txt", "notes.txt"}, {"", "a.ico,0,,C:/unix/style.exe,more", "style.exe"},
        {"", "a.ico,0,,\x95\\\x83\\.exe", "\x95\\\x83\\.exe", IsCp932LeadByte},  // trail bytes are not separators
        {"", "", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SlotName(c.title, c.value, c.lead), c.name) << c.value;
}

TEST(Names, PanelActionsAreLinesOfOneText)
{
    const wchar_t *lines = L"Shut down\nLog off\nQuit";
    const wchar_t *expected[] = {L"Shut down", L"Log off", L"Quit", L""};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(LineOf(lines, i), expected[i]) << i;
}

} // namespace
