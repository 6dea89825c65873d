// The lettering of the panel toggle and the system panel faces: a pixel
// font of seven rows with just the characters those faces spell.
#pragma once
#include <string_view>

#include "tools/raster.h"

constexpr int kFontHeight = 7;

struct TextStyle {
    std::uint8_t colour = Black;
    bool italic = false;  // each row leans right by half its height above the baseline
    bool bold = false;    // every stroke doubled one pixel to the right
};

// Width in pixels of `text` in `style` (letters one pixel apart; the lean of
// italic text included). Throws for a character the font does not have.
int TextWidth(std::string_view text, const TextStyle &style);

// Draws `text` with its top-left corner at (x, y) of the canvas.
void DrawText(const Canvas &canvas, int x, int y, std::string_view text, const TextStyle &style);
