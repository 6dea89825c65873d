// The JSON that tavctl exports and imports the bar's configuration in: a strict reader and a small writer, UTF-8.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    // Declared, not implicit: clang's implicit one wants std::pair<std::string, JsonValue> complete before
    // JsonValue is, and refuses to build.
    JsonValue() = default;

    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;             // a String's UTF-8 text, unescaped; a Number's text exactly as written
    std::vector<JsonValue> items; // Array
    std::vector<std::pair<std::string, JsonValue>> members; // Object, in file order
};

// Parses one JSON text (RFC 8259): an optional UTF-8 BOM, white space around one value, nothing after it.
// Strict: invalid UTF-8 anywhere, a lone or misordered surrogate in a \u escape, a raw control
// character in a string, duplicate member names in one object, nesting deeper than kJsonMaxDepth,
// leading zeros, trailing commas, comments: all refused. On refusal returns nothing and sets
// `error` to one line such as "line 3, column 14: expected ',' or '}'" (line and column 1-based,
// the column counted in bytes, a BOM not counted).
constexpr int kJsonMaxDepth = 64;
std::optional<JsonValue> ParseJson(std::string_view text, std::string &error);

// The member `name` of an object (nullptr when absent or `value` is no object).
const JsonValue *JsonMember(const JsonValue &value, std::string_view name);
// A Number that is an integer (no fraction, no exponent) within long long; nothing otherwise.
std::optional<long long> JsonInteger(const JsonValue &value);

// Writing. `utf8` must be valid UTF-8 (the caller converts from UTF-16): a quoted JSON string with
// '"', '\\' and the control characters below 0x20 escaped (\n, \t, \r, \b, \f by name, the rest as \u00xx) and
// U+2028/U+2029 left as they are. Everything else is written as its own UTF-8 bytes.
std::string JsonQuoted(std::string_view utf8);

// Builds indented JSON text: one item a line, two spaces a level, "name": value, empty containers as [] and {},
// a newline at the end. Inside an object each value comes after its Name. Nothing checks the calls' order.
//   JsonWriter w;
//   w.BeginObject(); w.Name("rows"); w.Number(2); w.Name("tips"); w.Bool(true); w.EndObject();
//   std::string text = w.Take();  // "{\n  \"rows\": 2,\n  \"tips\": true\n}\n"
class JsonWriter
{
  public:
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Name(std::string_view utf8);
    void String(std::string_view utf8);
    void Number(long long number);
    void Bool(bool boolean);
    void Null();
    void Value(const JsonValue &value); // a whole value as parsed, numbers as written
    std::string Take();                 // the text so far, newline-terminated; the writer starts afresh

  private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void NewLine();

    std::string out_;
    std::vector<bool> empty_; // per open container: nothing written in it yet
    bool afterName_ = false;
};
