// Any text parses without fault, a refusal names where and why, and whatever parses reads back equal
// after JsonWriter has written it out again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "ctl/json_rules.h"

static bool Equal(const JsonValue &a, const JsonValue &b)
{
    if (a.kind != b.kind || a.boolean != b.boolean || a.text != b.text || a.items.size() != b.items.size() ||
        a.members.size() != b.members.size())
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!Equal(a.items[i], b.items[i]))
            return false;
    for (std::size_t i = 0; i < a.members.size(); ++i)
        if (a.members[i].first != b.members[i].first || !Equal(a.members[i].second, b.members[i].second))
            return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::string error;
    const std::optional<JsonValue> value = ParseJson(text, error);
    if (!value) {
        Check(error.rfind("line ", 0) == 0 && error.find('\n') == std::string::npos);
        return 0;
    }
    Check(error.empty());
    if (value->kind == JsonValue::Kind::Number && JsonInteger(*value))
        Check(value->text.find_first_of(".eE") == std::string::npos);

    JsonWriter writer;
    writer.Value(*value);
    const std::string written = writer.Take();
    const std::optional<JsonValue> back = ParseJson(written, error);
    Check(back && Equal(*value, *back));
    return 0;
}
