#include "tools/pixel_font.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

struct Glyph {
    char ch;
    const char *rows[kFontHeight];  // '#' ink, '.' none; every row the glyph's width
};

// Capitals five wide; the two small letters of "Tav" three wide on a five-row x-height.
const Glyph kGlyphs[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'G', {".###.", "#...#", "#....", "#..##", "#...#", "#...#", ".###."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'a', {"...", "...", "##.", "..#", ".##", "#.#", ".##"}},
    {'v', {"...", "...", "#.#", "#.#", "#.#", ".#.", ".#."}},
    {'!', {"#", "#", "#", "#", "#", ".", "#"}},
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
};

const Glyph &Find(char ch)
{
    for (const Glyph &g : kGlyphs)
        if (g.ch == ch)
            return g;
    throw std::invalid_argument(std::string("the pixel font has no '") + ch + "'");
}

int GlyphWidth(const Glyph &g, const TextStyle &style)
{
    return static_cast<int>(std::strlen(g.rows[0])) + (style.bold ? 1 : 0);
}

int Lean(int row, const TextStyle &style)
{
    return style.italic ? (kFontHeight - 1 - row) / 2 : 0;
}

} // namespace

int TextWidth(std::string_view text, const TextStyle &style)
{
    int width = 0;
    for (char ch : text)
        width += GlyphWidth(Find(ch), style) + 1;
    return (width > 0 ? width - 1 : 0) + Lean(0, style);
}

void DrawText(const Canvas &canvas, int x, int y, std::string_view text, const TextStyle &style)
{
    for (char ch : text) {
        const Glyph &g = Find(ch);
        for (int row = 0; row < kFontHeight; ++row)
            for (int col = 0; g.rows[row][col]; ++col)
                if (g.rows[row][col] == '#') {
                    const int px = x + col + Lean(row, style);
                    canvas.Set(px, y + row, style.colour);
                    if (style.bold)
                        canvas.Set(px + 1, y + row, style.colour);
                }
        x += GlyphWidth(g, style) + 1;
    }
}
