#include "bar/program_dialog_rules.h"

#include <algorithm>

namespace {

// The program token of `text`, and what follows it from the delimiter that ended it on.
std::pair<std::string, std::string> SplitProgram(const std::string &text)
{
    std::string token(text.size() + 1, '\0');
    const char *rest = SplitCommandToken(token.data(), token.size(), text.c_str());
    token.resize(token.find('\0'));
    const std::size_t restAt = static_cast<std::size_t>(rest - text.c_str());
    const bool ended = restAt > 0 && std::string_view(" \t*?").find(text[restAt - 1]) != std::string_view::npos;
    return {token, ended ? text.substr(restAt - 1) : std::string()};
}

bool HasDelimiter(const std::string &text)
{
    return text.find_first_of(kEntryDelimiters) != std::string::npos;
}

} // namespace

ProgramToStore ProgramFieldToStore(const std::string &typed, FileExistsPredicate exists, ShortPathOf shortPath)
{
    auto [program, tail] = SplitProgram(typed);
    bool changed = false;
    if (!exists(program) && exists(typed)) {
        program = typed;
        tail.clear();
        changed = true;
    }
    if (HasDelimiter(program)) {
        const std::string shortened = exists(program) ? shortPath(program) : std::string();
        if (shortened.empty() || HasDelimiter(shortened))
            return {typed, program};
        program = shortened;
        changed = true;
    }
    return {changed ? QuotedPath(program) + tail : typed, ""};
}

std::string IconCountFile(const std::string &fieldText, FileExistsPredicate exists)
{
    return !fieldText.empty() && exists(fieldText) ? fieldText : CommandProgram(fieldText);
}

IconRange ApplyIconCount(int count, int index)
{
    if (count <= 0)
        return {0, 0};
    return {std::min(index, count - 1), count - 1};
}

std::optional<int> ScrolledIconIndex(int code, int thumbPosition, IconRange range)
{
    switch (code) {
    case ScrollLineUp:
    case ScrollPageUp: return std::max(range.index - 1, 0);
    case ScrollLineDown:
    case ScrollPageDown: return std::min(range.index + 1, range.highest);
    // A scroll bar reports only positions within its range; a forged one is kept within it too.
    case ScrollThumbTrack: return std::clamp(thumbPosition, 0, range.highest);
    default: return std::nullopt;
    }
}
