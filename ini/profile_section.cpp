#include "ini/profile_section.h"

#include <algorithm>
#include <vector>

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

// The byte length of each character: a lead byte takes the byte after it along.
std::vector<std::size_t> CharacterSizes(std::string_view s, LeadBytePredicate isLead)
{
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = isLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        sizes.push_back(n);
        i += n;
    }
    return sizes;
}

// Names match without regard to the case of ASCII letters; a trail byte is
// never a letter of its own, so double-byte characters are kept as they are.
std::string FoldName(std::string_view name, LeadBytePredicate isLead)
{
    std::string folded;
    std::size_t at = 0;
    for (std::size_t n : CharacterSizes(name, isLead)) {
        char c = name[at];
        if (n == 1 && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        folded += c;
        if (n == 2)
            folded += name[at + 1];
        at += n;
    }
    return folded;
}

} // namespace

ProfileSection ParseProfileSection(std::string_view text, LeadBytePredicate isLead)
{
    ProfileSection section;
    while (!text.empty() && text.front() != '\0') {
        const std::string_view entry = text.substr(0, text.find('\0'));
        text.remove_prefix(std::min(text.size(), entry.size() + 1));
        // The first of duplicate keys wins, also when it is a line without "=",
        // which the reader finds and reads as having no value.
        const std::size_t equals = entry.find('=');
        const std::string_view value = equals == std::string_view::npos ? "" : entry.substr(equals + 1);
        section.values.try_emplace(FoldName(Trim(entry.substr(0, equals)), isLead), Trim(value));
    }
    return section;
}

std::string ProfileValue(const ProfileSection &section, std::string_view key, std::size_t size,
                         LeadBytePredicate isLead)
{
    if (size <= 1)
        return {};
    const auto found = section.values.find(FoldName(Trim(key), isLead));
    std::string_view value = found == section.values.end() ? std::string_view() : found->second;

    std::vector<std::size_t> chars = CharacterSizes(value, isLead);
    // A value of two characters or more that opens and closes with the same
    // quote loses the opening one at once; the closing one goes only when the
    // buffer (counted in characters) reaches the length after the opening
    // quote, and it then takes the last character copied, whichever that is.
    const bool quoted = chars.size() >= 2 && (value.front() == '"' || value.front() == '\'') && chars.back() == 1 &&
                        value.back() == value.front();
    if (quoted) {
        value.remove_prefix(1);
        chars.erase(chars.begin());
    }
    std::size_t keep = std::min(chars.size(), size - 1);
    if (quoted && size >= chars.size() && keep > 0)
        --keep;
    // Then whole characters within size - 1 bytes.
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < keep && bytes + chars[i] <= size - 1; ++i)
        bytes += chars[i];
    return std::string(value.substr(0, bytes));
}
