#include "tips/tooltip_rules.h"

#include "ini/program_entry.h"

std::string TooltipCommandText(std::string_view value)
{
    constexpr std::string_view kComma = ",";
    // An empty directory leaves nothing but the command after the index, so all of it is shown;
    // with a directory the command is one field, as a click would read it.
    ProgramEntry whole = ParseProgramEntry(value, CommandExtent::Remainder, kComma);
    if (whole.directory.empty())
        return whole.command;
    return ParseProgramEntry(value, CommandExtent::Token, kComma).command;
}

std::string_view FitText(std::string_view text, std::size_t capacity, LeadBytePredicate isLead)
{
    const std::size_t room = capacity ? capacity - 1 : 0;
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + (isLead(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > text.size() || next > room)
            break;
        end = next;
    }
    return text.substr(0, end);
}

Box PlaceTooltip(int cursorX, Extent text, int anchorTop, int anchorBottom, Box screen)
{
    Box b;
    b.w = text.w + 6;
    b.h = text.h + text.h / 3;
    b.x = cursorX - b.w / 2;
    if (b.x < screen.x)
        b.x = screen.x;
    b.y = anchorBottom;
    if (b.x + b.w > screen.x + screen.w)
        b.x = screen.x + screen.w - b.w - 2;
    if (b.y + b.h > screen.y + screen.h)
        b.y = anchorTop - b.h - 2;
    return b;
}
