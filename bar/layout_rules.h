// The bar's geometry without a window: where every button goes, how large
// the window is, how far it may be dragged, where a docked bar sits, and
// how many slots a client area holds.
#pragma once

#include "ini/settings_rules.h"
#include "res/resource.h"
#include "winkit/dpi_rules.h"
#include "winkit/geometry.h"


struct GridGeometry {
    int s = kLargeCell;  // cell size, scaled to the screen
    int nc = 5;          // columns
    int nr = 1;          // rows
    bool vertical = false;
    bool pageFirst = false;  // the page buttons stand before the grid
    int h() const { return s / 2; }
};

// The grid of the settings on a screen of `dpi`: every size below follows from its cell.
GridGeometry GeometryFor(const BarSettings &settings, int dpi);

// Slot k (0-based, row-major) in client coordinates.
Box SlotBox(const GridGeometry &g, int k);
// One of the five control buttons.
Box ControlBox(const GridGeometry &g, int id);
Extent ClientSize(const GridGeometry &g);
// Outer size with the frame (fx, fy) and the caption thickness ib (0 when docked).
Extent WindowSize(const GridGeometry &g, int fx, int fy, int ib);

struct TrackLimits {
    Extent min, max;
};
// Five to twenty slots along the bar, exactly one cell across.
TrackLimits TrackingLimits(int s, bool vertical, int fx, int fy, int ib);

// Top-left of a bar of `size` docked in `corner` (1 upper left, 2 lower left,
// 3 upper right, 4 lower right) of `work` (the work area of the bar's
// monitor: a taskbar's edge is not covered); any other corner value keeps
// `current`.
Point CornerPosition(unsigned corner, Box work, Extent size, Point current);

// Where a bar of `size` goes when nothing of it at `at` is on any monitor:
// wholly inside `work` (the nearest monitor's work area), moved as little as
// possible; a bar larger than the area keeps its top-left corner in it.
Point PlaceInside(Point at, Extent size, Box work);

struct GridCounts {
    int nc = 0, nr = 0;
    friend bool operator==(const GridCounts &, const GridCounts &) = default;
};
// The counts a client area holds (truncating division).
GridCounts CountsForClient(int s, bool vertical, int width, int height);
// What a regrid may adopt: a client area that holds no cell, or no room for
// the control area, keeps the old counts; the grid stays one cell deep and
// five to twenty long (the tracking limits), so slot numbers stay inside the
// registry whoever sizes the window.
GridCounts UsableCounts(GridCounts computed, GridCounts old, bool vertical);

// One face of the icon strip, at the size it is shown: the cell's side, the
// icon's inset from the cell's top-left and its size, and the factor of the
// art (the bevel) around it. The pressed icon lies `art` pixels right and down.
// The icon is extracted at the size the large cell shows (`extracted`), and a
// smaller one reduced from that.
struct StripFace {
    int cell = kLargeCell, inset = 3, icon = 32, art = 1, extracted = 32;
    friend bool operator==(const StripFace &, const StripFace &) = default;
};
StripFace StripFaceFor(int cellSize, int dpi);

// The bar's pixel art (a bevel of greys around a coloured picture) on a face
// `shown` pixels long, from art `art` long, at the whole factor shown / art,
// nearest neighbour. What the face has beyond the art at that factor, the
// frame grows by in its middle, where the two lines before the middle repeat:
// dithered lines stay regular, edges keep their width. A remainder short of
// those two lines goes in after the first `edge` lines, the lines after it
// going on backwards (none: -1, where the middle lines are all alike). Which
// art pixel the frame shows at `x`:
int ArtFramePixel(int x, int art, int shown, int edge);
// Which art pixel the picture shows at `x`: the whole art at the factor,
// centred on the face; -1 beyond it.
int ArtPicturePixel(int x, int art, int shown);

// The size to extract a program's icon at, for a face showing it `shown`
// pixels, from the sizes of the file's own images (`count` of them; none
// known: 0): the shown size where the file has it, else its next larger image
// (reduced by averaging: sharper than a smaller one stretched up), else the
// shown size (the system scales its nearest).
int IconSizeToExtract(const int *sizes, int count, int shown);
