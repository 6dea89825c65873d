#include "tools/face_art.h"

#include <cmath>
#include <cstdlib>
#include <functional>

#include "tools/pixel_font.h"

namespace {

// ---- Faces -------------------------------------------------------------

// The slot face: black frame, a white line top and left and a two-pixel
// dark band right and bottom (raised), or the dark band top and left and
// the white line right and bottom (pressed). Bands meet in a staircase, so
// each corner pixel belongs to the band drawn last along that edge.
void DrawBlankFace(const Canvas &c, bool pressed)
{
    const int s = kSlotFaceSize;
    c.Fill(0, 0, s, s, Black);
    c.Fill(1, 1, s - 2, s - 2, LightGrey);
    const std::uint8_t light = pressed ? DarkGrey : White;
    const std::uint8_t dark = pressed ? White : DarkGrey;
    const int lightWidth = pressed ? 2 : 1;
    const int darkWidth = pressed ? 1 : 2;
    for (int i = 0; i < lightWidth; ++i) {
        c.Fill(1, 1 + i, s - 3 - i, 1, light);
        c.Fill(1 + i, 1, 1, s - 3 - i, light);
    }
    for (int i = 0; i < darkWidth; ++i) {
        c.Fill(s - 2 - i, 1 + i, 1, s - 2 - i, dark);
        c.Fill(1 + i, s - 2 - i, s - 2 - i, 1, dark);
    }
}

// Shade of row `i` (0 = first row inside the frame) of the control faces'
// vertical shading, `rows` rows deep; `odd` picks the checkerboard square.
std::uint8_t ShadeOfRow(int i, int rows, bool odd)
{
    if (i < 2)
        return White;
    if (i < 5)
        return odd ? LightGrey : White;
    if (i >= rows - 2)
        return DarkGrey;
    if (i >= rows - 5)
        return odd ? LightGrey : DarkGrey;
    return LightGrey;
}

// The control face: black frame around the shading; pressed, the shading
// is one row lower under a dark line along the top and left.
void DrawShadedFace(const Canvas &c, int w, int h, bool pressed)
{
    c.Fill(0, 0, w, h, Black);
    const int rows = h - 2;
    for (int y = 1; y <= rows; ++y) {
        const int i = pressed ? y - 2 : y - 1;
        for (int x = 1; x <= w - 2; ++x)
            c.Set(x, y, ShadeOfRow(i, rows, ((x + i) & 1) != 0));
    }
    if (pressed) {
        c.Fill(1, 1, w - 2, 1, DarkGrey);
        c.Fill(1, 1, 1, h - 2, DarkGrey);
    }
}

// A control cell: the face, then its symbol (one pixel right and down when
// pressed), then the frame again so no symbol overhangs it.
void DrawControlCell(const Canvas &c, int w, int h, bool pressed,
                     const std::function<void(const Canvas &, bool pressed)> &symbol)
{
    DrawShadedFace(c, w, h, pressed);
    if (symbol)
        symbol(pressed ? c.Moved(1, 1) : c, pressed);
    c.Fill(0, 0, w, 1, Black);
    c.Fill(0, h - 1, w, 1, Black);
    c.Fill(0, 0, 1, h, Black);
    c.Fill(w - 1, 0, 1, h, Black);
}

// Raised column at x 0, pressed column one cell to the right.
void DrawBothColumns(Raster &r, int y, int w, int h, const std::function<void(const Canvas &, bool)> &symbol)
{
    DrawControlCell(Canvas{r, 0, y}, w, h, false, symbol);
    DrawControlCell(Canvas{r, w, y}, w, h, true, symbol);
}

// ---- Arrows ------------------------------------------------------------

enum class Direction { Left, Right, Up, Down };

// An arrow pointing left in a 19 x 19 cell: a head of four columns and a
// three-pixel shaft, centred on (9, 9). The other directions are its
// mirror and its transposes.
bool LeftArrowAt(int x, int y)
{
    const int dy = std::abs(y - 9);
    if (x >= 5 && x <= 8)
        return dy <= x - 5;
    return x >= 9 && x <= 13 && dy <= 1;
}

void DrawArrow(const Canvas &c, Direction d, std::uint8_t colour)
{
    const int last = kControlCellSize - 1;
    for (int y = 0; y < kControlCellSize; ++y)
        for (int x = 0; x < kControlCellSize; ++x) {
            if (!LeftArrowAt(x, y))
                continue;
            switch (d) {
            case Direction::Left: c.Set(x, y, colour); break;
            case Direction::Right: c.Set(last - x, y, colour); break;
            case Direction::Up: c.Set(y, x, colour); break;
            case Direction::Down: c.Set(y, last - x, colour); break;
            }
        }
}

Raster TwoArrowRows(Direction first, Direction second, std::uint8_t raised, std::uint8_t pressed)
{
    const int n = kControlCellSize;
    Raster r(2 * n, 2 * n, Black);
    int y = 0;
    for (Direction d : {first, second}) {
        DrawBothColumns(r, y, n, n, [&](const Canvas &c, bool p) { DrawArrow(c, d, p ? pressed : raised); });
        y += n;
    }
    return r;
}

// ---- System panel faces ------------------------------------------------

// Text centred across a slot face, at row y.
void CentredText(const Canvas &c, int y, const char *text, const TextStyle &style)
{
    DrawText(c, (kSlotFaceSize - TextWidth(text, style)) / 2, y, text, style);
}

// A ring around the face's centre, open at the top and the bottom, whose
// two halves end in arrowheads chasing each other clockwise.
void DrawCircularDoubleArrow(const Canvas &c, std::uint8_t colour)
{
    const double centre = (kSlotFaceSize - 1) / 2.0;
    const int last = kSlotFaceSize - 1;
    for (int y = 0; y < kSlotFaceSize; ++y)
        for (int x = 0; x < kSlotFaceSize; ++x) {
            const double d = std::hypot(x - centre, y - centre);
            if (d >= 13.5 && d <= 15.5 && std::abs(x - centre) >= 3.5)
                c.Set(x, y, colour);
        }
    // The left half ends at the top pointing right; the right half is the
    // same turned half a circle, ending at the bottom pointing left.
    const int ringY = static_cast<int>(centre - 14.5);
    for (int col = 0; col < 4; ++col)
        for (int dy = -(3 - col); dy <= 3 - col; ++dy) {
            c.Set(15 + col, ringY + dy, colour);
            c.Set(last - (15 + col), last - (ringY + dy), colour);
        }
}

// A standing figure: round head, a neck line, rounded shoulders; filled
// dark grey and outlined in black all round.
void DrawFigure(const Canvas &c)
{
    const double centre = (kSlotFaceSize - 1) / 2.0;
    auto inFigure = [&](int x, int y) {
        if (std::hypot(x - centre, y - 11.5) <= 4.6)
            return true;
        if (y < 18 || y > 30)
            return false;
        const double halfWidth = std::min(7.5, 3.5 + (y - 18));
        return std::abs(x - centre) <= halfWidth;
    };
    for (int y = 0; y < kSlotFaceSize; ++y)
        for (int x = 0; x < kSlotFaceSize; ++x) {
            if (inFigure(x, y)) {
                c.Set(x, y, DarkGrey);
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    touches = touches || inFigure(x + dx, y + dy);
            if (touches)
                c.Set(x, y, Black);
        }
}

void DrawPanelSymbol(const Canvas &c, int action, bool pressed)
{
    const TextStyle ink{pressed ? Blue : Navy};
    switch (action) {
    case 0:
        CentredText(c, 10, "SHUT", ink);
        CentredText(c, 21, "DOWN", ink);
        break;
    case 1:
        DrawText(c, 4, 9, "LOG", ink);
        DrawText(c, 17, 22, "OUT", ink);
        break;
    case 2:
        DrawCircularDoubleArrow(c, Red);
        CentredText(c, 16, "BOOT", ink);
        break;
    case 3:
        DrawFigure(c);
        break;
    case 4:
        CentredText(c, 16, "GO !", TextStyle{ink.colour, true, true});
        break;
    }
}

// ---- Icons -------------------------------------------------------------

// A small raised square: white top-left, dark grey bottom-right, light grey inside.
void RaisedSquare(const Canvas &c, int x, int y, int size)
{
    c.Fill(x, y, size, size, LightGrey);
    c.Fill(x, y, size, 1, White);
    c.Fill(x, y, 1, size, White);
    c.Fill(x + 1, y + size - 1, size - 1, 1, DarkGrey);
    c.Fill(x + size - 1, y + 1, 1, size - 1, DarkGrey);
}

struct Box {
    int x, y, w, h;
    std::uint8_t colour;
};

// A picture made of filled boxes, later ones over earlier ones.
Raster IconOfBoxes(std::initializer_list<Box> boxes)
{
    Raster r(kIconSize, kIconSize, kTransparent);
    for (const Box &b : boxes)
        r.Fill(b.x, b.y, b.w, b.h, b.colour);
    return r;
}

} // namespace

Raster BlankFaceBitmap()
{
    Raster r(2 * kSlotFaceSize, kSlotFaceSize, Black);
    DrawBlankFace(Canvas{r, 0, 0}, false);
    DrawBlankFace(Canvas{r, kSlotFaceSize, 0}, true);
    return r;
}

Raster PageArrowsBitmap()
{
    return TwoArrowRows(Direction::Left, Direction::Right, Navy, Blue);
}

Raster PinBitmap()
{
    return TwoArrowRows(Direction::Up, Direction::Down, Maroon, Red);
}

Raster PanelToggleBitmap()
{
    const int n = kControlCellSize;
    Raster r(2 * n, n, Black);
    DrawBothColumns(r, 0, n, n, [](const Canvas &c, bool pressed) {
        const TextStyle style{pressed ? Green : DarkGreen};
        DrawText(c, (kControlCellSize - TextWidth("Tav", style)) / 2, 6, "Tav", style);
    });
    return r;
}

Raster PageNumberPlateBitmap()
{
    const int n = kControlCellSize;
    Raster r(2 * n, 2 * n, Black);
    DrawBothColumns(r, 0, n, 2 * n, nullptr);
    return r;
}

Raster SystemPanelBitmap()
{
    const int s = kSlotFaceSize;
    Raster r(2 * s, 5 * s, Black);
    for (int d = 0; d < 5; ++d)
        DrawBothColumns(r, d * s, s, s, [d](const Canvas &c, bool pressed) { DrawPanelSymbol(c, d, pressed); });
    return r;
}

Raster ProgramIcon()
{
    // The bar in miniature: a thin navy caption over a row of three raised
    // buttons, each with a coloured program, and two half-size controls.
    Raster r = IconOfBoxes({{1, 9, 30, 14, Black}, {2, 10, 28, 2, Navy}, {2, 12, 28, 10, LightGrey}});
    const Canvas c{r};
    const std::uint8_t programs[3] = {Red, DarkGreen, Blue};
    for (int i = 0; i < 3; ++i) {
        RaisedSquare(c, 2 + 8 * i, 13, 8);
        c.Fill(4 + 8 * i, 15, 4, 4, programs[i]);
    }
    RaisedSquare(c, 26, 13, 4);
    RaisedSquare(c, 26, 17, 4);
    return r;
}

Raster DefaultProgramIcon()
{
    // A plain application window: navy title bar with a grey box, white
    // client with three lines of text, black outline, a shadow right and below.
    return IconOfBoxes({
        {2, 4, 28, 24, Black},
        {3, 5, 26, 4, Navy},
        {24, 6, 4, 2, LightGrey},
        {3, 10, 26, 17, White},
        {5, 12, 12, 1, DarkGrey},
        {5, 15, 18, 1, DarkGrey},
        {5, 18, 15, 1, DarkGrey},
        {30, 6, 1, 23, DarkGrey},
        {4, 28, 27, 1, DarkGrey},
    });
}

Raster AnimationIcon(int frame)
{
    // A clock face whose red hand points at 12, 3, 6 and 9 in turn.
    Raster r(kIconSize, kIconSize, kTransparent);
    const Canvas c{r};
    const double centre = 15.5;
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) {
            const double d = std::hypot(x - centre, y - centre);
            if (d <= 13.0)
                c.Set(x, y, White);
            if (d > 11.5 && d <= 14.5)
                c.Set(x, y, Black);
        }
    // Hour marks at 12, 3, 6 and 9, then the hand.
    const int dx[4] = {0, 1, 0, -1};
    const int dy[4] = {-1, 0, 1, 0};
    for (int q = 0; q < 4; ++q)
        c.Fill(15 + dx[q] * 9, 15 + dy[q] * 9, 2, 2, DarkGrey);
    const int f = ((frame % 4) + 4) % 4;
    for (int i = 0; i <= 6; ++i)
        c.Fill(15 + dx[f] * i, 15 + dy[f] * i, 2, 2, Red);
    c.Fill(14, 14, 4, 4, Black);
    return r;
}

Raster MoveMarkIcon()
{
    Raster r(kIconSize, kIconSize, kTransparent);
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x)
            if ((x - y) % 3 == 0)
                r.Set(x, y, DarkGrey);
    return r;
}

CursorPicture WaitCursor()
{
    // An hourglass: black end plates, a black outline around white glass,
    // sand gathered in the lower bulb and a thin stream through the neck.
    CursorPicture cur{Raster(kIconSize, kIconSize, kTransparent), 15, 15};
    const Canvas c{cur.picture};
    c.Fill(7, 2, 17, 3, Black);
    c.Fill(7, 27, 17, 3, Black);
    for (int y = 5; y < 27; ++y) {
        // Half-width of the glass: wide at the plates, two pixels at the neck.
        const int fromNeck = std::abs(y - 15) + (y > 15 ? -1 : 0);
        const int half = std::max(1, std::min(7, fromNeck - 1));
        const int left = 15 - half;
        const int right = 16 + half;
        c.Fill(left, y, right - left + 1, 1, White);
        c.Set(left - 1, y, Black);
        c.Set(right + 1, y, Black);
        if (y >= 21)
            c.Fill(left + 1, y, right - left - 1, 1, Black);
        else if (y >= 15)
            c.Fill(15, y, 2, 1, Black);
    }
    return cur;
}
