// The tooltip's arithmetic without a window: what an untitled slot shows,
// how a text is cut to a buffer, and where the tooltip goes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "bar/layout_rules.h"
#include "launch/command.h"

// The command text of a "profile%03d" value as the tooltip reads it, over
// the comma alone (a tab is text): with an empty directory everything after
// the two adjacent commas, commas included; otherwise the fourth field.
std::string TooltipCommandText(std::string_view value);

// The longest front part of `text` that fits a buffer of `capacity` bytes
// with its terminator and ends on a whole character: a double-byte
// character is kept or dropped whole, and so is a lead byte whose trail
// byte is missing (a value the profile reader cut).
std::string_view FitText(std::string_view text, std::size_t capacity, LeadBytePredicate isLead);

// The tooltip's window for a text of size `text` (as DrawTextA measures it),
// the cursor at `cursorX` over a window spanning `anchorTop`..`anchorBottom`,
// on the monitor `screen` (the one of that window): centred on the cursor
// below that window, above it when it would pass the bottom, pulled in from
// either side.
Box PlaceTooltip(int cursorX, Extent text, int anchorTop, int anchorBottom, Box screen);
