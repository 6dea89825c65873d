#include "bar/name_rules.h"

#include "ini/entry_rules.h"

namespace {

// What follows the last '\', '/' or drive colon; a double-byte character is
// skipped whole, since its trail byte may be a backslash.
std::string FileNamePart(const std::string &path, LeadBytePredicate isLead)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (isLead(c) && i + 1 < path.size())
            ++i;
        else if (c == '\\' || c == '/' || c == ':')
            start = i + 1;
    }
    return path.substr(start);
}

} // namespace

std::string SlotName(std::string_view title, std::string_view value, LeadBytePredicate isLead)
{
    if (!title.empty())
        return std::string(title);
    const ProgramEntry entry = ParseProgramEntry(value, CommandExtent::Token);
    if (entry.empty)
        return "";
    char program[kValueBuffer] = {};
    SplitCommandToken(program, sizeof program, entry.command.c_str());
    return FileNamePart(program, isLead);
}

std::wstring LineOf(std::wstring_view lines, int index)
{
    for (; index > 0; --index) {
        const std::size_t end = lines.find(L'\n');
        if (end == std::wstring_view::npos)
            return L"";
        lines.remove_prefix(end + 1);
    }
    return std::wstring(lines.substr(0, lines.find(L'\n')));
}
