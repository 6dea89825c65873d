#include "ini/hot_key.h"

#include <cctype>
#include <cstring>

namespace {

// The keys with names of their own, by virtual-key code.
struct NamedKey {
    char name[10];
    unsigned char code;
};
constexpr NamedKey kNamedKeys[] = {{"Backspace", 0x08}, {"Tab", 0x09},     {"Enter", 0x0D},    {"Pause", 0x13},
                                   {"Esc", 0x1B},       {"Space", 0x20},   {"PageUp", 0x21},   {"PageDown", 0x22},
                                   {"End", 0x23},       {"Home", 0x24},    {"Left", 0x25},     {"Up", 0x26},
                                   {"Right", 0x27},     {"Down", 0x28},    {"Insert", 0x2D},   {"Delete", 0x2E}};
constexpr const char *kModifierNames[] = {"Ctrl", "Alt", "Shift", "Win"};
constexpr unsigned kModifierBits[] = {HotKeyCtrl, HotKeyAlt, HotKeyShift, HotKeyWin};

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Trimmed(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

bool FunctionKey(unsigned key) { return key >= 0x70 && key <= 0x87; }

// The code of a key's name; 0 for none. Modifier keys and mouse buttons are no keys.
unsigned KeyCode(std::string_view name)
{
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<unsigned>(std::toupper(static_cast<unsigned char>(name[0])));
    if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
        unsigned n = 0;
        for (char c : name.substr(1))
            n = std::isdigit(static_cast<unsigned char>(c)) ? n * 10 + unsigned(c - '0') : 99;
        return n >= 1 && n <= 24 ? 0x6F + n : 0;
    }
    if (name.size() >= 3 && name.size() <= 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        unsigned v = 0;
        for (char c : name.substr(2)) {
            const char *digit = std::strchr(kHexDigits, std::toupper(static_cast<unsigned char>(c)));
            if (!c || !digit)
                return 0;
            v = v * 16 + unsigned(digit - kHexDigits);
        }
        const bool modifierKey = (v >= 0x10 && v <= 0x12) || v == 0x5B || v == 0x5C || (v >= 0xA0 && v <= 0xA5);
        return v < 0x08 || v == 0xFF || modifierKey ? 0 : v;
    }
    for (const NamedKey &k : kNamedKeys)
        if (SameWord(name, k.name))
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
    for (;;) {
        const std::size_t plus = text.find('+');
        const std::string_view word = Trimmed(text.substr(0, plus));
        if (plus == std::string_view::npos) {
            hotKey.key = KeyCode(word);
            break;
        }
        unsigned bit = 0;
        for (std::size_t i = 0; i < 4; ++i)
            if (SameWord(word, kModifierNames[i]) || (i == 0 && SameWord(word, "Control")))
                bit = kModifierBits[i];
        if (!bit)
            return std::nullopt;
        hotKey.modifiers |= bit;
        text.remove_prefix(plus + 1);
    }
    if (!hotKey.key || !(FunctionKey(hotKey.key) || (hotKey.modifiers & (HotKeyCtrl | HotKeyAlt | HotKeyWin))))
        return std::nullopt;
    return hotKey;
}

std::string FormatHotKey(HotKey hotKey)
{
    if (!hotKey.key)
        return "none";
    std::string out;
    for (std::size_t i = 0; i < 4; ++i)
        if (hotKey.modifiers & kModifierBits[i])
            out.append(kModifierNames[i]).push_back('+');
    const unsigned k = hotKey.key;
    if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z'))
        return out + static_cast<char>(k);
    if (FunctionKey(k))
        return out + 'F' + std::to_string(k - 0x6F);
    for (const NamedKey &named : kNamedKeys)
        if (named.code == k)
            return out + named.name;
    return out + "0x" + kHexDigits[(k >> 4) & 15] + kHexDigits[k & 15];
}

// The control's Shift and Alt bits are RegisterHotKey's the other way round.
HotKey HotKeyFromControl(unsigned word)
{
    const unsigned flags = (word >> 8) & 0xFF;
    const HotKey k{(flags & 2) | (flags & 1 ? unsigned(HotKeyShift) : 0u) | (flags & 4 ? unsigned(HotKeyAlt) : 0u), word & 0xFF};
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
