// Any text in "profile%03d" parses without fault, and the parts it yields
// come from the value itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/program_entry.h"

static void Check(bool ok)
{
    if (!ok)
        std::abort();
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
    return 0;
}
