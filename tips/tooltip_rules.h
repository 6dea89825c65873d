// The tooltip's arithmetic without a window: what an untitled slot shows,
// how a text is cut to a buffer, and where the tooltip goes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "winkit/geometry.h"
#include "ini/code_page_text.h"

// The command text of a "profile%03d" value as the tooltip reads it, over
// the comma alone (a tab is text): with an empty directory everything after
// the two adjacent commas, commas included; otherwise the fourth field.
std::string TooltipCommandText(std::string_view value);

// The tooltip's window for a text of size `text` (as DrawTextA measures it),
// the cursor at `cursorX` over a window spanning `anchorTop`..`anchorBottom`,
// on the monitor `screen` (the one of that window): centred on the cursor
// below that window, above it when it would pass the bottom, pulled in from
// either side.
Box PlaceTooltip(int cursorX, Extent text, int anchorTop, int anchorBottom, Box screen);
