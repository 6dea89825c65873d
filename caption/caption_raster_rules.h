// The pixels of the caption boxes as a short list of filled rectangles, so
// that the Win32 painters only run the list and the host can check it.
#pragma once
#include <vector>

#include "caption/caption_geometry_rules.h"

// Fixed colours (0xBBGGRR) of the box faces.
inline constexpr unsigned kLightGrey = 0xC0C0C0;
inline constexpr unsigned kDarkGrey = 0x808080;
inline constexpr unsigned kBlack = 0x000000;
inline constexpr unsigned kWhite = 0xFFFFFF;

enum class Ink {
    Frame,        // the system's window-frame colour (separators)
    Face,         // light grey, exactly
    NearestFace,  // the device's nearest colour to light grey
    Shadow,       // dark grey
    Black,
    White,
    Invert,       // inverts what is already there
};

struct PaintOp {
    Ink ink;
    Rect rect;
};

enum GlyphKind { GlyphMaximize = 0, GlyphMinimize = 1, GlyphRestore = 2 };

// The system-menu box: face, separator, bar glyph and, pressed, inversion.
// box is the (ibSize - 1) square box in window coordinates.
std::vector<PaintOp> SysMenuBoxOps(Rect box, bool vertical, int ibSize, bool pressed);

// A minimize or maximize box without its glyph, and the area the glyph goes in.
// box is the box as the caption geometry gives it; cyCaption is the current
// SM_CYCAPTION, which guards against metrics changed since the window was made.
struct CaptionBoxPaint {
    std::vector<PaintOp> ops;
    Rect glyphArea;
};
CaptionBoxPaint CaptionBoxOps(Rect box, bool vertical, int ibSize, bool pressed, int cyCaption);

// The one-pixel black rows of a triangle glyph in area (none below 2 pixels high).
std::vector<Rect> GlyphRows(Rect area, GlyphKind kind);
