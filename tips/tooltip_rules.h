// The tooltip's arithmetic without a window: what a button shows, what an
// untitled slot shows, and where the tooltip goes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "winkit/dpi_rules.h"
#include "winkit/geometry.h"
#include "ini/code_page_rules.h"

// The command text of a "profile%03d" value as the tooltip reads it, over
// the comma alone (a tab is text): with an empty directory everything after
// the two adjacent commas, commas included; otherwise the fourth field.
std::string TooltipCommandText(std::string_view value);

// The tooltip's window for a text of size `text` (as DrawTextA measures it),
// the cursor at `cursorX` over a window spanning `anchorTop`..`anchorBottom`,
// on the monitor `screen` (the one of that window): centred on the cursor
// below that window, above it when it would pass the bottom, pulled in from
// either side. Its padding and distance from the edges are scaled to `dpi`.
Box PlaceTooltip(int cursorX, Extent text, int anchorTop, int anchorBottom, Box screen, int dpi);

// What the mouse rests on, as far as the tooltip cares.
enum class HoverOn { Nothing, ProgramSlot, PanelCell, ControlButton };
// What the tooltip shows there: nothing, a registered slot's title or command, or the
// button's own name (a panel cell's action, a control button's role). `key` names what the
// text is prepared for, so resting on the same thing reads nothing again: the slot number,
// or a negative number no slot has.
enum class TipText { None, Program, Name };
struct TipChoice {
    TipText text = TipText::None;
    int key = -1;
    friend bool operator==(const TipChoice &, const TipChoice &) = default;
};
// `index`: on a program slot its slot number, on a panel cell its action (0 to 4; negative
// for a blank cell), on a control button its place (0 for 501 to 4 for 505). Nothing at
// all while the user wants no tooltips.
TipChoice ChooseTip(bool tooltipsOff, HoverOn on, int index);
