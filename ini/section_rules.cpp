#include "ini/section_rules.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The byte length of the character at `at`: a lead byte takes the byte after it along.
std::size_t CharacterSize(std::string_view s, std::size_t at, LeadBytePredicate isLead)
{
    return isLead(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
}

// Names match without regard to the case of ASCII letters; a trail byte is
// never a letter of its own, so double-byte characters are kept as they are.
// Walked in place: the strip looks up two names a slot.
std::string FoldName(std::string_view name, LeadBytePredicate isLead)
{
    std::string folded(name);
    for (std::size_t at = 0; at < folded.size();) {
        const std::size_t n = CharacterSize(name, at, isLead);
        if (n == 1 && folded[at] >= 'A' && folded[at] <= 'Z')
            folded[at] = static_cast<char>(folded[at] - 'A' + 'a');
        at += n;
    }
    return folded;
}

// The value of the key named `folded`, if the section has it.
const std::string_view *Find(const ProfileSection &section, const std::string &folded)
{
    const auto at = std::lower_bound(section.values.begin(), section.values.end(), std::string_view(folded),
                                     [](const auto &entry, std::string_view name) { return entry.first < name; });
    return at != section.values.end() && at->first == folded ? &at->second : nullptr;
}

} // namespace

ProfileSection ParseProfileSection(std::string_view text, LeadBytePredicate isLead)
{
    ProfileSection section;
    // Each name is part of the text, so the text's length holds them all.
    section.names = std::make_unique<char[]>(text.size());
    std::size_t used = 0;
    while (!text.empty() && text.front() != '\0') {
        const std::string_view entry = text.substr(0, text.find('\0'));
        text.remove_prefix(std::min(text.size(), entry.size() + 1));
        // The first of duplicate keys wins, also when it is a line without "=",
        // which the reader finds and reads as having no value.
        // A value lies inside its own entry (one without "=" ends it), so the order of
        // the values' places is the file's order.
        const std::size_t equals = entry.find('=');
        const std::string_view value = entry.substr(equals == std::string_view::npos ? entry.size() : equals + 1);
        const std::string name = FoldName(Trim(entry.substr(0, equals)), isLead);
        char *const kept = section.names.get() + used;
        used += name.copy(kept, name.size());
        section.values.emplace_back(std::string_view(kept, name.size()), Trim(value));
    }
    // The first of duplicate keys wins.
    std::sort(section.values.begin(), section.values.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : a.second.data() < b.second.data();
    });
    section.values.erase(std::unique(section.values.begin(), section.values.end(),
                                     [](const auto &a, const auto &b) { return a.first == b.first; }),
                         section.values.end());
    return section;
}

bool HasProfileKey(const ProfileSection &section, std::string_view key, LeadBytePredicate isLead)
{
    return Find(section, FoldName(Trim(key), isLead)) != nullptr;
}

std::string ProfileValue(const ProfileSection &section, std::string_view key, std::size_t size,
                         LeadBytePredicate isLead)
{
    if (size <= 1)
        return {};
    const std::string_view *found = Find(section, FoldName(Trim(key), isLead));
    std::string_view value = found ? *found : std::string_view();

    // The characters' count, and whether the last is a single byte.
    std::size_t count = 0;
    bool lastSingle = false;
    for (std::size_t at = 0; at < value.size(); ++count) {
        const std::size_t n = CharacterSize(value, at, isLead);
        lastSingle = n == 1;
        at += n;
    }
    // A value of two characters or more that opens and closes with the same
    // quote loses the opening one at once; the closing one goes only when the
    // buffer (counted in characters) reaches the length after the opening
    // quote, and it then takes the last character copied, whichever that is.
    const bool quoted =
        count >= 2 && (value.front() == '"' || value.front() == '\'') && lastSingle && value.back() == value.front();
    if (quoted) {
        value.remove_prefix(1);
        --count;
    }
    std::size_t keep = std::min(count, size - 1);
    if (quoted && size >= count && keep > 0)
        --keep;
    // Then whole characters within size - 1 bytes.
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < keep;) {
        const std::size_t n = CharacterSize(value, bytes, isLead);
        if (bytes + n > size - 1)
            break;
        bytes += n;
        ++i;
    }
    return std::string(value.substr(0, bytes));
}
