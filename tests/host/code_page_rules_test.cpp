#include <gtest/gtest.h>

#include <string>

#include "ini/code_page_rules.h"

namespace {

TEST(CodePageText, FitTextCutsBetweenWholeCharacters)
{
    const std::string a126(126, 'a'), pair = "\x93\xfa";
    EXPECT_EQ(FitText(a126 + "bc", 128, IsCp932LeadByte), a126 + "b");
    EXPECT_EQ(FitText(a126 + pair, 128, IsCp932LeadByte), a126);  // a character across the end goes whole
    EXPECT_EQ(FitText(a126 + pair, 128, NoLeadByte), a126 + "\x93");
    EXPECT_EQ(FitText("a" + pair + "\x93", 128, IsCp932LeadByte), "a" + pair);  // the reader cut its trail off
}

} // namespace
