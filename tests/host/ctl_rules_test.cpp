#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "ctl/ctl_rules.h"
#include "ctl/json_rules.h"
#include "ini/code_page_rules.h"

namespace {

std::vector<std::string> Words(const std::string &line)
{
    std::vector<std::string> words;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = std::min(line.find('|', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

bool NoLead(unsigned char) { return false; }

TEST(ParseCtlArguments, VerbsOptionsAndOperands)
{
    // Arguments separated by '|'; the error's start, or "" when accepted.
    const struct { const char *args, *error; } cases[] = {
        {"add|C:\\a.exe|-x|/y|--title|T|--slot=3|--|--page|9", ""}, {"add|C:\\a.exe|--page", "--page needs a value"},
        {"add|C:\\a.exe|--slot|21", "--slot takes a number from 1 to 20, not '21'"},
        {"add|C:\\a.exe|--page|0", "--page takes a number from 1 to 20, not '0'"},
        {"add|C:\\a.exe|--page|+1", "--page takes a number"},
        {"add|C:\\a.exe|--dry-run", "'add' takes no option --dry-run"},
        {"list|--dry-run", "'list' takes no option --dry-run"},
        {"import|f.json|--dry-run=yes", "--dry-run takes no value"},
        {"add|C:\\a.exe|--minimized=yes", "--minimized takes no value"},
        {"add", "'add' takes a program and its arguments, not 0"}, {"list|extra", "'list' takes no operand, not 1"},
        {"remove|--page|1", "'remove' needs --page and --slot"}, {"move|--page|1|--slot|2", "'move' needs --to-slot"},
        {"set|mode", "'set' takes 2 operands, not 1"}, {"autostart|maybe", "autostart takes 'on' or 'off'"},
        {"Add|x", "unknown command 'Add'"},
    };
    for (const auto &c : cases) {
        std::string error;
        const auto request = ParseCtlArguments(Words(c.args), error);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.args << ": " << error;
        EXPECT_EQ(request.has_value(), *c.error == '\0') << c.args;
    }
    std::string error;
    const auto add = ParseCtlArguments(Words("add|C:\\a.exe|-x|/y|--title|T|--slot=3|--|--page|9"), error);
    ASSERT_TRUE(add);
    EXPECT_EQ(std::tuple(add->operands, add->title.value_or("-"), add->slot.value_or(0), add->page.has_value()),
              std::tuple(Words("C:\\a.exe|-x|/y|--page|9"), "T", 3, false));
    EXPECT_TRUE(ParseCtlArguments(Words("add|a|--json"), error)->json);
    EXPECT_TRUE(ParseCtlArguments(Words("import|f|--dry-run"), error)->dryRun);
    // Nothing at all is answered with the usage as a mistake, --help and --version as requests.
    EXPECT_EQ(ParseCtlArguments({}, error)->verb, "usage");
    EXPECT_EQ(ParseCtlArguments({"--help"}, error)->verb, "help");
    EXPECT_EQ(ParseCtlArguments({"--version"}, error)->verb, "version");
}

TEST(SettingToStore, TheBarsClamps)
{
    // key, value, maximum pages stored; what is stored ("" refused).
    const struct { const char *key, *value; int pages; const char *stored; } cases[] = {
        {"buttons par page", "25", 1, "20"}, {"Buttons Par Page", "3", 1, "5"}, {"maximum pages", "0", 1, "1"},
        {"maximum pages", "99", 1, "20"},    {"startup page", "7", 4, "4"},     {"startup page", "-2", 4, "1"},
        {"mode", "0x1C001", 1, "49153"},     {"Japan", "5", 1, "1"},            {"japan", "0", 1, "0"},
        {"position", "-40000,12", 1, "-32768,12"}, {"position", "10", 1, ""},   {"position", "1,y", 1, ""},
        {"maximum pages", "999999999999999999999", 1, "20"}, {"mode", "12abc", 1, ""},            {"colour", "1", 1, ""},
        {"hotkey", "alt+ctrl+t", 1, "Ctrl+Alt+T"}, {"Hot Key", "none", 1, "none"}, {"hot key", "Shift+T", 1, ""},
        {"hot  key", "F5", 1, ""},
    };
    for (const auto &c : cases) {
        std::string error;
        const auto setting = SettingToStore(c.key, c.value, c.pages, error);
        EXPECT_EQ(setting ? setting->stored : "", c.stored) << c.key << " " << c.value << ": " << error;
        EXPECT_EQ(error.empty(), *c.stored != '\0') << c.key << " " << c.value;
    }
}

TEST(RegisteredCommand, QuotesWhatTheProgramMustGetBack)
{
    std::string error;
    EXPECT_EQ(RegisteredCommand("C:\\P F\\a.exe", {"-x", "two words", "", "say \"hi\"", "C:\\dir\\", "a\\\"b"},
                                NoLead, error),
              "\"C:\\P F\\a.exe\" -x \"two words\" \"\" \"say \\\"hi\\\"\" C:\\dir\\ \"a\\\\\\\"b\"");
    EXPECT_EQ(QuotedArgument("end \\", NoLead), "\"end \\\\\"");
    // Shift-JIS "表" ends in 0x5C: no backslash to double before the closing quote.
    EXPECT_EQ(QuotedArgument("x \x95\x5C", IsCp932LeadByte), "\"x \x95\x5C\"");
    EXPECT_FALSE(RegisteredCommand("a.exe", {"a,b"}, NoLead, error));
    EXPECT_FALSE(RegisteredCommand("a.exe", {"a\tb"}, NoLead, error));
}

TEST(ParseIconChoice, IndexAfterTheLastComma)
{
    std::string error;
    EXPECT_EQ(ParseIconChoice("C:\\i.dll,3", error)->index, 3);
    EXPECT_EQ(ParseIconChoice("C:\\i.dll,3", error)->file, "C:\\i.dll");
    EXPECT_EQ(ParseIconChoice("C:\\a,b.ico", error)->file, "C:\\a,b.ico");
    EXPECT_FALSE(ParseIconChoice("C:\\i.dll,-1", error));
    EXPECT_FALSE(ParseIconChoice(",2", error));
}

TEST(SlotLine, FieldsAndTitle)
{
    EXPECT_EQ(SlotLine({27, 2, 3, "C:\\a.exe,-2,C:\\w,\"C:\\a.exe\" x,y", "T"}),
              "2\t3\tC:\\a.exe\t1\tminimized\tC:\\w\t\"C:\\a.exe\" x,y\tT");
    EXPECT_EQ(SlotLine({0, 1, 1, "C:\\a.exe,0,,\"C:\\a.exe\"\ta", "T\tU"}),
              "1\t1\tC:\\a.exe\t0\tnormal\t\t\"C:\\a.exe\" a\tT U");
}

TEST(ReadBackValue, WhatTheProfileReaderGivesBack)
{
    // stored, read back; "=" where it comes back as given.
    const struct { const char *stored, *read; } cases[] = {
        {"\"Beta\"", "Beta"}, {"'Beta'", "Beta"}, {"  padded  ", "padded"}, {"\tx\x1a", "x"}, {"\"\"", ""},
        {"\"C:\\i.ico\",0,,\"C:\\a.exe\"", "C:\\i.ico\",0,,\"C:\\a.exe"}, {"\"Beta'", "="}, {"\"Beta", "="}, {"'", "="},
        {"a \"b\"", "="}, {"C:\\a.exe,0,,\"C:\\a.exe\"", "="}, {"", "="}, {"in side", "="},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadBackValue(c.stored, NoLead), std::string(c.read) == "=" ? c.stored : c.read) << c.stored;
}

TEST(OneLine, ControlCharactersAndLineBreaksEscaped)
{
    EXPECT_EQ(OneLine("no such folder: C:\\a\r\nb\tc\x01\x7f"), "no such folder: C:\\a\\r\\nb\\tc\\x01\\x7F");
    EXPECT_EQ(OneLine("a\xc2\x85" "b\xe2\x80\xa8" "c\xe2\x80\xa9"), "a\\u0085b\\u2028c\\u2029");
    EXPECT_EQ(OneLine("caf\xc3\xa9 \xe6\x97\xa5 \xe2\x80\xa6"), "caf\xc3\xa9 \xe6\x97\xa5 \xe2\x80\xa6");  // other text
}

TEST(ProgramChanges, EverySlotAndTitleThatChanges)
{
    using namespace std::string_literals;  // sections hold zero bytes
    const std::string before = "profile000=a,0,,\"C:\\a.exe\"\0Title000=A\0profile001=b,0,,\"C:\\b.exe\"\0"
                               "profile002=c,0,,\"C:\\c.exe\"\0Title002=\0profile025=z,0,,z\0\0"s;
    const std::string after = "PROFILE000=a,0,,\"C:\\a.exe\"\0Title000=\"A\"\0profile001=b,-1,,\"C:\\b.exe\"\0"
                              "profile003=d,0,,\"C:\\d.exe\" -x\0Title003=D\0profile025=z,0,,y\0\0"s;
    EXPECT_EQ(ProgramChanges(before, after, 10, NoLead),
              (std::vector<std::string>{"page 1 slot 2: b,0,,\"C:\\b.exe\" becomes b,-1,,\"C:\\b.exe\"",
                                        "page 1 slot 3: drops \"C:\\c.exe\"",
                                        "page 1 slot 4: adds \"C:\\d.exe\" -x",
                                        "page 1 slot 4: title \"\" becomes \"D\"",
                                        "page 3 slot 6: z becomes y"}));
    EXPECT_EQ(SettingChanges("mode=3\0position=1,2\0Japan=\0\0"s, "MODE=3\0buttons par page=8\0\0"s, NoLead),
              (std::vector<std::string>{"buttons par page: (not set) becomes 8", "position: 1,2 becomes (not set)"}));
}

// A backup's program as written by hand, in tavctl's documented form: the JSON item, and the entry
// it stores or the error it is refused with ("!" in front). `store` refuses a text holding '~'.
TEST(HandWrittenEntry, TheDocumentedForm)
{
    const char *needs = "!at: needs a command, an icon file and an icon index";
    const struct { const char *item, *result; } cases[] = {
        {R"({"command": "C:\\t\\e.exe /n"})", "C:\\t\\e.exe,0,,C:\\t\\e.exe /n"},
        {R"({"command": "\"C:\\P F\\e.exe\" -x", "iconIndex": 2, "minimized": true, "directory": "C:\\W"})",
         "C:\\P F\\e.exe,-3,C:\\W,\"C:\\P F\\e.exe\" -x"},
        {R"({"command": "e.exe", "iconFile": "C:\\i.dll", "iconIndex": 65535, "minimized": false})",
         "C:\\i.dll,65535,,e.exe"},
        {R"({"command": "e.exe", "minimized": "yes"})", "e.exe,0,,e.exe"},  // only true runs it minimized
        {R"({"command": "e.exe", "iconIndex": 65536})", needs}, {R"({"command": "e.exe", "iconIndex": -1})", needs},
        {R"({"command": "e.exe", "iconIndex": 1.5})", needs}, {R"({"command": ""})", needs},
        {R"({"command": "e.exe", "iconFile": ""})", needs},
        {R"({"command": "e.exe", "directory": 5})", "!at: \"directory\" must be a string"},
        {R"({"command": "e.exe", "iconFile": ["i"]})", "!at: \"iconFile\" must be a string"},
        {R"({"command": 7})", "!at: \"command\" must be a string"},
        {R"({"command": "e~.exe"})", "!at: the command cannot be stored"},
        {R"({"command": "e.exe", "directory": "C:\\~"})", "!at: the directory cannot be stored"},
        {R"({"command": "e.exe", "iconFile": "~.ico"})", "!at: the icon file cannot be stored"},
    };
    const TextToStore store = [](const std::string &utf8, const std::string &what, std::string &error) {
        if (utf8.find('~') == std::string::npos)
            return std::optional<std::string>(utf8);
        error = what + " cannot be stored";
        return std::optional<std::string>();
    };
    for (const auto &c : cases) {
        std::string error;
        const std::optional<JsonValue> item = ParseJson(c.item, error);
        ASSERT_TRUE(item) << c.item << ": " << error;
        const std::optional<std::string> entry = HandWrittenEntry(*item, "at", store, error);
        EXPECT_EQ(entry ? *entry : "!" + error.substr(0, std::strlen(c.result) - 1), c.result) << c.item;
    }
}

// The slot a backup's program names, on a bar of 10 buttons a page; -1 for none.
TEST(ImportedSlotKey, KeyOrPageAndSlot)
{
    const struct { const char *item; int key; } cases[] = {
        {R"({"key": 0})", 0}, {R"({"key": 399})", 399}, {R"({"key": 400})", -1}, {R"({"key": -1})", -1},
        {R"({"key": "3"})", -1}, {R"({"key": 5, "page": 2, "slot": 1})", 5}, {R"({"page": 2, "slot": 3})", 12},
        {R"({"page": 20, "slot": 10})", 199}, {R"({"page": 21, "slot": 1})", -1}, {R"({"page": 1, "slot": 11})", -1},
        {R"({"page": 1, "slot": 0})", -1}, {R"({"page": 1})", -1}, {R"({})", -1},
    };
    for (const auto &c : cases) {
        std::string error;
        const std::optional<JsonValue> item = ParseJson(c.item, error);
        ASSERT_TRUE(item) << c.item << ": " << error;
        EXPECT_EQ(ImportedSlotKey(*item, 10), c.key) << c.item;
    }
}

TEST(CodePageText, FitTextCutsBetweenWholeCharacters)
{
    const std::string a126(126, 'a'), pair = "\x93\xfa";
    EXPECT_EQ(FitText(a126 + "bc", 128, IsCp932LeadByte), a126 + "b");
    EXPECT_EQ(FitText(a126 + pair, 128, IsCp932LeadByte), a126);  // a character across the end goes whole
    EXPECT_EQ(FitText(a126 + pair, 128, NoLeadByte), a126 + "\x93");
    EXPECT_EQ(FitText("a" + pair + "\x93", 128, IsCp932LeadByte), "a" + pair);  // the reader cut its trail off
}

} // namespace
