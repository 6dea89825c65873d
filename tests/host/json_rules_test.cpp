#include <gtest/gtest.h>
#include <sstream>

#include "ctl/json_rules.h"

namespace {

// A parsed value as JsonWriter writes it, put on one line, so a table can say what a text gives.
std::string Compact(const JsonValue &v)
{
    JsonWriter w;
    w.Value(v);
    std::istringstream lines(w.Take());
    std::string out, line;
    while (std::getline(lines, line))
        out += line.substr(line.find_first_not_of(' '));
    return out;
}

std::string Nested(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

struct Case { std::string text, result; };

TEST(ParseJson, Accepts)
{
    const Case cases[] = {
        {" \t\r\n{\"b\": 1, \"a\": [true, false, null]}\n", "{\"b\": 1,\"a\": [true,false,null]}"}, // file order
        {"\xEF\xBB\xBF{}", "{}"},
        {"[-0.5e+10, 0, -0, 1E2, 12.50]", "[-0.5e+10,0,-0,1E2,12.50]"}, // numbers as written
        {"\"\\u00e9\\u65E5\\ud83d\\ude00\\/\\\"\\\\\\b\\f\\n\\r\\t\\u0000\"", "\"\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80/"
                                                                              "\\\"\\\\\\b\\f\\n\\r\\t\\u0000\""},
        {"\"\xE2\x80\xA8\xF4\x8F\xBF\xBF\"", "\"\xE2\x80\xA8\xF4\x8F\xBF\xBF\""}, // U+2028, U+10FFFF
        {"{\"a\":{\"a\":1},\"A\":2}", "{\"a\": {\"a\": 1},\"A\": 2}"}, // names are unique per object, case counts
        {Nested(kJsonMaxDepth), Nested(kJsonMaxDepth)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::string error = "stale";
        const std::optional<JsonValue> v = ParseJson(c.text, error);
        ASSERT_TRUE(v) << error;
        EXPECT_EQ(Compact(*v), c.result);
        EXPECT_EQ(error, "");
    }
}

TEST(ParseJson, RefusesWithWhereAndWhy)
{
    // Each error on line 1: its column and why.
    const Case cases[] = {
        {"", "1: expected a value"}, {"{\"a\": \"\xFF\"}", "8: invalid UTF-8"},
        {"\"\xC0\xAF\"", "2: invalid UTF-8"},     // overlong '/'
        {"\"\xED\xA0\x80\"", "2: invalid UTF-8"}, // an encoded surrogate
        {"\"\xF0\x9F\x98\"", "2: invalid UTF-8"}, // cut short
        {"[\"\\ud800\"]", "3: lone high surrogate"}, {"\"\\udc00\\ud800\"", "2: lone low surrogate"},
        {"\"\\ud800\\u0041\"", "2: lone high surrogate"}, {"\"\\u12G4\"", "2: invalid escape"},
        {"\"a\nb\"", "3: control character in a string"}, {"\"abc", "1: unterminated string"},
        {Nested(kJsonMaxDepth + 1), "65: nesting deeper than 64 levels"}, {"[1,]", "4: expected a value"},
        {"{\"a\":1,}", "8: expected a member name"}, {"[01]", "2: leading zero"}, {"[1.]", "4: expected a digit"},
        {"{\"a\" 1}", "6: expected ':'"}, {"[1 2]", "4: expected ',' or ']'"},
        {"{\"a\":1 \"b\":2}", "8: expected ',' or '}'"},
        {"{} x", "4: unexpected text after the value"}, {"// note\n1", "1: expected a value"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_FALSE(ParseJson(c.text, error));
        EXPECT_EQ(error, "line 1, column " + c.result);
    }
}

TEST(ParseJson, DuplicateNamesFoundInObjectsOfAnySize)
{
    // n members "m0", "m1", ... one a line, then "m<again>" once more (-1: "end").
    const struct { int n, again; } cases[] = {{3, 0}, {3, 2}, {16, 15}, {17, 0}, {17, 16}, {5000, 0}, {5000, 4999},
                                               {5000, 2500}, {5000, -1}};
    for (const auto &c : cases) {
        std::string text = "{", error;
        for (int i = 0; i < c.n; ++i)
            text += "\"m" + std::to_string(i) + "\": " + std::to_string(i) + ",\n";
        const std::string last = c.again < 0 ? "end" : "m" + std::to_string(c.again);
        EXPECT_EQ(ParseJson(text + "\"" + last + "\": 0}", error).has_value(), c.again < 0) << c.n << " " << last;
        const std::string line = "line " + std::to_string(c.n + 1);
        EXPECT_EQ(error, c.again < 0 ? "" : line + ", column 1: duplicate member name \"" + last + "\"");
    }
}

TEST(JsonQuoted, EscapesControlsAndReadsBack)
{
    std::string text = "\"\\ \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 \xE2\x80\xA8\x7F";
    for (char c = 0; c < 0x20; ++c)
        text += c;
    const std::string quoted = JsonQuoted(text);
    EXPECT_EQ(quoted.substr(quoted.size() - 25), "\\u001c\\u001d\\u001e\\u001f\"");
    std::string error;
    const std::optional<JsonValue> back = ParseJson(quoted, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->text, text);
}

TEST(JsonInteger, OnlyWholeNumbersWithinLongLong)
{
    const std::pair<const char *, std::optional<long long>> cases[] = {
        {"9223372036854775807", 9223372036854775807LL}, {"9223372036854775808", std::nullopt},
        {"-9223372036854775808", -9223372036854775807LL - 1}, {"-9223372036854775809", std::nullopt},
        {"-0", 0}, {"42", 42}, {"1.0", std::nullopt}, {"1e2", std::nullopt}, {"\"5\"", std::nullopt},
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        std::string error;
        const JsonValue holder = *ParseJson(std::string("{\"n\":") + text + "}", error);
        EXPECT_EQ(JsonInteger(*JsonMember(holder, "n")), expected);
        EXPECT_TRUE(!JsonMember(holder, "m") && !JsonMember(*JsonMember(holder, "n"), "n"));
    }
}

TEST(JsonWriter, IndentsTwoSpacesALevel)
{
    std::string error;
    JsonWriter w;
    w.Value(*ParseJson("{\"slots\": [\"a\\\"b\", -3, {}, []], \"tips\": {\"on\": false, \"off\": null}}", error));
    EXPECT_EQ(w.Take(), "{\n  \"slots\": [\n    \"a\\\"b\",\n    -3,\n    {},\n    []\n  ],\n"
                        "  \"tips\": {\n    \"on\": false,\n    \"off\": null\n  }\n}\n");
}

} // namespace
