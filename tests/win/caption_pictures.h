// The caption boxes of a 10-pixel caption as pictures, one character per
// pixel, relative to the box's top-left pixel. Shared by the host raster tests
// and the pixel tests under Wine, so both check the same drawing.
//
//   F frame colour   g light grey   d dark grey   k black   w white
//   G inverted light grey   D inverted dark grey   . not drawn by the box
#pragma once
#include <string>
#include <vector>

struct BoxPicture {
    int x0, y0;  // position of the first character relative to the box
    std::vector<std::string> rows;
};

// Minimize / maximize box of a horizontal caption: separator in column -1,
// face 9 x 9, row 9 left to the caption's frame line.
inline const BoxPicture kMaximizeRaised{-1, 0, {
    "Fwwwwwwwwd",
    "Fwgggggggd",
    "Fwgggggggd",
    "Fwgggkgggd",
    "Fwggkkkggd",
    "Fwgkkkkkgd",
    "Fwgggggggd",
    "Fwgggggggd",
    "Fddddddddd",
    "F.........",
}};

inline const BoxPicture kMaximizePressed{-1, 0, {
    "Fddddddddd",
    "Fdgggggggg",
    "Fdgggggggg",
    "Fdgggggggg",
    "Fdggggkggg",
    "Fdgggkkkgg",
    "Fdggkkkkkg",
    "Fdgggggggg",
    "Fdgggggggg",
    "F.........",
}};

inline const BoxPicture kMinimizeRaised{-1, 0, {
    "Fwwwwwwwwd",
    "Fwgggggggd",
    "Fwgggggggd",
    "Fwgggggggd",
    "Fwgkkkkkgd",
    "Fwggkkkggd",
    "Fwgggkgggd",
    "Fwgggggggd",
    "Fddddddddd",
    "F.........",
}};

// The maximize box of a maximized window; the upper apex sits on the bevel.
inline const BoxPicture kRestoreRaised{-1, 0, {
    "Fwwwwkwwwd",
    "Fwggkkkggd",
    "Fwgkkkkkgd",
    "Fwgggggggd",
    "Fwgkkkkkgd",
    "Fwggkkkggd",
    "Fwgggkgggd",
    "Fwgggggggd",
    "Fddddddddd",
    "F.........",
}};

// System-menu box of a horizontal caption: separator in column 9.
inline const BoxPicture kSysMenuRaised{0, 0, {
    "gggggggggF",
    "gggggggggF",
    "gggggggggF",
    "ggkkkkkggF",
    "ggkwwwkdgF",
    "ggkkkkkdgF",
    "gggdddddgF",
    "gggggggggF",
    "gggggggggF",
    "..........",
}};

// Pressed: every pixel of the box inverted, the separator untouched.
inline const BoxPicture kSysMenuPressed{0, 0, {
    "GGGGGGGGGF",
    "GGGGGGGGGF",
    "GGGGGGGGGF",
    "GGwwwwwGGF",
    "GGwkkkwDGF",
    "GGwwwwwDGF",
    "GGGDDDDDGF",
    "GGGGGGGGGF",
    "GGGGGGGGGF",
    "..........",
}};

// Vertical caption: the separators turn to rows, the face is the same.
inline const BoxPicture kMaximizeRaisedVertical{0, -1, {
    "FFFFFFFFFF",
    "wwwwwwwwd.",
    "wgggggggd.",
    "wgggggggd.",
    "wgggkgggd.",
    "wggkkkggd.",
    "wgkkkkkgd.",
    "wgggggggd.",
    "wgggggggd.",
    "ddddddddd.",
}};

inline const BoxPicture kSysMenuRaisedVertical{0, 0, {
    "ggggggggg.",
    "ggggggggg.",
    "ggggggggg.",
    "ggkkkkkgg.",
    "ggkwwwkdg.",
    "ggkkkkkdg.",
    "gggdddddg.",
    "ggggggggg.",
    "ggggggggg.",
    "FFFFFFFFF.",
}};

inline const BoxPicture kMinimizeRaisedVertical{0, -1, {
    "FFFFFFFFFF",
    "wwwwwwwwd.",
    "wgggggggd.",
    "wgggggggd.",
    "wgggggggd.",
    "wgkkkkkgd.",
    "wggkkkggd.",
    "wgggkgggd.",
    "wgggggggd.",
    "ddddddddd.",
}};

// The edges of a minimize or maximize box of a horizontal caption around the
// bevel thresholds: n = ibSize - 1 is the face's size, each string runs from
// the face's top (columns) or left (rows).
struct BevelCase {
    int ibSize;
    bool pressed;
    std::string leftColumn, topRow, lastColumn, secondLastColumn, lastRow, secondLastRow;
};

inline std::string Repeat(char c, int n)
{
    return std::string(static_cast<size_t>(n), c);
}

inline const BevelCase kBevelCases[] = {
    // Raised: one-pixel shadow up to 20, two pixels from 21.
    {19, false, Repeat('w', 17) + "d", Repeat('w', 17) + "d", Repeat('d', 18), "w" + Repeat('g', 16) + "d",
     Repeat('d', 18), "w" + Repeat('g', 16) + "d"},
    {20, false, Repeat('w', 18) + "d", Repeat('w', 18) + "d", Repeat('d', 19), "w" + Repeat('g', 17) + "d",
     Repeat('d', 19), "w" + Repeat('g', 17) + "d"},
    {21, false, Repeat('w', 19) + "d", Repeat('w', 19) + "d", Repeat('d', 20), "w" + Repeat('d', 19),
     Repeat('d', 20), "w" + Repeat('d', 19)},
    // Pressed: one-pixel edges below 20, two from 20.
    {19, true, Repeat('d', 18), Repeat('d', 18), "d" + Repeat('g', 17), "d" + Repeat('g', 17), "d" + Repeat('g', 17),
     "d" + Repeat('g', 17)},
    {20, true, Repeat('d', 19), Repeat('d', 19), "dd" + Repeat('g', 17), "dd" + Repeat('g', 17),
     "dd" + Repeat('g', 17), "dd" + Repeat('g', 17)},
    {21, true, Repeat('d', 20), Repeat('d', 20), "dd" + Repeat('g', 18), "dd" + Repeat('g', 18),
     "dd" + Repeat('g', 18), "dd" + Repeat('g', 18)},
};
