// Any text in "profile%03d" parses without fault, the parts it yields come
// from the value itself, and what the bar writes reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "ini/entry_rules.h"

// An entry as the Program Definition dialog writes it (icon file and directory without delimiters, a command not
// starting with one) reads back field for field; the input's \x01 bytes separate the four fields.
static void RoundTrip(const std::string &input)
{
    std::string field[4];
    int k = 0;
    for (char c : input) {
        if (c == '\x01' && k < 3)
            ++k;
        else if (c != '\0' && !(k < 3 && (c == ',' || c == '\t')))
            field[k] += c;
    }
    if (field[0].empty() || (!field[3].empty() && (field[3][0] == ',' || field[3][0] == '\t')))
        return;
    const int index = LeadingInt(field[1]);
    const ProgramEntry e = ParseProgramEntry(FormatProgramEntry(field[0], index, field[2], field[3]),
                                             CommandExtent::Remainder);
    Check(!e.empty && e.iconFile == field[0] && e.iconIndex == index && e.directory == field[2] &&
          e.command == field[3]);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string value(reinterpret_cast<const char *>(data), size);
    for (std::string_view delims : {kEntryDelimiters, std::string_view(",")}) {
        const ProgramEntry r = ParseProgramEntry(value, CommandExtent::Remainder, delims);
        const ProgramEntry t = ParseProgramEntry(value, CommandExtent::Token, delims);
        Check(r.empty == value.empty() && t.empty == value.empty());
        Check(r.iconFile == t.iconFile && r.iconIndex == t.iconIndex && r.directory == t.directory);
        Check(r.effectiveIconIndex >= 0 && r.runMinimized == (r.iconIndex < 0));
        // Every field is a piece of the value; the Token command is a prefix of the Remainder one
        // unless the remainder starts with delimiters that the tokeniser skips.
        for (const std::string *field : {&r.iconFile, &r.directory, &r.command, &t.command})
            Check(value.find(*field) != std::string::npos);
        Check(r.command.size() <= value.size());
    }
    RoundTrip(value);
    return 0;
}
