#include "ini/hot_key_rules.h"

#include <cstring>

namespace {

struct Name {
    char text[10];
    unsigned char code;  // a modifier's bit, or a key's virtual-key code
};
constexpr Name kModifiers[] = {{"Ctrl", HotKeyCtrl}, {"Alt", HotKeyAlt}, {"Shift", HotKeyShift}, {"Win", HotKeyWin},
                               {"Control", HotKeyCtrl}};
constexpr Name kNamedKeys[] = {{"Backspace", 0x08}, {"Tab", 0x09},     {"Enter", 0x0D},  {"Pause", 0x13},
                               {"Esc", 0x1B},       {"Space", 0x20},   {"PageUp", 0x21}, {"PageDown", 0x22},
                               {"End", 0x23},       {"Home", 0x24},    {"Left", 0x25},   {"Up", 0x26},
                               {"Right", 0x27},     {"Down", 0x28},    {"Insert", 0x2D}, {"Delete", 0x2E}};
constexpr char kHexDigits[] = "0123456789ABCDEF";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool SameWord(std::string_view a, const char *b)
{
    std::size_t i = 0;
    for (; i < a.size(); ++i)
        if (!b[i] || Upper(a[i]) != Upper(b[i]))
            return false;
    return !b[i];
}

std::string_view Trimmed(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

// The number of one or two `digits` in `base`; -1 when they are none.
int Number(std::string_view digits, int base)
{
    int n = 0;
    for (char c : digits) {
        const char *d = c ? std::strchr(kHexDigits, Upper(c)) : nullptr;
        if (!d || d - kHexDigits >= base)
            return -1;
        n = n * base + static_cast<int>(d - kHexDigits);
    }
    return digits.empty() || digits.size() > 2 ? -1 : n;
}

bool FunctionKey(unsigned key) { return key >= 0x70 && key <= 0x87; }

// The code of a key's name; 0 for none. Modifier keys and mouse buttons are no keys.
unsigned KeyCode(std::string_view name)
{
    const char first = name.empty() ? '\0' : Upper(name[0]);
    if (name.size() == 1 && ((first >= '0' && first <= '9') || (first >= 'A' && first <= 'Z')))
        return static_cast<unsigned char>(first);
    if (first == 'F') {
        const int n = Number({name.data() + 1, name.size() - 1}, 10);
        return n >= 1 && n <= 24 ? 0x6Fu + unsigned(n) : 0;
    }
    if (first == '0' && name.size() > 2 && Upper(name[1]) == 'X') {
        const int v = Number({name.data() + 2, name.size() - 2}, 16);
        const bool modifierKey = (v >= 0x10 && v <= 0x12) || v == 0x5B || v == 0x5C || (v >= 0xA0 && v <= 0xA5);
        return v < 0x08 || v == 0xFF || modifierKey ? 0 : unsigned(v);
    }
    for (const Name &k : kNamedKeys)
        if (SameWord(name, k.text))
            return k.code;
    return 0;
}

} // namespace

std::optional<HotKey> ParseHotKey(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty() || SameWord(text, "none"))
        return HotKey{};
    HotKey hotKey;
    for (std::size_t plus; (plus = text.find('+')) != std::string_view::npos; text.remove_prefix(plus + 1)) {
        const std::string_view word = Trimmed({text.data(), plus});
        unsigned bit = 0;
        for (const Name &m : kModifiers)
            if (SameWord(word, m.text))
                bit = m.code;
        if (!bit)
            return std::nullopt;
        hotKey.modifiers |= bit;
    }
    hotKey.key = KeyCode(Trimmed(text));
    if (!hotKey.key || !(FunctionKey(hotKey.key) || (hotKey.modifiers & (HotKeyCtrl | HotKeyAlt | HotKeyWin))))
        return std::nullopt;
    return hotKey;
}

std::string FormatHotKey(HotKey hotKey)
{
    if (!hotKey.key)
        return "none";
    char out[48];  // "Ctrl+Alt+Shift+Win+Backspace" at the most
    char *p = out;
    const auto put = [&p](const char *text) {
        while (*text)
            *p++ = *text++;
    };
    for (std::size_t i = 0; i < 4; ++i)
        if (hotKey.modifiers & kModifiers[i].code) {
            put(kModifiers[i].text);
            *p++ = '+';
        }
    const unsigned k = hotKey.key & 0xFF;
    const char *name = nullptr;
    for (const Name &named : kNamedKeys)
        if (named.code == k)
            name = named.text;
    if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z')) {
        *p++ = static_cast<char>(k);
    } else if (FunctionKey(k)) {
        *p++ = 'F';
        if (k - 0x6F >= 10)
            *p++ = static_cast<char>('0' + (k - 0x6F) / 10);
        *p++ = static_cast<char>('0' + (k - 0x6F) % 10);
    } else if (name) {
        put(name);
    } else {
        put("0x");
        *p++ = kHexDigits[k >> 4];
        *p++ = kHexDigits[k & 15];
    }
    return std::string(out, p);
}

// The control's Shift and Alt bits are RegisterHotKey's the other way round.
HotKey HotKeyFromControl(unsigned word)
{
    const unsigned flags = (word >> 8) & 0xFF;
    const unsigned shift = flags & 1 ? unsigned(HotKeyShift) : 0u, alt = flags & 4 ? unsigned(HotKeyAlt) : 0u;
    const HotKey k{(flags & HotKeyCtrl) | shift | alt, word & 0xFF};
    return ParseHotKey(FormatHotKey(k)).value_or(HotKey{});  // what the control lets through, by the same rule
}

unsigned ControlWordOf(HotKey hotKey)
{
    const unsigned m = hotKey.modifiers;
    // Keys of the block beside the typing keys are extended: the control names them so, not as keypad keys.
    const unsigned extended = hotKey.key >= 0x21 && hotKey.key <= 0x2E ? 8 : 0;
    const unsigned flags = (m & HotKeyCtrl) | (m & HotKeyShift ? 1 : 0) | (m & HotKeyAlt ? 4 : 0) | extended;
    return hotKey.key ? (flags << 8) | (hotKey.key & 0xFF) : 0;
}
