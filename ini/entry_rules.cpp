#include "ini/entry_rules.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace {

// The standard tokeniser's walk over a text, without writing into it.
struct Tokenizer {
    std::string_view text;
    std::string_view delims;
    std::size_t pos = 0;
    // Index of the delimiter that ended the last token, or npos when it ran to the end.
    std::size_t endedAt = std::string_view::npos;

    bool IsDelim(char c) const { return delims.find(c) != std::string_view::npos; }

    bool Next(std::string_view &token)
    {
        while (pos < text.size() && IsDelim(text[pos]))
            ++pos;
        if (pos >= text.size())
            return false;
        const std::size_t start = pos;
        while (pos < text.size() && !IsDelim(text[pos]))
            ++pos;
        token = text.substr(start, pos - start);
        if (pos < text.size()) {
            endedAt = pos;
            ++pos;  // the delimiter is consumed
        } else {
            endedAt = std::string_view::npos;
        }
        return true;
    }
};

} // namespace

int LeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            v = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-v);  // -(INT_MAX + 1) is INT_MIN
    return static_cast<int>(v > INT_MAX ? INT_MAX : v);
}

ProgramEntry ParseProgramEntry(std::string_view value, CommandExtent extent, std::string_view delimiters)
{
    ProgramEntry e;
    if (value.empty())
        return e;
    e.empty = false;

    Tokenizer tok{value, delimiters};
    std::string_view token;
    if (tok.Next(token))
        e.iconFile = token;

    if (tok.Next(token)) {
        e.iconIndex = LeadingInt(token);
        // Empty-directory test: a comma right after the index's delimiter is an empty field,
        // which the tokeniser would otherwise skip and take the command for the directory.
        const bool emptyDirectory = tok.endedAt != std::string_view::npos && tok.endedAt + 1 < value.size() &&
                                    value[tok.endedAt + 1] == ',';
        if (!emptyDirectory && tok.Next(token))
            e.directory = token;
    }
    e.runMinimized = e.iconIndex < 0;
    e.effectiveIconIndex = EffectiveIconIndex(e.iconIndex);

    if (extent == CommandExtent::Remainder) {
        std::string_view rest = value.substr(std::min(tok.pos, value.size()));
        if (!rest.empty() && rest.front() == ',')
            rest.remove_prefix(1);
        e.command = rest;
    } else if (tok.Next(token)) {
        e.command = token;
    }
    return e;
}

EntryLength CheckEntryLength(std::string_view entry, std::string_view program)
{
    if (entry.size() > kLongestEntry)
        return EntryLength::EntryTooLong;
    const ProgramEntry e = ParseProgramEntry(entry, CommandExtent::Token);
    for (const std::size_t length : {e.iconFile.size(), e.directory.size(), program.size()})
        if (length > kLongestStartPath)
            return EntryLength::PathTooLong;
    return EntryLength::Fits;
}

std::string FormatProgramEntry(std::string_view iconFile, int storedIndex, std::string_view directory,
                               std::string_view command)
{
    std::string out;
    out.reserve(iconFile.size() + directory.size() + command.size() + 16);
    out.append(iconFile).append(",").append(std::to_string(storedIndex)).append(",");
    out.append(directory).append(",").append(command);
    return out;
}

const char *SplitCommandToken(char *dest, std::size_t destSize, const char *source)
{
    const char *p = source;
    std::size_t n = 0;
    bool inside = false;
    for (;; ++p) {
        const char c = *p;
        if (c == '\0')
            return p;
        if (c == '"') {
            inside = !inside;
            continue;
        }
        if (c == '\t' || c == '*' || c == '?' || (c == ' ' && !inside))
            return p + 1;
        // Copy while there is room for the byte and its terminator; beyond that the
        // token is cut but the walk goes on, so the rest still starts where it should.
        if (dest && n + 1 < destSize) {
            dest[n++] = c;
            dest[n] = '\0';
        }
    }
}

std::string CommandProgram(std::string_view command)
{
    // Sized to the command, so the name is never cut.
    const std::string text(command);
    std::string program(text.size() + 1, '\0');
    SplitCommandToken(program.data(), program.size(), text.c_str());
    program.resize(program.find('\0'));
    return program;
}

std::string EntryProgram(std::string_view value)
{
    return CommandProgram(ParseProgramEntry(value, CommandExtent::Token).command);
}

std::string QuotedPath(std::string_view path)
{
    std::string text;
    text.reserve(path.size() + 2);
    return text.append("\"").append(path).append("\"");
}

ProgramFields FieldsFromStoredValue(std::string_view value)
{
    const ProgramEntry entry = ParseProgramEntry(value, CommandExtent::Remainder);
    ProgramFields f;
    if (entry.empty)
        return f;
    f.program = entry.command;
    f.directory = entry.directory;
    f.iconFile = entry.iconFile;
    f.iconIndex = entry.effectiveIconIndex;
    f.runMinimized = entry.runMinimized;
    return f;
}

std::optional<std::string> StoredValueFromFields(const ProgramFields &fields)
{
    if (fields.program.empty() || fields.iconFile.empty())
        return std::nullopt;
    return FormatProgramEntry(fields.iconFile, StoredIconIndex(fields.iconIndex, fields.runMinimized),
                              fields.directory, fields.program);
}

std::string InterlockIconFile(std::string_view program)
{
    const std::size_t start = std::min(program.find_first_not_of(kEntryDelimiters), program.size());
    const std::size_t end = std::min(program.find_first_of(kEntryDelimiters, start), program.size());
    return CommandProgram(program.substr(0, end));
}
