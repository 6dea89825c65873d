// A whole profile section read once ("key=value\0key\0...\0\0", as
// GetPrivateProfileSectionA hands it over) and its keys looked up with the
// rules the profile reader applies to a single key, so that building the
// icon strip reads "program section" once instead of 400 times. No Win32
// here: the read itself is in settings.cpp.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ini/code_page_rules.h"

// The first value of every key, by its name folded to lower case, sorted by
// that name. The values are views into the section text, which must outlive
// it; the names views into `names`, which holds them all, folded, and stays
// where it is when the section is moved (a pair of views sorts in far less code
// than a pair holding a string).
struct ProfileSection {
    std::unique_ptr<char[]> names;
    std::vector<std::pair<std::string_view, std::string_view>> values;
};

// Splits the text at its zero bytes (an empty string ends it). An entry
// without '=' is a key without a value, which reads as the default "".
ProfileSection ParseProfileSection(std::string_view text, LeadBytePredicate isLead);

// Whether the section holds `key` at all (an empty value counts), by the same matching.
bool HasProfileKey(const ProfileSection &section, std::string_view key, LeadBytePredicate isLead);

// What GetPrivateProfileStringA gives for `key` into a zeroed buffer of
// `size` bytes with the default "": names match without regard to case and
// the first of duplicate keys wins; blanks around names and values go; a
// value wholly enclosed in a matching pair of quotes loses them; the value is
// cut to whole characters within size - 1 bytes.
std::string ProfileValue(const ProfileSection &section, std::string_view key, std::size_t size,
                         LeadBytePredicate isLead);
