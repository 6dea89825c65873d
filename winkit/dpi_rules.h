// Sizes at any screen scale, without Win32: every size the bar draws is given
// at 96 DPI and scaled by these two rules, so no part rounds its own way.
#pragma once

inline constexpr int kBaseDpi = 96;

// `pixels` at 96 DPI on a screen of `dpi`: to the nearest pixel, halves up
// (what MulDiv does for positive values). At 96 DPI every size is as it was.
constexpr int ScaleToDpi(int pixels, int dpi)
{
    return (pixels * dpi + kBaseDpi / 2) / kBaseDpi;
}

// A cell of `cell` pixels at 96 DPI: twice its scaled half, so that the
// control buttons' half cell stays whole (38 at 144 DPI: 2 x 29 = 58).
constexpr int ScaleCellToDpi(int cell, int dpi)
{
    return 2 * ScaleToDpi(cell / 2, dpi);
}

// The whole factor the bar's pixel art is scaled by, nearest neighbour: the
// largest at or below the scale (1 up to 191 DPI, 2 from 192, 3 from 288), so
// no line of the art comes out thicker on one side than the other; what the
// face has beyond the scaled art, its plain middle takes.
constexpr int ArtFactor(int dpi)
{
    return dpi < 2 * kBaseDpi ? 1 : dpi / kBaseDpi;
}

// The bar's pixel art (a bevel of greys around a coloured picture) on a face
// `shown` pixels long, from art `art` long, at the whole factor shown / art,
// nearest neighbour. What the face has beyond the art at that factor, the
// frame grows by in its middle, where the two lines before the middle repeat:
// dithered lines stay regular, edges keep their width. A remainder short of
// those two lines goes in after the first `edge` lines, the lines after it
// going on backwards (none: -1, where the middle lines are all alike). Which
// art pixel the frame shows at `x`:
constexpr int ArtFramePixel(int x, int art, int shown, int edge)
{
    const int f = shown / art, period = 2 * f, grown = shown - art * f, at = (art / 2 + 1) * f;
    const int odd = edge < 0 ? 0 : grown % period, even = grown - odd;
    if (x >= edge * f + odd)
        x -= odd;
    else if (x >= edge * f)
        return (x + period - odd) / f;
    if (x < at)
        return x / f;
    if (x < at + even)
        return (at - period + (x - at) % period) / f;
    return (x - even) / f;
}

// Which art pixel the picture shows at `x`: the whole art at the factor,
// centred on the face; -1 beyond it.
constexpr int ArtPicturePixel(int x, int art, int shown)
{
    const int f = shown / art, at = x - (shown - art * f) / 2;
    return at >= 0 && at < art * f ? at / f : -1;
}
