#include "ini/settings_rules.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>

int ProfileInt(const char *text, int def)
{
    const std::string_view t(text, std::find(text, text + kIntegerBuffer - 1, '\0') - text);
    if (t.empty())
        return def;
    std::size_t i = 0;
    while (i < t.size() && static_cast<unsigned char>(t[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    unsigned base = 10;
    if (i + 1 < t.size() && t[i] == '0') {
        const char prefix = t[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    std::uint32_t v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        const unsigned digit = c >= '0' && c <= '9'   ? unsigned(c - '0')
                               : c >= 'a' && c <= 'z' ? unsigned(c - 'a' + 10)
                               : c >= 'A' && c <= 'Z' ? unsigned(c - 'A' + 10)
                                                      : 36u;
        if (digit >= base)
            break;
        v = v * base + digit;  // wraps, as the system's does
    }
    return static_cast<int>(negative ? 0u - v : v);
}

int ClampButtonsPerPage(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, kMinButtonsPerPage, kMaxButtonsPerPage));
}

int ClampMaximumPages(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, 1, kMaxPages));
}

int ClampPage(long long page, int maximumPages)
{
    return static_cast<int>(std::clamp<long long>(page, 1, std::max(1, maximumPages)));
}

unsigned ModeFromRaw(long long v)
{
    return static_cast<unsigned>(static_cast<unsigned long long>(v) & 0xFFFFu);
}

int LanguageOffsetFromJapan(long long v)
{
    return v == 0 ? 0 : 1;
}

int CellSizeForMode(unsigned mode)
{
    return (mode & SmallButtons) ? kSmallCell : kLargeCell;
}

void DeriveGrid(unsigned mode, int n, int &columns, int &rows)
{
    if (mode & Vertical) {
        columns = 1;
        rows = n;
    } else {
        columns = n;
        rows = 1;
    }
}

int ButtonsPerPageToSave(const BarSettings &s)
{
    return std::max(s.columns, s.rows);
}

BarPosition ApplyRawSettings(const RawSettings &raw, bool startup, BarSettings &s)
{
    if (startup)
        s.languageOffset = LanguageOffsetFromJapan(raw.japan);
    s.mode = ModeFromRaw(raw.mode);
    s.maximumPages = ClampMaximumPages(raw.maximumPages);
    s.cellSize = CellSizeForMode(s.mode);
    s.currentPage = ClampPage(startup ? raw.startupPage : s.currentPage, s.maximumPages);
    DeriveGrid(s.mode, ClampButtonsPerPage(raw.buttonsPerPage), s.columns, s.rows);
    s.hotKey = ParseHotKey(raw.hotKey.substr(0, kHotKeyBuffer - 1)).value_or(HotKey{});
    const std::size_t keep = (startup ? kStartupPositionBuffer : kReloadPositionBuffer) - 1;
    return ParsePosition(raw.position.substr(0, keep).c_str());
}

// Reads one "%d"-style integer: leading blanks, optional sign, digits.
// Returns false (and leaves *p) when no digit follows; saturates instead of
// overflowing.
static bool ReadInt(const char *&p, long long &out)
{
    const char *q = p;
    while (*q == ' ' || *q == '\t' || *q == '\n' || *q == '\r' || *q == '\v' || *q == '\f')
        ++q;
    bool negative = false;
    if (*q == '+' || *q == '-')
        negative = *q++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*q)))
        return false;
    long long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*q))) {
        if (v < LLONG_MAX / 100)
            v = v * 10 + (*q - '0');
        ++q;
    }
    out = negative ? -v : v;
    p = q;
    return true;
}

BarPosition ParsePosition(const char *text)
{
    // Keep coordinates where window arithmetic cannot overflow.
    constexpr long long lo = -32768, hi = 32767;
    BarPosition pos;
    if (!text)
        return pos;
    const char *p = text;
    long long v = 0;
    if (ReadInt(p, v))
        pos.x = static_cast<int>(std::clamp(v, lo, hi));
    // The second number follows the first comma; a part that does not parse stays 0.
    if (const char *comma = std::strchr(text, ',')) {
        const char *q = comma + 1;
        if (ReadInt(q, v))
            pos.y = static_cast<int>(std::clamp(v, lo, hi));
    }
    return pos;
}

std::string FormatPosition(int x, int y)
{
    return std::to_string(x) + ',' + std::to_string(y);
}

int SlotNumber(const BarSettings &s, int position)
{
    return (s.currentPage - 1) * s.columns * s.rows + position;
}

// The prefix and the number at least three characters wide, zeros after any
// sign, as printf's "%03d" writes it.
static std::string NumberedKey(const char *prefix, int n)
{
    std::string digits = std::to_string(n);
    if (digits.size() < 3)
        digits.insert(n < 0 ? 1 : 0, 3 - digits.size(), '0');
    return prefix + digits;
}

std::string ProfileKey(int slotNumber) { return NumberedKey("profile", slotNumber); }
std::string TitleKey(int slotNumber) { return NumberedKey("Title", slotNumber); }

unsigned DialogId(DialogKind kind, int languageOffset)
{
    const bool english = languageOffset != 0;
    switch (kind) {
    case DialogKind::Properties: return english ? IDD_PROPERTIES_EN : IDD_PROPERTIES_JA;
    case DialogKind::ProgramDefinition: return english ? IDD_PROGRAM_EN : IDD_PROGRAM_JA;
    case DialogKind::ExecuteApplication: return english ? IDD_RUN_EN : IDD_RUN_JA;
    }
    return 0;
}

static bool SameAsciiName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string SetSectionValues(std::string_view section, const std::vector<std::pair<const char *, std::string>> &values)
{
    std::vector<bool> placed(values.size(), false);
    std::string out;
    for (std::size_t at = 0; at < section.size() && section[at] != '\0';) {
        const std::size_t end = std::min(section.find('\0', at), section.size());
        std::string_view line = section.substr(at, end - at);
        const std::string_view name = line.substr(0, line.find('='));
        std::string replaced;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!placed[i] && SameAsciiName(name, values[i].first)) {
                placed[i] = true;
                replaced = std::string(name) + '=' + values[i].second;
                line = replaced;
                break;
            }
        out.append(line).push_back('\0');
        at = end + 1;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!placed[i])
            out.append(values[i].first).append("=").append(values[i].second).push_back('\0');
    out.push_back('\0');
    return out;
}
