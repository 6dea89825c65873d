#include "ctl/json_rules.h"

#include <algorithm>
#include <functional>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the well-formed UTF-8 sequence at s[i] (a byte of 0x80 or more), or 0: no overlong forms,
// no encoded surrogates, nothing above U+10FFFF.
std::size_t Utf8Length(std::string_view s, std::size_t i)
{
    const unsigned char lead = s[i];
    std::size_t n;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else
        return 0;
    if (s.size() - i < n)
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = s[i + k];
        if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
            return 0;
    }
    return n;
}

void AppendUtf8(std::string &out, unsigned cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

using Members = std::vector<std::pair<std::string, JsonValue>>;

// The names of one object's members, for the duplicate check. Most objects are small, and a look
// along the list costs less than an index; past kListedNames the names are indexed, so that an
// object of many members is read in time linear in its size.
class MemberNames
{
  public:
    // Whether the last member's name is new; it counts as seen from now on.
    bool Add(const Members &members)
    {
        const std::size_t last = members.size() - 1;
        if (last < kListedNames) {
            for (std::size_t i = 0; i < last; ++i)
                if (members[i].first == members[last].first)
                    return false;
            return true;
        }
        if (2 * members.size() > slots_.size()) {
            // Kept at most half full; the earlier names, all different, are placed again.
            slots_.assign(std::max<std::size_t>(4 * kListedNames, 2 * slots_.size()), 0);
            for (std::size_t i = 0; i < last; ++i)
                slots_[FreeSlot(members, members[i].first)] = i + 1;
        }
        const std::size_t at = FreeSlot(members, members[last].first);
        if (slots_[at] != 0)
            return false;
        slots_[at] = last + 1;
        return true;
    }

  private:
    static constexpr std::size_t kListedNames = 16;

    // The slot that holds `name`, or the empty one where it would go.
    std::size_t FreeSlot(const Members &members, const std::string &name) const
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = std::hash<std::string_view>()(name) & mask;
        while (slots_[at] != 0 && members[slots_[at] - 1].first != name)
            at = (at + 1) & mask;
        return at;
    }

    // Open addressing over member positions + 1 (0: empty), a power of two long: one allocation
    // per growth rather than one per name.
    std::vector<std::size_t> slots_;
};

// Recursive descent; each step returns false after Fail has described the first fault.
struct Parser {
    std::string_view s;
    std::size_t pos = 0;
    std::string error;

    bool Fail(std::size_t at, const std::string &what)
    {
        int line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < at; ++i)
            if (s[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
        error = "line " + std::to_string(line) + ", column " + std::to_string(at - lineStart + 1) + ": " + what;
        return false;
    }

    bool At(char c) const { return pos < s.size() && s[pos] == c; }

    void SkipSpace()
    {
        while (At(' ') || At('\t') || At('\n') || At('\r'))
            ++pos;
    }

    bool Value(JsonValue &out, int depth)
    {
        SkipSpace();
        if (pos >= s.size())
            return Fail(pos, "expected a value");
        switch (s[pos]) {
        case '{': return Object(out, depth + 1);
        case '[': return Array(out, depth + 1);
        case '"': out.kind = JsonValue::Kind::String; return String(out.text);
        case 't':
            out.kind = JsonValue::Kind::Bool;
            out.boolean = true;
            return Word("true");
        case 'f': out.kind = JsonValue::Kind::Bool; return Word("false");
        case 'n': return Word("null");
        default: return Number(out);
        }
    }

    bool Word(std::string_view word)
    {
        if (s.substr(pos, word.size()) != word)
            return Fail(pos, "expected a value");
        pos += word.size();
        return true;
    }

    bool TooDeep(int depth)
    {
        if (depth <= kJsonMaxDepth)
            return false;
        Fail(pos, "nesting deeper than " + std::to_string(kJsonMaxDepth) + " levels");
        return true;
    }

    bool Array(JsonValue &out, int depth)
    {
        if (TooDeep(depth))
            return false;
        out.kind = JsonValue::Kind::Array;
        ++pos;
        SkipSpace();
        if (At(']'))
            return ++pos, true;
        for (;;) {
            if (!Value(out.items.emplace_back(), depth))
                return false;
            SkipSpace();
            if (At(','))
                ++pos;
            else if (At(']'))
                return ++pos, true;
            else
                return Fail(pos, "expected ',' or ']'");
        }
    }

    bool Object(JsonValue &out, int depth)
    {
        if (TooDeep(depth))
            return false;
        out.kind = JsonValue::Kind::Object;
        ++pos;
        SkipSpace();
        if (At('}'))
            return ++pos, true;
        MemberNames names;
        for (;;) {
            SkipSpace();
            if (!At('"'))
                return Fail(pos, "expected a member name");
            const std::size_t nameAt = pos;
            std::string name;
            if (!String(name))
                return false;
            out.members.emplace_back(std::move(name), JsonValue{});
            if (!names.Add(out.members))
                return Fail(nameAt, "duplicate member name " + JsonQuoted(out.members.back().first));
            SkipSpace();
            if (!At(':'))
                return Fail(pos, "expected ':'");
            ++pos;
            if (!Value(out.members.back().second, depth))
                return false;
            SkipSpace();
            if (At(','))
                ++pos;
            else if (At('}'))
                return ++pos, true;
            else
                return Fail(pos, "expected ',' or '}'");
        }
    }

    bool Digits()
    {
        if (pos >= s.size() || !IsDigit(s[pos]))
            return Fail(pos, "expected a digit");
        while (pos < s.size() && IsDigit(s[pos]))
            ++pos;
        return true;
    }

    bool Number(JsonValue &out)
    {
        const std::size_t start = pos;
        if (At('-'))
            ++pos;
        else if (!IsDigit(s[pos]))
            return Fail(pos, "expected a value");
        if (At('0') && pos + 1 < s.size() && IsDigit(s[pos + 1]))
            return Fail(pos, "leading zero");
        if (!Digits())
            return false;
        if (At('.')) {
            ++pos;
            if (!Digits())
                return false;
        }
        if (At('e') || At('E')) {
            ++pos;
            if (At('+') || At('-'))
                ++pos;
            if (!Digits())
                return false;
        }
        out.kind = JsonValue::Kind::Number;
        out.text = s.substr(start, pos - start);
        return true;
    }

    bool Hex4(unsigned &cp)
    {
        if (s.size() - pos < 4)
            return false;
        cp = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s[pos++];
            const int digit = IsDigit(c)             ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            cp = cp << 4 | digit;
        }
        return true;
    }

    bool Escape(std::string &out)
    {
        const std::size_t at = pos; // the backslash
        if (s.size() - pos < 2)
            return Fail(at, "invalid escape");
        const char e = s[pos + 1];
        pos += 2;
        switch (e) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return Fail(at, "invalid escape");
        }
        unsigned cp;
        if (!Hex4(cp))
            return Fail(at, "invalid escape");
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            return Fail(at, "lone low surrogate");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (s.substr(pos, 2) != "\\u")
                return Fail(at, "lone high surrogate");
            const std::size_t second = pos;
            pos += 2;
            unsigned low;
            if (!Hex4(low))
                return Fail(second, "invalid escape");
            if (low < 0xDC00 || low > 0xDFFF)
                return Fail(at, "lone high surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, cp);
        return true;
    }

    bool String(std::string &out)
    {
        const std::size_t open = pos++;
        for (;;) {
            if (pos >= s.size())
                return Fail(open, "unterminated string");
            const unsigned char c = s[pos];
            if (c == '"')
                return ++pos, true;
            if (c < 0x20)
                return Fail(pos, "control character in a string");
            if (c == '\\') {
                if (!Escape(out))
                    return false;
            } else if (c < 0x80) {
                // A run of plain characters goes over in one piece.
                std::size_t end = pos + 1;
                while (end < s.size() && static_cast<unsigned char>(s[end]) >= 0x20 &&
                       static_cast<unsigned char>(s[end]) < 0x80 && s[end] != '"' && s[end] != '\\')
                    ++end;
                out.append(s.substr(pos, end - pos));
                pos = end;
            } else {
                const std::size_t n = Utf8Length(s, pos);
                if (n == 0)
                    return Fail(pos, "invalid UTF-8");
                out.append(s.substr(pos, n));
                pos += n;
            }
        }
    }
};

} // namespace

std::optional<JsonValue> ParseJson(std::string_view text, std::string &error)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Parser p{text, 0, {}};
    JsonValue value;
    if (p.Value(value, 0)) {
        p.SkipSpace();
        if (p.pos == text.size()) {
            error.clear();
            return value;
        }
        p.Fail(p.pos, "unexpected text after the value");
    }
    error = std::move(p.error);
    return std::nullopt;
}

const JsonValue *JsonMember(const JsonValue &value, std::string_view name)
{
    if (value.kind == JsonValue::Kind::Object)
        for (const auto &member : value.members)
            if (member.first == name)
                return &member.second;
    return nullptr;
}

std::optional<long long> JsonInteger(const JsonValue &value)
{
    if (value.kind != JsonValue::Kind::Number)
        return std::nullopt;
    std::string_view digits = value.text;
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
        digits.remove_prefix(1);
    if (digits.empty())
        return std::nullopt;
    const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    unsigned long long magnitude = 0;
    for (char c : digits) {
        if (!IsDigit(c))
            return std::nullopt; // a fraction or an exponent
        const unsigned digit = c - '0';
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    // Unsigned negation wraps, and the conversion is modular: -2^63 arrives whole.
    return static_cast<long long>(negative ? 0 - magnitude : magnitude);
}

std::string JsonQuoted(std::string_view utf8)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::NewLine()
{
    out_ += '\n';
    out_.append(2 * empty_.size(), ' ');
}

void JsonWriter::BeforeValue()
{
    if (afterName_) {
        afterName_ = false; // the value goes on its name's line
        return;
    }
    if (empty_.empty())
        return;
    if (!empty_.back())
        out_ += ',';
    empty_.back() = false;
    NewLine();
}

void JsonWriter::Open(char bracket)
{
    BeforeValue();
    out_ += bracket;
    empty_.push_back(true);
}

void JsonWriter::Close(char bracket)
{
    if (empty_.empty())
        return;
    const bool wasEmpty = empty_.back();
    empty_.pop_back();
    if (!wasEmpty)
        NewLine();
    out_ += bracket;
}

void JsonWriter::Name(std::string_view utf8)
{
    BeforeValue();
    out_ += JsonQuoted(utf8);
    out_ += ": ";
    afterName_ = true;
}

void JsonWriter::String(std::string_view utf8)
{
    BeforeValue();
    out_ += JsonQuoted(utf8);
}

void JsonWriter::Number(long long number)
{
    BeforeValue();
    out_ += std::to_string(number);
}

void JsonWriter::Bool(bool boolean)
{
    BeforeValue();
    out_ += boolean ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    out_ += "null";
}

void JsonWriter::Value(const JsonValue &value)
{
    switch (value.kind) {
    case JsonValue::Kind::Null: Null(); break;
    case JsonValue::Kind::Bool: Bool(value.boolean); break;
    case JsonValue::Kind::Number:
        BeforeValue();
        out_ += value.text;
        break;
    case JsonValue::Kind::String: String(value.text); break;
    case JsonValue::Kind::Array:
        BeginArray();
        for (const JsonValue &item : value.items)
            Value(item);
        EndArray();
        break;
    case JsonValue::Kind::Object:
        BeginObject();
        for (const auto &[name, member] : value.members) {
            Name(name);
            Value(member);
        }
        EndObject();
        break;
    }
}

std::string JsonWriter::Take()
{
    std::string text = std::move(out_);
    text += '\n';
    out_.clear();
    empty_.clear();
    afterName_ = false;
    return text;
}
