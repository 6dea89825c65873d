#include "tips/tooltip_rules.h"

#include "ini/entry_rules.h"

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

Box PlaceTooltip(int cursorX, Extent text, int anchorTop, int anchorBottom, Box screen, int dpi)
{
    const int gap = ScaleToDpi(2, dpi);
    Box b;
    b.w = text.w + ScaleToDpi(6, dpi);
    b.h = text.h + text.h / 3;
    b.x = cursorX - b.w / 2;
    if (b.x < screen.x)
        b.x = screen.x;
    b.y = anchorBottom;
    if (b.x + b.w > screen.x + screen.w)
        b.x = screen.x + screen.w - b.w - gap;
    if (b.y + b.h > screen.y + screen.h)
        b.y = anchorTop - b.h - gap;
    return b;
}

TipChoice ChooseTip(bool tooltipsOff, HoverOn on, int index)
{
    if (tooltipsOff)
        return {};
    switch (on) {
    case HoverOn::ProgramSlot: return {TipText::Program, index};
    case HoverOn::PanelCell: return index >= 0 ? TipChoice{TipText::Name, -2 - index} : TipChoice{};
    case HoverOn::ControlButton: return {TipText::Name, -7 - index};
    case HoverOn::Nothing: break;
    }
    return {};
}
