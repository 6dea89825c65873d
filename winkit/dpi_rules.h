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

// The whole factor of the screen's scale: the largest at or below it (1 up to
// 191 DPI, 2 from 192, 3 from 288), so no line comes out thicker on one side
// than the other: the pressed icon's offset and the move mark's hatch. (A face
// drawn from the bar's art takes the factor that fits it: ArtFramePixel.)
constexpr int ArtFactor(int dpi)
{
    return dpi < 2 * kBaseDpi ? 1 : dpi / kBaseDpi;
}

