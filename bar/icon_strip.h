// The icon strip: an off-screen bitmap holding a ready raised and pressed
// face for every slot of every page, so that painting a slot is one copy
// and never reads TAV.INI or extracts an icon.
#pragma once
#include <windows.h>

#include "bar/bar_state.h"
#include "ini/settings_rules.h"

constexpr int kStripCellSize = kLargeCell;          // one face of the art bitmaps (the blank face, the panel's)
constexpr int kStripWidth = 2 * kStripCellSize;      // raised face at x 0, pressed at x 38
constexpr int kStripCellsPerPage = kMaxButtonsPerPage;  // whatever the page shows

// Resource bitmap `bitmapId`, loaded at its first use and kept in
// `faces` until the bar's window is destroyed.
HBITMAP FaceBitmap(FaceResources &faces, int bitmapId);
// The face of the aw x ah art at (ax, ay) in `art`, w x h at (x, y) in `dc`: larger, the art
// at the whole factor that fits, crisp, its frame grown to the face and its picture centred
// (ArtFramePixel); smaller, reduced by averaging.
void PaintArtFace(HDC dc, int x, int y, int w, int h, HDC art, int ax, int ay, int aw, int ah);

// (Re)builds the strip from "program section" for `s.maximumPages` pages, its
// faces the size the grid of `s` shows them on a screen of `dpi`, under the wait cursor: the cells of the grid `s` shows are drawn, the others left
// pending. Slots sharing an icon file and index get it extracted once.
void BuildIconStrip(HWND bar, IconStrip &strip, FaceResources &faces, const BarSettings &s, int dpi);
// After TAV.INI changed: with the same number of pages, only the cells whose
// entry or title changed, or whose icon file did under the same name, are drawn
// again (those `s` shows at once, the others looked at while the bar is idle);
// else (or when its faces are of another size) the strip is built anew.
void RefreshIconStrip(HWND bar, IconStrip &strip, FaceResources &faces, const BarSettings &s, int dpi);
// Draws the pending cells among those the grid of `s` shows; true if any had to be drawn.
bool ReadyShownCells(IconStrip &strip, FaceResources &faces, const BarSettings &s);
// Draws cell n if it is pending.
void ReadyCell(IconStrip &strip, FaceResources &faces, int n);
// Draws pending cells until `messageWaits` answers true (asked after each icon
// extraction and each batch of copies and blanks) or none is left; false once
// no cell is pending.
bool DrawPendingCells(IconStrip &strip, FaceResources &faces, bool (*messageWaits)());
// Redraws the cell of `slotNumber`: the blank face, with the icon of
// `iconFile` (nullptr: none) at `storedIndex`; then repaints `button`.
void RenderSlotCell(const BarView &v, HWND button, int slotNumber, const char *iconFile, int storedIndex);
// Exchanges the cells of slots a and b (DC from `window`), then repaints every slot.
void SwapStripCells(const BarView &v, HWND window, int a, int b);
// Deletes the strip and its pending work, if any.
void FreeIconStrip(IconStrip &strip);
